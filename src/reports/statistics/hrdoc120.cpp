// "HRDOC120": the sex and age structure of the staff (form Ф.ex.26): for each department of the
// department set a line with the men in eight and the women in seven age groups, and the total.
#include <array>
#include <string>

#include "db/database.h"
#include "host/compark.h"
#include "reports/statistics/filled_report.h"
#include "host/statements.h"
#include "host/udm.h"
#include "office/classexl.h"
#include "reports/statistics/department_list.h"
#include "text/date.h"

namespace hrdoc {
namespace {

using office::TExcelShablon;

constexpr const char* kQryExlSp = R"(Select kpn.FNAME, ads1.POL, ads1.FDR,kpn.TN,dvg1.nmdl as doln,
((htr.ktht*100000)+(htr.ktpd*10000)+htr.nn) as SORTNN
from  OTZKPN kpn
left join  ZPADS1 ads1 on ads1.KP=kpn.kp
left join  KDT2IIIDVG dvg1 on dvg1.unsd=
        (select first 1 dvg2.unsd
        from KDT2IIIDVG dvg2
        where dvg2.kp=kpn.kp and dvg2.DTO<=:DTO
        order by dvg2.DTO desc,dvg2.UNSD desc)
left join kdhtro htr on htr.owner=kpn.owner and htr.kd=dvg1.kd and htr.kp=dvg1.kp and htr.dto=dvg1.dto and htr.ktd=dvg1.ktd and htr.unsd=dvg1.unsd
where dvg1.owner=:PODR and kpn.TN>0 and dvg1.OKL>0
and ((select js.ktd
              from KDSDJS js
              where  js.UNSD=dvg1.UNSD
             ) not in (121,122,123) or dvg1.dto=:DT2))";

// The men's groups, then the women's: the field and the largest difference of calendar years it
// holds (the last group of each takes the rest).
struct Group {
  const char* field;
  int upTo;
};
constexpr int kMenGroups = 8, kGroups = 15;
constexpr std::array<Group, kGroups> kGroupFields = {{{"fm25", 24},
                                                      {"fm2530", 30},
                                                      {"fm3135", 35},
                                                      {"fm3640", 40},
                                                      {"fm4145", 45},
                                                      {"fm4650", 50},
                                                      {"fm5155", 55},
                                                      {"fm56", 0},
                                                      {"fg25", 24},
                                                      {"fg2530", 30},
                                                      {"fg3135", 35},
                                                      {"fg3640", 40},
                                                      {"fg4145", 45},
                                                      {"fg4650", 50},
                                                      {"fg51", 0}}};

// The counter of an employee: Y is the report's calendar year minus the year of birth.
int GroupOf(bool man, int Y) {
  const int first = man ? 0 : kMenGroups, last = man ? kMenGroups - 1 : kGroups - 1;
  for (int i = first; i < last; ++i)
    if (Y <= kGroupFields[i].upTo) return i;
  return last;
}

class TfmHRDOC120 : public TFilledReport {
 public:
  TfmHRDOC120() : TFilledReport("HRDOC120", "Подготовка формы для печати...", Errors::shown) {
    Caption = "Печать \"Половозрастная структура новая\" (Ф.ex.26)";
  }

 private:
  using Counters = std::array<int, kGroups>;

  // Writes the non-zero counters and their sum into a line part.
  static void PutCounters(TExcelShablon& w, const char* part, const Counters& c) {
    int sum = 0;
    for (int i = 0; i < kGroups; ++i) {
      if (c[i] != 0) w.SetField(part, kGroupFields[i].field, static_cast<int32_t>(c[i]));
      sum += c[i];
    }
    w.SetField(part, "fItg", static_cast<int32_t>(sum));
  }

  void Fill(TExcelShablon& w) override {
    const TDateTime D = c_p->D;
    const std::string H = NodeFullName(*dm, c_p->KP);
    w.SetField("ppH", "fzag", "Половозрастная структура сотрудников подразделения " + H + " на " + text::date_text(D));

    db::Query qryPODR(*dm->ADOConnection), qryExlSp(*dm->ADOConnection);
    qryPODR.sql(std::string(kQryPODR) + c_p->GetKpSewForWhere("kpn.KP") + " order by 1");
    qryPODR.open();
    pbM.set_max(qryPODR.record_count());
    qryExlSp.sql(kQryExlSp);
    const char* order = ListOrder(c_p->list_order);

    Counters totals{};
    for (qryPODR.first(); !qryPODR.eof(); qryPODR.next()) {
      qryExlSp.close();
      qryExlSp.set_date("DTO", D);
      qryExlSp.set_date("DT2", D);
      qryExlSp.set("PODR", qryPODR.field("KP").as_int());
      qryExlSp.open();
      if (order) qryExlSp.sort(order);
      if (qryExlSp.record_count() > 0) {
        w.ClearPart("ppD");
        w.SetField("ppD", "fname", DepartmentCaption(qryPODR));
        Counters c{};
        const int year = text::decode_date(D).year;
        for (qryExlSp.first(); !qryExlSp.eof(); qryExlSp.next()) {
          lbM.set_caption("Подготовка формы >" + qryExlSp.field("FNAME").as_string());
          const int Y = year - text::decode_date(qryExlSp.field("FDR").as_date()).year;
          ++c[GroupOf(qryExlSp.field("POL").as_string() == "М", Y)];
        }
        for (int i = 0; i < kGroups; ++i) totals[i] += c[i];
        PutCounters(w, "ppD", c);
        w.AddPart("ppD", 0);
      }
      pbM.step_it();
    }

    // Lines start on row 3: a later output row means there was at least one.
    if (w.OutputRow() > 3) {
      w.ClearPart("ppItg");
      w.SetField("ppItg", "fname", "Итого по " + H);
      PutCounters(w, "ppItg", totals);
      w.AddPart("ppItg", 0);
    }

    office::TServerImp& app = *w.GetApplication();
    app.SelectRange("A2:Q" + std::to_string(w.OutputRow()), 0);
    app.AutoFitColumns(1, 17, 0);
    app.SelectRange("A1", 0);
    lbM.set_caption("Подготовка формы... Ok");
  }
};

const bool statements = register_statements(
    "HRDOC120", {{"qryPODR", std::string(kQryPODR) + " order by 1"}, {"qryExlSp", kQryExlSp}});
const bool registered = register_report<TfmHRDOC120, "HRDOC120">();

}  // namespace
}  // namespace hrdoc
