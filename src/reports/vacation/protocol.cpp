#include "reports/vacation/protocol.h"

#include "db/database.h"
#include "host/report_window.h"
#include "office/classexl.h"
#include "text/date.h"

namespace hrdoc::vacation {

void PrintProtocol(TReportWindow& window, const std::string& code, db::Query& qryGo, TDateTime start, TDateTime end) {
  office::TExcelShablon w;
  if (!window.OpenReport(w, code, "Подготовка формы для печати...")) return;
  w.SetField("ppH", "fper", "с " + text::date_text(start) + " по " + text::date_text(end));
  w.SetField("ppH", "fdt", text::date_text(text::today()) + " " + text::time_text(text::now()));
  window.PrintRows(qryGo, "FIO", [&] {
    w.ClearPart("ppD");
    w.SetField("ppD", "fpodr", qryGo.field("OWNAME").as_string());
    w.SetField("ppD", "ffio", qryGo.field("FIO").as_string());
    const db::Field dt = qryGo.field("DT");
    if (!dt.is_null() && dt.as_date() >= start && dt.as_date() <= end)
      w.SetField("ppD", "fdts", text::date_text(dt.as_date()));
    w.AddPart("ppD", 0);
  });
  w.FitOutputRows();
  window.FinishReport(w, "ppH");
}

}  // namespace hrdoc::vacation
