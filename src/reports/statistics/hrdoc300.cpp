// "HRDOC300": the young staff (15 to 29 years) of each department by sex, by level of education
// and by current study; a total line and the signatures.
#include <array>
#include <cmath>
#include <string>

#include "db/database.h"
#include "host/compark.h"
#include "reports/statistics/filled_report.h"
#include "host/statements.h"
#include "host/udm.h"
#include "office/classexl.h"
#include "reports/statistics/education_forms.h"
#include "text/date.h"
#include "text/strings.h"

namespace hrdoc {
namespace {

using office::TExcelShablon;

constexpr const char* kQryKpn = R"(select ((case when s2.sname is NULL then '' else s2.sname||' ' end)
||(case when s3.sname is NULL then '' else s3.sname||' ' end)
||(case when s4.sname is NULL then '' else s4.sname||' ' end)
||(case when s1.sname is NULL then '' else s1.sname||' ' end)) as srt,
kpn.kp, kpn.tn, kpn.fname,
t2.owner, s1.sname,
ad1.pol, ad1.fdr
from kdt2iiidvg t2
left join otzkpn kpn on kpn.kp=t2.kp
left join otzkpn s1 on s1.kp=t2.owner
left join otzruc ruc on ruc.owner=t2.owner
left join otzkpn s2 on s2.kp=ruc.ow1
left join otzkpn s3 on s3.kp=ruc.ow2
left join otzkpn s4 on s4.kp=ruc.ow3

left join zpads1 ad1 on ad1.kp=kpn.kp

where t2.dto=(select max(t2dvg.dto) from kdt2iiidvg t2dvg where t2dvg.kp=t2.kp and t2dvg.dto<=:fd1)
and t2.ktd!=121 and t2.okl>0 and t2.stv>0 and t2.ktpd=1
and (ruc.ow1=:ow1 or ruc.ow2=:ow2 or ruc.ow3=:ow3 or ruc.ow4=:ow4 or ruc.ow5=:ow5
 or ruc.ow6=:ow6 or ruc.ow7=:ow7 or t2.owner=:ow or 0=:md)
order by 1,kpn.fname)";

constexpr const char* kQryOLOLO = R"(select * from otzruc ruc
left join kdt2iiidvg t2 on t2.owner=ruc.owner
where t2.dto=(select max(t2dvg.dto) from kdt2iiidvg t2dvg where t2dvg.kp=t2.kp and t2dvg.dto<=:fd1)
and t2.ktd!=121 and t2.okl>0 and t2.stv>0 and t2.ktpd=1

and
(ow1=:ow1 or ow2=:ow2 or ow3=:ow3 or ow4=:ow4 or ow5=:ow5 or ow6=:ow6 or ow7=:ow7))";

constexpr const char* kQryOBR = R"(select obr.kobr,wuz.ktuz,obr.kfob,obr.dtk

from kdt2iobr obr
left join kdiwuz wuz on wuz.kwuz=obr.kwuz

where obr.ktzo=1 and obr.kp=:kp)";

// The counters of a line, in the order of their fields.
enum Counter { kVsego, kMen, kWomen, kVis, kNepvis, kSredspec, kObsred, kNet, kZao, kPrvus, kPrsred, kCounters };
constexpr std::array<const char*, kCounters> kFields = {"fvsego", "fm",  "fw",  "fvis",   "fnepvis", "fsredspec",
                                                        "fobsred", "fnet", "fzao", "fprvus", "fprsred"};
using Counters = std::array<int, kCounters>;

// Education codes and the kinds of institution that count as current study.
int LevelOf(int64_t kobr) {
  switch (kobr) {
    case 1:
    case 8: return kVis;
    case 2: return kNepvis;
    case 3: return kSredspec;
    case 4: return kObsred;
    case 5: return kNet;
    default: return -1;
  }
}
constexpr bool IsUniversity(int64_t ktuz) { return ktuz >= 1 && ktuz <= 7; }
constexpr bool IsCollege(int64_t ktuz) { return (ktuz >= 8 && ktuz <= 10) || ktuz == 13 || ktuz == 17; }

class Tfmhrd300 : public TFilledReport {
 public:
  Tfmhrd300() : TFilledReport("hrdoc300", "Подготовка информации", Errors::silent) {
    Caption = "Сведения об образовании (до 29 лет)";
  }

 private:
  static void PutCounters(TExcelShablon& w, const char* part, const Counters& c) {
    for (int i = 0; i < kCounters; ++i) w.SetField(part, kFields[i], static_cast<int32_t>(c[i]));
  }

  void Fill(TExcelShablon& w) override {
    const TDateTime D = c_p->D;
    w.SetField("ppH", "f1", "по состоянию на " + text::date_text(D));
    w.SetField("ppH", "fdatatime", PrintTime());

    db::Query qryKpn(*dm->ADOConnection), qryOLOLO(*dm->ADOConnection), qryOBR(*dm->ADOConnection);
    qryKpn.sql(kQryKpn);
    qryKpn.set_date("fd1", D);
    BindDepartment(qryKpn, c_p->KP);
    qryKpn.open();
    pbM.set_max(qryKpn.record_count());
    qryOLOLO.sql(kQryOLOLO);
    qryOBR.sql(kQryOBR);

    Counters counters{}, totals{};
    // A department whose staff sits below it too has no line of its own; its people still count.
    auto close_department = [&](int64_t owner, const std::string& sname) {
      if (counters[kVsego] != 0) {
        qryOLOLO.close();
        qryOLOLO.set_date("fd1", D);
        for (int i = 1; i <= 7; ++i) qryOLOLO.set("ow" + std::to_string(i), owner);
        qryOLOLO.open();
        if (qryOLOLO.record_count() == 0) {
          w.ClearPart("ppP");
          w.SetField("ppP", "fnown", "Итого по " + text::trim(sname));
          PutCounters(w, "ppP", counters);
          w.AddPart("ppP", 0);
        }
      }
      for (int i = 0; i < kCounters; ++i) totals[i] += counters[i];
      counters.fill(0);
    };

    std::string srt, sname;
    int64_t owner = 0;
    bool any = false;
    for (qryKpn.first(); !qryKpn.eof(); qryKpn.next()) {
      const std::string row_srt = text::trim(qryKpn.field("SRT").as_string());
      if (any && row_srt != srt) close_department(owner, sname);
      any = true;
      srt = row_srt;
      owner = qryKpn.field("OWNER").as_int();
      sname = qryKpn.field("SNAME").as_string();
      Count(qryKpn, qryOBR, D, counters);
      pbM.step_it();
    }
    if (any) close_department(owner, sname);

    w.ClearPart("ppR");
    PutCounters(w, "ppR", totals);
    w.AddPart("ppR", 0);
    w.FitOutputRows();
    PutSignatures(w, *dm, *c_p);
  }

  static void Count(const db::Query& row, db::Query& qryOBR, TDateTime D, Counters& c) {
    const int A = static_cast<int>(std::trunc(std::fabs(D - row.field("FDR").as_date()) / 365.25));
    if (A < 15 || A > 29) return;
    ++c[kVsego];
    ++c[text::lower(row.field("POL").as_string()) == "м" ? kMen : kWomen];
    qryOBR.close();
    qryOBR.set("kp", row.field("KP").as_int());
    qryOBR.open();
    if (qryOBR.record_count() == 0) return;
    qryOBR.first();
    if (const int level = LevelOf(qryOBR.field("KOBR").as_int()); level >= 0) ++c[level];
    if (qryOBR.field("DTK").is_null()) {
      if (qryOBR.field("KFOB").as_int() == 3) ++c[kZao];
      const int64_t ktuz = qryOBR.field("KTUZ").as_int();
      if (IsUniversity(ktuz)) ++c[kPrvus];
      if (IsCollege(ktuz)) ++c[kPrsred];
    }
  }
};

const bool statements =
    register_statements("HRDOC300", {{"qryKpn", kQryKpn}, {"qryOLOLO", kQryOLOLO}, {"qryObr", kQryOBR}});
const bool registered = register_report<Tfmhrd300, "HRDOC300">();

}  // namespace
}  // namespace hrdoc
