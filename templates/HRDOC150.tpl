# Employees in the reserve and liable to call-up, form Ф.ex.23: the title, two heading rows
# grouping the 29 columns and the column numbers (repeated on every page), then a merged heading
# per department (ppZagD) and a row per employee (ppD).
sheet "Ф.ex.23" landscape A3 fit-width
font "Times New Roman" 9
margins 1 1 1.5 1.5
columns 3 4 6 24 10 7 8 10 30 32 32 13 15 13 13 8 10 28 11 9 18 10 16 10 8 16 18 12 20 34 3
style title bold size=12 center middle wrap
style head bold center middle wrap box
style colnum size=7 center middle box
style dept bold italic left middle box fill=EDEDED
style num box center top
style mid box center top wrap
style cell box left top wrap
style code box center top wrap text
print-titles 2:4
| ppHB | $fzag {title} | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | $END$ | height=36
|  | Работник {head} | < | < | < | Паспорт {head} | < | < | < | Адрес места жительства {head} | < | Телефон {head} | Воинский учёт {head} | < | < | < | < | < | < | < | < | Приём на работу {head} | < | < | < | Образование {head} | < | Семейное положение {head} | Должность {head} | Состав семьи {head} |  | height=18
|  | № п/п {head} | Таб. № {head} | Фамилия, имя, отчество {head} | Дата рождения {head} | Серия {head} | Номер {head} | Дата выдачи {head} | Кем выдан {head} | по регистрации {head} | фактический {head} | ^ | Категория учёта {head} | Воинское звание {head} | Состав {head} | ВУС {head} | Категория годности {head} | Военкомат {head} | Вид учёта {head} | Спец. учёт {head} | Бронирование, моб. предписание {head} | Дата {head} | Подразделение {head} | Дата приказа {head} | № приказа {head} | Квалификация {head} | Специальность {head} | ^ | ^ | ^ |  | height=40
| ppHE | 1 {colnum} | 2 {colnum} | 3 {colnum} | 4 {colnum} | 5 {colnum} | 6 {colnum} | 7 {colnum} | 8 {colnum} | 9 {colnum} | 10 {colnum} | 11 {colnum} | 12 {colnum} | 13 {colnum} | 14 {colnum} | 15 {colnum} | 16 {colnum} | 17 {colnum} | 18 {colnum} | 19 {colnum} | 20 {colnum} | 21 {colnum} | 22 {colnum} | 23 {colnum} | 24 {colnum} | 25 {colnum} | 26 {colnum} | 27 {colnum} | 28 {colnum} | 29 {colnum} |
| ppZagDB | $fname {dept} | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | height=16
| ppDB | $fnum {num} | $ftn {num} | $ffio {cell} | $fdr {mid} | $fser {code} | $fnump {code} | $ffdvd {mid} | $forg {cell} | $fadrp {cell} | $fadrf {cell} | $ftel {code} | $fkuch {cell} | $fvzw {cell} | $fsost {cell} | $fvus {code} | $fgodn {mid} | $fvoenk {cell} | $fviduch {cell} | $fspecuch {mid} | $fmob {cell} | $fdtpost {mid} | $fow {cell} | $fdtpr {mid} | $fnumpr {code} | $fkval {cell} | $fspec {cell} | $fsemp {cell} | $fprof {cell} | $fssem {cell} |
| $END$ |
