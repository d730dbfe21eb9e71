#pragma once
// Department paths: the names of a department's levels joined by ", ", top level first, for
// the headings of the reports that group employees by department.

#include <array>
#include <string>

#include "host/compark.h"

namespace hrdoc {

// ", " when both the text so far and the next part are non-empty, else nothing.
std::string SepStr(const std::string& text, const std::string& next);

// The enterprise name (only for format code 99), then the short names of the top, second and
// third unit and of the employee level, empty ones left out.
std::string GetPathSkpw(const skpw& record);

// The row's sort columns sort1..sort4 joined; sort1 only when the record's format code is 99
// and flag is 0.
std::string GetPathRow(const std::array<std::string, 4>& sorts, const skpw& record, int flag);

// The same over the current row of a data set (anything with field(name).as_string()).
template <class DataSet>
std::string GetPathRow(const DataSet& row, const skpw& record, int flag) {
  return GetPathRow({row.field("sort1").as_string(), row.field("sort2").as_string(), row.field("sort3").as_string(),
                     row.field("sort4").as_string()},
                    record, flag);
}

}  // namespace hrdoc
