#include "office/conv.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>

#include "host/compark_text.h"

namespace {

std::string rub(int32_t n) { return NumberInWords(n, "рубль", "рубля", "рублей"); }

// Words only: single blanks, no blank at either end, the first letter in lower case.
std::string normalized(const std::string& s) {
  std::string out;
  for (char c : s)
    if (c != ' ' || (!out.empty() && out.back() != ' ')) out += c;
  while (!out.empty() && out.back() == ' ') out.pop_back();
  // Capital Cyrillic А..П (D0 90..9F) and Р..Я (D0 A0..AF) to their small letters.
  if (out.size() >= 2 && static_cast<unsigned char>(out[0]) == 0xD0) {
    auto c = static_cast<unsigned char>(out[1]);
    if (c >= 0x90 && c <= 0x9F) out[1] = static_cast<char>(c + 0x20);
    else if (c >= 0xA0 && c <= 0xAF) out[0] = static_cast<char>(0xD1), out[1] = static_cast<char>(c - 0x20);
  }
  return out;
}

}  // namespace

TEST(NumberInWords, GroupsKeepTheirSeparatorsThousandsAreFeminineAndTeensTakeTheManyForm) {
  // Every group leaves its separator even when empty.
  const std::pair<int32_t, const char*> cases[] = {
      {125, "  сто двадцать пять рублей "}, {1, "  один рубль "}, {0, "  рублей "},
      {1000000, "один миллион  рублей "}, {1000, " одна тысяча рублей "},
      {999999999, "девятьсот девяносто девять миллионов девятьсот девяносто девять тысяч "
                  "девятьсот девяносто девять рублей "},
      {2001, " две тысячи один рубль "}, {11000, " одиннадцать тысяч рублей "},
      {21000, " двадцать одна тысяча рублей "}, {2002002, "два миллиона две тысячи два рубля "},
      {111, "  сто одиннадцать рублей "}, {14, "  четырнадцать рублей "}, {22, "  двадцать два рубля "},
      {12000000, "двенадцать миллионов  рублей "}};
  for (const auto& [n, words] : cases) EXPECT_EQ(rub(n), words) << n;
  // The caller's nouns serve any unit, each call its own.
  EXPECT_EQ(NumberInWords(3, "день", "дня", "дней"), "  три дня ");
  EXPECT_EQ(NumberInWords(28, "день", "дня", "дней"), "  двадцать восемь дней ");
  EXPECT_EQ(rub(3), "  три рубля ");
}

TEST(NumberInWords, RejectsNumbersOutsideNineDigits) {
  for (int32_t n : {-1, 1000000000, INT32_MIN}) EXPECT_THROW(rub(n), std::out_of_range) << n;
  try {
    rub(1234567890);
    FAIL();
  } catch (const std::out_of_range& e) {
    EXPECT_NE(std::string(e.what()).find("1234567890"), std::string::npos);
  }
}

// The money routine and this one share no code; on the words of any whole number they must
// agree once blanks and the capital are set aside.
TEST(NumberInWords, RandomNumbersAgreeWithTheMoneyRoutineAndStayInRange) {
  std::mt19937 rng(1999);
  std::uniform_int_distribution<int32_t> any(-2000000000, 2000000000);
  std::uniform_int_distribution<int> digits(1, 9);
  for (int round = 0; round < 4000; ++round) {
    int32_t n = any(rng);
    // Mostly numbers in range, of every length.
    if (round % 4 != 0) {
      int len = digits(rng);
      int32_t mod = 1;
      for (int i = 0; i < len; ++i) mod *= 10;
      n = static_cast<int32_t>(static_cast<uint32_t>(n) % static_cast<uint32_t>(mod));
    }
    if (n < 0 || n > 999999999) {
      ASSERT_THROW(NumberInWords(n, "", "", ""), std::out_of_range) << n;
      continue;
    }
    std::string words = NumberInWords(n, "", "", "");
    ASSERT_EQ(words.back(), ' ');
    ASSERT_EQ(normalized(words), normalized(hrdoc::text::number_in_words(std::to_string(n)))) << n;
  }
}
