#pragma once
// The protocol of planned vacations beginning in an interval: one boxed line per planned part
// (department, employee, first day), as "HRDOC090" and "HRDOC280" print it.

#include <string>

#include "host/compark.h"

namespace hrdoc {
class TReportWindow;
namespace db {
class Query;
}

namespace vacation {

// Fills template `code` (ppH: fper, fdt; ppD: fpodr, ffio, fdts) from the open query's rows
// (OWNAME, FIO, DT); a date is written only when it lies in [start, end].
void PrintProtocol(TReportWindow& window, const std::string& code, db::Query& qryGo, TDateTime start, TDateTime end);

}  // namespace vacation
}  // namespace hrdoc
