// "HRDOC150" on the military fixture database.
#include "military_fixture.h"

namespace hrdoc::test {
namespace {

// Columns of the finished sheet (the marks column gone).
enum Col { fnum = 1, ftn, ffio, fdr, fser, fnump, ffdvd, forg, fadrp, fadrf, ftel, fkuch, fvzw, fsost, fvus, fgodn,
           fvoenk, fviduch, fspecuch, fmob, fdtpost, fow, fdtpr, fnumpr, fkval, fspec, fsemp, fprof, fssem };
constexpr int kFirstRow = 5;

class Hrdoc150 : public MilitaryFixture {
 protected:
  // Runs the report for a department set in a list order.
  sheet::Sheet& report(std::vector<int> set, int order) {
    ctx().replace_kpsew(set);
    ctx().list_order = static_cast<uint16_t>(order);
    EXPECT_EQ(run("HRDOC150", 1), 0);
    EXPECT_EQ(ui().error_boxes(), 0);
    return result();
  }
  // The row of an employee by name.
  static int row_of(const sheet::Sheet& s, const std::string& name) {
    for (int r = kFirstRow; r <= s.last_row(); ++r)
      if (text::trim(s.text(r, ffio)) == name) return r;
    ADD_FAILURE() << name << " is not listed";
    return kFirstRow;
  }
};

TEST_F(Hrdoc150, every_department_not_excluded_lists_its_employees_on_registration_under_a_heading) {
  sheet::Sheet& s = report({}, 0);
  EXPECT_EQ(text::trim(s.text(1, 1)), "Список сотрудников подразделения Акционерное общество \"Заря\" на 05.12.2026");
  // Склад has nobody on registration, Архив is excluded; Борисов counts in Цех № 1 by the larger UNSD.
  EXPECT_EQ(lines(s, kFirstRow, 3), (Lines{{"Бухгалтерия", "", ""},
                                           {"1", "1400", "Жуков Жан"},
                                           {"Цех № 1", "", ""},
                                           {"2", "1101", "Андреев Андрей Андреевич"},
                                           {"3", "1050", "Борисов Борис Борисович"},
                                           {"4", "3005", "Орлов Олег"},
                                           {"5", "3006", "Павлов Павел"},
                                           {"6", "1000", "Яковлев Яков Яковлевич"},
                                           {"Цех № 1::Участок", "", ""},
                                           {"7", "1300", "Дмитриев Дмитрий"}}));
}

TEST_F(Hrdoc150, the_list_order_of_the_host_sorts_each_department) {
  struct Case {
    int order;
    Line names;
  };
  const std::string a = "Андреев Андрей Андреевич", b = "Борисов Борис Борисович", o = "Орлов Олег", p = "Павлов Павел",
                    y = "Яковлев Яков Яковлевич";
  for (const Case& c : {Case{0, {a, b, o, p, y}}, Case{1, {y, b, a, o, p}}, Case{2, {a, y, b, o, p}}}) {
    SCOPED_TRACE(c.order);
    const Line names = column(report({10}, c.order), kFirstRow, ffio);
    ASSERT_EQ(names.size(), 8u);  // Цех № 1, five, Участок, one
    EXPECT_EQ(Line(names.begin() + 1, names.begin() + 6), c.names);
  }
}

TEST_F(Hrdoc150, an_employee_row_carries_passport_addresses_registration_position_and_family) {
  sheet::Sheet& s = report({10}, 0);
  struct Case {
    const char* name;
    std::vector<std::pair<int, std::string>> cells;
  };
  for (const Case& c : {
           Case{"Андреев Андрей Андреевич",
                {{fdr, "03.04.1985"}, {fser, "45 01"}, {fnump, "123456"}, {ffdvd, "03.02.2010"}, {forg, "ОВД"},
                 {fkuch, "Первая"}, {fvzw, "Рядовой"}, {fsost, "Солдаты"}, {fvus, "201"}, {fgodn, "А"},
                 {fvoenk, "Ленинский РВК"}, {fviduch, "Общий"}, {fspecuch, "А"}, {fdtpost, "02.03.2015"},
                 {fow, "Цех № 1"}, {fdtpr, "02.03.2015"}, {fsemp, "Женат"}, {fprof, "Токарь"}, {fadrf, ""},
                 {fssem, "Жена - Андреева Анна, 1990г.р. , Сын - Андреев Иван,"}}},
           // The whole number in SER: the last six digits, the series losing its third digit.
           Case{"Борисов Борис Борисович",
                {{fser, "04 51"}, {fnump, "123456"}, {fadrp, ""}, {ftel, "123-45-67"}, {fvoenk, "Советский РВК"},
                 {fprof, "Мастер"}, {fow, "Цех № 1"}, {fssem, ""}}},
           // A document without a series keeps the whole number.
           Case{"Яковлев Яков Яковлевич", {{fser, ""}, {fnump, "4501123456"}}},
           Case{"Дмитриев Дмитрий", {{fser, ""}, {fnump, ""}, {fssem, "Сын - 2010г.р."}}},
       }) {
    SCOPED_TRACE(c.name);
    const int r = row_of(s, c.name);
    for (const auto& [col, value] : c.cells) EXPECT_EQ(text::trim(s.text(r, col)), value) << "column " << col;
  }
  // The addresses are the employee's one-line registered and actual addresses.
  EXPECT_NE(s.text(row_of(s, "Андреев Андрей Андреевич"), fadrp).find("Екатеринбург"), std::string::npos);
  EXPECT_NE(s.text(row_of(s, "Борисов Борис Борисович"), fadrf).find("Берёзовский"), std::string::npos);
}

TEST_F(Hrdoc150, an_error_is_shown_and_the_rows_written_so_far_are_kept) {
  exec("drop table KDISR");
  ctx().replace_kpsew({});
  EXPECT_EQ(run("HRDOC150", 1), 0);
  EXPECT_EQ(ui().error_boxes(), 1);
  ASSERT_EQ(ui().documents.size(), 1u);
  EXPECT_EQ(text::trim(result().text(kFirstRow, 1)), "Бухгалтерия");
}

}  // namespace
}  // namespace hrdoc::test
