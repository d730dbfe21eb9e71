#include "office/conv.h"

#include <stdexcept>

namespace {

const char* const kHundreds[10] = {"",         "сто ",      "двести ",   "триста ",    "четыреста ",
                                   "пятьсот ", "шестьсот ", "семьсот ", "восемьсот ", "девятьсот "};
const char* const kTens[10] = {"",           "",           "двадцать ",    "тридцать ",  "сорок ",
                               "пятьдесят ", "шестьдесят ", "семьдесят ", "восемьдесят ", "девяносто "};
const char* const kTeens[10] = {"десять ",       "одиннадцать ", "двенадцать ",   "тринадцать ",  "четырнадцать ",
                                "пятнадцать ",   "шестнадцать ", "семнадцать ",   "восемнадцать ", "девятнадцать "};
const char* const kUnits[10] = {"", "один ", "два ", "три ", "четыре ", "пять ", "шесть ", "семь ", "восемь ", "девять "};
const char* const kUnitsFeminine[3] = {"", "одна ", "две "};

// Forms by group: many, few, one.
const char* const kMillions[3] = {"миллионов", "миллиона", "миллион"};
const char* const kThousands[3] = {"тысяч", "тысячи", "тысяча"};

int form_of(int g) {
  if (g % 100 >= 10 && g % 100 <= 19) return 0;
  int d = g % 10;
  if (d == 1) return 2;
  if (d >= 2 && d <= 4) return 1;
  return 0;
}

}  // namespace

std::string NumberInWords(int32_t n, const std::string& one, const std::string& few, const std::string& many) {
  if (n < 0 || n > 999999999)
    throw std::out_of_range("NumberInWords: " + std::to_string(n) + " is outside 0..999999999");
  const std::string units_nouns[3] = {many, few, one};
  const int groups[3] = {n / 1000000, n / 1000 % 1000, n % 1000};
  std::string result;
  for (int k = 0; k < 3; ++k) {
    const int g = groups[k];
    if (g != 0 || k == 2) {
      result += kHundreds[g / 100];
      const int r = g % 100;
      if (r / 10 == 1) {
        result += kTeens[r % 10];
      } else {
        result += kTens[r / 10];
        result += k == 1 && r % 10 <= 2 ? kUnitsFeminine[r % 10] : kUnits[r % 10];
      }
      const int form = form_of(g);
      result += k == 0 ? kMillions[form] : k == 1 ? kThousands[form] : units_nouns[form];
    }
    result += ' ';
  }
  return result;
}
