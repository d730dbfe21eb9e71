#include "reports/cards/person_name.h"

#include "text/strings.h"

namespace hrdoc::cards {

PersonName split_name(const std::string& full) {
  const std::string name = text::trim(full);
  PersonName out;
  const size_t first = name.find(' ');
  out.surname = text::trim(name.substr(0, first));
  if (first == std::string::npos) return out;
  const size_t second = name.find(' ', first + 1);
  out.first = text::trim(name.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1));
  if (second != std::string::npos) out.patronymic = text::trim(name.substr(second + 1));
  return out;
}

size_t char_count(const std::string& text) {
  size_t n = 0;
  for (unsigned char c : text)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}

size_t char_offset(const std::string& text, size_t n) {
  size_t seen = 0;
  for (size_t i = 0; i < text.size(); ++i)
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && seen++ == n) return i;
  return text.size();
}

}  // namespace hrdoc::cards
