# Dismissed employees of a department over a period: a numbered line per employee with the
# personal and passport data, the address, the last position, the date and the ground.
sheet "Выбывшие" landscape A4 fit-width
font "Times New Roman" 9
margins 1 1 1.5 1.5
columns 4 5 14 11 14 5 10 6 9 24 10 9 30 20 10 22 4
style title bold size=12 center middle wrap
style head bold center middle wrap box
style colnum size=8 center middle box
style num box center top
style cell box left top wrap
style mid box center top wrap
print-titles 3:5
| ppHB | $f1 {title} | < | < | < | < | < | < | < | < | < | < | < | < | < | < | $END$ | height=34
|      |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  | height=6
|      | № п/п {head} | Фамилия {head} | Имя {head} | Отчество {head} | Пол {head} | Дата рождения {head} | Паспорт {head} | < | < | < | Почтовый индекс {head} | Адрес {head} | Должность {head} | Дата увольнения {head} | Основание увольнения {head} | | height=16
|      | ^ | ^ | ^ | ^ | ^ | ^ | серия {head} | номер {head} | кем выдан {head} | дата выдачи {head} | ^ | ^ | ^ | ^ | ^ | | height=28
| ppHE | 1 {colnum} | 2 {colnum} | 3 {colnum} | 4 {colnum} | 5 {colnum} | 6 {colnum} | 7 {colnum} | 8 {colnum} | 9 {colnum} | 10 {colnum} | 11 {colnum} | 12 {colnum} | 13 {colnum} | 14 {colnum} | 15 {colnum} |
| ppPB | $f2 {num} | $f3 {cell} | $f4 {cell} | $f5 {cell} | $f6 {mid} | $f7 {mid} | $f8 {mid} | $f9 {mid} | $f10 {cell} | $f11 {mid} | $f12 {mid} | $f13 {cell} | $f14 {cell} | $f15 {mid} | $f16 {cell} |
| $END$ |
