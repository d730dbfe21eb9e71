# A supplementary agreement giving an employee an itinerant nature of work: one sheet per ticked
# employee, filled cell by cell (the report writes to fixed row and column numbers of this grid).
sheet "Соглашение" portrait A4 fit-width
font "Times New Roman" 12
margins 2 1.5 1.5 1.5
columns 0.8*118
style title bold size=13 center middle
style center center middle wrap
style text left top wrap
style left left middle
style right right middle
style rightof right bottom
style fill center bottom border=bottom
style filll left bottom border=bottom
style filltext center bottom border=bottom text
style fillltext left bottom border=bottom text
style bold bold left middle
style boldc bold center middle
style small size=8 center top
style req left top wrap size=10
style note left middle size=10
style clause right top size=10
style fillname left bottom border=bottom size=10
| ДОПОЛНИТЕЛЬНОЕ СОГЛАШЕНИЕ {title} | <*117 |  height=20
| о внесении изменений в трудовой договор {center} | <*117 |
| *1 |  height=6
| {left} | <*39 | *39 | г. Заречный {right} | <*38 |  height=18
| {text} | <*117 |  height=78
| *1 |  height=4
| *1 |  height=4
| *1 |  height=4
| *1 |  height=4
| *1 |  height=4
| *1 |  height=4
| 1. {clause} | <*1 | {text} | <*115 |  height=32
| 2. {clause} | <*1 | Остальные условия трудового договора остаются неизменными. {text} | <*115 |  height=18
| 3. {clause} | <*1 | Настоящее соглашение составлено в двух экземплярах, имеющих одинаковую юридическую силу, по одному для каждой из Сторон, и является неотъемлемой частью трудового договора. {text} | <*115 |  height=34
| *1 |  height=10
| Работодатель {bold} | <*69 | *4 | Работник {bold} | <*43 |  height=18
| *74 | {req} | <*43 |  height=14
| *74 | ^*44 |  height=4
| {req} | <*69 | *4 | ^*44 |  height=96
| *1 |  height=14
| {fill} | <*21 | {filll} | <*37 | *14 | {fill} | <*28 | {fillname} | <*14 |  height=24
| (подпись) {small} | <*21 | *52 | (подпись) {small} | <*28 |
| М.П. {left} | <*9 |  height=18
| *1 |  height=10
| Экземпляр соглашения получил(а): {left} | <*117 |
| *1 |  height=6
| {fill} | <*50 | {left} | <*38 | «____» ____________ 20___ г. {note} | <*27 |  height=24
| (подпись) {small} | <*50 |
