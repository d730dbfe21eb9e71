// The texts the agreements share: short names, dates and amounts in words, the contract
// reference and the employee's requisites.
#include "reports/agreements/agreement_common.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "text/date.h"

namespace hrdoc::agreements {
namespace {

struct NameCase {
  const char* full;
  const char* expected;
};

TEST(AgreementCommon, short_name_takes_first_characters_and_lowers_the_surname) {
  const NameCase cases[] = {
      {"ИВАНОВ ИВАН ПЕТРОВИЧ", "И.П.Иванов"},
      {"  ИВАНОВ   ИВАН  ПЕТРОВИЧ  ", "И.П.Иванов"},  // extra blanks
      {"ПЕТРОВА АННА", "А.Петрова"},                  // no patronymic: no second dot
      {"СИДОРОВ", "Сидоров"},
      {"ЁЛКИН ЁЖ ЯКОВЛЕВИЧ", "Ё.Я.Ёлкин"},            // Ё and Я at the ends of the alphabet
      {"смирнов олег", "о.смирнов"},                  // letters kept as given
      {"Smith JOHN", "J.Smith"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(short_name(c.full), c.expected) << c.full;
  EXPECT_EQ(short_name(" ИВАНОВ ", "", " ПЕТРОВИЧ"), "П.Иванов");
}

TEST(AgreementCommon, dates_in_words_use_the_genitive_month) {
  const TDateTime d = text::encode_date(2027, 1, 5);
  EXPECT_EQ(date_words(d), "5 января 2027");
  EXPECT_EQ(date_words(d, true), "05 января 2027");
  EXPECT_EQ(date_words(text::encode_date(2026, 12, 31), true), "31 декабря 2026");
  EXPECT_EQ(month_word(5), "мая");
  EXPECT_EQ(month_word(13), "");
}

TEST(AgreementCommon, salary_words_pick_the_ruble_noun) {
  const std::pair<double, const char*> cases[] = {{1, "один рубль"},
                                                  {2, "два рубля"},
                                                  {5, "пять рублей"},
                                                  {21, "двадцать один рубль"},
                                                  {41600, "сорок одна тысяча шестьсот рублей"},
                                                  {12345.6, "двенадцать тысяч триста сорок шесть рублей"}};
  for (const auto& [amount, words] : cases) EXPECT_EQ(rubles_in_words(amount), words) << amount;
  EXPECT_THROW(rubles_in_words(-3), std::out_of_range);
  EXPECT_THROW(rubles_in_words(1e12), std::out_of_range);
}

TEST(AgreementCommon, contract_reference_needs_a_number) {
  Contract c;
  c.CONDT = text::encode_date(2019, 3, 1);
  EXPECT_EQ(contract_reference(c), "");
  c.CONN = "117";
  EXPECT_EQ(contract_reference(c), "№ 117 от 1 марта 2019 года");
  c.CONDT.reset();
  EXPECT_EQ(contract_reference(c), "№ 117");
}

TEST(AgreementCommon, employee_requisites_skip_empty_parts_and_keep_passport_blanks) {
  Address a{"", "Заречный р-н", "г. Заречный", "", "ул. Мира", "5", "", "12"};
  Contract c;
  c.ORG = "ОВД Заречного района";
  c.FDVD = text::encode_date(2010, 6, 2);
  c.KREGP = "Тверская обл.";
  c.KGORP = "г. Тверь";
  c.DTR = text::encode_date(1990, 2, 3);
  EXPECT_EQ(employee_requisites(a, c),
            "Адрес прописки\nЗаречный р-н, г. Заречный, ул. Мира, 5, 12\nПаспорт    №     ,\nОВД Заречного района\n"
            "Дата выдачи 02.06.2010\nМесто рождения Тверская обл., г. Тверь\nДата рождения: 03.02.1990");
}

TEST(AgreementCommon, employer_requisites_join_the_parts_there_are) {
  Employer e;
  e.IND = "625000";
  e.GOROD = "г. Заречный";
  e.N = "ОАО «Заречтрубопровод»";
  e.INN = "7201000001";
  e.OKPO = "01234567";
  e.DOM = "1";
  EXPECT_EQ(employer_requisites(e),
            "625000, г. Заречный, ОАО «Заречтрубопровод», ИНН 7201000001, Код ОКПО 01234567, г. Заречный, 1");
}

}  // namespace
}  // namespace hrdoc::agreements
