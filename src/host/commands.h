#pragma once
// The command table: every command the library answers, in the order main_dll compares them,
// and the launchers that the report units register for their commands.

#include <span>
#include <string>

class compark;

namespace hrdoc {

// What main_dll hands to a launcher.
enum class LaunchArg {
  none,         // nothing
  context,      // c_p
  value,        // the fixed integer of the entry
  entry2,       // the integer at entry 2 of the vector ("L" commands)
  context_and_value,
};

enum class LaunchKind { direct, shown, modal, own };

struct Command {
  const char* name;
  const char* window_class;
  const char* caption;  // empty where the window names none
  LaunchArg arg;
  int value;
  const char* dialog;  // "USR" or "USRSEW" of KVDLG
  int dialog_args[3];
  LaunchKind kind;
};

// Every command but "CTRLVERDLL", in table order.
std::span<const Command> command_table();
const Command* find_command(const char* name);

// A launcher gets the context (null for the launchers that take none) and the integer.
using Launcher = void (*)(compark* ctx, int value);

// Report units register their launcher at load time:
//   static const bool registered = hrdoc::register_launcher("HRDOC092", &run_hrdoc092);
bool register_launcher(const char* command, Launcher launcher);
Launcher find_launcher(const char* command);

}  // namespace hrdoc

extern "C" {
// The entry every library of the suite exports, also as "_main_dll".
int main_dll(compark* ctx, int argc, void** argv);
int _main_dll(compark* ctx, int argc, void** argv);
// For the host's "list": the number of commands and, for each, its name, caption and whether a
// launcher is built for it.
int hrdoc_command_count();
int hrdoc_command_info(int index, const char** name, const char** window_class, const char** caption, int* built);
}
