// Records the arguments it was called with into the context, and answers 42.
#include <cstdint>
#include <cstring>
#include <string>

#include "host/compark.h"

extern "C" int main_dll(compark* ctx, int argc, void** argv) {
  const char* command = static_cast<const char*>(argv[1]);
  if (std::strcmp(command, "CTRLVERDLL") == 0) return kInterfaceVersion;
  std::string log = "argc=" + std::to_string(argc) + " path=" + static_cast<const char*>(argv[0]) +
                    " command=" + command;
  for (int i = 2; i < argc; ++i) log += " " + std::to_string(reinterpret_cast<intptr_t>(argv[i]));
  ctx->ext().str1060 = log;
  return 42;
}

extern "C" int _main_dll(compark*, int, void**) __attribute__((alias("main_dll")));
