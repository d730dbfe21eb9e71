#pragma once
// Small text helpers shared by the parsers of forms, settings files and templates.

#include <string>
#include <string_view>

namespace hrdoc::text {

// The text without the blanks, tabs and line ends around it.
std::string trim(std::string_view s);

// Letter case of UTF-8 text as the Windows Cyrillic code page knows it: Latin and Russian
// letters (Ё too) change, everything else stays.
std::string to_upper(std::string_view utf8);
std::string to_lower(std::string_view utf8);
// The first letter in upper case, the rest in lower case ("МОСКОВСКАЯ" -> "Московская").
std::string capitalize(std::string_view utf8);

}  // namespace hrdoc::text
