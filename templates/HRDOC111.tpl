# "HRDOC111": the data sheet of the card registry in the bank's import layout: the bank's field
# names in row 2 and one line of text values per employee from row 3, for the user to save in
# the import format.
sheet "Выгрузка" landscape A4 fit-width
font "Arial" 9
margins 1 1 1.5 1.5
columns 6 7 16 12 16 11 20 8 7 8 11 30 9 8 16 8 18 8 6 20 7 14 7 9 26 14 4
style title bold size=11 left middle
style head bold center middle box
style cell left middle box text
| ppHB | Реестр на выпуск банковских карт: данные для выгрузки в банк {title} | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | $END$ | height=18
| ppHE | FCPOL {head} | NAM3 {head} | NAM1 {head} | NAM2 {head} | FCDATA_R {head} | FCGOROD_R {head} | KODDOC {head} | PSP1 {head} | PSP2 {head} | PSP3 {head} | PSP4 {head} | SPSP {head} | INDEX {head} | ALL_REGION {head} | KODREG {head} | GOROD {head} | TGOROD {head} | TUL {head} | ADRES_UL {head} | TN {head} | NMRN {head} | TYPRN {head} | GRAJD {head} | DOLJN {head} | INN {head} |
| ppDB | $fFcpol {cell} | $fNam3 {cell} | $fNam1 {cell} | $fNam2 {cell} | $fFcdata_r {cell} | $fFcgorod_r {cell} | $fKoddoc {cell} | $fPsp1 {cell} | $fPsp2 {cell} | $fPsp3 {cell} | $fPsp4 {cell} | $fSpsp {cell} | $fIndex {cell} | $fAll_region {cell} | $fKodreg {cell} | $fGorod {cell} | $fTgorod {cell} | $fTul {cell} | $fAdres_ul {cell} | $fTn {cell} | $fNmRn {cell} | $fTypRn {cell} | $fGrajd {cell} | $fDoljn {cell} | $fINN {cell} |
| $END$ |
