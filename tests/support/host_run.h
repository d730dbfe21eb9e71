#pragma once
// Runs the host build/bin/hrdoc as a user would, with no input.

#include <string>

namespace hrdoc::test {

struct HostRun {
  int code = -1;  // exit code; -1 when it did not exit normally
  std::string out;
};

// `args` go to the shell as written; stderr is folded into the output or dropped.
HostRun run_hrdoc(const std::string& args, bool with_stderr = true);

}  // namespace hrdoc::test
