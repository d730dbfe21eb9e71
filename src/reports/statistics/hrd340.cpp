// "HRDOC340": headcount and movement of the staff of the selected departments for the month
// of the report date, written into fixed cells of a three-sheet statistical form: the payroll
// fund by category, the composition of the staff at the month's end, and the month's movement
// with the name lists of long-serving, dismissed and hired employees.
#include <cmath>
#include <exception>
#include <memory>
#include <stdexcept>
#include <string>

#include "calc/uosrv200.h"
#include "db/database.h"
#include "host/compark.h"
#include "host/compark_text.h"
#include "host/domain.h"
#include "host/report_window.h"
#include "host/statements.h"
#include "host/udm.h"
#include "office/classexl.h"
#include "office/officeobj.h"
#include "text/date.h"

namespace hrdoc {

namespace {

using office::Variant;

const char* const kSqlPayroll = R"SQL(select (case when (dvg.kat=2) then 3 else dvg.kat end) as kat,sum(pro.sum5) as ssh from kdt2iiidvg dvg left join zplspro pro on pro.kp=dvg.kp and pro.fd=:FDB where dvg.unsd=(select first 1 dvg1.unsd from kdt2iiidvg dvg1 where dvg1.kp=dvg.kp and dvg1.dto<=:FDE order by dvg1.dto desc,dvg1.unsd desc) and ((dvg.ktd>=21 and dvg.ktd<=26) or dvg.ktd=51) and dvg.kat in (1,2,3,4) and dvg.kvr<>2)SQL";

const char* const kSqlLst2 = R"SQL(select dvg.KP,kpn.FNAME,kpn.TN,dvg.KAT,ads1.pol,ads1.fdr,
(select count(*)
from kdt2iobr t2obr
left join kdiobr obr on obr.kobr=t2obr.kobr
where t2obr.kp=dvg.kp and upper(obr.nobr) like 'ВЫСШ%') as vish,
(select count(*)
from kdt2iobr t2obr
left join kdiobr obr on obr.kobr=t2obr.kobr
where t2obr.kp=dvg.kp and upper(obr.nobr) like '%СРЕД%ПРОФЕСС%') as srprof,
(select count(*)
from kdt2iobr t2obr
left join kdisci sci on sci.ksci=t2obr.ksci
where t2obr.kp=dvg.kp and upper(sci.nsci) like '%КАНД%НАУК%') as kannauk,
(select count(*)
from kdt2iobr t2obr
left join kdisci sci on sci.ksci=t2obr.ksci
where t2obr.kp=dvg.kp and upper(sci.nsci) like '%ДОКТ%НАУК%') as docnauk
from kdt2iiidvg dvg
left join zpads1 ads1 on ads1.kp=dvg.kp
left join otzkpn kpn on kpn.kp=dvg.kp
left join kdt2iob ob on ob.kp=dvg.kp
where dvg.unsd=(select first 1 dvg1.unsd from kdt2iiidvg dvg1 where dvg1.kp=dvg.kp and dvg1.dto<=:FDE order by dvg1.dto desc,dvg1.unsd desc)
and ((dvg.ktd>=21 and dvg.ktd<=26) or dvg.ktd=51)
and dvg.kat in (1,2,3,4) and dvg.stv>0 and dvg.okl>0 and dvg.kvr<>2)SQL";

const char* const kSqlSHTI = R"SQL(select ti.kat,ti.kp,ti.stv,prdl.pr as PRDL
from otzshti ti
left join OTZPRDL prdl on prdl.kod=ti.kodpr
where ti.dtn<=:DTE1 and (ti.dtok>=:DTE2 or (ti.dtok is null)))SQL";

const char* const kSqlUw = R"SQL(select dvg.KP,dvg.KAT,dvg.PUP,dvg.kosd,kpn.FNAME,kpn.TN,dvg.perost
from kdt2iiidvg dvg
left join otzkpn kpn on kpn.kp=dvg.kp
left join zpads1 ads1 on ads1.kp=dvg.kp
where dvg.unsd=(select first 1 dvg1.unsd from kdt2iiidvg dvg1 where dvg1.kp=dvg.kp and dvg1.dto<=:FDE order by dvg1.dto desc,dvg1.unsd desc)
and dvg.ktd=121 and dvg.dto>=:FD1 and dvg.dto<=:FD2
and dvg.kat in (1,2,3,4)  and dvg.kvr<>2)SQL";

const char* const kSqlPr = R"SQL(select (case when(dvg.KAT=2)then 3 else dvg.KAT end) as KAT,kpn.fname,kpn.tn
from kdt2iiidvg dvg
left join otzkpn kpn on kpn.kp=dvg.kp
left join zpads1 ads1 on ads1.kp=dvg.kp
where dvg.unsd=(select first 1 dvg1.unsd from kdt2iiidvg dvg1 where dvg1.kp=dvg.kp and dvg1.dto<=:FDE order by dvg1.dto desc,dvg1.unsd desc)
and (dvg.ktd=21 or dvg.ktd=23) and dvg.dto>=:FD1 and dvg.dto<=:FD2
and dvg.kat in (1,2,3,4) and dvg.pup<>1 and dvg.kvr<>2)SQL";

const char* const kSqlHTRO = R"SQL(/*
PDTOxx - получить указаную на дату
PKP    - по подразделению
PTNх   - 0-все !=0 - код сотрудника
PDTK   - выберать закрытые до даты PDTOxx
PZHT   - выберать заголовки с расчетной ставкой ==0
VVx    - выберать 0-все 1-только должности 2-только сотрудники
KTHTx  - ваберать по типу штатки
PKTPDO - 1-показать основные
PKTPDS - 2-показать сверхштатные
PKTPDV - 3-показать внештатные
PFDZP   - дата для работы с таблицыми ZP 01.xx.xxxx
*/

select
      (
        (case
           when h3.KP is not NULL then '        '||h.sname
           when h2.KP is not NULL then '     '||h.sname
           when h1.KP is not NULL then '  '||h.sname
           else h.sname
         end
        )
      ) as snameend
      ,(
        (case
           when h3.KP is not NULL then h3.sname||h2.sname||h1.sname||h0.sname||'     pdr'||h.KP
           when h2.KP is not NULL then h2.sname||h1.sname||h0.sname||'     pdr'||h.KP
           when h1.KP is not NULL then h1.sname||h0.sname||'     pdr'||h.KP
           else h0.sname||'     pdr'||h.KP
         end
        )
        ||
        (case
           when kd.d is not NULL then '     dol'
           when zkdsv.d is not NULL then '     dol'
           else ''
         end
        )
       ) as snamesrt
      ,((htr.ktht*100000)+(htr.ktpd*10000)+htr.nn) as SORTNN
      /*,kd.n as NDOL */
      /*,(
        (case
           when zkpsv.kdkpn is not NULL then zkdsv.n
           else kd.n
         end
        )
      ) as NDOL*/
      ,kd.n as NDOL1
      ,zkdsv.n as NDOL2
      ,htr.kd as SORTKD
      ,htr.nkd as SORTNKD
      ,htr.kp as SORTKP
      ,(case when htr.kp=0 and htr.kd=0 then '' /*Подразделение*/
             when htr.kp=0 and htr.kd>0 and htr.stv=0 then 'должность 0' /*Пустой заголовок должности*/
             when htr.kp=0 then (case when (0=(htr.stv - case when (select sum(case when htr2.ktd<100 then htr2.stv else -htr2.stv end)
                                    from KDHTRO htr2
                                    where htr2.owner=htr.owner and htr2.kd=htr.kd and htr2.nkd=htr.nkd and htr2.kp>0 and htr2.dto<=:PDTO0
                                            and (htr2.dtok is null or (htr2.dtok>=:PDTO01))
                                    ) is null then 0
                                        else (select sum(case when htr2.ktd<100 then htr2.stv else -htr2.stv end)
                                        from KDHTRO htr2
                                        where htr2.owner=htr.owner and htr2.kd=htr.kd and htr2.nkd=htr.nkd and htr2.kp>0 and htr2.dto<=:PDTO1
                                            and (htr2.dtok is null or (htr2.dtok>=:PDTO11))
                                    )
                                        end
                                    )) then 'Занята' when htr.ktd=111 then 'Упразнение' else 'Вакантная' end)
                                    /*)) then 'Занята' else 'Вакантная' end)*/
             else kpn.sname end
       ) as NMKP
      ,(case /* по любому первый */
           when h3.KP is not NULL then h3.sname
           when h2.KP is not NULL then h2.sname
           when h1.KP is not NULL then h1.sname
           else h0.sname
        end) as sname0
      /* расчет ставки */
      ,(case when htr.kp>0 then htr.stv
             when htr.kp=0 and htr.kd=0 then null
             else
             (htr.stv - case when (select sum(case when htr2.ktd<100 then htr2.stv else -htr2.stv end)
                                    from KDHTRO htr2
                                    where htr2.owner=htr.owner and htr2.kd=htr.kd and htr2.nkd=htr.nkd
                                            and htr2.kp>0 and htr2.dto<=:PDTO2
                                            and (htr2.dtok is null or (htr2.dtok>=:PDTO21))
                                  ) is null then 0
                             else (select sum(case when htr2.ktd<100 then htr2.stv else -htr2.stv end)
                                    from KDHTRO htr2
                                    where htr2.owner=htr.owner and htr2.kd=htr.kd and htr2.nkd=htr.nkd
                                            and htr2.kp>0 and htr2.dto<=:PDTO3
                                            and (htr2.dtok is null or (htr2.dtok>=:PDTO31))
                                  )
                             end
             )
             end
       ) as RSTV
      ,(case
             when htr.kp=0 and htr.kd=0 then null
             else htr.okl
        end
       ) as ROKL


      ,(case /* определим уровень вложенности */
           when h3.KP is not NULL then h2.kp  /* 4 */
           when h3.KP is NULL and h2.KP is not NULL then h1.kp /* 3 */
           when h3.KP is NULL and h2.KP is NULL and h1.KP is not NULL then h0.kp /* 2 */
           else 0
        end) as sname1
      ,(case /* определим уровень вложенности */
           when h3.KP is not NULL then h1.kp  /* 4 */
           when h3.KP is NULL and h2.KP is not NULL then h0.kp /* 3 */
           else 0
        end) as sname2
      ,(case /* определим уровень вложенности */
           when h3.KP is not NULL then h0.kp  /* 4 */
           else 0
        end) as sname3
      ,h.KP  as kpend
      ,h0.KP as KP0
      ,h1.KP as KP1
      ,h2.KP as KP2
      ,h3.KP as KP3
      ,kop.n as OPLN
      ,zkat.n as KATN
      ,(select count(htrc.kd) from KDHTRO htrc where htr.owner>0 and htr.kd>0 and htrc.owner=htr.owner and htrc.kd=htr.kd and htrc.nkd=htr.nkd  and htrc.dto>htr.dto) as CtrlDvgNext
      ,kpn.tn  as TN
      ,(select pro.SUM4 from ZPLSPRO pro where pro.KP=kpn.KP and pro.FD=:PFDZP ) as SUM4
      ,hkpn.owner as kpnown,
      htr.stv,htr.okl,htr.kat,htr.owner,htr.rz,htr.opl,htr.kp,htr.unsd,htr.dto,prdl.pr as PRDL

from OTZKPN h
     left join OTZKPN h0 on h.kp is not NULL and h0.kp=h.kp and h0.tn=0
       left join OTZKPN h1 on h0.kp is not NULL and h1.kp=h0.owner and h1.tn=0
         left join OTZKPN h2 on h1.kp is not NULL and h2.kp=h1.owner and h2.tn=0
           left join OTZKPN h3 on h2.kp is not NULL and h3.kp=h2.owner and h3.tn=0
     inner join KDHTRO htr on (htr.owner=h.kp and
                              htr.dto=(select max(htr1.dto) from KDHTRO htr1 where htr1.owner=htr.owner and htr1.kd=htr.kd and htr1.nkd=htr.nkd and htr1.kp=htr.kp and htr1.dto<=:PDTO4)
                             )
     left join ZPKD kd on kd.d=htr.kd
     left join OTZKPN kpn on kpn.kp=htr.kp
     left join ZPKOP kop on kop.k=htr.opl
     left join ZPKAT zkat on zkat.k=htr.kat
     left join ZPKPSV zkpsv on zkpsv.kdkpn=htr.owner
     left join ZPKDSV zkdsv on zkdsv.kpv=zkpsv.kpv and zkdsv.d=htr.kd
     left join OTZKPN hkpn on hkpn.kp=htr.owner and hkpn.tn=0
     left join OTZPRDL prdl on prdl.kod=htr.kodpr
where h.tn=0
             and (htr.kd=0 or (htr.kd>0 and (htr.ktpd=:PKTPDO or htr.ktpd=:PKTPDS or htr.ktpd=:PKTPDV)))
             and (0=:PTN1 or (0<:PTN2 and kpn.kp=:PTN3))
             and 0<>(select nkp.kp from OTZNKP nkp where nkp.kp=h.KP)
             and (((htr.kp=0 and htr.kd>0 and
                    0< (htr.stv - case when (select sum(case when htr2.ktd<100 then htr2.stv else -htr2.stv end)
                                    from KDHTRO htr2
                                    where htr2.owner=htr.owner and htr2.kd=htr.kd and htr2.nkd=htr.nkd and htr2.kp>0 and htr2.dto<=:PDTO6
                                            and (htr2.dtok is null or (htr2.dtok>=:PDTO61))
                                  ) is null then 0
                             else (select sum(case when htr2.ktd<100 then htr2.stv else -htr2.stv end)
                                    from KDHTRO htr2
                                    where htr2.owner=htr.owner and htr2.kd=htr.kd and htr2.nkd=htr.nkd and htr2.kp>0 and htr2.dto<=:PDTO7
                                            and (htr2.dtok is null or (htr2.dtok>=:PDTO71))
                                  )
                             end
                        )) or 1=:PZHT /*Признак вывода пустых заголовков*/
                  )

                  or
                  (htr.kp>0 or htr.kd=0 )
                 )
             and ((0=:VV) or (1=:VV1 and htr.KP=0) or (2=:VV2 and htr.KD>0 and htr.KP>0))
             and ((0=:KTHT) or htr.KTHT=:KTHT1 or (htr.owner<>0 and htr.kd=0) )
             and (htr.KP=0 or (htr.KP>0 and htr.KTD<100))
             and (htr.dtok is null or 1=:PDTK or (htr.dtok>=:PDTO5 and htr.ktd<100)))SQL";


// Staff categories: managers (KAT 1), specialists (2 and 3), workers (4).
constexpr int kCategories = 3;
constexpr const char* kLabels[kCategories] = {"рук ", "спец ", "раб "};

int category_of(int64_t kat) {
  switch (kat) {
    case 1: return 0;
    case 2:
    case 3: return 1;
    case 4: return 2;
    default: return -1;
  }
}

// Sheet 2 columns, one counter per category each.
enum Column2 { cWomen, cSrv1, cSrv5, cSrv10, cSrv20, cSrvMore, cAge20, cAge30, cAge40, cAge49, cAge50, cWomen55,
               cMen60, cHigher, cCandidate, cDoctor, cSecondary, kColumns2 };
constexpr const char* kColumnNames2[kColumns2] = {"F", "H", "J", "L", "N", "P", "S", "T", "U",
                                                  "V", "W", "X", "Y", "Z", "AA", "AB", "AC"};
constexpr int kRows2[kCategories] = {12, 13, 14};

// Sheet 3 dismissal columns.
enum Column3 { cDismissed, cTransfer, cGood, cDiscipline, cReduction, kColumns3 };
constexpr const char* kColumnNames3[kColumns3] = {"E", "F", "G", "I", "J"};
constexpr int kRows3[kCategories] = {14, 15, 16};

// Before this month end the staff units come from the staffing history, from then on from the
// staffing table.
const TDateTime kStaffingTableFrom = text::encode_date(2013, 11, 1);

std::string trimmed(const std::string& s) {
  const auto b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(" \t\r\n") - b + 1);
}

}  // namespace

class Tfmhrd340 : public TReportWindow {
 public:
  Tfmhrd340() { Caption = "Сведения о численности и движении работников"; }
  void Job() override;

  ui::ProgressBar& pb = pbM;
  std::unique_ptr<db::Query> qryTmp, qryLst2, qryHTRO, qryUw, qryPr, qrySHTI;

 private:
  void put(int sheet, const std::string& cell, const Variant& value) {
    xl_->Book()->Sheet(sheet).Range(cell).SetValue(value);
  }
  void put_int(int sheet, const std::string& cell, int value) { put(sheet, cell, Variant(static_cast<int32_t>(value))); }
  void heading(int sheet, const char* name_cell, const char* month_cell, const char* year_cell);
  void Sheet1();
  void Sheet2();
  void StaffUnits();
  void Sheet3();

  office::TExcelShablon* xl_ = nullptr;
  TDateTime D = 0, FDB = 0, FDE = 0;
  std::string N;
  double units_[kCategories] = {}, positions_[kCategories] = {};
};

void Tfmhrd340::Job() {
  office::TExcelShablon xl;
  if (!OpenReport(xl, "HRDOC340", "Подготовка информации", Layout::plain)) return;
  xl_ = &xl;
  db::Connection& connection = *dm->ADOConnection;
  for (auto* q : {&qryTmp, &qryLst2, &qryHTRO, &qryUw, &qryPr, &qrySHTI}) *q = std::make_unique<db::Query>(connection);
  qryLst2->sql(kSqlLst2);
  qryHTRO->sql(kSqlHTRO);
  qryUw->sql(kSqlUw);
  qryPr->sql(kSqlPr);
  qrySHTI->sql(kSqlSHTI);

  D = c_p->D;
  FDB = text::first_day_of_month(D);
  FDE = text::last_day_of_month(D);

  // The whole enterprise goes by the name of the payroll directory.
  if (c_p->KP == domain::kRootDepartment || c_p->KP == 0)
    N = domain::enterprise_name(*dm);
  else
    N = domain::department_name(*dm, c_p->KP);
  pb.set_max(3);

  Sheet1();
  pb.step_it();
  Sheet2();
  pb.step_it();
  Sheet3();
  pb.step_it();

  FinishReport(xl);
  xl_ = nullptr;
}

void Tfmhrd340::heading(int sheet, const char* name_cell, const char* month_cell, const char* year_cell) {
  put(sheet, name_cell, N);
  put(sheet, month_cell, text::month_name(text::decode_date(D).month, 0));
  put_int(sheet, year_cell, text::decode_date(D).year);
}

void Tfmhrd340::Sheet1() {
  heading(1, "E4", "E6", "H6");
  put(1, "B16", N);
  put(1, "B19", "ИТОГО по " + N);

  qryTmp->close();
  qryTmp->sql(std::string(kSqlPayroll) + c_p->GetKpSewForWhere("dvg.KP") + " group by 1");
  qryTmp->set_date("FDB", FDB);
  qryTmp->set_date("FDE", FDE);
  qryTmp->open();
  for (auto [kat, cell] : {std::pair{1, "F16"}, std::pair{3, "F17"}, std::pair{4, "F18"}})
    if (qryTmp->locate("KAT", int64_t{kat})) put(1, cell, Variant(qryTmp->field("SSH").as_float()));
}

void Tfmhrd340::Sheet2() {
  xl_->SelectSheet(2);
  heading(2, "B5", "E5", "G5");
  put(2, "B12", N);
  put(2, "B15", "ИТОГО по " + N);

  int counters[kCategories][kColumns2] = {};
  int R = 20;
  qryLst2->close();
  qryLst2->sql(std::string(kSqlLst2) + c_p->GetKpSewForWhere("dvg.KP"));
  qryLst2->set_date("FDE", FDE);
  qryLst2->open();
  for (qryLst2->first(); !qryLst2->eof(); qryLst2->next()) {
    const int c = category_of(qryLst2->field("KAT").as_int());
    if (c < 0) continue;
    int* n = counters[c];
    const std::string sex = trimmed(office::UpperName(qryLst2->field("POL").as_string()));
    const bool woman = sex == "Ж", man = sex == "М";

    TStageResult stage{};
    CalcStage(static_cast<int>(qryLst2->field("KP").as_int()), 0, FDE, stage);
    const int Y = stage[domain::service_slot(domain::kServiceKindStatistics)].years();
    if (Y < 1) {
      ++n[cSrv1];
    } else if (Y < 5) {
      ++n[cSrv5];
    } else if (Y < 10) {
      ++n[cSrv10];
    } else if (Y < 20) {
      ++n[cSrv20];
    } else {
      ++n[cSrvMore];
      put(2, "P" + std::to_string(R), kLabels[c] + qryLst2->field("FNAME").as_string() + " TN=" +
                                           qryLst2->field("TN").as_string());
      ++R;
    }
    if (woman) ++n[cWomen];

    const int A = static_cast<int>(std::trunc(std::fabs(D - qryLst2->field("FDR").as_date()) / 365.25));
    if (A <= 20)
      ++n[cAge20];
    else if (A <= 30)
      ++n[cAge30];
    else if (A <= 40)
      ++n[cAge40];
    else if (A <= 49)
      ++n[cAge49];
    else
      ++n[cAge50];
    if (woman && A >= 55) ++n[cWomen55];
    if (man && A >= 60) ++n[cMen60];

    if (qryLst2->field("VISH").as_int() != 0) {
      ++n[cHigher];
      if (qryLst2->field("KANNAUK").as_int() != 0) ++n[cCandidate];
      if (qryLst2->field("DOCNAUK").as_int() != 0) ++n[cDoctor];
    } else if (qryLst2->field("SRPROF").as_int() != 0) {
      ++n[cSecondary];
    }
  }
  qryLst2->close();
  for (int c = 0; c < kCategories; ++c)
    for (int k = 0; k < kColumns2; ++k)
      put_int(2, kColumnNames2[k] + std::to_string(kRows2[c]), counters[c][k]);

  StaffUnits();
}

void Tfmhrd340::StaffUnits() {
  for (int c = 0; c < kCategories; ++c) units_[c] = positions_[c] = 0.0;
  db::Query* q = nullptr;
  if (FDE < kStaffingTableFrom) {
    q = qryHTRO.get();
    q->close();
    q->sql(std::string(kSqlHTRO) + c_p->GetKpSewForWhere("h.KP"));
    for (const char* name : {"PDTO0", "PDTO01", "PDTO1", "PDTO11", "PDTO2", "PDTO21", "PDTO3", "PDTO31", "PDTO4",
                             "PDTO5", "PDTO6", "PDTO61", "PDTO7", "PDTO71"})
      q->set_date(name, FDE);
    for (const char* name : {"PTN1", "PTN2", "PTN3", "PZHT", "PDTK", "VV", "VV1", "VV2", "KTHT", "KTHT1", "PKTPDS",
                             "PKTPDV"})
      q->set(name, int64_t{0});
    q->set("PKTPDO", int64_t{1});
    q->set_date("PFDZP", FDB);
  } else {
    q = qrySHTI.get();
    q->close();
    q->set_date("DTE1", FDE);
    q->set_date("DTE2", FDE);
  }
  q->open();
  for (q->first(); !q->eof(); q->next()) {
    const int c = category_of(q->field("KAT").as_int());
    if (c < 0) continue;
    const double stv = q->field("STV").as_float();
    if (q->field("KP").as_int() == 0) positions_[c] += stv;
    if (q->field("PRDL").is_null() || q->field("PRDL").as_int() != 1) units_[c] += stv;
  }
  q->close();
  for (int c = 0; c < kCategories; ++c) put(2, "D" + std::to_string(kRows2[c]), Variant(units_[c]));
}

void Tfmhrd340::Sheet3() {
  xl_->SelectSheet(3);
  heading(3, "B5", "E5", "G5");
  put(3, "B14", N);
  put(3, "B17", "ИТОГО по " + N);
  for (int c = 0; c < kCategories; ++c) put(3, "D" + std::to_string(kRows3[c]), Variant(positions_[c]));

  int dismissed[kCategories][kColumns3] = {};
  int R = 20;
  qryUw->close();
  qryUw->sql(std::string(kSqlUw) + c_p->GetKpSewForWhere("dvg.KP"));
  qryUw->set_date("FD1", FDB);
  qryUw->set_date("FD2", FDE);
  qryUw->set_date("FDE", FDE);
  qryUw->open();
  for (qryUw->first(); !qryUw->eof(); qryUw->next()) {
    const int c = category_of(qryUw->field("KAT").as_int());
    if (c < 0) continue;
    int* n = dismissed[c];
    ++n[cDismissed];
    put(3, "E" + std::to_string(R),
        kLabels[c] + qryUw->field("FNAME").as_string() + " TN=" + qryUw->field("TN").as_string());
    const int64_t kosd = qryUw->field("KOSD").as_int();
    if (qryUw->field("PEROST").as_int() == 1)
      ++n[cTransfer];
    else if (qryUw->field("PUP").as_int() == 1 || kosd == domain::kKosdGoodReason)
      ++n[cGood];
    else if (kosd == domain::kKosdDiscipline)
      ++n[cDiscipline];
    else if (domain::is_reduction(kosd))
      ++n[cReduction];
    ++R;
  }
  qryUw->close();
  for (int c = 0; c < kCategories; ++c)
    for (int k = 0; k < kColumns3; ++k) put_int(3, kColumnNames3[k] + std::to_string(kRows3[c]), dismissed[c][k]);

  int hired[kCategories] = {};
  R = 20;
  qryPr->close();
  qryPr->sql(std::string(kSqlPr) + c_p->GetKpSewForWhere("dvg.KP"));
  qryPr->set_date("FD1", FDB);
  qryPr->set_date("FD2", FDE);
  qryPr->set_date("FDE", FDE);
  qryPr->open();
  for (qryPr->first(); !qryPr->eof(); qryPr->next()) {
    const int c = category_of(qryPr->field("KAT").as_int());
    if (c < 0) continue;
    ++hired[c];
    put(3, "K" + std::to_string(R),
        kLabels[c] + qryPr->field("FNAME").as_string() + " TN=" + qryPr->field("TN").as_string());
    ++R;
  }
  for (auto [kat, c] : {std::pair{1, 0}, std::pair{3, 1}, std::pair{4, 2}})
    if (qryPr->locate("KAT", int64_t{kat})) put_int(3, "K" + std::to_string(kRows3[c]), hired[c]);
  qryPr->close();
}

namespace {
const bool registered = register_report<Tfmhrd340, "HRDOC340">();
const bool statements = register_statements(
    "HRDOC340", {{"qryTmp", std::string(kSqlPayroll) + " group by 1"},
                 {"qryLst2", kSqlLst2},
                 {"qrySHTI", kSqlSHTI},
                 {"qryUw", kSqlUw},
                 {"qryPr", kSqlPr},
                 {"qryHTRO", kSqlHTRO}});
}

}  // namespace hrdoc
