#pragma once
// Small text helpers shared by the parsers of forms, settings files and templates.

#include <string>
#include <string_view>

namespace hrdoc::text {

// The text without the blanks, tabs and line ends around it.
std::string trim(std::string_view s);

// The UTF-8 text with its Latin and Cyrillic letters (Ё included) in upper or lower case; every
// other character stays as it is.
std::string upper(std::string_view s);
std::string lower(std::string_view s);

// The first n characters of a UTF-8 text (all of it when it is shorter).
std::string_view first_characters(std::string_view s, size_t n);
// The first letter in upper case, the rest in lower case ("МОСКОВСКАЯ" -> "Московская").
std::string capitalize(std::string_view s);

}  // namespace hrdoc::text
