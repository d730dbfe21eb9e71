// "HRDOC250" through main_dll: a notice sheet per planned part beginning within 14 days of the
// report date, the last day counted by the work schedule; and the greeting and sheet names.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "reports/vacation/notices.h"
#include "reports/vacation/schedule_fixture.h"

namespace {

using hrdoc::test::no_marks;
using hrdoc::text::encode_date;

class Hrdoc250 : public hrdoc::test::ScheduleFixture {
 protected:
  void SetUp() override {
    ScheduleFixture::SetUp();
    set_period(encode_date(2026, 12, 7), encode_date(2026, 12, 1), encode_date(2026, 12, 31));
    // Annual vacations count every day but public holidays (1..8 January).
    vacation_kind(2, 3);
    schedule(3, 2026, 12, {});
    schedule(3, 2027, 1, {1, 2, 3, 4, 5, 6, 7, 8});
    staff();
    employee(204, 10, 19, "Гусев Г.Г.", "Гусев Глеб Глебович", 3);
    employee(207, 10, 22, "", "Безымянная Вера Петровна", 3);
    record(200, "2020-03-01", 21, 10, "Токарь");
    record(201, "2019-05-01", 21, 11, "Слесарь");
    record(202, "2018-01-10", 21, 20, "Бухгалтер");
    record(204, "2015-01-01", 21, 10);
    record(204, "2026-11-30", 121, 10);  // dismissed before the notices
    record(207, "2020-01-01", 21, 10);
    sex(200, "М");
    sex(202, "Ж");
  }
};

TEST_F(Hrdoc250, a_sheet_per_part_in_the_14_days_with_the_last_day_by_the_schedule) {
  plan(200, 2026, "2026-12-07", 14);  // the report date itself
  plan(200, 2026, "2026-12-21", 14);  // 14 days after: included, runs past the holidays
  plan(201, 2026, "2026-12-22", 14);  // 15 days after: not
  plan(202, 2026, "2026-12-10", 7);
  plan(204, 2026, "2026-12-10", 7);   // dismissed
  plan(207, 2026, "2026-12-12", 7);   // no short name: no sheet
  plan(202, 2026, "2026-12-06", 7);   // the day before
  ASSERT_EQ(run("HRDOC250"), 0);
  EXPECT_TRUE(ui().boxes.empty());

  struct Expected {
    const char* sheet;  // the name begins so
    const char* greeting;
    const char* first;
    const char* last;
    const char* position;
  };
  const Expected expected[] = {
      {"Абрамова А.А.", "Уважаемая Анна Андреевна!", "10.12.2026", "16.12.2026", "Бухгалтер"},
      {"Иванов И.И.", "Уважаемый Иван Иванович!", "07.12.2026", "20.12.2026", "Токарь"},
      {"Иванов И.И. (2)", "Уважаемый Иван Иванович!", "21.12.2026", "11.01.2027", "Токарь"},
  };
  ASSERT_EQ(result_sheets(), 3);
  std::set<std::string> names;
  for (int i = 1; i <= 3; ++i) {
    const auto& s = result_sheet(i);
    const auto all = texts(s);
    names.insert(s.name());
    // Which part the sheet holds: the two of one name may come in either order.
    const Expected* e = nullptr;
    for (const auto& x : expected)
      if (std::find(all.begin(), all.end(), x.first) != all.end()) e = &x;
    ASSERT_NE(e, nullptr) << s.name();
    EXPECT_EQ(s.name().substr(0, 10), std::string(e->sheet).substr(0, 10));
    // The first and last day follow each other in the notice; the year is the schedule's.
    const auto first = std::find(all.begin(), all.end(), e->first);
    EXPECT_NE(std::find(first, all.end(), e->last), all.end()) << s.name();
    EXPECT_NE(std::find(all.begin(), all.end(), e->greeting), all.end()) << s.name();
    EXPECT_EQ(std::count(all.begin(), all.end(), e->position), 2) << s.name();
    EXPECT_NE(std::find(all.begin(), all.end(), "2026"), all.end()) << s.name();
    EXPECT_TRUE(no_marks(s)) << s.name();
  }
  EXPECT_EQ(result_sheet(1).name(), "Абрамова А.А.");
  EXPECT_EQ(names, (std::set<std::string>{"Абрамова А.А.", "Иванов И.И.", "Иванов И.И. (2)"}));
  EXPECT_EQ(ui().windows.at(0).caption, "Извещения об отпусках");
  EXPECT_EQ(ui().windows.at(0).max, 3);
}

TEST_F(Hrdoc250, without_a_part_in_the_14_days_there_is_a_message_and_no_book) {
  plan(201, 2026, "2026-12-22", 14);
  ASSERT_EQ(run("HRDOC250"), 0);
  ASSERT_EQ(ui().boxes.size(), 1u);
  EXPECT_EQ(ui().boxes[0].text, "На выбранную дату нет ни одного отпуска!");
  EXPECT_TRUE(ui().documents.empty());
}

TEST(Greeting, by_sex_from_the_name_and_patronymic) {
  using hrdoc::vacation::Greeting;
  const std::string long_name(150, 'x');
  const struct {
    const char* fname;
    const char* pol;
    std::string greeting;
  } cases[] = {
      {"Иванов Иван Иванович", "М", "Уважаемый Иван Иванович!"},
      {"Иванова Анна Петровна", "Ж", "Уважаемая Анна Петровна!"},
      {"Иванова Анна Петровна", "", "Уважаемый(ая) Анна Петровна!"},
      {"  Петров.Пётр.Петрович", "М", "Уважаемый Пётр Петрович!"},  // full stops part words too
      {"Петров П. П.", "М", "Уважаемый П П!"},
      {"Оглы", "М", "Уважаемый !"},
  };
  for (const auto& c : cases) EXPECT_EQ(Greeting(c.fname, c.pol), c.greeting) << c.fname;
  // Each part keeps 100 characters.
  EXPECT_EQ(Greeting("Фамилия " + long_name, "М"), "Уважаемый " + long_name.substr(0, 100) + "!");
}

TEST(SheetName, valid_unique_and_within_31_characters) {
  using hrdoc::vacation::SheetName;
  std::set<std::string> used;
  EXPECT_EQ(SheetName("Иванов И.И.", used), "Иванов И.И.");
  EXPECT_EQ(SheetName("ИВАНОВ И.И.", used), "ИВАНОВ И.И. (2)");  // names differ in case only
  EXPECT_EQ(SheetName("Иванов И.И.", used), "Иванов И.И. (3)");
  EXPECT_EQ(SheetName("Отдел: кадры/учёт [1]", used), "Отдел_ кадры_учёт _1_");
  const std::string long_name = "Константинопольская-Оглы К.К.";  // 29 characters
  EXPECT_EQ(SheetName(long_name + "xyz", used), long_name + "xy");
  EXPECT_EQ(SheetName(long_name + "xyz", used), "Константинопольская-Оглы К. (2)");
  EXPECT_EQ(SheetName("'", used), "Извещение");
}

}  // namespace
