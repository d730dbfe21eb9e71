#pragma once
// UTF-8 access to compark's month names, amounts and numbers in words, and its template
// copies. The compark members themselves speak Windows-1251 at the C interface; these are
// for the rest of the library.
//
// Buffers the compark members fill: summa and zahls need 250 bytes (their longest texts
// stay below that); ldsd needs the value's digits plus the decimals plus 3 (64 bytes hold
// any value below 1e40); mopenx needs room for the work folder's path plus 13 bytes.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class compark;

namespace hrdoc::text {

// Month name in capitals: form 1 genitive ("ДЕКАБРЯ"), any other form nominative;
// "ОШИБКА" for a month outside 1..12.
std::string month_name(int month, int form);

// An amount in rubles and kopecks: "Двадцать один рубль  00 копеек ". Throws
// std::invalid_argument for a negative, non-numeric or too large (above 9.99e17) amount.
std::string amount_in_words(double amount);

// A whole number given as decimal digits (an optional leading "-"), at most 18 characters:
// "Один миллион одна тысяча ". Throws std::invalid_argument for a longer text.
std::string number_in_words(std::string_view digits);

// A value rounded half away from zero to the given decimals, as text ("2.68").
std::string rounded_text(double value, int decimals);

}  // namespace hrdoc::text

namespace hrdoc::host {

// Copies template name + extension from the context's template folder into a new numbered
// work copy in its work folder and returns the copy's path; nothing when the template is
// missing or empty or no copy can be created. The copy stays reserved for this process
// (no other caller gets its number) until release_work_copy or the end of the process.
std::optional<std::string> open_work_copy(compark& ctx, const std::string& name,
                                          const std::string& extension = ".xlsx");

// Where the template name + extension is in the context's template folder: the file whose name
// matches whatever the case of its Latin letters, else the exact name (which may not exist).
std::string template_path(const compark& ctx, const std::string& name, const std::string& extension);

// Gives the number of a work copy back, so that a later copy may reuse it once the file
// itself can be removed. The file is left in place.
void release_work_copy(const std::string& path);

}  // namespace hrdoc::host
