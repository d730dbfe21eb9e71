#include <CLI/CLI.hpp>

#include "suite/hrdoc/session.h"

namespace hrdoc::host {

void add_subcommands(CLI::App&) {}
int run_subcommands(CLI::App&) { return 2; }

}  // namespace hrdoc::host
