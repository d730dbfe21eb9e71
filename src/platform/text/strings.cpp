#include "text/strings.h"

#include <algorithm>

#include "text/codepage.h"

namespace hrdoc::text {

std::string trim(std::string_view s) {
  constexpr std::string_view blanks = " \t\r\n";
  const size_t b = s.find_first_not_of(blanks);
  if (b == std::string_view::npos) return {};
  const size_t e = s.find_last_not_of(blanks);
  return std::string(s.substr(b, e - b + 1));
}

namespace {

char upper_1251(char c) {
  const auto u = static_cast<unsigned char>(c);
  if ((u >= 'a' && u <= 'z') || u >= 0xE0) return static_cast<char>(u - 0x20);
  if (u == 0xB8) return static_cast<char>(0xA8);  // ё
  return c;
}

char lower_1251(char c) {
  const auto u = static_cast<unsigned char>(c);
  if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDF)) return static_cast<char>(u + 0x20);
  if (u == 0xA8) return static_cast<char>(0xB8);  // Ё
  return c;
}

// Characters outside the code page are kept as they are: only the convertible runs change.
template <class Change>
std::string change_case(std::string_view utf8, Change change) {
  std::string out;
  out.reserve(utf8.size());
  size_t i = 0;
  bool first = true;
  while (i < utf8.size()) {
    size_t len = 1;
    const auto lead = static_cast<unsigned char>(utf8[i]);
    if (lead >= 0xF0) len = 4;
    else if (lead >= 0xE0) len = 3;
    else if (lead >= 0xC0) len = 2;
    len = std::min(len, utf8.size() - i);
    const std::string_view ch = utf8.substr(i, len);
    const std::string narrow = len == 1 ? std::string(ch) : utf8_to_cp1251(ch);
    if (narrow.size() == 1 && narrow != "?") out += cp1251_to_utf8(std::string(1, change(narrow[0], first)));
    else out += ch;
    first = false;
    i += len;
  }
  return out;
}

}  // namespace

std::string to_upper(std::string_view utf8) {
  return change_case(utf8, [](char c, bool) { return upper_1251(c); });
}

std::string to_lower(std::string_view utf8) {
  return change_case(utf8, [](char c, bool) { return lower_1251(c); });
}

std::string capitalize(std::string_view utf8) {
  return change_case(utf8, [](char c, bool first) { return first ? upper_1251(c) : lower_1251(c); });
}

}  // namespace hrdoc::text
