# The numbered list of names of the employees on the payroll of a month.
sheet "Список работников" portrait A4 fit-width
font "Times New Roman" 11
margins 2.5 1 1.5 1.5
columns 4 8 70 4
style title bold size=12 center middle wrap
style head bold center middle wrap box
style num box center top
style cell box left top wrap
print-titles 3:3
| ppHB | $f1 {title} | < | $END$ | height=34
|      |  |  | | height=6
| ppHE | № п/п {head} | Фамилия, имя, отчество {head} | | height=20
| ppPB | $f5 {num} | $f6 {cell} |
| $END$ |
