# A supplementary agreement on the salary set by an indexation order: one sheet per employee,
# filled cell by cell (the report writes to fixed row and column numbers of this grid).
sheet "Соглашение" portrait A4 fit-width
font "Times New Roman" 12
margins 2 1.5 1.5 1.5
columns 0.85*110
style title bold size=13 center middle
style center center middle wrap
style text left top wrap
style left left middle
style right right middle
style fill center bottom border=bottom
style filll left bottom border=bottom
style fillltext left bottom border=bottom text
style bold bold left middle
style boldc bold center middle
style small size=8 center top
style req left top wrap size=10
style note left middle size=10
| ДОПОЛНИТЕЛЬНОЕ СОГЛАШЕНИЕ {title} | <*109 |  height=20
| к трудовому договору {center} | <*109 |
| {center} | <*109 |
| г. Заречный {left} | <*39 | *32 | « {right} | <*2 | {fill} | <*2 | » {left} | <*1 | *3 | {fill} | <*9 | {fill} | <*5 | г. {left} | <*3 |  height=18
| {text} | <*109 |  height=96
| *1 |  height=4
| *1 |  height=4
| *1 |  height=4
| *1 |  height=4
| *1 |  height=4
| *1 |  height=4
| 1. Стороны договорились изменить трудовой договор {left} | <*63 | *1 | {left} | <*44 |
| *1 |  height=4
| согласно приказу об индексации, вступающему в силу с {left} | <*72 | {fill} | <*11 | № {center} | <*1 | {fillltext} | <*22 |
| от {right} | <*11 | « {right} | <*1 | {fill} | <*2 | » {left} | <*1 | *3 | {fill} | <*10 | {fill} | <*5 | г. {left} | <*2 | работнику установлен оклад {right} | <*35 | {fill} | <*11 | рублей {left} | <*19 |
| {text} | <*109 |  height=18
| 2. Настоящее соглашение вступает в силу с {left} | <*57 | « {right} | <*1 | {fill} | <*2 | » {left} | <*1 | *5 | {fill} | <*10 | {fill} | <*5 | года. {left} | <*22 |
| 3. Соглашение составлено в двух экземплярах, имеющих одинаковую юридическую силу, по одному для каждой из Сторон, и является неотъемлемой частью трудового договора {text} | <*109 |  height=32
| {text} | <*109 |
| *1 |  height=8
| Реквизиты и подписи Сторон {boldc} | <*109 |  height=18
| Работодатель {bold} | <*69 | *2 | Работник {bold} | <*37 |  height=18
| *1 |  height=4
| {req} | <*67 | *4 | {req} | <*37 |  height=120
| {bold} | <*67 | *4 | {req} | <*37 |  height=18
| {filll} | <*29 | {fill} | <*29 | *12 | {filll} | <*19 | {fill} | <*17 |  height=24
| М.П. {left} | <*29 | (подпись) {small} | <*29 | *32 | (подпись) {small} | <*17 |
| *1 |  height=8
| *72 | Согласовано: начальник отдела кадров {note} | <*37 |
| *72 | {filll} | <*19 | {fill} | <*17 |  height=24
| *1 |  height=10
| Экземпляр дополнительного соглашения получил(а): {left} | <*109 |
| {fill} | <*27 | *1 | {left} | <*40 | «_____» ________________ 20____ г. {right} | <*39 |  height=24
| (подпись) {small} | <*27 |
