#pragma once
// The "demo" subcommand: builds the demo personnel database.

namespace CLI {
class App;
}

namespace hrdoc::host {

void add_demo_command(CLI::App& app);
// Runs the demo subcommand when it was the one parsed: 0 built, 1 failed, 2 bad usage;
// -1 when another subcommand was parsed.
int run_demo_command(CLI::App& app);

}  // namespace hrdoc::host
