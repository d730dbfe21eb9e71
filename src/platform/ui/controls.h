#pragma once
// The controls of a report window, each showing itself through the window it is bound to: a
// label (the status line or the clock), a progress bar and a timer. A control that is not
// bound yet keeps its state and shows it when bound.

#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "ui/ui.h"

namespace hrdoc::ui {

class Label {
 public:
  explicit Label(std::string caption = {}) : caption_(std::move(caption)) {}
  void set_caption(const std::string& text);
  std::string caption() const;
  // Where a new caption goes; called with the current caption at once.
  void bind(std::function<void(const std::string&)> show);

 private:
  mutable std::mutex mutex_;  // a timer may set a label while the job reads another
  std::string caption_;
  std::function<void(const std::string&)> show_;
};

class ProgressBar {
 public:
  ProgressBar(int min = 0, int max = 100) : min_(min), max_(max) {}
  void set_min(int v);
  void set_max(int v);
  // Kept within min..max.
  void set_position(int v);
  void set_step(int v) { step_ = v; }
  // Advances the position by the step; at the end it starts again from min.
  void step_it();
  void set_visible(bool v) { visible_ = v; }
  int min() const { return min_; }
  int max() const { return max_; }
  int position() const { return position_; }
  int step() const { return step_; }
  bool visible() const { return visible_; }
  void bind(Window* window);
  // Called before every step: the report frame checks there whether the user stopped the job.
  void on_step(std::function<void()> check) { on_step_ = std::move(check); }

 private:
  void show();
  std::function<void()> on_step_;
  int min_, max_, position_ = 0, step_ = 10;
  bool visible_ = true;
  Window* window_ = nullptr;
};

// Calls its handler every interval while enabled and started.
class Timer {
 public:
  explicit Timer(int interval_ms = 1000) : interval_(interval_ms) {}
  ~Timer() { stop(); }
  void set_interval(int ms) { interval_ = ms; }
  int interval() const { return interval_; }
  void set_handler(std::function<void()> on_timer) { on_timer_ = std::move(on_timer); }
  // Starts ticking through the renderer's timers.
  void start(Ui& ui);
  // Stops and waits for a tick in progress.
  void stop() { ticker_.reset(); }
  bool running() const { return ticker_ != nullptr; }

 private:
  int interval_;
  std::function<void()> on_timer_;
  std::unique_ptr<Ticker> ticker_;
};

}  // namespace hrdoc::ui
