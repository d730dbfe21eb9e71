#pragma once
// Text is UTF-8 inside the library. These convert at the borders that fix another code page:
// Windows-1251 at the C interface, CP866 in the region classifier file.

#include <string>
#include <string_view>

namespace hrdoc::text {

// Characters that the target code page lacks become '?'.
std::string utf8_to_cp1251(std::string_view utf8);
std::string cp1251_to_utf8(std::string_view cp1251);
std::string utf8_to_cp866(std::string_view utf8);
std::string cp866_to_utf8(std::string_view cp866);

}  // namespace hrdoc::text
