// Every statement text of the library runs against a database built from db/: a table or
// column that the schema lacks, or a typo in either, fails here.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>

#include "db/database.h"
#include "host/statements.h"
#include "support/test_database.h"
#include "suite/statement_file.h"

namespace {

using hrdoc::db::Error;
using hrdoc::db::Query;
using hrdoc::test::StatementEntry;

const std::vector<StatementEntry>& entries() { return hrdoc::test::all_statements(HRDOC_STATEMENTS); }

// Errors that only running with NULL parameters can cause (a NOT NULL key, a duplicate);
// anything else (unknown table -204, unknown column -206, syntax -104, types -804) is a fault.
bool runtime_only(const Error& e) { return e.sql_code() == -625 || e.sql_code() == -803 || e.sql_code() == -530; }

// Runs a statement with every parameter NULL inside a transaction that is rolled back.
void run_rolled_back(hrdoc::db::Connection& c, const std::string& sql) {
  hrdoc::db::Transaction t(c);
  Query q(c);
  q.sql(sql);
  std::string head = sql.substr(0, sql.find_first_of(" \n"));
  std::transform(head.begin(), head.end(), head.begin(), [](unsigned char ch) { return std::tolower(ch); });
  if (head == "select")
    q.open();
  else
    q.exec_sql();
}

class Statements : public ::testing::TestWithParam<StatementEntry> {
 protected:
  static void SetUpTestSuite() { db_ = new hrdoc::test::TestDatabase(); }
  static void TearDownTestSuite() { delete db_; }
  static hrdoc::test::TestDatabase* db_;
};
hrdoc::test::TestDatabase* Statements::db_ = nullptr;

TEST_P(Statements, runs_against_the_schema) {
  try {
    run_rolled_back(db_->connection(), GetParam().sql);
  } catch (const Error& e) {
    if (!runtime_only(e)) FAIL() << GetParam().label << ": SQL code " << e.sql_code() << "\n" << e.message();
  }
}

std::string test_name(const ::testing::TestParamInfo<StatementEntry>& info) {
  std::string name;
  for (unsigned char ch : info.param.label) name += std::isalnum(ch) ? static_cast<char>(ch) : '_';
  return std::to_string(info.index) + "_" + name;
}

INSTANTIATE_TEST_SUITE_P(All, Statements, ::testing::ValuesIn(entries()), test_name);

TEST(StatementFile, holds_one_labelled_statement_per_entry) {
  const auto& all = entries();
  ASSERT_GE(all.size(), 100u);
  std::set<std::string> labels;
  for (const auto& e : all) {
    EXPECT_TRUE(labels.insert(e.label).second) << "label twice: " << e.label;
    EXPECT_EQ(e.sql.find("\n-- "), std::string::npos) << e.label;
    EXPECT_FALSE(e.sql.empty()) << e.label;
  }
}

// The check itself: it tells schema faults apart and leaves no rows behind.
TEST(StatementCheck, reports_unknown_columns_and_tables_and_leaves_no_rows_behind) {
  hrdoc::test::TestDatabase db;
  for (auto [sql, code] : {std::pair{"select kpn.SNAMEX from otzkpn kpn where kpn.KP=:KP", -206},
                           std::pair{"select * from OTZKPNX where KP=:KP", -204}}) {
    try {
      run_rolled_back(db.connection(), sql);
      ADD_FAILURE() << "ran: " << sql;
    } catch (const Error& e) {
      EXPECT_EQ(e.sql_code(), code) << sql;
      EXPECT_FALSE(runtime_only(e)) << sql;
    }
  }
  for (const auto& e : entries())
    if (e.label.find("insert") != std::string::npos) try {
        run_rolled_back(db.connection(), e.sql);
      } catch (const Error&) {
      }
  Query q(db.connection());
  q.sql("select count(*) as N from SPCONST");
  q.open();
  EXPECT_EQ(q.field("N").as_int(), 0);
}

// The units' tables are what the check walks: the landed reports are in them, and a typo
// listed by a unit is caught.
TEST(StatementTables, hold_the_report_units_and_a_typo_in_one_fails_the_check) {
  std::set<std::string> units;
  for (const auto& s : hrdoc::registered_statements()) units.insert(s.unit);
  for (const char* unit : {"HRDOC091", "HRDOC092", "HRDOC340", "domain"}) EXPECT_TRUE(units.count(unit)) << unit;

  hrdoc::register_statements("TYPO", {{"qryGo", "select kpn.FNAME from otzkpn kpn where kpn.OWNERX=:OW"}});
  const auto& typo = hrdoc::registered_statements().back();
  ASSERT_EQ(typo.unit, "TYPO");
  hrdoc::test::TestDatabase db;
  try {
    run_rolled_back(db.connection(), typo.sql);
    ADD_FAILURE() << "ran: " << typo.sql;
  } catch (const Error& e) {
    EXPECT_EQ(e.sql_code(), -206);
  }
}

}  // namespace
