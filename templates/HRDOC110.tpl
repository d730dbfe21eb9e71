# "HRDOC110": the printed registry for issuing salary cards: one numbered line per employee
# with the name and the passport. The header is twelve rows, so the lines of the finished book
# start at row 13.
sheet "Реестр" portrait A4 fit-width
font "Times New Roman" 11
margins 2 1 1.5 1.5
columns 6 6 42 62 4
style note right middle italic size=9
style title bold size=14 center middle
style sub bold size=12 center middle wrap
style lbl left middle
style val bold left middle wrap border=bottom
style head bold center middle wrap box
style numh center middle box italic size=8
style num center top box
style cell left top wrap box
print-titles 11:12
| ppHB |                   |                         | Приложение к договору о зарплатном проекте {note} | $END$ |
|      |
|      | РЕЕСТР {title}    | <                       | <                       |       | height=20
|      | на выпуск банковских карт Visa (Classic, Gold) {sub} | < | <       |       | height=18
|      |
|      | Организация: {lbl} | <                      | $fpredpr {val}          |       | height=18
|      | Подразделение: {lbl} | <                    | $fpodr {val}            |       | height=18
|      |
|      | Прошу выпустить банковские карты сотрудникам, перечисленным ниже. {lbl} | < | < |   |
|      |
|      | № п/п {head}      | Фамилия, имя, отчество {head} | Паспортные данные {head} | | height=30
| ppHE | 1 {numh}          | 2 {numh}                | 3 {numh}                |       |
| ppDB | $fnum {num}       | $ffio {cell}            | $fpasp {cell}           |       |
| $END$ |
