# A supplementary agreement on the transfer of an employee to another position: one sheet per
# employee, filled cell by cell (the report writes to fixed row and column numbers of this grid).
# The cells of the name line (H8, A9) lie under the merged preamble: its text names the employee.
sheet "Соглашение" portrait A4 fit-width
font "Times New Roman" 12
margins 2 1.5 1.5 1.5
columns 0.85*110
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
| ДОПОЛНИТЕЛЬНОЕ СОГЛАШЕНИЕ {title} | <*109 |  height=20
| к трудовому договору {center} | <*109 |
| {center} | <*109 |
| г. Заречный {left} | <*39 | *32 | « {right} | <*2 | {filltext} | <*2 | » {left} | <*1 | *3 | {fill} | <*9 | {fill} | <*5 | г. {left} | <*3 |  height=18
| Открытое акционерное общество «Заречные магистральные трубопроводы» в лице представителя работодателя, {text} | <*109 |  height=32
| *1 |  height=4
| действующего на основании доверенности № {left} | <*43 | {filltext} | <*9 | от {center} | <*3 | {fill} | <*13 | , именуемое в дальнейшем {left} | <*37 |
| {text} | <*109 |  height=24
| ^*110 |  height=24
| *1 |  height=4
| *1 |  height=4
| {text} | <*109 |  height=64
| *1 |  height=4
| *1 |  height=4
| {text} | <*109 |  height=50
| *1 |  height=4
| *1 |  height=4
| {text} | <*109 |  height=34
| *1 |  height=8
| Реквизиты и подписи Сторон {boldc} | <*109 |  height=18
| *1 |  height=4
| Работодатель {bold} | <*69 | *2 | Работник {bold} | <*37 |  height=18
| *1 |  height=4
| {req} | <*67 | *4 | {req} | <*37 |  height=134
| Представитель работодателя {left} | <*67 | *33 | {rightof} |  height=18
| {fill} | <*29 | *42 | {filll} | <*23 | {fill} | <*13 |  height=24
| (подпись) {small} | <*29 | *3 | М.П. {left} | <*6 | *56 | (подпись) {small} | <*13 |
| *1 | {left} | <*108 |  height=24
| *1 | {fill} | <*28 |  height=20
| *1 | (подпись) {small} | <*28 |
