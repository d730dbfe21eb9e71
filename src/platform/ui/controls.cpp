#include "ui/controls.h"

namespace hrdoc::ui {

void Label::set_caption(const std::string& text) {
  std::function<void(const std::string&)> show;
  {
    std::lock_guard lock(mutex_);
    caption_ = text;
    show = show_;
  }
  if (show) show(text);
}

std::string Label::caption() const {
  std::lock_guard lock(mutex_);
  return caption_;
}

void Label::bind(std::function<void(const std::string&)> show) {
  std::string text;
  {
    std::lock_guard lock(mutex_);
    show_ = std::move(show);
    text = caption_;
  }
  if (show_ && !text.empty()) show_(text);
}

void ProgressBar::set_min(int v) {
  min_ = v;
  if (max_ < min_) max_ = min_;
  set_position(position_);
}

void ProgressBar::set_max(int v) {
  max_ = v;
  if (min_ > max_) min_ = max_;
  set_position(position_);
}

void ProgressBar::set_position(int v) {
  position_ = v < min_ ? min_ : v > max_ ? max_ : v;
  show();
}

void ProgressBar::step_it() {
  if (on_step_) on_step_();
  int next = position_ + step_;
  // As the common controls do: past the end the bar wraps to its start.
  if (next > max_) next = min_;
  set_position(next);
}

void ProgressBar::bind(Window* window) {
  window_ = window;
  show();
}

void ProgressBar::show() {
  if (window_ && visible_) window_->set_progress(position_ - min_, max_ - min_);
}

void Timer::start(Ui& ui) {
  stop();
  auto handler = on_timer_;
  ticker_ = ui.start_timer(interval_, [handler] {
    if (handler) handler();
  });
}

}  // namespace hrdoc::ui
