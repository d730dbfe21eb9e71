#pragma once
// The series and number of an identity document as the military reserve list prints them.

#include <cstdint>
#include <string>

namespace hrdoc::military {

// Kind 21 of ZPADS1.VDOC: the passport of a citizen of Russia.
constexpr int64_t kPassportRf = 21;

struct Passport {
  std::string series, number;
};

// From the document kind and ZPADS1.SER and NUM. A number written whole into SER is split into
// its last six characters and the series in front (documents that have no series keep it
// whole); a passport's series prints as two digits, a blank and two digits.
Passport SplitPassport(int64_t kind, const std::string& ser, const std::string& num);

}  // namespace hrdoc::military
