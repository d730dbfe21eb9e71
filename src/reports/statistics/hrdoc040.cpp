// "HRDOC040": the employees of the selected department dismissed in the period, one line each
// with personal, passport and address data, the last position before the dismissal, the date
// and the ground.
#include <string>

#include "db/database.h"
#include "host/compark.h"
#include "reports/statistics/filled_report.h"
#include "host/statements.h"
#include "host/udm.h"
#include "host/uosrv250.h"
#include "office/classexl.h"
#include "reports/statistics/full_name.h"
#include "text/date.h"

namespace hrdoc {
namespace {

using office::TExcelShablon;

constexpr const char* kQryKpn = R"(select kpn.kp, kpn.tn, kpn.fname,
t2.owner, t2.nmds, t2.dto,
ad1.pol,ad1.fdr, ad1.ser,ad1.num, ad1.org, ad1.fdvd,
adr.ind, adr.st, adr.regn, adr.gor, adr.nas, adr.ulname,adr.dom,
adr.korp, adr.kv, adr.adrin,osd.rosd,
s2.sname sort1,s3.sname sort2, s4.sname sort3, s1.sname sort4
from kdt2iiidvg t2
left join otzkpn kpn on kpn.kp=t2.kp
left join otzkpn s1 on s1.kp=t2.owner
left join otzruc ruc on ruc.owner=t2.owner
left join otzkpn s2 on s2.kp=ruc.ow1
left join otzkpn s3 on s3.kp=ruc.ow2
left join otzkpn s4 on s4.kp=ruc.ow3
left join zpads1 ad1 on ad1.kp=kpn.kp
left join zpadres adr on adr.kp=kpn.kp
left join kdosd osd on osd.kosd=t2.kosd
where 
t2.dto=(select max(t2dvg.dto) from kdt2iiidvg t2dvg where t2dvg.kp=t2.kp and t2dvg.dto>=:fd1 and t2dvg.dto<=:fd2)
and t2.ktd=121
and (ruc.ow1=:ow1 or ruc.ow2=:ow2 or ruc.ow3=:ow3 or ruc.ow4=:ow4 or ruc.ow5=:ow5
 or ruc.ow6=:ow6 or ruc.ow7=:ow7 or t2.owner=:ow or 0=:md)
order by t2.owner, kpn.fname)";

constexpr const char* kPreviousPosition =
    R"(select kdt2iiidvg.* from  kdt2iiidvg where kdt2iiidvg.kp=:kp and kdt2iiidvg.dto<:dto order by kdt2iiidvg.dto desc)";

// The address from its parts, each applied only when not empty.
std::string AddressLine(const db::Query& q) {
  std::string line;
  auto part = [&q](const char* field) { return q.field(field).as_string(); };
  if (const std::string s = part("REGN"); !s.empty()) line = s + ", ";
  line += part("GOR");
  for (auto [field, prefix] : {std::pair{"NAS", ", "}, std::pair{"ULNAME", ", "}, std::pair{"DOM", ", д."},
                               std::pair{"KORP", ", корп."}, std::pair{"KV", ", кв."}})
    if (const std::string s = part(field); !s.empty()) line += prefix + s;
  return line;
}

class Tfmhrd04 : public TFilledReport {
 public:
  Tfmhrd04() : TFilledReport("hrdoc04", "Подготовка информации", Errors::silent) {}

 private:
  void Fill(TExcelShablon& w) override {
    skpw record;
    c_p->f_skpw(static_cast<uint16_t>(c_p->KP), c_p->payroll_month, &record);
    const TDateTime D1 = text::encode_date(c_p->d1_year, c_p->d1_month, c_p->d1_day);
    const TDateTime D2 = text::encode_date(c_p->d2_year, c_p->d2_month, c_p->d2_day);
    w.SetField("ppH", "f1", "ВЫБЫВШИЕ ПО ПОДРАЗДЕЛЕНИЮ " + GetPathSkpw(record) + " С " + text::date_text(D1) + " ПО " +
                                text::date_text(D2));

    db::Query qryKpn(*dm->ADOConnection), qryDvg(*dm->ADOConnection);
    qryKpn.sql(kQryKpn);
    qryKpn.set_date("fd1", c_p->D1);
    qryKpn.set_date("fd2", c_p->D2);
    const int64_t K = c_p->KP;
    qryKpn.set("ow", K);
    for (int i = 1; i <= 7; ++i) qryKpn.set("ow" + std::to_string(i), K);
    qryKpn.set("md", K);
    qryKpn.open();
    qryKpn.sort("sort1,sort2,sort3,sort4,fname");
    pbM.set_max(qryKpn.record_count());
    qryDvg.sql(kPreviousPosition);

    int N = 0;
    for (qryKpn.first(); !qryKpn.eof(); qryKpn.next()) {
      w.ClearPart("ppP");
      w.SetField("ppP", "f2", static_cast<int32_t>(++N));
      const FullName name = SplitName(qryKpn.field("FNAME").as_string());
      w.SetField("ppP", "f3", name.surname);
      w.SetField("ppP", "f4", name.name);
      w.SetField("ppP", "f5", name.patronymic);
      // Empty values leave their cells blank.
      auto put = [&](const char* field, const char* column) {
        if (const std::string s = qryKpn.field(column).as_string(); !s.empty()) w.SetField("ppP", field, s);
      };
      put("f6", "POL");
      put("f7", "FDR");
      put("f8", "SER");
      put("f9", "NUM");
      put("f10", "ORG");
      put("f11", "FDVD");
      put("f12", "IND");
      w.SetField("ppP", "f13", AddressLine(qryKpn));

      qryDvg.close();
      qryDvg.set("kp", qryKpn.field("KP").as_int());
      qryDvg.set_date("dto", qryKpn.field("DTO").as_date());
      qryDvg.open();
      if (qryDvg.record_count() > 0) w.SetField("ppP", "f14", qryDvg.field("NMDS").as_string());

      put("f15", "DTO");
      put("f16", "ROSD");
      w.AddPart("ppP", 0);
      pbM.step_it();
    }
    w.FitOutputRows();
  }
};

const bool statements =
    register_statements("HRDOC040", {{"qryKpn", kQryKpn}, {"previous position", kPreviousPosition}});
const bool registered = register_report<Tfmhrd04, "HRDOC040">();

}  // namespace
}  // namespace hrdoc
