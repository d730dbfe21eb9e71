#include "text/strings.h"

namespace hrdoc::text {

std::string trim(std::string_view s) {
  constexpr std::string_view blanks = " \t\r\n";
  const size_t b = s.find_first_not_of(blanks);
  if (b == std::string_view::npos) return {};
  const size_t e = s.find_last_not_of(blanks);
  return std::string(s.substr(b, e - b + 1));
}

namespace {

// Cyrillic letters are two bytes: А..Я U+0410..U+042F, а..я U+0430..U+044F, Ё U+0401, ё U+0451.
void append_code(std::string& out, unsigned code) {
  out += static_cast<char>(0xC0 | (code >> 6));
  out += static_cast<char>(0x80 | (code & 0x3F));
}

std::string change_case(std::string_view s, bool to_upper) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      if (to_upper && c >= 'a' && c <= 'z') out += static_cast<char>(c - 32);
      else if (!to_upper && c >= 'A' && c <= 'Z') out += static_cast<char>(c + 32);
      else out += static_cast<char>(c);
      continue;
    }
    if ((c == 0xD0 || c == 0xD1) && i + 1 < s.size()) {
      const auto c2 = static_cast<unsigned char>(s[i + 1]);
      unsigned code = ((c & 0x1F) << 6) | (c2 & 0x3F);
      if (to_upper) {
        if (code >= 0x430 && code <= 0x44F) code -= 0x20;
        else if (code == 0x451) code = 0x401;
      } else {
        if (code >= 0x410 && code <= 0x42F) code += 0x20;
        else if (code == 0x401) code = 0x451;
      }
      append_code(out, code);
      ++i;
      continue;
    }
    out += static_cast<char>(c);
  }
  return out;
}

}  // namespace

std::string_view first_characters(std::string_view s, size_t n) {
  size_t characters = 0;
  for (size_t i = 0; i < s.size(); ++i)
    if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80 && characters++ == n) return s.substr(0, i);
  return s;
}

std::string upper(std::string_view s) { return change_case(s, true); }
std::string lower(std::string_view s) { return change_case(s, false); }

std::string capitalize(std::string_view s) {
  const std::string_view first = first_characters(s, 1);
  return upper(first) + lower(s.substr(first.size()));
}

}  // namespace hrdoc::text
