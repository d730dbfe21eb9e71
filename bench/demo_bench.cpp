// Time to build the demo database: demo_bench [EMPLOYEES] [PATH]. The target is under a
// minute for 10 000 employees.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "db/database.h"
#include "suite/demo/demo_database.h"

int main(int argc, char** argv) {
  hrdoc::demo::DemoOptions o;
  o.employees = argc > 1 ? std::atoi(argv[1]) : 10000;
  o.database = argc > 2 ? argv[2] : (std::filesystem::temp_directory_path() / "hrdoc_demo_bench.fdb").string();
  std::filesystem::remove(o.database);
  auto start = std::chrono::steady_clock::now();
  auto seconds = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
  try {
    hrdoc::demo::build_demo_database(o, [&](std::string_view stage, int done, int total) {
      std::printf("%6.2f s  [%d/%d] %.*s\n", seconds(), done, total, static_cast<int>(stage.size()), stage.data());
    });
  } catch (const std::exception& e) {
    std::fprintf(stderr, "demo_bench: %s\n", e.what());
    return 1;
  }
  std::printf("%d employees in %.2f s, %.1f MB: %s\n", o.employees, seconds(),
              std::filesystem::file_size(o.database) / 1048576.0, o.database.c_str());
  return 0;
}
