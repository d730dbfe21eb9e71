#include "reports/military/passport.h"

#include <cctype>
#include <vector>

namespace hrdoc::military {
namespace {

// Documents that carry no series (birth certificates, service cards and the like): a whole
// number in SER stays the number.
bool without_series(int64_t kind) {
  switch (kind) {
    case 5: case 10: case 11: case 12: case 13: case 14: case 91: return true;
    default: return false;
  }
}

// The text cut into its UTF-8 characters, so that counting and cutting never split one.
std::vector<std::string> characters(const std::string& s) {
  std::vector<std::string> out;
  for (size_t i = 0; i < s.size(); ++i) {
    if ((static_cast<unsigned char>(s[i]) & 0xC0) == 0x80 && !out.empty()) out.back() += s[i];
    else out.emplace_back(1, s[i]);
  }
  return out;
}

std::string join(const std::vector<std::string>& chars, size_t from, size_t to) {
  std::string s;
  for (size_t i = from; i < to; ++i) s += chars[i];
  return s;
}

// 1 to 3 characters are padded with "0" on the left to 4; then only the digits stay, with a
// blank after the first two.
std::string passport_series(std::string series) {
  const size_t length = characters(series).size();
  if (length >= 1 && length <= 3) series = std::string(4 - length, '0') + series;
  std::string digits;
  for (char c : series)
    if (std::isdigit(static_cast<unsigned char>(c))) digits += c;
  return digits.size() >= 2 ? digits.substr(0, 2) + " " + digits.substr(2) : digits;
}

}  // namespace

Passport SplitPassport(int64_t kind, const std::string& ser, const std::string& num) {
  Passport p;
  if (!ser.empty() && num.empty()) {
    const std::vector<std::string> s = characters(ser);
    if (without_series(kind)) {
      p.number = ser;
    } else if (s.size() > 6) {
      p.number = join(s, s.size() - 6, s.size());
      std::vector<std::string> series(s.begin(), s.end() - 6);
      // The blank between the series' halves, when it was written with one.
      if (kind == kPassportRf && series.size() >= 3) series.erase(series.begin() + 2);
      p.series = join(series, 0, series.size());
    } else {
      p.number = ser;
    }
  } else if (!ser.empty() && !num.empty()) {
    p.series = ser;
    p.number = num;
  }
  if (kind == kPassportRf) p.series = passport_series(p.series);
  return p;
}

}  // namespace hrdoc::military
