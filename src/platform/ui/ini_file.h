#pragma once
// INI-style settings files ("[Section]" lines, then "Key=Value" lines), as windows keep their
// geometry in. Sections and keys are matched case-insensitively; the order of the file, its
// comments and the entries nobody touched are kept when it is written back.

#include <optional>
#include <string>
#include <vector>

namespace hrdoc::ui {

class IniFile {
 public:
  // Reads the file when it exists; a missing file is an empty one.
  explicit IniFile(std::string path);

  const std::string& path() const { return path_; }
  bool value_exists(const std::string& section, const std::string& key) const;
  std::optional<std::string> read(const std::string& section, const std::string& key) const;
  std::string read_string(const std::string& section, const std::string& key, const std::string& def) const;
  // The default also when the text is not a whole number.
  int read_int(const std::string& section, const std::string& key, int def) const;
  void write_string(const std::string& section, const std::string& key, const std::string& value);
  void write_int(const std::string& section, const std::string& key, int value);
  // Writes the file (through a temporary file beside it, so a reader never sees half of it);
  // throws std::runtime_error naming the file when it cannot.
  void save() const;

 private:
  struct Line {
    std::string text;     // the line as read or written
    std::string section;  // the section it belongs to
    std::string key;      // empty for section headers, comments and blank lines
    std::string value;
  };
  Line* find(const std::string& section, const std::string& key);
  const Line* find(const std::string& section, const std::string& key) const;

  std::string path_;
  std::vector<Line> lines_;
};

}  // namespace hrdoc::ui
