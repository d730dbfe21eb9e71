#include "reports/statistics/department_lines.h"

#include <exception>

#include "host/compark.h"
#include "host/udm.h"
#include "host/uosrv250.h"
#include "office/classexl.h"
#include "text/date.h"

namespace hrdoc {

void TDepartmentLines::Job() {
  office::TExcelShablon w;
  // The rest of the host's run works with the date without its time of day.
  const text::Ymd ymd = text::decode_date(c_p->D);
  c_p->D = text::encode_date(ymd.year, ymd.month, ymd.day);
  const TDateTime D = c_p->D;
  if (!OpenReport(w, form_.code, "Подготовка информации")) return;
  try {
    skpw record;
    c_p->f_skpw(static_cast<uint16_t>(c_p->KP), c_p->payroll_month, &record);
    const std::string& enterprise = record.enterprise_name;
    const std::string& top = record.top_fname;
    w.SetField("ppH", "f1",
               form_.title + enterprise + SepStr(enterprise, top) + top + " на " + text::date_text(D));

    db::Query qryKpn(*dm->ADOConnection);
    qryKpn.sql(form_.sql);
    qryKpn.set_date("fd", D);
    qryKpn.set("ow", int64_t{c_p->KP});
    for (int i = 1; i <= 7; ++i) qryKpn.set("ow" + std::to_string(i), int64_t{c_p->KP});
    qryKpn.open();
    qryKpn.sort("sort1,sort2,sort3,sort4");
    pbM.set_max(qryKpn.record_count());

    std::vector<int> counters(form_.counters), totals(form_.counters);
    auto line = [&](const std::string& caption, const std::vector<int>& values) {
      w.ClearPart("ppP");
      w.SetField("ppP", "f2", caption);
      for (size_t i = 0; i < values.size(); ++i)
        w.SetField("ppP", "f" + std::to_string(i + 3), static_cast<int32_t>(values[i]));
      w.AddPart("ppP", 0);
    };
    auto close_department = [&](const std::string& caption) {
      line(caption, counters);
      for (size_t i = 0; i < counters.size(); ++i) totals[i] += counters[i];
      counters.assign(counters.size(), 0);
    };

    int64_t P = 0;
    std::string C;
    for (qryKpn.first(); !qryKpn.eof(); qryKpn.next()) {
      const int64_t owner = qryKpn.field("OWNER").as_int();
      if (owner != P && P != 0) close_department(C);
      if (owner != P) C = GetPathRow(qryKpn, record, c_p->KP);
      P = owner;
      Count(qryKpn, D, counters);
      pbM.step_it();
    }
    // The last department's line is written even when there were no rows at all.
    close_department(C);
    line(form_.total, totals);
    w.FitOutputRows();
  } catch (const std::exception&) {
    // The user gets the book as far as it was written.
  }
  FinishReport(w, "ppH");
}

}  // namespace hrdoc
