#pragma once
// Russian personal names and place names for the demo database.

#include <string>
#include <string_view>

namespace hrdoc::demo {

struct MaleName {
  const char* name;
  const char* patronymic_male;
  const char* patronymic_female;
};

extern const MaleName kMaleNames[];
extern const int kMaleNameCount;
extern const char* const kFemaleNames[];
extern const int kFemaleNameCount;
// Surnames in their masculine form ("-ов", "-ев", "-ин", "-ский").
extern const char* const kSurnames[];
extern const int kSurnameCount;
extern const char* const kStreets[];
extern const int kStreetCount;

// The feminine form of a masculine surname: "Иванов" -> "Иванова", "Островский" -> "Островская".
std::string feminine_surname(std::string_view surname);

}  // namespace hrdoc::demo
