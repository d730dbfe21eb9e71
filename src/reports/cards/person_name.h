#pragma once
// The pieces of a full name as the bank registries write them.

#include <string>

namespace hrdoc::cards {

struct PersonName {
  std::string surname, first, patronymic;
};

// Splits a full name at its first and second spaces: surname, first name and the rest as the
// patronymic, each trimmed; missing pieces are empty.
PersonName split_name(const std::string& full);

// The number of characters (not bytes) of a UTF-8 text.
size_t char_count(const std::string& text);
// The byte offset of character n (0-based) of a UTF-8 text; its size when it is shorter.
size_t char_offset(const std::string& text, size_t n);

}  // namespace hrdoc::cards
