#pragma once
// TfrProgress: the wait window, a caption and one progress bar. The caller shows it, moves pb
// and frees it when done.

#include <memory>
#include <string>

#include "ui/controls.h"
#include "ui/ui.h"

class compark;

namespace hrdoc {

class TfrProgress {
 public:
  explicit TfrProgress(compark* owner);
  ~TfrProgress();
  TfrProgress(const TfrProgress&) = delete;
  TfrProgress& operator=(const TfrProgress&) = delete;

  std::string Name = "frProgress";
  std::string Caption = "Подождите...";
  int ClientWidth = 425, ClientHeight = 23;
  ui::ProgressBar pb{0, 100};

  void Show();
  void Close();

 private:
  compark* owner_;
  std::unique_ptr<ui::Window> window_;
};

}  // namespace hrdoc
