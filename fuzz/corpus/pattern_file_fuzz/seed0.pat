# Tavrin v1.0 Patterns

no_attributes 4
no_patterns 4
attributes
i  Size
io Colour={red,green,blue}
o  
X  Weight
!01 T first
1.5	1	0.25	-3e-07	
!02 V
2.75	3	?	1e+12	
!03 S third case
?	2	7	0	
!04 X 4th
-4	?	1	123457	


