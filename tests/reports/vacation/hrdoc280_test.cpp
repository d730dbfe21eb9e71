// "HRDOC280" and its daily reminder "HRDOC280L" through main_dll: the check list, the protocol
// and the notices printed from it, and the reminder's date kept per user.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "reports/vacation/schedule_fixture.h"

namespace {

using hrdoc::test::no_marks;
using hrdoc::text::date_text;
using hrdoc::text::encode_date;
using Rows = std::vector<std::vector<std::string>>;

bool has(const std::vector<std::string>& all, const std::string& text) {
  return std::find(all.begin(), all.end(), text) != all.end();
}

class Hrdoc280 : public hrdoc::test::ScheduleFixture {
 protected:
  void SetUp() override {
    ScheduleFixture::SetUp();
    set_period(encode_date(2026, 12, 5), encode_date(2026, 12, 1), encode_date(2026, 12, 31));
    staff();  // 203 is off the payroll
    employee(204, 10, 19, "Гусев Г.Г.", "Гусев Глеб Глебович", 3);            // dismissed
    employee(205, 20, 20, "Дроздова Д.Д.", "Дроздова Дарья Дмитриевна", 4);   // no rate
    employee(206, 10, 21, "Фёдоров Ф.Ф.", "Фёдоров Фёдор Фёдорович", 3);     // leaves after the period
    record(200, "2020-03-01", 21, 10, "Токарь");
    record(201, "2019-05-01", 21, 11, "Слесарь");
    record(202, "2018-01-10", 21, 20, "Бухгалтер");
    record(203, "2018-01-10", 21, 10);
    record(204, "2015-01-01", 21, 10);
    record(204, "2026-11-30", 121, 10);
    record(205, "2021-01-01", 21, 20, "Бухгалтер", 30000, 0);
    record(206, "2019-02-01", 21, 10);
    record(206, "2027-01-15", 121, 10);
    sex(200, "М");
    sex(202, "Ж");
    sex(201, "-");
    plan(200, 2026, "2026-12-07", 14);
    plan(200, 2026, "2026-12-21", 14);
    plan(201, 2026, "2026-12-14", 14);
    plan(202, 2026, "2026-12-01", 28);
    plan(202, 2026, "2026-11-30", 7);  // before the period
    for (int kp : {203, 204, 205}) plan(kp, 2026, "2026-12-10", 14);
    plan(206, 2026, "2026-12-28", 14);
  }

  // The check list of the last window shown.
  const hrdoc::ui::Field& list() {
    const hrdoc::ui::Field* lv = ui().forms.back().find("lv");
    if (!lv) throw std::runtime_error("no check list");
    return *lv;
  }
  // Ticks the rows of a name and date (empty: any date) in every window shown.
  void tick_on_show(std::vector<std::pair<std::string, std::string>> rows) {
    ui().on_form = [rows](hrdoc::ui::Form& f) {
      hrdoc::ui::Field* lv = f.find("lv");
      if (!lv) return;
      lv->checked.assign(lv->items.size(), false);
      for (size_t i = 0; i < lv->cells.size(); ++i)
        for (const auto& [name, date] : rows)
          if (lv->cells[i][1] == name && (date.empty() || lv->cells[i][2] == date)) lv->checked[i] = true;
    };
  }
  void press(const std::string& button) { ui().form_answers.push_back({{}, false, button}); }
  // The parameter dialog of the plain command, confirmed as it stands.
  void confirm_dialog() { ui().form_answers.push_back({}); }

  std::string reminder() {
    hrdoc::db::Query q(connection());
    q.sql("select CNST from SPCONST where IDCONST='QFR03TESTER'");
    q.open();
    return q.eof() ? "(none)" : q.field("CNST").as_string();
  }
};

TEST_F(Hrdoc280, lists_the_periods_parts_of_employees_at_work_and_prints_the_protocol) {
  confirm_dialog();
  press("bbPrnSel");
  ASSERT_EQ(run("HRDOC280"), 0);
  // The department is the path of up to three levels above the employee's unit.
  Rows expected = {{"Бухгалтерия", "Абрамова Анна Андреевна", "01.12.2026"},
                   {"Предприятие: Участок сборки", "Петров Пётр Петрович", "14.12.2026"},
                   {"Цех № 1", "Иванов Иван Иванович", "07.12.2026"},
                   {"Цех № 1", "Иванов Иван Иванович", "21.12.2026"},
                   {"Цех № 1", "Фёдоров Фёдор Фёдорович", "28.12.2026"}};
  Rows shown = list().cells;
  EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end(), [](const auto& a, const auto& b) {
    return std::tie(a[0], a[1]) < std::tie(b[0], b[1]);
  }));
  std::sort(shown.begin(), shown.end());
  EXPECT_EQ(shown, expected);
  EXPECT_EQ(list().columns, (std::vector<std::string>{"Подразделение", "ФИО", "Дата отпуска"}));
  EXPECT_TRUE(list().ticked().empty());
  // The date stands right-aligned under its heading, two characters wider than a date.
  for (size_t i = 0; i < list().items.size(); ++i) {
    const std::string& item = list().items[i];
    EXPECT_EQ(item.substr(item.size() - 15), " |   " + list().cells[i][2]) << item;
  }

  const auto& s = result();
  EXPECT_TRUE(no_marks(s));
  EXPECT_EQ(s.text(2, 1), "с 01.12.2026 по 31.12.2026");
  Rows printed;
  for (int r = 6; r <= s.last_row(); ++r) printed.push_back(line(s, r, 3));
  std::sort(printed.begin(), printed.end());
  EXPECT_EQ(printed, expected);
  // The print button returned to the window; nobody pressing anything more closes it.
  EXPECT_EQ(ui().forms.size(), 3u);  // the dialog, the window, the window again
  EXPECT_EQ(ui().forms.back().pressed, "bbClose");
  EXPECT_EQ(reminder(), "(none)");  // the plain command keeps no date
}

TEST_F(Hrdoc280, notices_go_to_the_ticked_rows_only_with_a_greeting_by_sex) {
  // Nothing ticked: a message and no book; then one of Иванов's two parts; then three people.
  confirm_dialog();
  press("bbPrnAllCheck");
  ASSERT_EQ(run("HRDOC280"), 0);
  ASSERT_EQ(ui().boxes.size(), 1u);
  EXPECT_EQ(ui().boxes[0].text,
            "Установите галочки напротив сотрудников, для которых необходимо распечатать извещение об отпусках!");
  EXPECT_TRUE(ui().documents.empty());

  tick_on_show({{"Иванов Иван Иванович", "21.12.2026"}});
  confirm_dialog();
  press("bbPrnAllCheck");
  ASSERT_EQ(run("HRDOC280"), 0);
  ASSERT_EQ(result_sheets(), 1);
  const auto one = texts(result_sheet(1));
  EXPECT_EQ(result_sheet(1).name(), "Иванов И.И.");
  EXPECT_TRUE(has(one, "21.12.2026"));
  EXPECT_FALSE(has(one, "07.12.2026"));
  EXPECT_TRUE(has(one, "Уважаемый Иван Иванович!"));
  EXPECT_EQ(std::count(one.begin(), one.end(), "Токарь"), 2);
  EXPECT_EQ(std::count(one.begin(), one.end(), "Иванов И.И."), 2);
  EXPECT_TRUE(has(one, "2026"));
  EXPECT_TRUE(has(one, "С уведомлением ознакомлен(а)"));

  tick_on_show({{"Иванов Иван Иванович", "07.12.2026"}, {"Петров Пётр Петрович", ""}, {"Абрамова Анна Андреевна", ""}});
  confirm_dialog();
  press("bbPrnAllCheck");
  ASSERT_EQ(run("HRDOC280"), 0);
  ASSERT_EQ(result_sheets(), 3);
  const char* greetings[] = {"Уважаемая Анна Андреевна!", "Уважаемый Иван Иванович!", "Уважаемый(ая) Пётр Петрович!"};
  for (int i = 1; i <= 3; ++i) {
    EXPECT_TRUE(has(texts(result_sheet(i)), greetings[i - 1])) << i;
    EXPECT_TRUE(no_marks(result_sheet(i))) << i;
  }
}

TEST_F(Hrdoc280, the_reminder_shows_the_whole_enterprise_once_a_day_and_keeps_the_date) {
  const TDateTime today = hrdoc::text::today();
  // The reminder reads the payroll records of the current month.
  for (int kp : {200, 201, 202, 206})
    exec("update or insert into ZPLS (FD, KP, DOL, UW) values ('" +
         date_text(hrdoc::text::first_day_of_month(today)) + "', " + std::to_string(kp) + ", 3, 0) matching (FD, KP)");
  auto day = [&](int offset) {
    const auto d = hrdoc::text::decode_date(today + offset);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", int{d.year}, int{d.month}, int{d.day});
    return std::string(text);
  };
  const int year = hrdoc::text::decode_date(today).year;
  exec("delete from KDVIIIGOPER");
  plan(200, year, day(-5), 14);
  plan(201, year, day(21), 14);
  plan(202, year, day(-6), 14);
  plan(206, year, day(22), 14);
  set_department(20, "Бухгалтерия");  // the reminder looks beyond the selected department

  ASSERT_EQ(run("HRDOC280L", 1), 0);
  ASSERT_EQ(ui().forms.size(), 1u);  // no parameter dialog, just the window
  Rows shown = list().cells;
  std::sort(shown.begin(), shown.end());
  EXPECT_EQ(shown, (Rows{{"Предприятие: Участок сборки", "Петров Пётр Петрович", date_text(today + 21)},
                         {"Цех № 1", "Иванов Иван Иванович", date_text(today - 5)}}));
  EXPECT_EQ(reminder(), date_text(today));  // inserted

  ASSERT_EQ(run("HRDOC280L", 1), 0);  // the same day: nothing
  EXPECT_EQ(ui().forms.size(), 1u);

  exec("update SPCONST set CNST='01.01.2020' where IDCONST='QFR03TESTER'");
  ASSERT_EQ(run("HRDOC280L", 1), 0);
  EXPECT_EQ(ui().forms.size(), 2u);
  EXPECT_EQ(reminder(), date_text(today));  // updated

  // No planned vacation near: no window, the date kept all the same.
  exec("delete from KDVIIIGOPER");
  exec("update SPCONST set CNST='01.01.2020' where IDCONST='QFR03TESTER'");
  ASSERT_EQ(run("HRDOC280L", 1), 0);
  EXPECT_EQ(ui().forms.size(), 2u);
  EXPECT_EQ(reminder(), date_text(today));

  // With 0 the L form is the plain command: the dialog, and no date written.
  exec("delete from SPCONST");
  ASSERT_EQ(run("HRDOC280L", 0), 0);
  EXPECT_EQ(ui().forms.size(), 3u);
  EXPECT_EQ(reminder(), "(none)");
  EXPECT_TRUE(ui().boxes.empty());
}

}  // namespace
