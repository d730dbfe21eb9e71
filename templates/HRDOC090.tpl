# Protocol of the employees whose planned vacation begins in a period: department, name and the
# first day of each planned part.
sheet "Протокол" portrait A4 fit-width
font "Times New Roman" 11
margins 2 1 1.5 1.5
columns 4 46 40 15 4
style title bold size=13 center middle wrap
style period bold center middle
style label italic size=9 right middle
style stamp italic size=9 left middle
style head bold center middle wrap box
style cell box left middle wrap
style date box right middle
print-titles 6:6
| ppHB | ПРОТОКОЛ {title} | <  | <  | $END$ | height=20
|      | проверки сотрудников, имеющих дату отпуска по графику в заданном интервале {title} | < | < | | height=34
|      | $fper {period} | < | < |
|      | Дата и время печати: {label} | $fdt {stamp} | < |
|      |  |  |  | | height=6
| ppHE | Подразделение {head} | ФИО {head} | Дата отпуска {head} | | height=20
| ppDB | $fpodr {cell} | $ffio {cell} | $fdts {date} |
| $END$ |
