#pragma once
// The job of "HRDOC060" and "HRDOC070": the rows of one statement over the selected department,
// walked in tree order, counted into one template line per department ("ppP": caption f2,
// counters f3, f4, ...) and a total line.

#include <string>
#include <vector>

#include "db/database.h"
#include "host/report_window.h"

namespace hrdoc {

class TDepartmentLines : public TReportWindow {
 public:
  void Job() override;

 protected:
  struct Form {
    const char* code;   // template
    const char* title;  // the heading's first words, blanks included
    const char* total;  // caption of the total line
    const char* sql;    // qryKpn
    int counters;       // fields f3 .. f(counters + 2)
  };
  explicit TDepartmentLines(const Form& form) : form_(form) {}

  // Adds the current row of qryKpn to the department's counters; D is the report date.
  virtual void Count(const db::Query& row, TDateTime D, std::vector<int>& counters) = 0;

 private:
  const Form form_;
};

}  // namespace hrdoc
