#pragma once
// "Настройка режимов работы": the kind of service and the minimum length of that service in
// whole years for "HRDOC170". The kind comes from the dictionary KDISTAG through KVDLG's
// "SPRANYEX"; the dialog keeps nothing itself.

#include <cstdint>
#include <optional>
#include <string>

#include "ui/ui.h"

class compark;

namespace hrdoc {

class TfmNSTAGE {
 public:
  explicit TfmNSTAGE(compark* ctx);
  // The look-up of the form calls back into this object.
  TfmNSTAGE(const TfmNSTAGE&) = delete;
  TfmNSTAGE& operator=(const TfmNSTAGE&) = delete;

  // Shows the dialog. Confirmed with "OK": 1, the chosen kind's code (0 when none was chosen),
  // the minimum years and the kind's name. Otherwise 0 and the arguments are untouched.
  int Execute(int32_t& kind, int& years, std::string& name);

  // The kind look-up (button btnStg). typed: a code or name to find without asking. True when a
  // row was taken; otherwise the choice held so far stays.
  bool btnStgClick(const std::string& typed = {});

  // The minimum years as entered: digits only, at most 999.
  static std::optional<int> MinimumYears(const std::string& text);

  ui::Form form;
  int32_t kind_code = 0;  // of the chosen kind, 0 until one is chosen

 private:
  ui::Field& EdStage() { return *form.find("EdStage"); }
  // Takes the confirmed form's entries; false after telling the user what cannot be taken.
  bool Accept(int& years);

  compark* ctx_;
  std::string chosen_;  // the name the last look-up showed
};

}  // namespace hrdoc
