#include "suite/hrdoc/signals.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <mutex>
#include <filesystem>
#include <string>
#include <thread>

#include "ui/stop.h"

namespace hrdoc::host {
namespace {

sigset_t owned() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGHUP);
  return set;
}

std::atomic<bool> said{false};

// Writes the stop line once, whichever thread gets there first.
void say_stopped() {
  if (said.exchange(true)) return;
  // The progress line may be on screen.
  if (isatty(STDERR_FILENO)) std::fputs("\r\033[K", stderr);
  std::fprintf(stderr, "%s\n", ui::kStoppedText);
  std::fflush(stderr);
}

}  // namespace

struct SignalWatch::Impl {
  std::atomic<bool> done{false};
  // A stop request and the end of the command exclude each other.
  std::mutex mutex;
  bool settled = false;
  std::thread thread;
  std::mutex dir_mutex;
  std::string work_dir;

  // Temporary files carry the writer's process number: "X.xlsx.tmp1234", and the zip library's
  // own "X.xlsx.tmp1234.AbCdEf" while it writes.
  void remove_temporary_files() {
    std::unique_lock guard(dir_mutex, std::try_to_lock);
    if (!guard.owns_lock() || work_dir.empty()) return;
    const std::string mark = ".tmp" + std::to_string(::getpid());
    std::error_code ec;
    for (auto it = std::filesystem::directory_iterator(work_dir, ec); !ec && it != std::filesystem::directory_iterator();
         it.increment(ec)) {
      const std::string name = it->path().filename().string();
      const size_t at = name.find(mark);
      if (at != std::string::npos && (at + mark.size() == name.size() || name[at + mark.size()] == '.'))
        std::filesystem::remove(it->path(), ec);
    }
  }

  void watch() {
    const sigset_t set = owned();
    const timespec tick{0, 100 * 1000 * 1000};
    while (!done.load()) {
      const int sig = sigtimedwait(&set, nullptr, &tick);
      if (sig <= 0) {
        // A statement may have started just as the request came: break it off too.
        ui::repeat_cancel();
        continue;
      }
      if (done.load()) break;
      if (!ui::stop_requested()) {
        std::lock_guard guard(mutex);
        if (!settled) ui::request_stop(sig);
        continue;
      }
      // The second signal: nobody waits any more.
      ui::discard_outputs();
      remove_temporary_files();
      say_stopped();
      _exit(128 + sig);
    }
  }
};

SignalWatch::SignalWatch() : impl_(new Impl) {
  const sigset_t set = owned();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  impl_->thread = std::thread([impl = impl_] { impl->watch(); });
}

void SignalWatch::set_work_dir(const std::string& dir) {
  std::lock_guard guard(impl_->dir_mutex);
  impl_->work_dir = dir;
}

SignalWatch::~SignalWatch() {
  impl_->done.store(true);
  // Wakes the watcher at once rather than at its next tick.
  pthread_kill(impl_->thread.native_handle(), SIGHUP);
  impl_->thread.join();
  delete impl_;
}

bool SignalWatch::settle() {
  std::lock_guard guard(impl_->mutex);
  impl_->settled = true;
  return ui::stop_requested();
}

int SignalWatch::exit_code(int code) {
  if (!ui::stop_requested()) return code;
  ui::discard_outputs();
  say_stopped();
  const int sig = ui::stop_signal();
  return sig > 0 ? 128 + sig : 130;
}

}  // namespace hrdoc::host
