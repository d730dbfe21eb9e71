#include "text/strings.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using hrdoc::text::first_characters;
using hrdoc::text::lower;
using hrdoc::text::upper;

TEST(Strings, upper_and_lower_change_latin_and_cyrillic_letters_and_keep_the_rest) {
  struct Case {
    std::string mixed, up, down;
  };
  const Case cases[] = {
      {"По соглашению Сторон", "ПО СОГЛАШЕНИЮ СТОРОН", "по соглашению сторон"},
      {"Ёлка ёж", "ЁЛКА ЁЖ", "ёлка ёж"},
      {"ая АЯ", "АЯ АЯ", "ая ая"},  // the ends of both ranges
      {"Art. 81, п.2 №5", "ART. 81, П.2 №5", "art. 81, п.2 №5"},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(upper(c.mixed), c.up) << c.mixed;
    EXPECT_EQ(lower(c.mixed), c.down) << c.mixed;
  }
  // A cut-off byte at the end stays as it was.
  EXPECT_EQ(upper("я\xD1"), "Я\xD1");
  EXPECT_EQ(hrdoc::text::capitalize("ТУЛЬСКАЯ обл."), "Тульская обл.");
  EXPECT_EQ(hrdoc::text::capitalize("ёлкино"), "Ёлкино");
}

TEST(Strings, first_characters_counts_characters_not_bytes) {
  EXPECT_EQ(first_characters("Ёжик; TN=1", 3), "Ёжи");
  EXPECT_EQ(first_characters("Ёжик", 4), "Ёжик");
  EXPECT_EQ(first_characters("Ёжик", 40), "Ёжик");
  EXPECT_EQ(first_characters("a№b", 2), "a№");  // three bytes for "№"
  EXPECT_EQ(first_characters("abc", 0), "");
}

}  // namespace
