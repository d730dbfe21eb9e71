#pragma once
// A report filled in one step between opening its template and finishing the book. An error on
// the way either ends it silently or is shown in an error box; either way the user gets the
// book as far as it was written.

#include <string>

#include "host/report_window.h"

namespace hrdoc {
namespace office {
class TExcelShablon;
}

class TFilledReport : public TReportWindow {
 public:
  void Job() override;

 protected:
  enum class Errors { silent, shown };
  TFilledReport(const char* code, const char* status, Errors errors) : code_(code), status_(status), errors_(errors) {}

  virtual void Fill(office::TExcelShablon& w) = 0;

 private:
  const char* code_;
  const char* status_;
  Errors errors_;
};

// The full name (FNAME) of a node of the organisation tree; empty when there is none.
std::string NodeFullName(Tdm& dm, int kp);

}  // namespace hrdoc
