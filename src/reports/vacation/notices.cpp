#include "reports/vacation/notices.h"

#include <algorithm>
#include <string_view>

#include "db/database.h"
#include "host/report_window.h"
#include "office/classexl.h"
#include "office/srvimp.h"
#include "text/codepage.h"
#include "text/date.h"

namespace hrdoc::vacation {
namespace {

using office::TExcelShablon;

// Names are cut by characters: in the database's single-byte code page one byte is one.
std::string cut_chars(const std::string& utf8, size_t n) {
  const std::string bytes = text::utf8_to_cp1251(utf8);
  return bytes.size() <= n ? utf8 : text::cp1251_to_utf8(bytes.substr(0, n));
}

}  // namespace

Notice NoticeOf(const db::Query& row) {
  Notice n;
  n.fname = row.field("FNAME").as_string();
  n.sname = row.field("SNAME").as_string();
  n.nmds = row.field("NMDS").as_string();
  n.pol = row.field("POL").as_string();
  n.year = static_cast<int>(row.field("YYEAR").as_int());
  n.start = row.field("DT").as_date();
  return n;
}

std::string Greeting(const std::string& fname, const std::string& pol) {
  std::string parts[3];
  size_t i = 0;
  for (auto& part : parts) {
    while (i < fname.size() && (fname[i] == ' ' || fname[i] == '.')) ++i;
    const size_t end = std::min(fname.find_first_of(" .", i), fname.size());
    part = cut_chars(fname.substr(i, end - i), 100);
    i = end;
  }
  std::string name = parts[1];
  if (!parts[2].empty()) name += (name.empty() ? "" : " ") + parts[2];
  const char* address = pol == "М" ? "Уважаемый " : pol == "Ж" ? "Уважаемая " : "Уважаемый(ая) ";
  return address + name + "!";
}

std::string SheetName(const std::string& sname, std::set<std::string>& used) {
  std::string base;
  for (char c : sname) base += std::string_view("[]:*?/\\").find(c) == std::string_view::npos ? c : '_';
  while (!base.empty() && (base.front() == '\'' || base.front() == ' ')) base.erase(0, 1);
  while (!base.empty() && (base.back() == '\'' || base.back() == ' ')) base.pop_back();
  if (base.empty()) base = "Извещение";
  std::string name = cut_chars(base, 31);
  for (int n = 2; used.count(office::UpperName(name)); ++n) {
    const std::string suffix = " (" + std::to_string(n) + ")";
    name = cut_chars(base, 31 - suffix.size()) + suffix;
  }
  used.insert(office::UpperName(name));
  return name;
}

bool PrintNotices(TReportWindow& window, const std::string& code, const std::vector<Notice>& notices) {
  // Opened plain: reading the parts would clear the field marks the copies need.
  TExcelShablon w;
  if (!window.OpenReport(w, code, "Подготовка формы для печати...", TReportWindow::Layout::plain)) return false;
  office::TServerImp& app = *w.GetApplication();
  std::set<std::string> used;
  for (const Notice& n : notices) app.CopySheetAs(1, app.SheetCount(), true, false, SheetName(n.sname, used));
  // The copies follow the notice sheet; it goes, so that sheet i is notice i.
  if (!notices.empty()) app.DeleteSheet(1);

  window.pbM.set_max(static_cast<int>(notices.size()));
  for (size_t i = 0; i < notices.size(); ++i) {
    const Notice& n = notices[i];
    window.lbM.set_caption("Печать данных: " + n.fname);
    w.UseSheet(static_cast<int>(i) + 1);
    w.SetField("ppP", "fdol1", n.nmds);
    w.SetField("ppP", "fname1", n.sname);
    w.SetField("ppP", "fdol2", n.nmds);
    w.SetField("ppP", "fname2", n.sname);
    w.SetField("ppP", "fname", Greeting(n.fname, n.pol));
    w.SetField("ppP", "fgod", static_cast<int32_t>(n.year));
    w.SetField("ppP", "fdate1", text::date_text(n.start));
    if (n.end) w.SetField("ppP", "fdate2", text::date_text(*n.end));
    w.AddPart("ppP", 0);
    // Finish cleans the sheet it ends on; every other sheet is cleaned here.
    if (i + 1 < notices.size()) w.ClearMarks("ppH");
    window.pbM.step_it();
  }
  w.SetVisible(true);
  // A book opened plain opens on its first sheet.
  window.FinishReport(w, "ppH");
  return true;
}

}  // namespace hrdoc::vacation
