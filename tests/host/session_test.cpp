// The host's database session, seen from outside: the hrdoc executable and the parameter
// dialog of KVDLG on a real database.
#include <gtest/gtest.h>

#include <fstream>
#include <type_traits>

#include "host/compark.h"
#include "suite/hrdoc/session.h"
#include "support/host_run.h"
#include "support/test_context.h"
#include "support/test_database.h"

namespace {

// A copy would free the connection the context's data module points into twice.
static_assert(!std::is_copy_constructible_v<hrdoc::host::Session> && !std::is_copy_assignable_v<hrdoc::host::Session>);

using hrdoc::test::HostRun;
HostRun hrdoc(const std::string& args) { return hrdoc::test::run_hrdoc(args); }

size_t count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

class Session : public ::testing::Test {
 protected:
  hrdoc::test::TestDatabase db_;

  void SetUp() override {
    auto& c = db_.connection();
    c.execute("insert into OTZKPN (KP, OWNER, TN, SNAME, FNAME) values (30, 1, 0, 'Участок А', 'Участок А цеха 1')");
    c.execute("insert into OTZKPN (KP, OWNER, TN, SNAME, FNAME) values (100, 30, 1001, 'Иванов И.И.', 'Иванов Иван Иванович')");
    c.execute("insert into ZPPASP (P, N, INN) values (1, 'АО Ромашка', '7701234567')");
  }
};

TEST_F(Session, the_host_connects_and_runs_a_command) {
  db_.connection().execute(
      "insert into ZPCLIENTS (USR, DT, DT1, DT2, KP) values ('O''Brien', '2025-03-15', '2025-03-01', '2025-03-31', 30)");
  db_.close();
  HostRun r = hrdoc("run CTRLVERDLL --db '" + db_.path() + "' --user \"O'Brien\" --dept 100");
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_EQ(r.out, "61145\n");
}

TEST_F(Session, a_missing_foreign_or_held_database_gives_one_message_naming_it_and_exit_1) {
  const std::string missing = db_.path() + ".missing", junk = db_.path() + ".junk";
  std::ofstream(junk, std::ios::binary) << std::string(16384, 'x');
  // This process holds the test database itself.
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {missing, {missing, "No such file"}}, {junk, {"not a valid database"}}, {db_.path(), {"host:path"}}};
  for (const auto& [path, words] : cases) {
    HostRun r = hrdoc("run CTRLVERDLL --db '" + path + "'");
    EXPECT_EQ(r.code, 1) << path;
    EXPECT_EQ(count(r.out, "Ошибка"), 1u) << r.out;
    for (const auto& w : words) EXPECT_NE(r.out.find(w), std::string::npos) << r.out;
  }
  std::remove(junk.c_str());
  db_.close();
  HostRun r = hrdoc("run CTRLVERDLL --db '" + db_.path() + "' --dept 999");
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.out.find("999"), std::string::npos) << r.out;
}

TEST_F(Session, the_parameter_dialog_reads_the_department_from_the_database) {
  hrdoc::test::TestContext t(db_.connection());
  std::snprintf(t.ctx.lib_dir, sizeof t.ctx.lib_dir, "%s/", HRDOC_BIN_DIR);
  t.ui.form_answers.push_back({{{"dept", "100"}}, false, {}});
  EXPECT_EQ(t.ctx.l_call("KVDLG", "USR", 1, 0, 0), 0);
  EXPECT_EQ(t.ctx.KP, 100);
  EXPECT_EQ(t.ctx.TN, 1001);
  EXPECT_EQ(t.ctx.department_name(), "Иванов И.И.");

  t.ui.form_answers.push_back({{{"dept", "999"}}, false, {}});
  EXPECT_NE(t.ctx.l_call("KVDLG", "USR", 1, 0, 0), 0);
  ASSERT_EQ(t.ui.boxes.size(), 1u);
  EXPECT_NE(t.ui.boxes[0].text.find("999"), std::string::npos);
  EXPECT_EQ(t.ctx.KP, 100);
}

}  // namespace
