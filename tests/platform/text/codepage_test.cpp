#include "text/codepage.h"
#include "text/strings.h"

#include <gtest/gtest.h>

using namespace hrdoc::text;

TEST(Codepage, Windows1251AndCp866RoundTripRussianText) {
  const std::string text = "Ёлка, щука и ЪЫЬ: 100 руб.", region = "Московская область";
  std::string bytes = utf8_to_cp1251(text), dos = utf8_to_cp866(region);
  EXPECT_EQ(bytes.size(), 26u);
  EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xA8);  // Ё
  EXPECT_EQ(static_cast<unsigned char>(utf8_to_cp1251("я")[0]), 0xFF);
  EXPECT_EQ(cp1251_to_utf8(bytes), text);
  EXPECT_EQ(dos.size(), 18u);
  EXPECT_EQ(static_cast<unsigned char>(dos[0]), 0x8C);  // М
  EXPECT_EQ(static_cast<unsigned char>(utf8_to_cp866("р")[0]), 0xE0);
  EXPECT_EQ(cp866_to_utf8(dos), region);
}

TEST(Codepage, UnmappableAndMalformedInputBecomesQuestionMarks) {
  EXPECT_EQ(utf8_to_cp1251("a\u2603b"), "a?b");  // a snowman has no Windows-1251 byte
  EXPECT_EQ(utf8_to_cp866("x\xff" "y"), "x?y");
  EXPECT_EQ(utf8_to_cp1251(std::string(10000, 'z')).size(), 10000u);
}

TEST(LetterCase, russian_and_latin_letters_change_everything_else_stays) {
  struct Case {
    const char* given;
    const char* upper;
    const char* lower;
    const char* capitalized;
  };
  const Case cases[] = {
      {"московская обл.", "МОСКОВСКАЯ ОБЛ.", "московская обл.", "Московская обл."},
      {"ЁЛКИНО-2", "ЁЛКИНО-2", "ёлкино-2", "Ёлкино-2"},
      {"ул. Lenina", "УЛ. LENINA", "ул. lenina", "Ул. lenina"},
      {"№ 5 €", "№ 5 €", "№ 5 €", "№ 5 €"},  // signs of the code page and outside it
      {"", "", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(hrdoc::text::to_upper(c.given), c.upper) << c.given;
    EXPECT_EQ(hrdoc::text::to_lower(c.given), c.lower) << c.given;
    EXPECT_EQ(hrdoc::text::capitalize(c.given), c.capitalized) << c.given;
  }
}
