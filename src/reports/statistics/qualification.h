#pragma once
// What the qualification-improvement reports ("HRDOC190" .. "HRDOC240") share: the job that
// fills a header and ends silently on a failure, and the walk over a statement that holds one
// or more rows per employee, with a department line where the department changes.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "db/database.h"
#include "host/report_window.h"

namespace hrdoc {
namespace office {
class TExcelShablon;
}

class TQualificationReport : public TReportWindow {
 public:
  void Job() override;

 protected:
  explicit TQualificationReport(const char* code) : code_(code) {}

  // Fills the book below its header; an exception ends it without a message.
  virtual void Fill(office::TExcelShablon& w) = 0;

  // f1 the title, f2 the path of the selected department, f3 the period when asked for.
  void Header(office::TExcelShablon& w, const std::string& title, bool period);

  // The period and the report date, without a time of day.
  TDateTime D() const;
  TDateTime D1() const;
  TDateTime D2() const;

  // Binds ow, ow1 .. ow7 and md to the selected department.
  void BindDepartment(db::Query& q) const;

  // Calls person for the first row of each employee (a row with the previous row's KP is
  // skipped), after a step of the progress bar and the employee in the status line. With a
  // department part, a line "<SNAME2>: <SNAME>" precedes the employee whose OWNER differs from
  // the previous employee's.
  void ForEachEmployee(db::Query& q, office::TExcelShablon& w, const char* departmentPart,
                       const std::function<void()>& person);

  ui::Label& lbKp = lbM;
  ui::ProgressBar& pbKp = pbM;

 private:
  const char* code_;
};

// "HRDOC190", "HRDOC200", "HRDOC210": the employees with courses in the period, department by
// department, a line per course; the employee's own cells on the first line only.
class TCourseList : public TQualificationReport {
 protected:
  struct Form {
    const char* code;    // template
    const char* title;
    const char* sql;     // qryKpn, completed by the department set and the tail
    const char* tail;    // appended after the department set
    bool listOrder;      // sorted in memory by the host's list order
  };
  explicit TCourseList(const Form& form) : TQualificationReport(form.code), form_(form) {}
  void Fill(office::TExcelShablon& w) override;

 private:
  const Form form_;
};

// The course rows of "HRDOC200" and "HRDOC210": the employee's state at the report date, the
// category condition line between the date and the period conditions.
std::string CategoryStatement(const char* category);

// The courses of one employee in the period, in the order of their documents.
extern const char* const kQryCourses;

// A course sum as a currency value: fixed point with four decimal places.
double Currency(double value);

}  // namespace hrdoc
