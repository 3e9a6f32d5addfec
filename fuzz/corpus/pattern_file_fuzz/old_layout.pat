# Tavrin v1.0 Patterns

no_inputs 1
no_outputs 1
no_patterns 2
no_verification 1
attributes
i  a
o  b
!01 T
1	2
!02 V x
?	4


