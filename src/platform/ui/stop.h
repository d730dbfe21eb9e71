#pragma once
// Stopping the running command: Ctrl+C or a termination signal in the host, a stop button in a
// desktop report window. A request sets a flag and runs the cancellers (the database connection
// breaks off its statement); the job notices the flag between rows and statements and unwinds
// with Stopped, and what the command had written is taken back.

#include <functional>
#include <stdexcept>
#include <string>

namespace hrdoc::ui {

// Thrown by a job that gives up because a stop was asked for.
class Stopped : public std::runtime_error {
 public:
  Stopped();
};

// The line shown once a command has been stopped.
extern const char* const kStoppedText;

// Asks the running command to stop. `signal` names the signal that asked (0: a button); the
// first request is kept. Runs the cancellers on the calling thread; not for a signal handler.
void request_stop(int signal = 0);
bool stop_requested();
// The signal of the first request; 0 without one or for a button.
int stop_signal();
// Throws Stopped once a stop was asked for.
void check_stop();
// Forgets the request before the next command.
void reset_stop();
// Runs the cancellers again: a statement that started just as the request came is broken off.
void repeat_cancel();

// Keeps a canceller registered while alive. The canceller may run on any thread until the
// destructor returns.
class OnStop {
 public:
  explicit OnStop(std::function<void()> cancel);
  ~OnStop();
  OnStop(const OnStop&) = delete;
  OnStop& operator=(const OnStop&) = delete;

 private:
  int id_;
};

// Files the running command writes (work copies, documents): a stopped command removes them,
// a finished one keeps them.
void note_output(const std::string& path);
void keep_outputs();
// Removes the noted files; safe from any thread.
void discard_outputs();

}  // namespace hrdoc::ui
