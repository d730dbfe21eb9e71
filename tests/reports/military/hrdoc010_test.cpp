// "HRDOC010" on the military fixture database on 05.12.2026.
#include "military_fixture.h"

namespace hrdoc::test {
namespace {

enum Col { f3 = 1, f4, f5, f6, f7, f8, f9, f10, f11, f12, f13, f14, f15 };
constexpr int kFirstRow = 5;

class Hrdoc010 : public MilitaryFixture {
 protected:
  sheet::Sheet& report(int kp) {
    EXPECT_EQ(run("HRDOC010", kp), 0);
    EXPECT_EQ(ui().error_boxes(), 0);
    return result();
  }
};

TEST_F(Hrdoc010, employees_on_registration_are_grouped_by_department_in_tree_order) {
  struct Case {
    int kp;
    Lines rows;  // number and name; a department row: its path and ""
  };
  for (const Case& c : {
           // States 0 and 3 (Васильев, Григорьев, Егоров) and the dismissed are out; the department
           // lists' exclusion does not apply here (Архив).
           Case{0,
                {{"Архив", ""}, {"1", "Ильин Илья"}, {"Бухгалтерия", ""}, {"2", "Жуков Жан"}, {"Цех № 1", ""},
                 {"3", "Андреев Андрей Андреевич"}, {"4", "Борисов Борис Борисович"}, {"5", "Орлов Олег"},
                 {"6", "Павлов Павел"}, {"7", "Яковлев Яков Яковлевич"}, {"Цех № 1, Участок", ""}, {"8", "Дмитриев Дмитрий"}}},
           Case{11, {{"Участок", ""}, {"1", "Дмитриев Дмитрий"}}},
       }) {
    SCOPED_TRACE(c.kp);
    const sheet::Sheet& s = report(c.kp);
    Lines rows;
    for (const Line& l : lines(s, kFirstRow, f5)) rows.push_back({l[0], l[f5 - 1]});
    EXPECT_EQ(rows, c.rows);
  }
}

TEST_F(Hrdoc010, address_falls_back_to_the_actual_one_and_passport_and_family_read_as_text) {
  sheet::Sheet& s = report(0);
  struct Case {
    const char* name;
    const char *address, *passport, *family;
  };
  for (const Case& c : {
           Case{"Андреев Андрей Андреевич", "Свердловская обл., Екатеринбург, ул. Ленина, д.1, корп.А, кв.2",
                "4501 123456 выдан ОВД 03.02.2010", "Сын Андреев Иван,Жена Андреева Анна 01.05.1990,"},
           Case{"Борисов Борис Борисович", "Берёзовский, ул. Мира, д.5", "4501123456 выдан ОВД 03.02.2010", ""},
           Case{"Дмитриев Дмитрий", ", пос. Северный, ул. Лесная, д.3", "", "Сын 04.03.2010,"},
           Case{"Жуков Жан", "", "", ""},
       }) {
    SCOPED_TRACE(c.name);
    bool found = false;
    for (const Line& l : lines(s, kFirstRow, f15)) {
      if (l[f5 - 1] != c.name) continue;
      found = true;
      EXPECT_EQ(l[f12 - 1], c.address);
      EXPECT_EQ(l[f14 - 1], c.passport);
      EXPECT_EQ(l[f15 - 1], c.family);
    }
    EXPECT_TRUE(found);
  }
  Line borisov;
  for (const Line& l : lines(s, kFirstRow, f15))
    if (l[f5 - 1] == "Борисов Борис Борисович") borisov = l;
  EXPECT_EQ(borisov, (Line{"4", "1050", "Борисов Борис Борисович", "04.04.1985", "Мастер", "Рядовой", "Офицеры", "202",
                           "Советский РВК", "Берёзовский, ул. Мира, д.5", "123-45-67",
                           "4501123456 выдан ОВД 03.02.2010", ""}));
}

}  // namespace
}  // namespace hrdoc::test
