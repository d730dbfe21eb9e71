# Vacation schedule of one month: a numbered list of the employees whose planned vacation
# starts in the month of the report date.
sheet "График отпусков" portrait A4 fit-width
font "Times New Roman" 11
margins 2 1 1.5 1.5
columns 6 6 36 32 26 13 6
style title bold size=14 center middle
style sub bold size=12 center middle wrap
style label right middle
style month bold left middle
style head bold center middle wrap box
style num box center middle
style cell box left middle wrap
style date box center middle
print-titles 5:5
| ppHB | ГРАФИК {title}  | <               | <           | <               | <                        | $END$ | height=22
|      | $fpodr {sub}    | <               | <           | <               | <                        |       | height=32
|      | на месяц {label} | <              | $fmonth {month} | <           |                          |
|      |                 |                 |             |                 |                          |
| ppHE | № п/п {head}    | Фамилия, имя, отчество {head} | Должность {head} | Подразделение {head} | Дата начала отпуска {head} | | height=30
| ppDB | $fnum {num}     | $ffio {cell}    | $fdol {cell} | $fpodr {cell}  | $fdts {date}             |
| $END$ |
