// KWDLG: the suite's workplace dialogs. It answers the version query; its workplace choice
// joins with the report that calls it.
#include <cstring>

#include "host/compark.h"

extern "C" int main_dll(compark* ctx, int argc, void** argv) {
  const char* command = argv ? static_cast<const char*>(argv[1]) : nullptr;
  if (!command) return -1;
  if (std::strcmp(command, "CTRLVERDLL") == 0) return kInterfaceVersion;
  return -1;
}

extern "C" int _main_dll(compark* ctx, int argc, void** argv) __attribute__((alias("main_dll")));
