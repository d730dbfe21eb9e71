// The library's entry: keeps the host's context and runs the command's launcher.
#include <cstring>
#include <optional>

#include "db/database.h"
#include "host/commands.h"
#include "host/compark.h"
#include "host/udm.h"

extern "C" {
compark* c_p = nullptr;
Tdm* dm = nullptr;
}

extern "C" int main_dll(compark* ctx, int /*argc*/, void** argv) {
  c_p = ctx;
  dm = ctx ? ctx->data_module() : nullptr;
  const char* command = argv ? static_cast<const char*>(argv[1]) : nullptr;
  if (!command) return 0;
  if (std::strcmp(command, "CTRLVERDLL") == 0) return kInterfaceVersion;

  for (const auto& c : hrdoc::command_table()) {
    if (std::strcmp(command, c.name) != 0) continue;
    hrdoc::Launcher launch = hrdoc::find_launcher(c.name);
    if (!launch) continue;  // not built yet: like an unknown command
    // A command reads one state of the database: sheets counted from the same rows agree even
    // while other clerks commit changes.
    std::optional<hrdoc::db::Snapshot> snapshot;
    if (dm && dm->ADOConnection) {
      try {
        snapshot.emplace(*dm->ADOConnection);
      } catch (const hrdoc::db::Error&) {
        // The command's first statement meets the same fault and reports it in its own words.
      }
    }
    switch (c.arg) {
      case hrdoc::LaunchArg::none: launch(nullptr, 0); break;
      case hrdoc::LaunchArg::context: launch(c_p, 0); break;
      case hrdoc::LaunchArg::value: launch(c_p, c.value); break;
      case hrdoc::LaunchArg::context_and_value: launch(c_p, c.value); break;
      case hrdoc::LaunchArg::entry2: {
        const int* value = static_cast<const int*>(argv[2]);
        launch(c_p, value ? *value : 0);
        break;
      }
    }
  }
  return 0;
}

extern "C" int _main_dll(compark* ctx, int argc, void** argv) __attribute__((alias("main_dll")));
