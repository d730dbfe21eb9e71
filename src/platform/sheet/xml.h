// Small helpers for writing XML text (internal to the engine).
#pragma once

#include <string>
#include <string_view>

namespace hrdoc::sheet::xml {

// Appends text escaped for element content or attribute values. Control characters that XML
// cannot carry are written as Excel's _xHHHH_ escapes.
void escape(std::string& out, std::string_view text, bool attribute = false);

inline std::string escaped(std::string_view text, bool attribute = false) {
  std::string s;
  escape(s, text, attribute);
  return s;
}

// Reverses the _xHHHH_ escapes of a stored text.
std::string unescape_x(std::string_view text);

}  // namespace hrdoc::sheet::xml
