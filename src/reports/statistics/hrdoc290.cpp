// "HRDOC290": the employees of the selected department dismissed in the calendar year of the
// report date, a line per position: counts by kind of ground, by age and by length of service,
// and the total.
#include <array>
#include <exception>
#include <string>

#include "calc/uosrv200.h"
#include "db/database.h"
#include "host/compark.h"
#include "host/report_window.h"
#include "host/statements.h"
#include "host/udm.h"
#include "office/classexl.h"
#include "text/date.h"
#include "text/strings.h"

namespace hrdoc {
namespace {

using office::TExcelShablon;

constexpr const char* kQryKpn = R"(select  t2.kp,t2.dto,t2.nmds,osd.put,kpn.fname,ads1.fdr

from  kdt2iiidvg t2
left join otzkpn kpn on kpn.kp=t2.kp
left join kdosd osd on osd.kosd=t2.kosd
left join zpads1 ads1 on ads1.kp=t2.kp


left join otzruc ruc on ruc.owner=t2.owner



where t2.dto=(select max(t2dvg.dto) from kdt2iiidvg t2dvg where t2dvg.kp=t2.kp and t2dvg.dto>=:fd1 and t2dvg.dto<=:fd2)
and t2.ktd=121 and t2.okl>0 and t2.stv>0 and t2.book=1 and t2.ktpd=1

and (ruc.ow1=:ow1 or ruc.ow2=:ow2 or ruc.ow3=:ow3 or ruc.ow4=:ow4 or ruc.ow5=:ow5
 or ruc.ow6=:ow6 or ruc.ow7=:ow7 or t2.owner=:ow or 0=:md)
order by t2.nmds)";

enum Counter { cCount, cNar, cSj, cSs, cDr, cAge30, cAge45, cAge50, cAgeOver50, cSrv1, cSrv5, cSrv10, cSrvOver10,
               kCounters };
constexpr const char* kFields[kCounters] = {"fcount", "fnar", "fsj",  "fss",  "fdr",    "f30", "fd45",
                                            "fp45",   "f50",  "fst1", "fst5", "fst610", "f10"};
using Counters = std::array<int, kCounters>;

// Ground by the PUT of the ground's directory row: 1 discipline, 2 own wish, 3 agreement.
Counter GroundOf(const db::Field& put) {
  if (put.is_null()) return cDr;
  switch (put.as_int()) {
    case 1: return cNar;
    case 2: return cSj;
    case 3: return cSs;
    default: return cDr;
  }
}

Counter AgeOf(int age) {
  if (age < 30) return cAge30;
  if (age <= 45) return cAge45;
  if (age <= 50) return cAge50;
  return cAgeOver50;
}

Counter ServiceOf(int years) {
  if (years < 1) return cSrv1;
  if (years <= 5) return cSrv5;
  if (years <= 10) return cSrv10;
  return cSrvOver10;
}

class Tfmhrd290 : public TReportWindow {
 public:
  ui::Label& lbKp = lbM;
  ui::ProgressBar& pbKp = pbM;

  void Job() override {
    TExcelShablon w;
    if (!OpenReport(w, "hrdoc290", "Подготовка информации")) return;
    try {
      Fill(w);
    } catch (const std::exception&) {
      // The user gets the book as far as it was written.
    }
    FinishReport(w, "ppH");
  }

 private:
  // Counters above 0 into their fields; zeros stay blank.
  static void PutCounters(TExcelShablon& w, const char* part, const Counters& c) {
    for (int i = 0; i < kCounters; ++i)
      if (c[i] > 0) w.SetField(part, kFields[i], static_cast<int32_t>(c[i]));
  }

  void Fill(TExcelShablon& w) {
    const int Y = text::decode_date(c_p->D).year;
    w.SetField("ppH", "f1", "уволенных за прогулы и нарушения трудовой дисциплины в " + std::to_string(Y) + " году");
    w.SetField("ppH", "f2", "по подразделению " + c_p->department_name());

    db::Query qryKpn(*dm->ADOConnection);
    qryKpn.sql(kQryKpn);
    qryKpn.set_date("fd1", text::encode_date(Y, 1, 1));
    qryKpn.set_date("fd2", text::encode_date(Y, 12, 31));
    const int64_t K = c_p->KP;
    qryKpn.set("ow", K);
    for (int i = 1; i <= 7; ++i) qryKpn.set("ow" + std::to_string(i), K);
    qryKpn.set("md", K);
    qryKpn.open();
    pbKp.set_max(qryKpn.record_count());

    auto line = [&](const std::string& position, const Counters& c) {
      w.ClearPart("ppP");
      w.SetField("ppP", "fdolj", position);
      PutCounters(w, "ppP", c);
      w.AddPart("ppP", 0);
    };

    Counters counters{}, totals{};
    qryKpn.first();
    std::string P = qryKpn.eof() ? std::string() : text::trim(qryKpn.field("NMDS").as_string());
    for (; !qryKpn.eof(); qryKpn.next()) {
      pbKp.step_it();
      lbKp.set_caption(qryKpn.field("FNAME").as_string() + " ");
      // Rows come ordered by position; a position met again after another starts a new line.
      const std::string position = text::trim(qryKpn.field("NMDS").as_string());
      if (position != P) {
        line(P, counters);
        P = position;
        counters = {};
      }
      const TDateTime dto = qryKpn.field("DTO").as_date();
      const db::Field fdr = qryKpn.field("FDR");
      const int age = fdr.is_null() ? 0 : text::whole_years_between(fdr.as_date(), dto);
      TStageResult stage{};
      CalcStage(static_cast<int>(qryKpn.field("KP").as_int()), 0, dto, stage);
      for (Counter c : {cCount, GroundOf(qryKpn.field("PUT")), AgeOf(age), ServiceOf(stage[4].years())}) {
        ++counters[c];
        ++totals[c];
      }
    }
    line(P, counters);
    w.ClearPart("ppI");
    PutCounters(w, "ppI", totals);
    w.AddPart("ppI", 0);
    w.FitOutputRows();
  }
};

const bool statements = register_statements("HRDOC290", {{"qryKpn", kQryKpn}});
const bool registered = register_report<Tfmhrd290, "HRDOC290">();

}  // namespace
}  // namespace hrdoc
