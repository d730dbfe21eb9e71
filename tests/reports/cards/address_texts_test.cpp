// The one-line addresses of an employee, registered and actual, on the cards fixture.
#include <gtest/gtest.h>

#include <string>

#include "reports/cards/address_texts.h"
#include "reports/cards/cards_fixture.h"

namespace {

class AddressTexts : public hrdoc::test::CardsFixture {
 protected:
  std::string registered(int kp) { return hrdoc::cards::registered_address(*ctx().data_module(), kp); }
  std::string actual(int kp) { return hrdoc::cards::actual_address(*ctx().data_module(), kp); }
};

TEST_F(AddressTexts, pieces_follow_their_codes_and_the_house_parts_their_prefixes) {
  struct Case {
    const char* change;  // applied to employee 101 first
    const char* expected;
  };
  const Case cases[] = {
      {"", "Свердловская обл., Екатеринбург, ул. Мира, д.5, корп.1, кв.12"},
      // A district and a settlement count only with their codes set; 0 is unset.
      {"RAI = 'Сысертский р-н', NAS = 'с. Патруши'", "Свердловская обл., Екатеринбург, ул. Мира, д.5, корп.1, кв.12"},
      {"KODRAI = 5, RAI = 'Сысертский р-н', KODGOR = 0, KODNAS = 1, NAS = 'с. Патруши', KORP = NULL",
       "Свердловская обл., Сысертский р-н, с. Патруши, ул. Мира, д.5, кв.12"},
      {"KODREG = NULL, KODGOR = NULL, ULNAME = NULL, KORP = ''", "д.5, кв.12"},
      {"KODREG = 0, KODGOR = NULL, ULNAME = NULL, DOM = NULL, KORP = NULL", "кв.12"},
      {"DOM = NULL, KV = NULL", "Свердловская обл., Екатеринбург, ул. Мира, корп.1"},
  };
  for (const Case& c : cases) {
    exec("delete from ZPADRES where KP = 101");
    exec("insert into ZPADRES (KP, KODREG, REGN, KODGOR, GOR, ULNAME, DOM, KORP, KV) values (101, 66, "
         "'Свердловская обл.', 1, 'Екатеринбург', 'ул. Мира', '5', '1', '12')");
    if (*c.change) exec(std::string("update ZPADRES set ") + c.change + " where KP = 101");
    EXPECT_EQ(registered(101), c.expected) << c.change;
  }
  EXPECT_EQ(registered(103), "");  // no address at all
}

TEST_F(AddressTexts, actual_address_reads_the_columns_with_the_suffix) {
  exec("insert into KDT2IADF (KP, KODREGF, REGF, KODRAIF, RAIF, KODGORF, GORF, KODNASF, NASF, ULNAMEF, DOMF, KVF) "
       "values (101, 66, 'Свердловская обл.', 5, 'Сысертский р-н', NULL, 'Сысерть', 1, 'с. Патруши', 'ул. Лесная', "
       "'3', '7')");
  EXPECT_EQ(actual(101), "Свердловская обл., Сысертский р-н, с. Патруши, ул. Лесная, д.3, кв.7");
  EXPECT_EQ(actual(102), "");
}

}  // namespace
