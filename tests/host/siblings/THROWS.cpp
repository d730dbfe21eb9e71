// Fails every command with an exception of a type of its own.
#include <cstring>
#include <exception>

#include "host/compark.h"

namespace {

struct SiblingFailure : std::exception {
  const char* what() const noexcept override { return "сбой в библиотеке"; }
};

}  // namespace

extern "C" int main_dll(compark*, int, void** argv) {
  const char* command = static_cast<const char*>(argv[1]);
  if (std::strcmp(command, "CTRLVERDLL") == 0) return kInterfaceVersion;
  if (std::strcmp(command, "INT") == 0) throw 7;
  throw SiblingFailure();
}

extern "C" int _main_dll(compark*, int, void**) __attribute__((alias("main_dll")));
