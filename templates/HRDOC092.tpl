# Vacation schedule in the unified form T-7: the approval block, the document's number, date
# and year, the table of the form (one ppD line per planned part or granted vacation) and the
# personnel head's signature (ppPodp).
sheet "Т-7" landscape A4 fit-width
font "Arial" 9
margins 1.5 1 1 1
columns 6 25 28 32 10 11 12 12 17 13 15 3
style small size=7 right middle
style approved size=7 right top wrap
style codehead size=8 center middle box
style okud size=8 right middle
style code size=9 bold center middle box text
style org size=10 bold center bottom border=bottom
style caption size=7 center top
style note size=8 left middle
style approve bold size=10 center middle
style center center middle
style line center bottom border=bottom
style dochead size=8 center middle wrap box
style docval bold center middle box text
style title bold size=12 right middle
style head size=8 center middle wrap box
style colnum size=8 center middle box
style cell box left middle wrap
style mid box center middle
style sign left bottom
print-titles 18:21
| ppHB | | | | | | | | Унифицированная форма № Т-7 {small} | < | < | $END$ |
|      | | | | | | | | Утверждена постановлением Госкомстата России от 05.01.2004 № 1 {approved} | < | < | | height=20
|      | | | | | | | | | | Код {codehead} |
|      | $fpodr {org} | < | < | < | < | < | < | Форма по ОКУД {okud} | < | '0301020 {code} | | height=18
|      | (наименование организации) {caption} | < | < | < | < | < | < | по ОКПО {okud} | < | {code} |
|      | | | | | | | | | | | | height=8
|      | | | | | | | | Мнение выборного профсоюзного органа {note} | < | < |
|      | | | | | | | | от «____» ______________ 20___ г. № ______ учтено {note} | < | < |
|      | | | | | | | | | | | | height=8
|      | | | | Номер документа {dochead} | Дата составления {dochead} | < | На год {dochead} | УТВЕРЖДАЮ {approve} | < | < | | height=24
|      | ГРАФИК ОТПУСКОВ {title} | < | < | {docval} | $fdtsost {docval} | < | $fyysost {docval} | Руководитель {center} | < | < | | height=18
|      | | | | | | | | $fdirek {line} | < | < | | height=16
|      | | | | | | | | (должность) {caption} | < | < |
|      | | | | | | | | {line} | $ffiodir {line} | < | | height=18
|      | | | | | | | | (личная подпись) {caption} | (расшифровка подписи) {caption} | < |
|      | | | | | | | | «____» ______________ 20___ г. {center} | < | < | | height=16
|      | | | | | | | | | | | | height=8
|      | Структурное подразделение {head} | Должность (специальность, профессия) по штатному расписанию {head} | Фамилия, имя, отчество {head} | Табельный номер {head} | ОТПУСК {head} | < | < | < | < | Примечание {head} | | height=14
|      | ^ | ^ | ^ | ^ | количество календарных дней {head} | дата {head} | < | перенесение отпуска {head} | < | ^ | | height=14
|      | ^ | ^ | ^ | ^ | ^ | запланированная {head} | фактическая {head} | основание (документ) {head} | дата предполагаемого отпуска {head} | ^ | | height=34
| ppHE | 1 {colnum} | 2 {colnum} | 3 {colnum} | 4 {colnum} | 5 {colnum} | 6 {colnum} | 7 {colnum} | 8 {colnum} | 9 {colnum} | 10 {colnum} |
| ppDB | $fpodr {cell} | $fdol {cell} | $ffio {cell} | $ftn {mid} | $fdays {mid} | $fdts {mid} | $fdtfact {mid} | $fotz {cell} | {mid} | {cell} |
| ppPodpB | | | | | | | | | | | | height=14
|      | Руководитель кадровой службы {sign} | < | $fkadrdol {line} | {line} | < | $fkadrfio {line} | < | < | | | | height=16
| ppPodpE | | | (должность) {caption} | (личная подпись) {caption} | < | (расшифровка подписи) {caption} | < | < | | |
| $END$ |
