// The library's entry: keeps the host's context and runs the command's launcher.
#include <cstdio>
#include <cstring>
#include <string>
#include <optional>

#include "db/database.h"
#include "host/commands.h"
#include "host/compark.h"
#include "host/udm.h"

extern "C" {
compark* c_p = nullptr;
Tdm* dm = nullptr;
}

namespace {

// A caller that broke the calling convention is told so; nothing runs.
int refuse(compark* ctx, const std::string& text) {
  if (ctx)
    ctx->armerr(kArmError, "main_dll: " + text);
  else
    std::fprintf(stderr, "main_dll: %s\n", text.c_str());
  return -1;
}

}  // namespace

extern "C" int main_dll(compark* ctx, int argc, void** argv) {
  if (!argv || argc < 2)
    return refuse(ctx, "передано аргументов: " + std::to_string(argc) + ", нужно не меньше 2 (путь и команда)");
  const char* command = static_cast<const char*>(argv[1]);
  if (!command) return refuse(ctx, "не передана команда");
  c_p = ctx;
  dm = ctx ? ctx->data_module() : nullptr;
  if (std::strcmp(command, "CTRLVERDLL") == 0) return kInterfaceVersion;

  for (const auto& c : hrdoc::command_table()) {
    if (std::strcmp(command, c.name) != 0) continue;
    hrdoc::Launcher launch = hrdoc::find_launcher(c.name);
    if (!launch) continue;  // not built yet: like an unknown command
    if (c.arg == hrdoc::LaunchArg::entry2 && argc < 3)
      return refuse(ctx, std::string("команде ") + c.name + " нужен третий аргумент, передано аргументов: " +
                             std::to_string(argc));
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
