# "HRDOC100": the bank's registry for opening salary card accounts. Rows 1-7 are the bank's
# header; row 8 is the line the report copies for every employee (the constant columns Z-AC
# and AE-AR carry the bank's fixed values on every line). No part marks: the report writes
# cells by column.
sheet "Реестр" landscape A4 fit-width
font "Arial" 8
margins 1 1 1.5 1.5
columns 8 4 13 11 13 7 5 7 8 10 22 8 13 4 11 14 5 5 6 7 10 13 4 7 11 8 6 5 9 7 9 8 10 8 9 8 8 10 7 8 8 8 8 6
style title bold size=12 left middle
style lbl left middle
style val left middle border=bottom
style group bold center middle wrap box
style head bold center middle wrap box
style num center middle box italic size=7
style cell left middle box
style txt left middle box text
style fixed center middle box
print-titles 5:7
| РЕЕСТР на открытие счетов и выпуск банковских карт сотрудникам организации {title} | < | < | < | < | < | < | < | < | < | < | < | < |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  | height=20
| Организация-работодатель: {lbl} | < | < | < |  {val} | < | < | < | < | < | < | < | < |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  | height=16
| Договор о зарплатном проекте: {lbl} | < | < | < | № {val} | < | < | от {val} | < | < |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  | height=16
|  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |
| {group} | Работник {group} | < | < | < | < | Документ, удостоверяющий личность {group} | < | < | < | < | < | Адрес регистрации {group} | < | < | < | < | < | < | < | Рождение и пол {group} | < | < | Телефон {group} | < | Параметры счета и карты {group} | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | height=14
| Отметка банка {head} | № п/п {head} | Фамилия {head} | Имя {head} | Отчество {head} | Табельный номер {head} | Вид документа {head} | Серия {head} | Номер {head} | Дата выдачи {head} | Кем выдан документ {head} | Код подразделения {head} | Населенный пункт {head} | Регион {head} | Район {head} | Улица {head} | Дом {head} | Корпус {head} | Квартира {head} | Почтовый индекс {head} | Дата рождения {head} | Место рождения {head} | Пол {head} | Вид телефона {head} | Номер телефона {head} | Гражданство {head} | Резидент {head} | Код валюты {head} | Тип счета {head} | Карточный продукт {head} | Категория клиента {head} | Срочность выпуска {head} | Место выдачи карты {head} | SMS-информирование {head} | Тарифный план {head} | Страна рождения {head} | Страна адреса {head} | Вид адреса {head} | Налоговый резидент РФ {head} | Публичное должностное лицо {head} | Выгодо- приобретатель {head} | Бенефициарный владелец {head} | Язык обслуживания {head} | Признак обработки {head} | height=48
| 1 {num} | 2 {num} | 3 {num} | 4 {num} | 5 {num} | 6 {num} | 7 {num} | 8 {num} | 9 {num} | 10 {num} | 11 {num} | 12 {num} | 13 {num} | 14 {num} | 15 {num} | 16 {num} | 17 {num} | 18 {num} | 19 {num} | 20 {num} | 21 {num} | 22 {num} | 23 {num} | 24 {num} | 25 {num} | 26 {num} | 27 {num} | 28 {num} | 29 {num} | 30 {num} | 31 {num} | 32 {num} | 33 {num} | 34 {num} | 35 {num} | 36 {num} | 37 {num} | 38 {num} | 39 {num} | 40 {num} | 41 {num} | 42 {num} | 43 {num} | 44 {num} |
| {cell} | {cell} | {cell} | {cell} | {cell} | {cell} | {cell} | {cell} | {txt} | {cell} | {cell} | {cell} | {cell} | {txt} | {cell} | {cell} | {txt} | {cell} | {cell} | {cell} | {cell} | {cell} | {cell} | {cell} | {cell} | РОССИЯ {fixed} | да {fixed} | '810 {fixed} | зарплатный {fixed} | {cell} | зарплатный {fixed} | обычная {fixed} | в организации {fixed} | да {fixed} | зарплатный {fixed} | РОССИЯ {fixed} | РОССИЯ {fixed} | регистрации {fixed} | да {fixed} | нет {fixed} | нет {fixed} | нет {fixed} | русский {fixed} | '0 {fixed} | height=13
