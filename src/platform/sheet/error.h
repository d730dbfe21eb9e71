// The one exception type of the spreadsheet engine.
#pragma once

#include <stdexcept>
#include <string>

namespace hrdoc::sheet {

// Names the file, the part (or sheet and cell) and what is wrong.
class Error : public std::runtime_error {
 public:
  Error(const std::string& file, const std::string& part, const std::string& what)
      : std::runtime_error(compose(file, part, what)), file_(file), part_(part) {}
  const std::string& file() const { return file_; }
  const std::string& part() const { return part_; }

 private:
  static std::string compose(const std::string& file, const std::string& part, const std::string& what) {
    std::string s = file.empty() ? std::string("workbook") : file;
    if (!part.empty()) s += ", " + part;
    return s + ": " + what;
  }
  std::string file_, part_;
};

}  // namespace hrdoc::sheet
