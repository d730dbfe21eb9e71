// Answers the version query with 0; runs its commands all the same when asked directly.
#include <cstring>

#include "host/compark.h"

extern "C" int main_dll(compark* ctx, int, void** argv) {
  const char* command = static_cast<const char*>(argv[1]);
  if (std::strcmp(command, "CTRLVERDLL") == 0) return 0;
  ctx->ext().str1060 = std::string("called ") + command;
  return 5;
}

extern "C" int _main_dll(compark*, int, void**) __attribute__((alias("main_dll")));
