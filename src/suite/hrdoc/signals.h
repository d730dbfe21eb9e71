#pragma once

#include <string>
// The host owns SIGINT, SIGTERM and SIGHUP. They are blocked in every thread from the start of
// main (threads started later, the database engine's among them, inherit that), so no handler
// of a library ever runs; one thread of ours waits for them instead. The first signal asks the
// running command to stop; a second one ends the process at once.

namespace hrdoc::host {

class SignalWatch {
 public:
  // Call first thing in main, before any thread exists.
  SignalWatch();
  ~SignalWatch();
  SignalWatch(const SignalWatch&) = delete;
  SignalWatch& operator=(const SignalWatch&) = delete;

  // The folder the command writes its work files in: a second signal, which ends the process at
  // once, also removes the temporary files this process has there (a book half saved).
  void set_work_dir(const std::string& dir);

  // Marks the end of the command: a signal from now on comes too late to stop it. True when a
  // stop was asked for before.
  bool settle();

  // The process's exit code: `code` as it is, or, after a stop request, the line saying so on
  // stderr and 128 + the signal (130 for SIGINT, 143 for SIGTERM).
  int exit_code(int code);

 private:
  struct Impl;
  Impl* impl_;
};

}  // namespace hrdoc::host
