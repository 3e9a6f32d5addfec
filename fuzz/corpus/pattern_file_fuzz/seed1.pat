# Tavrin v1.0 Patterns

no_attributes 2
no_patterns 1
attributes
i  VAR1
o  VAR2
!01 T
0.5	1	


