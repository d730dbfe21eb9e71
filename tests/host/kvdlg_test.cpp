#include <gtest/gtest.h>

#include "support/test_context.h"
#include "text/date.h"

namespace {

using hrdoc::text::date_text;
using hrdoc::text::encode_date;

class Kvdlg : public ::testing::Test {
 protected:
  void SetUp() override { t.ctx.set_dates(encode_date(2026, 12, 5), encode_date(2026, 12, 1), encode_date(2026, 12, 5)); }
  hrdoc::test::TestContext t;
};

TEST_F(Kvdlg, a_confirmed_dialog_leaves_the_choices_in_the_context) {
  t.ui.form_answers.push_back({{{"date", "31.01.2027"}, {"from", "01.01.2027"}, {"to", "2027-01-31"}, {"dept", "0"}}, false, {}});
  EXPECT_EQ(t.ctx.l_call("KVDLG", "USR", 1, 1, 0), 0);
  EXPECT_EQ(date_text(t.ctx.D), "31.01.2027");
  EXPECT_EQ(t.ctx.d_day, 31);
  EXPECT_EQ(t.ctx.d1_month, 1);
  EXPECT_EQ(t.ctx.d2_year, 2027);
  EXPECT_EQ(t.ctx.KP, 0);
  ASSERT_EQ(t.ui.forms.size(), 1u);
  EXPECT_EQ(t.ui.forms[0].find("depts"), nullptr);
}

TEST_F(Kvdlg, the_department_set_dialog_also_sets_the_set) {
  t.ui.form_answers.push_back({{{"depts", "12, 15"}}, false, {}});
  EXPECT_EQ(t.ctx.l_call("KVDLG", "USRSEW", 1, 0, 1), 0);
  EXPECT_EQ(t.ctx.kpsew_keys(), (std::vector<int>{12, 15}));
  EXPECT_EQ(t.ui.forms[0].find("from"), nullptr);  // no period asked
  t.ui.form_answers.push_back({{{"depts", ""}}, false, {}});
  EXPECT_EQ(t.ctx.l_call("KVDLG", "USRSEW", 1, 0, 1), 0);
  EXPECT_TRUE(t.ctx.kpsew_keys().empty());
}

TEST_F(Kvdlg, a_cancelled_dialog_or_bad_entries_change_nothing_and_answer_non_zero) {
  t.ui.form_answers.push_back({{{"date", "31.01.2027"}}, true, {}});
  EXPECT_NE(t.ctx.l_call("KVDLG", "USR", 1, 1, 0), 0);
  EXPECT_TRUE(t.ui.boxes.empty());
  // Bad entries are refused with a message.
  using Values = std::map<std::string, std::string>;
  for (auto values : {Values{{"date", "31.02.2027"}}, Values{{"from", "10.12.2026"}, {"to", "01.12.2026"}},
                      Values{{"dept", "abc"}}}) {
    t.ui.boxes.clear();
    t.ui.form_answers.push_back({values, false, {}});
    EXPECT_NE(t.ctx.l_call("KVDLG", "USR", 1, 1, 0), 0);
    ASSERT_EQ(t.ui.boxes.size(), 1u);
    EXPECT_EQ(t.ui.boxes[0].caption, "Ошибка");
  }
  EXPECT_EQ(date_text(t.ctx.D), "05.12.2026");
}

}  // namespace
