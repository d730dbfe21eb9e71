#pragma once
// A full name cut into surname, first name and patronymic at its first two spaces, for the
// lists that print the three in columns of their own.

#include <string>

namespace hrdoc {

struct FullName {
  std::string surname, name, patronymic;
};

// The name trimmed and cut; with fewer than three words the last word is the first name.
FullName SplitName(const std::string& fname);

// Cut as it stands, each part trimmed; a part whose space is missing stays empty, so a name of
// one word is all patronymic.
FullName SplitNameToPatronymic(const std::string& fname);

}  // namespace hrdoc
