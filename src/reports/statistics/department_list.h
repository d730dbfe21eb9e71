#pragma once
// The department-by-department employee lists ("HRDOC120", "HRDOC130", "HRDOC140"): the
// departments of the department set, each with a caption of its levels, and the list order the
// host's setting asks for.

#include <string>

#include "db/database.h"
#include "reports/statistics/filled_report.h"

namespace hrdoc {
namespace office {
class TExcelShablon;
}

// The departments (KP, SNAME and the names of the three levels above, SNAME1..SNAME3); the
// department-set condition and " order by 1" are appended at run time.
extern const char* const kQryPODR;

// The sort fields of the host's list order setting: 0 by name, 1 by personnel number, 2 by
// staffing order; null for another value (the statement's order).
const char* ListOrder(int setting);

// A department's caption from the current row of qryPODR: its levels top-down, "::" between.
std::string DepartmentCaption(const db::Query& podr);

// A list with a heading per department ("ppZagD" fname) and a line per employee ("ppD").
class TDepartmentList : public TFilledReport {
 protected:
  struct Form {
    const char* code;  // template
    const char* sql;   // employee query, bound with PODR and the date
  };
  explicit TDepartmentList(const Form& form)
      : TFilledReport(form.code, "Подготовка формы для печати...", Errors::shown), form_(form) {}

  // The heading of the book; H is the full name of the selected department.
  virtual void Header(office::TExcelShablon& w, const std::string& H) = 0;
  // Binds the report date to the employee query.
  virtual void BindDate(db::Query& q, TDateTime D) = 0;
  // Fills "ppD" for the current employee; number runs over the whole report.
  virtual void Line(office::TExcelShablon& w, const db::Query& employee, int number) = 0;

 private:
  void Fill(office::TExcelShablon& w) override;
  const Form form_;
};

}  // namespace hrdoc
