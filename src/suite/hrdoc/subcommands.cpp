#include <CLI/CLI.hpp>

#include "suite/hrdoc/demo_command.h"
#include "suite/hrdoc/session.h"

namespace hrdoc::host {

void add_subcommands(CLI::App& app) { add_demo_command(app); }

int run_subcommands(CLI::App& app) {
  int code = run_demo_command(app);
  return code >= 0 ? code : 2;
}

}  // namespace hrdoc::host
