#pragma once
// The script of a report family's fixture database: the personnel schema (and the other db/
// scripts named) followed by the family's rows, in a file that lives as long as the process.
// TestDatabase builds its template once for every test process of the build (found again by
// the script's text).

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>

#include "support/work_dir.h"

namespace hrdoc::test {

class FixtureScript {
 public:
  FixtureScript(const std::string& family, const std::string& rows,
                std::initializer_list<const char*> db_scripts = {"schema.sql"})
      : path_(std::filesystem::temp_directory_path() /
              ("hrdoc_" + family + "_" + std::to_string(::getpid()) + ".sql")) {
    std::ofstream out(path_, std::ios::binary);
    for (const char* name : db_scripts) out << read_file(std::string(HRDOC_SOURCE_DIR) + "db/" + name) << "\n";
    out << rows;
  }
  ~FixtureScript() {
    std::error_code ec;
    std::filesystem::remove(path_, ec);
  }
  FixtureScript(const FixtureScript&) = delete;
  FixtureScript& operator=(const FixtureScript&) = delete;
  std::string path() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace hrdoc::test
