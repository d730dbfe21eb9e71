// The zip container of a workbook (internal). All archive access goes through these two
// classes, so that failures surface as one Error naming the file and the part.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace hrdoc::sheet {

class ZipReader {
 public:
  // Opens a file, or (with data) an archive held in memory; `name` is used in messages.
  explicit ZipReader(const std::string& path);
  ZipReader(const void* data, size_t size, const std::string& name);
  ~ZipReader();
  std::vector<std::string> names() const;
  // The uncompressed part, nullopt when the archive has no such part.
  std::optional<std::string> read(const std::string& part) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

class ZipWriter {
 public:
  explicit ZipWriter(const std::string& path);
  ~ZipWriter();  // discards an unfinished archive
  void add(const std::string& part, std::string data);
  // Adds a part whose content is in a temporary file that is removed afterwards: length bytes
  // from start (-1: to the end). Several parts may share one file.
  void add_file(const std::string& part, const std::string& temp_path, int64_t start = 0, int64_t length = -1);
  void finish();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace hrdoc::sheet
