#pragma once
// Small text helpers shared by the parsers of forms, settings files and templates.

#include <string>
#include <string_view>

namespace hrdoc::text {

// The text without the blanks, tabs and line ends around it.
std::string trim(std::string_view s);

}  // namespace hrdoc::text
