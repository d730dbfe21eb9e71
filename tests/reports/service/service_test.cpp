// The service-length settings dialog and "HRDOC030", "HRDOC170", "HRDOC031" through main_dll on
// the service fixture database; the finished books are read back cell by cell.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "calc/fmstage.h"
#include "reports/service/service_fixture.h"

namespace {

using hrdoc::TfmNSTAGE;
using hrdoc::test::kD;
using hrdoc::test::Lines;
using hrdoc::test::no_marks;
using hrdoc::text::encode_date;

// Where the finished forms have their lines (the mark column is gone).
constexpr int kLines030 = 5, kLines170 = 6, kLines031 = 4;

class Service : public hrdoc::test::ServiceFixture {
 protected:
  // The dialog's answer and what it handed back.
  struct Settings {
    int result = -1;
    int32_t kind = -7;
    int years = -7;
    std::string name = "unset";
  };
  Settings settings() {
    Settings s;
    s.result = TfmNSTAGE(&ctx()).Execute(s.kind, s.years, s.name);
    return s;
  }
  // Runs the kind look-up of the form shown, choosing the rows given in turn (-1: none).
  void pick_kinds(std::vector<int> rows) {
    ui().on_form = [this, rows](hrdoc::ui::Form& f) {
      if (f.name != "fmNSTAGE") return;
      for (int row : rows) {
        ui().choices.push_back(row);
        hrdoc::ui::Field& kind = *f.find("EdStage");
        kind.lookup(kind, f);
      }
    };
  }
};

TEST_F(Service, dialog_returns_the_chosen_kind_and_years_and_cancel_touches_nothing) {
  // The kinds are listed by code: row 4 is kind 16. Choosing again without a choice keeps it.
  pick_kinds({4, -1});
  ui().form_answers.push_back({{{"CSEStage", "999"}}, false, "bbtnOk"});
  Settings s = settings();
  EXPECT_EQ(s.result, 1);
  EXPECT_EQ(s.kind, 16);
  EXPECT_EQ(s.years, 999);
  EXPECT_EQ(s.name, "Стаж работы на предприятии");
  ASSERT_EQ(ui().row_lists.size(), 2u);
  EXPECT_EQ(ui().row_lists[0].caption, "Типы стажей");
  EXPECT_EQ(ui().row_lists[0].table.columns, (std::vector<std::string>{"Код", "Наименование"}));
  const auto& form = ui().forms.back();
  EXPECT_EQ(form.caption, "Настройка режимов работы");
  EXPECT_EQ(form.default_button().name, "bbtnCancel");

  // Nobody pressing anything: the default button cancels.
  ui().on_form = nullptr;
  s = settings();
  EXPECT_EQ(s.result, 0);
  EXPECT_EQ(s.kind, -7);
  EXPECT_EQ(s.name, "unset");
  ui().form_answers.push_back({{{"EdStage", "2"}}, false, "&Отказаться"});
  EXPECT_EQ(settings().result, 0);
  EXPECT_TRUE(ui().boxes.empty());
}

TEST_F(Service, dialog_takes_a_typed_code_or_name_and_refuses_what_it_cannot_take) {
  struct Case {
    const char* kind;
    const char* years;
    int result;
    int32_t code;
    int min_years;
    size_t error_boxes;
  };
  for (const Case& c : {Case{"4", "0", 1, 4, 0, 0}, Case{" Страховой стаж ", "12", 1, 64, 12, 0},
                        Case{"", "3", 1, 0, 3, 0}, Case{"5", "3", 0, -7, -7, 1}, Case{"Стаж", "3", 0, -7, -7, 1},
                        Case{"1", "1000", 0, -7, -7, 1}, Case{"1", "1a", 0, -7, -7, 1},
                        Case{"1", "-1", 0, -7, -7, 1}}) {
    SCOPED_TRACE(std::string(c.kind) + " / " + c.years);
    ui().boxes.clear();
    ui().form_answers.push_back({{{"EdStage", c.kind}, {"CSEStage", c.years}}, false, "bbtnOk"});
    const Settings s = settings();
    EXPECT_EQ(s.result, c.result);
    EXPECT_EQ(s.kind, c.code);
    EXPECT_EQ(s.years, c.min_years);
    EXPECT_EQ(ui().boxes.size(), c.error_boxes);
  }
  // Refused with someone there to answer: the dialog comes back with the entries kept.
  ui().boxes.clear();
  ui().form_answers.push_back({{{"EdStage", "Северный стаж"}, {"CSEStage", "x"}}, false, "bbtnOk"});
  ui().form_answers.push_back({{{"CSEStage", "7"}}, false, "bbtnOk"});
  const Settings s = settings();
  EXPECT_EQ(s.result, 1);
  EXPECT_EQ(s.kind, 8);
  EXPECT_EQ(s.years, 7);
  EXPECT_EQ(ui().boxes.size(), 1u);
}

TEST_F(Service, hrdoc030_prints_four_kinds_under_department_headings_in_tree_order) {
  ASSERT_EQ(run("HRDOC030", kD, 0), 0);
  const auto& s = result();
  EXPECT_EQ(s.text(1, 1), "Сведения о стаже работников АО \"Заря\" на 05.12.2026");
  EXPECT_TRUE(no_marks(s));
  // Kind 8 is left out; two records on one date print twice; a record without a kind of
  // position counts as a main job; 45 years of kind 8 are not printed at all.
  EXPECT_EQ(lines(s, kLines030, 7),
            (Lines{{"Бухгалтерия", "", "", "", "", "", ""},
                   {"1", "1105", "Дмитриева Анна Сергеевна", "0  0  0", "0  0  0", "0  0  0", "0  0  0"},
                   {"2", "1105", "Дмитриева Анна Сергеевна", "0  0  0", "0  0  0", "0  0  0", "0  0  0"},
                   {"3", "1112", "Лебедев Лев Львович", "0  0  0", "0  0  0", "0  0  0", "0  0  0"},
                   {"Цех № 1", "", "", "", "", "", ""},
                   {"4", "1101", "Андреев Андрей Андреевич", "26  11  4", "1  10  26", "2  4  11", "6  6  4"},
                   {"5", "1102", "Борисова Мария Петровна", "0  0  0", "0  0  0", "0  0  0", "0  0  0"},
                   {"Цех № 1, Участок", "", "", "", "", "", ""},
                   {"6", "1103", "Васильев Пётр Олегович", "0  0  0", "0  0  0", "0  0  0", "4  11  0"},
                   {"7", "1104", "Григорьев Олег Иванович", "0  0  0", "0  0  0", "0  0  0", "5  0  0"},
                   {"Цех № 1, Участок, Бригада", "", "", "", "", "", ""},
                   {"8", "1110", "Ильин Илья Ильич", "0  0  0", "0  0  0", "0  0  0", "10  3  4"},
                   {"9", "1111", "Кузнецова Ксения Андреевна", "0  0  0", "0  0  0", "0  0  0", "0  0  0"}}));
  ASSERT_EQ(ui().windows.size(), 1u);
  EXPECT_EQ(ui().windows[0].caption, "Сведения о стажах");
  EXPECT_EQ(ui().windows[0].max, 9);
  EXPECT_TRUE(ui().boxes.empty());
}

TEST_F(Service, hrdoc030_headings_follow_the_format_code_and_the_department_and_drop_the_time_of_day) {
  struct Case {
    int format, dept;
    Lines headings;
  };
  for (const Case& c : {Case{1, 0, {{"Бухгалтерия"}, {"Цех № 1"}, {"Участок"}, {"Участок, Бригада"}}},
                        Case{99, 10, {{"Цех № 1"}, {"Участок"}, {"Участок, Бригада"}}},
                        Case{99, 12, {{"Участок, Бригада"}}}}) {
    SCOPED_TRACE(std::to_string(c.format) + " " + std::to_string(c.dept));
    exec("update ZPKPV set K = " + std::to_string(c.format) + " where PR = 1");
    ui().documents.clear();
    // Late in the day: the context keeps the date alone.
    ASSERT_EQ(run("HRDOC030", kD + 0.75, c.dept), 0);
    EXPECT_EQ(ctx().D, kD);
    Lines headings;
    for (const auto& line : lines(result(), kLines030, 2))
      if (line[1].empty()) headings.push_back({line[0]});
    EXPECT_EQ(headings, c.headings);
  }
}

TEST_F(Service, hrdoc170_maps_every_kind_code_to_its_slot_and_any_other_code_prints_the_title_only) {
  struct Case {
    const char* kind;
    Lines andreev;  // the line of employee 101 (name, years, months, days); none: nothing printed
  };
  for (const Case& c : {Case{"1", {{"Андреев Андрей Андреевич", "26", "11", "4"}}},
                        Case{"2", {{"Андреев Андрей Андреевич", "1", "10", "26"}}},
                        Case{"4", {{"Андреев Андрей Андреевич", "2", "4", "11"}}},
                        Case{"8", {{"Андреев Андрей Андреевич", "3", "0", "0"}}},
                        Case{"16", {{"Андреев Андрей Андреевич", "6", "6", "4"}}},
                        Case{"32", {{"Андреев Андрей Андреевич", "7", "0", "0"}}},
                        Case{"64", {{"Андреев Андрей Андреевич", "9", "0", "0"}}}, Case{"", {}}}) {
    SCOPED_TRACE(c.kind);
    ui().documents.clear();
    ASSERT_EQ(run170(c.kind, 0), 0);
    const auto& s = result();
    Lines andreev;
    for (const auto& line : lines(s, kLines170, 6))
      if (line[1] == "1101") andreev.push_back({line[2], line[3], line[4], line[5]});
    EXPECT_EQ(andreev, c.andreev);
    EXPECT_EQ(s.last_row() >= kLines170, !c.andreev.empty());
  }
  // A code that is in the dictionary but is no kind of service ends the walk too.
  exec("insert into KDISTAG (TSTG, NSTG, KF) values (3, 'Прочий', 1)");
  ASSERT_EQ(run170("3", 0), 0);
  EXPECT_EQ(result().text(1, 1), "Сведения по типу стажа: Прочий");
  EXPECT_EQ(result().last_row(), kLines170 - 1);
}

TEST_F(Service, hrdoc170_keeps_whole_years_at_the_minimum_under_headings_of_printed_rows) {
  ASSERT_EQ(run170("16", 5), 0);
  const auto& s = result();
  EXPECT_EQ(s.text(1, 1), "Сведения по типу стажа: Стаж работы на предприятии");
  EXPECT_EQ(s.text(2, 1), "имеющих стаж не менее 5 лет  на 05.12.2026");
  EXPECT_EQ(s.text(3, 1), "подразделение АО \"Заря\"");
  EXPECT_TRUE(no_marks(s));
  // 4 years 11 months stay out; "Бухгалтерия" has nobody with five years and no heading.
  EXPECT_EQ(lines(s, kLines170, 6), (Lines{{"Цех № 1", "", "", "", "", ""},
                                           {"1", "1101", "Андреев Андрей Андреевич", "6", "6", "4"},
                                           {"Участок", "", "", "", "", ""},
                                           {"2", "1104", "Григорьев Олег Иванович", "5", "0", "0"},
                                           {"Участок: Бригада", "", "", "", "", ""},
                                           {"3", "1110", "Ильин Илья Ильич", "10", "3", "4"}}));
  EXPECT_EQ(s.value(kLines170 + 1, 4), hrdoc::sheet::Value::of(6.0));  // years are numbers
  ASSERT_EQ(ui().windows.size(), 1u);
  EXPECT_EQ(ui().windows[0].caption, "Сведения о стаже работников");
  EXPECT_EQ(ui().windows[0].max, 8);

  // A minimum of 0 lists everyone of the selection, those without service too; 45 years at 1.5
  // stay at the longest length a slot holds instead of turning negative.
  ASSERT_EQ(run170("8", 0, 20), 0);
  EXPECT_EQ(lines(result(), kLines170, 6), (Lines{{"Бухгалтерия", "", "", "", "", ""},
                                                  {"1", "1105", "Дмитриева Анна Сергеевна", "0", "0", "0"},
                                                  {"2", "1105", "Дмитриева Анна Сергеевна", "0", "0", "0"},
                                                  {"3", "1112", "Лебедев Лев Львович", "63", "11", "29"}}));
  EXPECT_EQ(result().text(3, 1), "подразделение АО \"Заря\", Заря, Бухгалтерия");
}

TEST_F(Service, hrdoc170_cancelled_settings_write_nothing) {
  ui().form_answers.push_back({});
  ASSERT_EQ(run("HRDOC170", kD, 0), 0);  // the settings dialog's default button cancels
  EXPECT_TRUE(ui().documents.empty());
  EXPECT_TRUE(ui().windows.empty());
  EXPECT_TRUE(ui().boxes.empty());
  ASSERT_EQ(ui().forms.size(), 2u);
  EXPECT_EQ(ui().forms[1].pressed, "bbtnCancel");
}

TEST_F(Service, hrdoc031_lists_the_months_payroll_by_name_whatever_the_department) {
  ASSERT_EQ(run("HRDOC031", encode_date(2026, 12, 1), 11), 0);
  const auto& s = result();
  EXPECT_EQ(s.text(1, 1), "Список работников АО \"Заря\", Заря, Цех № 1, Участок на 01.12.2026");
  EXPECT_TRUE(no_marks(s));
  // UW = 1 and the November account stay out.
  EXPECT_EQ(lines(s, kLines031, 2), (Lines{{"1", "Андреев Андрей Андреевич"},
                                           {"2", "Борисова Мария Петровна"},
                                           {"3", "Васильев Пётр Олегович"},
                                           {"4", "Дмитриева Анна Сергеевна"},
                                           {"5", "Ильин Илья Ильич"}}));
  // Payroll accounts are monthly: another day finds none, and the list still comes out.
  ASSERT_EQ(run("HRDOC031", kD, 0), 0);
  EXPECT_EQ(ui().documents.size(), 2u);
  EXPECT_EQ(result().last_row(), kLines031 - 1);
}

}  // namespace
