#pragma once
// Vacation notices, one sheet each: the notice sheet of a template copied once per notice and
// each copy filled, as "HRDOC250" and the notice print of "HRDOC280" make them.

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "host/compark.h"

namespace hrdoc {
class TReportWindow;
namespace db {
class Query;
}

namespace vacation {

struct Notice {
  std::string fname;  // full name: the greeting is made of it
  std::string sname;  // short name: the addressee, and the sheet's name
  std::string nmds;   // position
  std::string pol;    // "М", "Ж" or anything else
  int year = 0;       // of the schedule
  TDateTime start = 0;
  std::optional<TDateTime> end;  // the last day, where the template has a place for it
};

// The notice of a notice query's current row (FNAME, SNAME, NMDS, POL, YYEAR, DT), without an end.
Notice NoticeOf(const db::Query& row);

// "Уважаемый Имя Отчество!" for "М", "Уважаемая ..." for "Ж", "Уважаемый(ая) ..." otherwise.
// The full name splits into words at blanks and full stops; each part keeps 100 characters.
std::string Greeting(const std::string& fname, const std::string& pol);

// A sheet name for a short name that no name in `used` (upper-cased) repeats: characters a
// sheet name cannot hold become "_", at most 31 characters, " (2)", " (3)" ... on repeats.
// The name is added to used.
std::string SheetName(const std::string& sname, std::set<std::string>& used);

// Copies the notice sheet of template `code` once per notice, named after the addressee,
// fills the copies (ppP: fdol1, fname1, fdol2, fname2, fname, fgod, fdate1 and, when the notice
// has an end, fdate2) and shows the book with no template mark left on any sheet. False when
// the template could not be opened (the user was told why).
bool PrintNotices(TReportWindow& window, const std::string& code, const std::vector<Notice>& notices);

}  // namespace vacation
}  // namespace hrdoc
