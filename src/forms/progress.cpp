#include "forms/progress.h"

#include "host/compark.h"

namespace hrdoc {

TfrProgress::TfrProgress(compark* owner) : owner_(owner) {}

TfrProgress::~TfrProgress() { Close(); }

void TfrProgress::Show() {
  ui::Ui* u = owner_ ? owner_->ui() : nullptr;
  if (!u) return;
  if (!window_) window_ = u->open_window(Caption);
  pb.bind(window_.get());
  window_->show();
}

void TfrProgress::Close() {
  if (!window_) return;
  pb.bind(nullptr);
  window_->close();
  window_.reset();
}

}  // namespace hrdoc
