#include <gtest/gtest.h>

#include "host/kvdlg_lookup.h"
#include "support/test_context.h"
#include "support/test_database.h"
#include "text/date.h"

namespace {

using hrdoc::text::date_text;
using hrdoc::text::encode_date;
using hrdoc::kvdlg::LookupEntry;
using hrdoc::kvdlg::LookupFilter;
using hrdoc::kvdlg::LookupReply;
using hrdoc::kvdlg::LookupValue;

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
  t.ui.form_answers.push_back({{{"depts", "12, 15"}, {"from", "02.11.2026"}}, false, {}});
  EXPECT_EQ(t.ctx.l_call("KVDLG", "USRSEW", 1, 0, 1), 0);
  EXPECT_EQ(t.ctx.kpsew_keys(), (std::vector<int>{12, 15}));
  EXPECT_EQ(date_text(t.ctx.D1), "02.11.2026");  // the period is offered whatever the flags
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

// The dictionary look-ups over tables of a real database.
class Dictionary : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    db_ = new hrdoc::test::TestDatabase();
    db_->connection().execute_script(
        "insert into KDISTAG values (1, 'Общий', 1);"
        "insert into KDISTAG values (2, 'Непрерывный', 1);"
        "insert into KDISTAG values (3, 'Педагогический', 1.5);"
        "insert into KDIIRWK values (0, 'Не указан');"
        "insert into KDIIRWK values (2, 'Советский РВК');"
        "insert into KDIIRWK values (1, 'Ленинский РВК');"
        "insert into KDIIRWK values (3, null);");
  }
  static void TearDownTestSuite() {
    delete db_;
    db_ = nullptr;
  }

  // The kind look-up of the service-length settings.
  int kinds(LookupEntry& key, LookupEntry (&results)[3]) {
    return t.ctx.l_call("KVDLG", "SPRANYEX", "Типы стажей", "KDISTAG", "TSTG;",
                        "TSTG,Код;NSTG,Наименование;KF,Коэффициент,,0;", &key, 1, results, 3, &reply);
  }
  // The commissariat look-up of the military settings.
  int commissariats(int64_t code, LookupEntry (&results)[2], const char* filter = "KRWK>0") {
    LookupEntry key("KRWK", code);
    LookupFilter block(filter);
    return t.ctx.l_call("KVDLG", "SPRANYEX2", "Военкоматы", "KDIIRWK", "KRWK;", "KRWK,Код,,1;NRWK,Наименование;",
                        &key, 1, results, 2, &block, &reply);
  }

  static hrdoc::test::TestDatabase* db_;
  hrdoc::test::TestContext t{db_->connection()};
  LookupReply reply;
};
hrdoc::test::TestDatabase* Dictionary::db_ = nullptr;

TEST_F(Dictionary, chosen_row_fills_the_results_hidden_columns_stay_out_and_the_current_key_is_marked) {
  LookupEntry key("TSTG", 2);
  LookupEntry results[3] = {LookupEntry("TSTG"), LookupEntry("KF"), LookupEntry("NSTG")};
  t.ui.choices = {2};
  ASSERT_EQ(kinds(key, results), 0);
  EXPECT_EQ(results[0].value.as_int(), 3);
  EXPECT_EQ(results[0].value.kind, LookupValue::integer);
  EXPECT_DOUBLE_EQ(results[1].value.f, 1.5);
  EXPECT_EQ(results[2].value.as_text(), "Педагогический");
  ASSERT_EQ(t.ui.row_lists.size(), 1u);
  const auto& list = t.ui.row_lists[0];
  EXPECT_EQ(list.caption, "Типы стажей");
  EXPECT_EQ(list.table.columns, (std::vector<std::string>{"Код", "Наименование"}));
  EXPECT_EQ(list.table.rows.at(1), (std::vector<std::string>{"2", "Непрерывный"}));
  EXPECT_EQ(list.current, 1);

  // Cancelled: the earlier choice stays.
  t.ui.choices = {-1};
  EXPECT_NE(kinds(key, results), 0);
  EXPECT_EQ(results[0].value.as_int(), 3);
  EXPECT_EQ(results[2].value.as_text(), "Педагогический");
  EXPECT_EQ(t.ui.error_boxes(), 0);
}

TEST_F(Dictionary, filtered_lookup_hides_rows_and_a_given_code_picks_its_row_without_asking) {
  struct Case {
    int64_t code;
    const char* filter;
    int choice;           // in the list shown; -2: no list expected
    int answer;           // 0 chosen, 1 none, -1 error
    int64_t krwk;         // returned code
    const char* nrwk;     // returned name
    size_t rows;          // rows listed
  };
  for (const Case& c : {Case{0, "KRWK>0", 0, 0, 1, "Ленинский РВК", 3}, Case{0, "KRWK>0", 2, 0, 3, "", 3},
                        Case{0, "", 0, 0, 0, "Не указан", 4}, Case{0, "KRWK>0", -1, 1, 77, "прежний", 3},
                        Case{2, "KRWK>0", -2, 0, 2, "Советский РВК", 0}, Case{0, "KRWK>", -2, -1, 77, "прежний", 0},
                        Case{7, "KRWK>0", -2, -1, 77, "прежний", 0}}) {
    SCOPED_TRACE(std::to_string(c.code) + " " + c.filter + " " + std::to_string(c.choice));
    t.ui.row_lists.clear();
    t.ui.boxes.clear();
    LookupEntry results[2] = {LookupEntry("KRWK", 77), LookupEntry("NRWK")};
    results[1].value.set_text("прежний");
    if (c.choice != -2) t.ui.choices = {c.choice};
    EXPECT_EQ(commissariats(c.code, results, c.filter), c.answer);
    EXPECT_EQ(results[0].value.as_int(), c.krwk);
    EXPECT_EQ(results[1].value.as_text(), c.nrwk);
    EXPECT_EQ(t.ui.row_lists.size(), c.choice == -2 ? 0u : 1u);
    if (!t.ui.row_lists.empty()) {
      EXPECT_EQ(t.ui.row_lists[0].table.rows.size(), c.rows);
    }
    EXPECT_EQ(t.ui.boxes.size(), c.answer == -1 ? 1u : 0u);
    EXPECT_EQ(reply.answer, c.answer);
  }
}

TEST_F(Dictionary, a_typed_code_or_shown_name_picks_its_row_without_a_list) {
  struct Case {
    const char* typed;
    int answer;
    int64_t tstg;  // returned code; 9 when the results are left as they were
  };
  // A hidden column is not matched: 1.5 is only the coefficient.
  for (const Case& c : {Case{"2", 0, 2}, Case{" Педагогический ", 0, 3}, Case{"Общий", 0, 1},
                        Case{"1.5", -1, 9}, Case{"Стаж", -1, 9}}) {
    SCOPED_TRACE(c.typed);
    t.ui.boxes.clear();
    LookupEntry key("TSTG", 0);
    LookupEntry results[3] = {LookupEntry("TSTG", 9), LookupEntry("KF"), LookupEntry("NSTG")};
    reply = LookupReply(c.typed);
    EXPECT_EQ(kinds(key, results), c.answer);
    EXPECT_EQ(results[0].value.as_int(), c.tstg);
    EXPECT_TRUE(t.ui.row_lists.empty());
    EXPECT_EQ(t.ui.boxes.size(), c.answer == 0 ? 0u : 1u);
  }
}

TEST_F(Dictionary, names_that_are_not_plain_identifiers_are_refused) {
  LookupEntry key("TSTG", 0);
  LookupEntry results[1] = {LookupEntry("TSTG")};
  for (const char* table : {"KDISTAG; delete from KDISTAG", "", "NO_SUCH_TABLE"}) {
    t.ui.boxes.clear();
    EXPECT_EQ(t.ctx.l_call("KVDLG", "SPRANYEX", "Типы", table, "TSTG;", "TSTG,Код;", &key, 1, results, 1, &reply), -1)
        << table;
    EXPECT_EQ(t.ui.boxes.size(), 1u) << table;
  }
  EXPECT_NE(std::string(reply.message).find("NO_SUCH_TABLE"), std::string::npos) << reply.message;
}

}  // namespace
