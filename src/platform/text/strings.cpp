#include "text/strings.h"

namespace hrdoc::text {

std::string trim(std::string_view s) {
  constexpr std::string_view blanks = " \t\r\n";
  const size_t b = s.find_first_not_of(blanks);
  if (b == std::string_view::npos) return {};
  const size_t e = s.find_last_not_of(blanks);
  return std::string(s.substr(b, e - b + 1));
}

}  // namespace hrdoc::text
