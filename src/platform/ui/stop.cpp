#include "ui/stop.h"

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <set>

namespace hrdoc::ui {
namespace {

// -1: a button; a signal number otherwise; 0: no request.
std::atomic<int> requested{0};

struct Registry {
  std::timed_mutex mutex;
  std::map<int, std::function<void()>> cancellers;
  int next = 0;
  std::set<std::string> outputs;
};

Registry& registry() {
  static Registry* r = new Registry;  // a watcher thread may use it while statics go
  return *r;
}

void run_cancellers() {
  Registry& r = registry();
  std::lock_guard guard(r.mutex);
  for (auto& [id, cancel] : r.cancellers) {
    try {
      cancel();
    } catch (...) {
      // A canceller that fails leaves the job to notice the flag.
    }
  }
}

}  // namespace

const char* const kStoppedText = "Прервано пользователем";

Stopped::Stopped() : std::runtime_error(kStoppedText) {}

void request_stop(int signal) {
  int none = 0;
  requested.compare_exchange_strong(none, signal > 0 ? signal : -1);
  run_cancellers();
}

bool stop_requested() { return requested.load() != 0; }

int stop_signal() {
  int v = requested.load();
  return v > 0 ? v : 0;
}

void check_stop() {
  if (stop_requested()) throw Stopped();
}

void reset_stop() { requested.store(0); }

void repeat_cancel() {
  if (stop_requested()) run_cancellers();
}

OnStop::OnStop(std::function<void()> cancel) {
  Registry& r = registry();
  std::lock_guard guard(r.mutex);
  id_ = ++r.next;
  r.cancellers.emplace(id_, std::move(cancel));
}

OnStop::~OnStop() {
  Registry& r = registry();
  std::lock_guard guard(r.mutex);
  r.cancellers.erase(id_);
}

void note_output(const std::string& path) {
  Registry& r = registry();
  std::lock_guard guard(r.mutex);
  r.outputs.insert(path);
}

void keep_outputs() {
  Registry& r = registry();
  std::lock_guard guard(r.mutex);
  r.outputs.clear();
}

void discard_outputs() {
  Registry& r = registry();
  // A second signal ends the process even when a canceller hangs on the lock.
  std::unique_lock guard(r.mutex, std::chrono::seconds(1));
  if (!guard.owns_lock()) return;
  for (const auto& path : r.outputs) ::unlink(path.c_str());
  r.outputs.clear();
}

}  // namespace hrdoc::ui
