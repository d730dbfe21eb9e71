# Employees liable for military service on a date: the title, the column headings (repeated on
# every page), a merged line per department (ppR) and a row per employee (ppP).
sheet "Военнообязанные" landscape A4 fit-width
font "Times New Roman" 9
margins 1 1 1.5 1.5
columns 3 5 7 22 10 18 13 13 9 24 32 11 36 36 3
style title bold size=12 center middle wrap
style head bold center middle wrap box
style colnum size=8 center middle box
style dept bold left middle box
style num box center top
style mid box center top wrap
style cell box left top wrap
style code box center top wrap text
print-titles 3:4
| ppHB | $f1 {title} | < | < | < | < | < | < | < | < | < | < | < | < | $END$ | height=34
|      |  |  |  |  |  |  |  |  |  |  |  |  |  |  | height=6
|      | № п/п {head} | Таб. № {head} | Фамилия, имя, отчество {head} | Дата рождения {head} | Должность {head} | Воинское звание {head} | Состав {head} | ВУС {head} | Военкомат {head} | Адрес {head} | Телефон {head} | Паспорт {head} | Состав семьи {head} | | height=30
| ppHE | 1 {colnum} | 2 {colnum} | 3 {colnum} | 4 {colnum} | 5 {colnum} | 6 {colnum} | 7 {colnum} | 8 {colnum} | 9 {colnum} | 10 {colnum} | 11 {colnum} | 12 {colnum} | 13 {colnum} |
| ppRB | $f2 {dept} | < | < | < | < | < | < | < | < | < | < | < | < |
| ppPB | $f3 {num} | $f4 {num} | $f5 {cell} | $f6 {mid} | $f7 {cell} | $f8 {cell} | $f9 {cell} | $f10 {code} | $f11 {cell} | $f12 {cell} | $f13 {cell} | $f14 {cell} | $f15 {cell} |
| $END$ |
