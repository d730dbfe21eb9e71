# Notice of the start of annual paid vacation: addressee, greeting, schedule year, first and last
# day, the personnel department's signature and a tear-off acknowledgement.
sheet "Извещение" portrait A4 fit-width
font "Times New Roman" 12
margins 2 1.5 1.5 1.5
columns 4 14 14 14 14 14 14 4
style addr left middle wrap
style title bold size=16 center middle
style sub bold center middle wrap
style greet bold size=13 center middle
style text left middle wrap
style label right middle
style value bold center middle border=bottom
style sign bold left bottom
style line center bottom border=bottom
style hint italic size=8 center top
style cut italic size=8 center middle
| ppHB |  |  |  |  |  |  | $END$ | height=6
| ppPB |  |  |  | $fdol1 {addr} | < | < | | height=32
|      |  |  |  | $fname1 {addr} | < | < | | height=18
|      |  |  |  |  |  |  | | height=24
|      | ИЗВЕЩЕНИЕ {title} | < | < | < | < | < | | height=24
|      | о начале ежегодного оплачиваемого отпуска {sub} | < | < | < | < | < | | height=18
|      |  |  |  |  |  |  | | height=18
|      | $fname {greet} | < | < | < | < | < | | height=22
|      |  |  |  |  |  |  | | height=10
|      | Сообщаем Вам, что в соответствии с графиком отпусков на {text} | < | < | < | $fgod {value} | год {text} | | height=18
|      | Вам предоставляется ежегодный оплачиваемый отпуск. {text} | < | < | < | < | < | | height=18
|      |  |  |  |  |  |  | | height=8
|      | Дата начала отпуска: {label} | < | < | $fdate1 {value} | < |  | | height=20
|      | Последний день отпуска: {label} | < | < | $fdate2 {value} | < |  | | height=20
|      |  |  |  |  |  |  | | height=14
|      | Основание: график отпусков, статья 123 Трудового кодекса Российской Федерации. {text} | < | < | < | < | < | | height=32
|      |  |  |  |  |  |  | | height=20
|      | Отдел кадров {sign} | < |  | {line} | < |  | | height=20
|      |  |  |  | (подпись) {hint} | < |  |
|      |  |  |  |  |  |  | | height=24
|      | - - - - - - - - - - - - - - - - - - линия отреза - - - - - - - - - - - - - - - - - - {cut} | < | < | < | < | < | | height=16
|      |  |  |  |  |  |  | | height=18
|      | С уведомлением ознакомлен(а) {sign} | < | < | < | < | < | | height=20
|      | $fdol2 {line} | < | < | $fname2 {line} | < | < | | height=32
|      | (должность) {hint} | < | < | (фамилия, инициалы) {hint} | < | < |
|      |  |  |  |  |  |  | | height=14
|      | «____» ______________ 20____ г. {text} | < | < | {line} | < | < | | height=20
| ppPE | (дата) {hint} | < | < | (подпись) {hint} | < | < |
| $END$ |
