#pragma once
// A private folder for one test under /tmp, named by the process and the running test, emptied
// when made and removed afterwards; and whole-file reading.

#include <filesystem>
#include <string>

namespace hrdoc::test {

class WorkDir {
 public:
  explicit WorkDir(const std::string& prefix);
  ~WorkDir();
  WorkDir(const WorkDir&) = delete;
  WorkDir& operator=(const WorkDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
  // The folder with a trailing slash, as the context record's work folder wants it.
  std::string slashed() const { return path_.string() + "/"; }

 private:
  std::filesystem::path path_;
};

// The whole file; empty when it cannot be read.
std::string read_file(const std::filesystem::path& path);

}  // namespace hrdoc::test
