#pragma once
// A whole number in Russian words followed by the caller's unit noun in the right form.

#include <cstdint>
#include <string>

// n from 0 to 999 999 999; one, few, many: the noun for 1, for 2..4 and for 5..20 (the
// agreements pass "рубль", "рубля", "рублей"). Every group of three digits contributes a
// separating space even when it is empty, so the text is not trimmed:
// NumberInWords(125, ...) gives "  сто двадцать пять рублей ". Throws std::out_of_range for
// n outside that range.
std::string NumberInWords(int32_t n, const std::string& one, const std::string& few, const std::string& many);
