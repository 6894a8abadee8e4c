>+420602909909	>+420731000111	>14.03.24 09:02	1	0	>Your parcel is waiting
>	>123	>364 days	3	0	>x

>	>+1	>1 day	2	7	>last line without its end