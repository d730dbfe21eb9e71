// "HRDOC350" through main_dll on the education fixture database, with its workplaces chosen in
// KWDLG or typed; the counts and lists are read back from the form.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reports/statistics/education_fixture.h"

namespace {

using hrdoc::test::kD;
using hrdoc::test::kOkpo;
using hrdoc::test::kPeriodStart;

// The counts stand in column 3 of rows 10 .. 20, list i in row 22 + 2i.
constexpr int kFirstCount = 10;
int list_row(int i) { return 22 + 2 * i; }

class Hrdoc350 : public hrdoc::test::EducationFixture {
 protected:
  std::vector<std::string> counts() {
    std::vector<std::string> out;
    const auto& s = result();
    // A field left unfilled holds the one blank the template keeps there.
    for (int i = 0; i < 11; ++i) out.push_back(hrdoc::text::trim(s.text(kFirstCount + i, 3)));
    return out;
  }
  // Presses "..." in the window; KWDLG's list gets the workplaces of these rows ticked.
  void choose_in_kwdlg(std::vector<long long> rows) {
    ui().on_form = [rows](hrdoc::ui::Form& form) {
      if (form.name == "Tfmhrd350") {
        hrdoc::ui::Field* eMst = form.find("eMst");
        eMst->lookup(*eMst, form);
      } else if (form.name == "KWDLG190L") {
        form.fields[0].tick_keys(rows);
      }
    };
  }
};

TEST_F(Hrdoc350, counts_and_lists_the_eleven_groups_of_one_enterprise_code) {
  ASSERT_EQ(run_350(kOkpo), 0);
  EXPECT_EQ(counts(), (std::vector<std::string>{"2", "1", "1", "4", "1", "1", "1", "6", "1", "1", "1"}));
  const auto& s = result();
  EXPECT_EQ(s.text(6, 1), " c 01.01.2026 по 05.12.2026");  // typed code: no workplace names
  // Two periods at the chosen code: listed twice. The transferee to the branch is not hired here.
  EXPECT_EQ(s.text(list_row(1), 1), "Андреев Андрей Андреевич TN=1101;Андреев Андрей Андреевич TN=1101;");
  EXPECT_EQ(s.text(list_row(2), 1), "Борисова Мария Петровна TN=1102;");
  EXPECT_EQ(s.text(list_row(3), 1), "Григорьева Ольга Ивановна TN=1104;");
  // Grounds in any case: agreement of the parties; agreement + reduction of the staff number
  // without "сторон"; the employee's initiative; a ground of no pair stays in group 4 only.
  EXPECT_EQ(s.text(list_row(5), 1), "Никитин Никита TN=1113;");
  EXPECT_EQ(s.text(list_row(6), 1), "Зайцев Сергей Павлович TN=1108;");
  EXPECT_EQ(s.text(list_row(7), 1), "Ильин Илья Ильич TN=1109;");
  EXPECT_NE(s.text(list_row(4), 1).find("Миронов Марк TN=1112;"), std::string::npos);
  EXPECT_EQ(s.text(list_row(9), 1), "Лебедева Лариса Николаевна TN=1111;");
  // Maternity and child-care leave: women only.
  EXPECT_EQ(s.text(list_row(10), 1), "Григорьева Ольга Ивановна TN=1104;");
  EXPECT_EQ(s.text(list_row(11), 1), "Лебедева Лариса Николаевна TN=1111;");
  EXPECT_TRUE(ui().boxes.empty());
  ASSERT_EQ(ui().windows.size(), 1u);
  EXPECT_EQ(ui().windows[0].caption, "Сведения о неполной занятости и движении работников");
}

TEST_F(Hrdoc350, an_unknown_or_empty_code_writes_zeros_and_empty_lists) {
  for (const std::string code : {"99999999", ""}) {
    ASSERT_EQ(run_350(code), 0) << code;
    EXPECT_EQ(counts(), std::vector<std::string>(11, "0")) << code;
    for (int i = 1; i <= 11; ++i) EXPECT_EQ(result().text(list_row(i), 1), "") << code << " list " << i;
  }
  EXPECT_TRUE(ui().boxes.empty());
}

TEST_F(Hrdoc350, the_department_set_narrows_every_group) {
  ctx().replace_kpsew({11});
  ASSERT_EQ(run_350(kOkpo), 0);
  // Участок: Лебедева (seasonal, child-care leave) and the two dismissed.
  EXPECT_EQ(counts(), (std::vector<std::string>{"0", "0", "0", "2", "1", "0", "0", "1", "1", "0", "1"}));
}

TEST_F(Hrdoc350, workplaces_chosen_in_kwdlg_give_the_code_and_the_heading) {
  choose_in_kwdlg({0, 1});  // Площадка and Сезонные работы, both of 05754312
  ui().form_answers = {{}, {}, {}};  // parameters, KWDLG's list, the window's "Сформировать"
  ASSERT_EQ(run("HRDOC350", kD, 0, kPeriodStart, kD), 0);
  EXPECT_EQ(result().text(6, 1), "Площадка, Сезонные работы c 01.01.2026 по 05.12.2026");
  EXPECT_EQ(counts()[7], "6");
  const auto& list = ui().forms.at(1);
  ASSERT_EQ(list.name, "KWDLG190L");
  EXPECT_EQ(list.fields[0].cells.size(), 3u);
  EXPECT_TRUE(ui().boxes.empty());
}

TEST_F(Hrdoc350, kwdlg_refuses_workplaces_of_two_codes) {
  choose_in_kwdlg({0, 2});  // Площадка and Филиал
  hrdoc::ui::ScriptedUi::FormAnswer cancel;
  cancel.cancel = true;
  ui().form_answers = {{}, {}, cancel, cancel};
  ASSERT_EQ(run("HRDOC350", kD, 0, kPeriodStart, kD), 0);
  ASSERT_EQ(ui().boxes.size(), 1u);
  EXPECT_NE(ui().boxes[0].text.find("разными кодами ОКПО"), std::string::npos) << ui().boxes[0].text;
  EXPECT_TRUE(ui().documents.empty());
}

TEST_F(Hrdoc350, a_failing_statement_is_shown_and_the_groups_so_far_are_kept) {
  exec("drop table ZPKPR");
  ASSERT_EQ(run_350(kOkpo), 0);
  ASSERT_EQ(ui().boxes.size(), 1u);
  EXPECT_EQ(ui().boxes[0].caption, "Ошибка");
  EXPECT_NE(ui().boxes[0].text.find("ZPKPR"), std::string::npos) << ui().boxes[0].text;
  EXPECT_EQ(counts()[8], "1");  // group 9 was written before
  EXPECT_EQ(counts()[9], "");
}

}  // namespace
