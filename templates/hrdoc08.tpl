# Unused vacation days: per employee the hiring date, the length of service, the days earned
# (28 a year), the days used by vacation orders and the rest.
sheet "Отпуска" landscape A4 fit-width
font "Times New Roman" 10
margins 1.5 1 1.5 1.5
columns 4 7 44 13 22 13 14 13 4
style title bold size=12 center middle wrap
style head bold center middle wrap box
style num box center middle
style cell box left middle wrap
style date box center middle
print-titles 3:3
| ppHB | $f1 {title} | < | < | < | < | < | < | $END$ | height=34
|      |  |  |  |  |  |  |  | | height=6
| ppHE | № п/п {head} | ФИО {head} | Дата приёма {head} | Стаж (лет, месяцев) {head} | Положено дней {head} | Использовано дней {head} | Остаток {head} | | height=30
| ppPB | $f2 {num} | $f3 {cell} | $f4 {date} | $f5 {cell} | $f6 {num} | $f7 {num} | $f8 {num} |
| $END$ |
