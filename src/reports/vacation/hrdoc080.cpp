// "HRDOC080": for every employee of the department, the vacation days earned since the hiring
// (28 a year, earned month by month), the days used by the vacation orders and what is left.
#include <string>

#include "db/database.h"
#include "host/compark.h"
#include "host/report_window.h"
#include "host/statements.h"
#include "host/udm.h"
#include "host/uosrv250.h"
#include "office/classexl.h"
#include "text/date.h"

namespace hrdoc {
namespace {

using office::TExcelShablon;

constexpr const char* kQryKpn = R"(select t2.owner,kpn.tn,kpn.kp, kpn.sname, kpn.fname,kpn1.sname as snowner, 
t2.nmds, ad1.pol,ad1.fdr, ad1.ser,ad1.num, ad1.org, ad1.fdvd, adr.ind, adr.st, adr.regn, 
adr.gor, adr.nas, adr.ulname,adr.dom, adr.korp, adr.kv, adr.adrin,osd.rosd,t2.dto
from kdt2iiidvg t2
left join otzkpn kpn on kpn.kp=t2.kp
left join otzruc ruc on ruc.owner=t2.owner
left join otzkpn kpn1 on kpn1.kp=t2.owner
left join zpads1 ad1 on ad1.kp=kpn.kp
left join zpadres adr on adr.kp=kpn.kp
left join kdosd osd on osd.kosd=t2.kosd
where 
t2.ktd=21
and (ruc.ow1=:ow1 or ruc.ow2=:ow2 or ruc.ow3=:ow3 or ruc.ow4=:ow4 or ruc.ow5=:ow5
 or ruc.ow6=:ow6 or ruc.ow7=:ow7 or t2.owner=:ow or 0=:md)
and not exists (
select * from kdt2iiidvg t22 where t22.kp=t2.kp and t22.ktd=121 and t22.dto>t2.dto
)
order by kpn.fname,t2.dto desc)";

constexpr const char* kUsedDays = R"(select * from  kdt2viiio where kp=:kp and dto>=:dto and dto<=:dt)";

// Vacation days earned a year; a month earns its twelfth.
constexpr int kDaysPerYear = 28;
constexpr double kAverageMonth = 30.4375;

class Tfmhrd08 : public TReportWindow {
 public:
  void Job() override {
    TExcelShablon w;
    if (!OpenReport(w, "hrdoc08", "Подготовка информации")) return;
    const TDateTime D = text::encode_date(c_p->d_year, c_p->d_month, c_p->d_day);
    skpw record;
    c_p->f_skpw(static_cast<uint16_t>(c_p->KP), c_p->payroll_month, &record);
    w.SetField("ppH", "f1", "Использование отпуска " + GetPathSkpw(record) + " НА " + text::date_text(D));

    db::Query qryKpn(*dm->ADOConnection);
    qryKpn.sql(kQryKpn);
    for (const char* p : {"ow1", "ow2", "ow3", "ow4", "ow5", "ow6", "ow7", "ow", "md"}) qryKpn.set(p, int64_t{c_p->KP});
    qryKpn.open();
    db::Query& used = *dm->qryTmp;
    int counter = 0;
    PrintRows(qryKpn, "FNAME", [&] {
      w.ClearPart("ppP");
      w.SetField("ppP", "f2", static_cast<int32_t>(++counter));
      w.SetField("ppP", "f3", qryKpn.field("FNAME").as_string());
      const db::Field hired = qryKpn.field("DTO");
      long long months = 0;
      if (!hired.is_null()) {
        w.SetField("ppP", "f4", text::date_text(hired.as_date()));
        months = static_cast<long long>((D - text::date_of(hired.as_date())) / kAverageMonth);
      }
      const long long years = months / 12;
      months %= 12;
      w.SetField("ppP", "f5", std::to_string(years) + " лет " + std::to_string(months) + " месяцев ");
      // Whole numbers throughout: the sum's fraction is dropped, not each term's.
      const long long earned = (years * 12 * kDaysPerYear + months * kDaysPerYear) / 12;
      w.SetField("ppP", "f6", static_cast<double>(earned));

      used.close();
      used.sql(kUsedDays);
      used.set("kp", qryKpn.field("KP").as_int());
      if (hired.is_null())
        used.set_null("dto");
      else
        used.set_date("dto", hired.as_date());
      used.set_date("dt", D);
      used.open();
      long long taken = 0;
      for (; !used.eof(); used.next()) taken += used.field("KOLVO").as_int();
      w.SetField("ppP", "f7", static_cast<double>(taken));
      w.SetField("ppP", "f8", static_cast<double>(earned - taken));
      w.AddPart("ppP", 0);
    });
    w.FitOutputRows();
    FinishReport(w, "ppH");
  }
};

const bool statements = register_statements("HRDOC080", {{"qryKpn", kQryKpn}, {"used days", kUsedDays}});
const bool registered = register_report<Tfmhrd08, "HRDOC080">();

}  // namespace
}  // namespace hrdoc
