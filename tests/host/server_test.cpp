// Many clerks, one database: reports through a Firebird server while others write, many runs of
// the host at once, and the faults of a network path (stopped server, wrong password, unknown
// host, a server that stops answering).
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <random>
#include <sstream>
#include <thread>
#include <vector>

#include "db/database.h"
#include "host/commands.h"
#include "sheet/book.h"
#include "support/host_run.h"
#include "support/test_context.h"
#include "support/test_database.h"
#include "support/work_dir.h"

namespace {

namespace fs = std::filesystem;
using hrdoc::test::run_hrdoc;

const std::string kFbserver = std::string(HRDOC_SOURCE_DIR) + "scripts/fbserver";

std::string quoted(const std::string& s) { return "'" + s + "'"; }

// The .xlsx files of a folder.
std::vector<fs::path> books_in(const fs::path& dir) {
  std::vector<fs::path> found;
  if (!fs::exists(dir)) return found;
  for (const auto& e : fs::directory_iterator(dir))
    if (e.path().extension() == ".xlsx") found.push_back(e.path());
  return found;
}

// The names of a folder's files, for messages.
std::string listing(const fs::path& dir) {
  std::string s;
  if (!fs::exists(dir)) return s;
  for (const auto& e : fs::directory_iterator(dir)) s += e.path().filename().string() + "\n";
  return s;
}

// Every file of a folder, whatever it is.
std::vector<fs::path> files_in(const fs::path& dir) {
  std::vector<fs::path> found;
  for (const auto& e : fs::directory_iterator(dir)) found.push_back(e.path());
  return found;
}

// The text of every cell of every sheet, sheet by sheet, row by row.
std::vector<std::string> cells_of(const fs::path& book_path) {
  hrdoc::sheet::Book book(book_path.string());
  std::vector<std::string> out;
  for (int s = 1; s <= book.sheet_count(); ++s) {
    auto& sheet = book.sheet(s);
    for (int r = 1; r <= sheet.last_row(); ++r)
      for (int c = 1; c <= sheet.last_column(); ++c) {
        std::string t = sheet.text(r, c);
        if (!t.empty()) out.push_back(std::to_string(s) + "!" + std::to_string(r) + ":" + std::to_string(c) + "=" + t);
      }
  }
  return out;
}

// The demo database on the test server, built once for the binary; tests work on copies.
class ServerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!hrdoc::test::server_unavailable().empty() || hrdoc::test::server_prefix().empty()) return;
    dir_ = new hrdoc::test::WorkDir("server");
    demo_ = new fs::path(dir_->path() / "demo.fdb");
    // Built in-process (row by row over the network takes minutes), then served.
    auto r = run_hrdoc("demo --quiet --db " + quoted(demo_->string()) + " --employees 3000 --today 15.06.2026");
    ASSERT_EQ(r.code, 0) << r.out;
  }
  static void TearDownTestSuite() {
    delete demo_;
    delete dir_;
    demo_ = nullptr;
    dir_ = nullptr;
  }
  void SetUp() override {
    if (hrdoc::test::server_prefix().empty()) GTEST_SKIP() << "runs through the test server only";
    ASSERT_TRUE(demo_ && fs::exists(*demo_));
  }
  // A copy of the demo database that only this test uses.
  fs::path copy(const std::string& name) {
    fs::path p = work_.path() / (name + ".fdb");
    fs::copy_file(*demo_, p, fs::copy_options::overwrite_existing);
    return p;
  }
  static std::string served(const fs::path& file) { return hrdoc::test::server_prefix() + file.string(); }

  static hrdoc::test::WorkDir* dir_;
  static fs::path* demo_;
  hrdoc::test::WorkDir work_{"srv"};
};
hrdoc::test::WorkDir* ServerTest::dir_ = nullptr;
fs::path* ServerTest::demo_ = nullptr;

// Runs HRDOC340 in this process on a context wired to `connection`; returns the book's path.
// `meanwhile` runs while the report's dialog is up, after the command has begun.
std::string run_340(hrdoc::db::Connection& connection, const fs::path& out,
                    const std::function<void()>& meanwhile = {}) {
  hrdoc::test::TestContext t(connection);
  if (meanwhile) t.ui.on_form = [&](hrdoc::ui::Form&) { meanwhile(); };
  t.ctx.ext().work_dir = out.string() + "/";
  t.ui.form_answers.push_back({{{"date", "15.06.2026"}, {"dept", "1"}, {"depts", ""}}, false, {}});
  std::string self = t.ctx.ext().host_path, cmd = "HRDOC340";
  int value = 0;
  void* argv[3] = {self.data(), cmd.data(), &value};
  EXPECT_EQ(main_dll(&t.ctx, 3, argv), 0);
  EXPECT_EQ(t.ui.documents.size(), 1u) << "boxes: " << t.ui.boxes.size();
  return t.ui.documents.empty() ? std::string() : t.ui.documents.back();
}

TEST_F(ServerTest, a_report_reads_one_state_while_another_clerk_moves_employees) {
  fs::path db = copy("moves");
  auto report_conn = hrdoc::db::Connection::open(served(db));
  auto writer_conn = hrdoc::db::Connection::open(served(db));

  std::vector<int64_t> records, kats, owners;
  {
    hrdoc::db::Connection::Rows rows;
    writer_conn->run("select UNSD from KDT2IIIDVG", {}, &rows);
    for (auto& r : rows.data) records.push_back(std::get<int64_t>(r[0]));
    writer_conn->run("select distinct KAT from KDT2IIIDVG where KAT is not null", {}, &rows);
    for (auto& r : rows.data) kats.push_back(std::get<int64_t>(r[0]));
    writer_conn->run("select distinct OWNER from KDT2IIIDVG where OWNER is not null", {}, &rows);
    for (auto& r : rows.data) owners.push_back(std::get<int64_t>(r[0]));
  }
  ASSERT_GT(records.size(), 100u);
  ASSERT_GT(kats.size(), 1u);
  ASSERT_GT(owners.size(), 1u);

  std::atomic<bool> stop{false};
  std::atomic<int> commits{0};
  std::thread writer([&] {
    std::mt19937 rng(7);
    while (!stop) {
      // One employee to another department and category, committed at once.
      writer_conn->run("update KDT2IIIDVG set KAT = ?, OWNER = ? where UNSD = ?",
                       {kats[rng() % kats.size()], owners[rng() % owners.size()], records[rng() % records.size()]},
                       nullptr);
      ++commits;
    }
  });

  // Employees per category and department, as "KAT/OWNER=N" lines.
  auto counts = [](hrdoc::db::Connection& c) {
    hrdoc::db::Query q(c);
    q.sql("select KAT, OWNER, count(*) as N from KDT2IIIDVG group by KAT, OWNER order by KAT, OWNER");
    q.open();
    std::vector<std::string> out;
    for (; !q.eof(); q.next())
      out.push_back(q.field("KAT").as_string() + "/" + q.field("OWNER").as_string() + "=" + q.field("N").as_string());
    return out;
  };
  std::vector<std::string> seen_in_snapshot, seen_now;
  std::string first, second;
  int commits_during = 0;
  {
    // The test holds the snapshot the report starts on, so that it can read that state again.
    hrdoc::db::Snapshot snapshot(*report_conn);
    const int before = commits;
    first = run_340(*report_conn, work_.path());
    second = run_340(*report_conn, work_.path());
    commits_during = commits - before;
    seen_in_snapshot = counts(*report_conn);
  }
  stop = true;
  writer.join();
  seen_now = counts(*report_conn);

  ASSERT_FALSE(first.empty());
  ASSERT_FALSE(second.empty());
  EXPECT_NE(first, second);
  // The writer had time to change what the report counts.
  EXPECT_GT(commits_during, 20);
  EXPECT_NE(seen_in_snapshot, seen_now);
  // Both runs read the same state: every sheet, every cell the same.
  EXPECT_EQ(cells_of(first), cells_of(second));
}

TEST_F(ServerTest, a_report_does_not_see_what_another_clerk_commits_after_it_began) {
  fs::path db = copy("commit");
  auto report_conn = hrdoc::db::Connection::open(served(db));
  auto other = hrdoc::db::Connection::open(served(db));
  hrdoc::db::Connection::Rows lowest;
  other->run("select min(KAT) from KDT2IIIDVG", {}, &lowest);
  ASSERT_EQ(lowest.data.size(), 1u);
  const hrdoc::db::Value kat = lowest.data[0][0];
  const auto before = cells_of(run_340(*report_conn, work_.path()));
  // Every employee into one category, committed while the report's dialog is up.
  const auto during = cells_of(run_340(*report_conn, work_.path(), [&] {
    EXPECT_TRUE(report_conn->in_snapshot());
    EXPECT_GT(other->run("update KDT2IIIDVG set KAT = ? where KAT <> ?", {kat, kat}, nullptr), 100);
  }));
  EXPECT_FALSE(report_conn->in_snapshot());
  const auto after = cells_of(run_340(*report_conn, work_.path()));
  EXPECT_EQ(during, before);
  EXPECT_NE(after, before);
}

TEST_F(ServerTest, a_snapshot_sees_nothing_committed_after_it_began_and_lets_writes_through) {
  fs::path db = copy("snap");
  auto reader = hrdoc::db::Connection::open(served(db));
  auto other = hrdoc::db::Connection::open(served(db));
  auto count = [](hrdoc::db::Connection& c) {
    hrdoc::db::Query q(c);
    q.sql("select count(*) as N from OTZKPN where KP >= 900000");
    q.open();
    return q.field("N").as_int();
  };
  {
    hrdoc::db::Snapshot s(*reader);
    EXPECT_TRUE(reader->in_snapshot());
    other->execute("insert into OTZKPN (KP, OWNER, TN, SNAME, FNAME) values (900001, 0, 0, 'X', 'X')");
    EXPECT_EQ(count(*reader), 0);
    {
      hrdoc::db::Snapshot nested(*reader);
      EXPECT_EQ(count(*reader), 0);
    }
    EXPECT_TRUE(reader->in_snapshot());
    // A write inside the snapshot commits by itself; the snapshot still reads the old state.
    reader->execute("insert into OTZKPN (KP, OWNER, TN, SNAME, FNAME) values (900002, 0, 0, 'Y', 'Y')");
    EXPECT_EQ(count(*other), 2);
    EXPECT_EQ(count(*reader), 0);
  }
  EXPECT_FALSE(reader->in_snapshot());
  EXPECT_EQ(count(*reader), 2);
}

// Eight clerks start eight reports at once, each into a folder of their own.
std::vector<hrdoc::test::HostRun> eight_at_once(const std::string& database, const fs::path& out) {
  const std::vector<std::string> reports = {
      "HRDOC340 --date 15.06.2026 --dept 1",
      "HRDOC091 --date 01.07.2026",
      "HRDOC092 --from 01.01.2026 --to 31.12.2026 --answer 'Тип выборки=no' --answer 'Тип сортировки=yes'",
      "HRDOC340 --date 31.05.2026 --dept 1",
      "HRDOC091 --date 01.08.2026",
      "HRDOC340 --date 15.06.2026 --dept 1",
      "HRDOC092 --from 01.01.2026 --to 31.12.2026 --answer 'Тип выборки=no' --answer 'Тип сортировки=no'",
      "HRDOC091 --date 01.07.2026",
  };
  std::vector<std::future<hrdoc::test::HostRun>> runs;
  for (size_t i = 0; i < reports.size(); ++i)
    runs.push_back(std::async(std::launch::async, [&, i] {
      return run_hrdoc("run " + reports[i] + " --quiet --db " + quoted(database) + " --out " +
                       quoted((out / std::to_string(i)).string()));
    }));
  std::vector<hrdoc::test::HostRun> results;
  for (auto& f : runs) results.push_back(f.get());
  return results;
}

// The books a run printed, each a complete workbook the engine reads; none half-written.
std::vector<std::string> printed_books(const hrdoc::test::HostRun& r) {
  std::vector<std::string> books;
  std::istringstream lines(r.out);
  for (std::string line; std::getline(lines, line);)
    if (line.size() > 5 && line.compare(line.size() - 5, 5, ".xlsx") == 0 && line[0] == '/') books.push_back(line);
  for (const auto& b : books) EXPECT_NO_THROW(hrdoc::sheet::Book{b}) << b;
  return books;
}

TEST_F(ServerTest, eight_reports_at_once_through_the_server_each_write_a_complete_book) {
  fs::path db = copy("eight");
  fs::path out = work_.path() / "out";
  auto results = eight_at_once(served(db), out);
  for (size_t i = 0; i < results.size(); ++i) {
    SCOPED_TRACE("run " + std::to_string(i));
    EXPECT_EQ(results[i].code, 0) << results[i].out;
    EXPECT_EQ(printed_books(results[i]).size(), 1u) << results[i].out;
    EXPECT_EQ(books_in(out / std::to_string(i)).size(), 1u) << listing(out / std::to_string(i));
  }
}

TEST_F(ServerTest, eight_reports_at_once_on_an_embedded_file_run_one_and_tell_the_others_why) {
  fs::path db = copy("embedded");
  fs::path out = work_.path() / "out";
  auto results = eight_at_once(db.string(), out);
  int ran = 0;
  for (size_t i = 0; i < results.size(); ++i) {
    SCOPED_TRACE("run " + std::to_string(i));
    const auto& r = results[i];
    const size_t books = books_in(out / std::to_string(i)).size();
    if (r.code == 0) {
      ++ran;
      EXPECT_EQ(printed_books(r).size(), 1u) << r.out;
      EXPECT_EQ(books, 1u);
      continue;
    }
    EXPECT_EQ(r.code, 1) << r.out;
    EXPECT_NE(r.out.find("только в одном процессе"), std::string::npos) << r.out;
    EXPECT_EQ(books, 0u) << listing(out / std::to_string(i));
  }
  EXPECT_GE(ran, 1);
  EXPECT_LT(ran, 8) << "the runs did not overlap";
}

// A server of the test's own, to stop, freeze and mistreat.
class OwnServer {
 public:
  explicit OwnServer(const fs::path& dir) : dir_(dir) {
    int rc = std::system((kFbserver + " start " + quoted(dir.string()) + " >/dev/null 2>&1").c_str());
    EXPECT_EQ(rc, 0);
    info_ = hrdoc::test::read_server_info((dir / "env").string());
  }
  ~OwnServer() {
    if (info_.pid > 0) ::kill(info_.pid, SIGCONT);
    std::system((kFbserver + " stop " + quoted(dir_.string()) + " >/dev/null 2>&1").c_str());
  }
  const hrdoc::test::ServerInfo& info() const { return info_; }
  void freeze() { ::kill(info_.pid, SIGSTOP); }
  void thaw() { ::kill(info_.pid, SIGCONT); }
  void crash() { ::kill(info_.pid, SIGKILL); }

 private:
  fs::path dir_;
  hrdoc::test::ServerInfo info_;
};

// Runs a shell command line; stderr folded into the output.
hrdoc::test::HostRun sh(const std::string& cmd) {
  hrdoc::test::HostRun r;
  FILE* p = popen((cmd + " 2>&1 </dev/null").c_str(), "r");
  if (!p) return r;
  char buf[4096];
  for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) r.out.append(buf, n);
  int status = pclose(p);
  r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

// How many error boxes the host showed.
int error_lines(const std::string& out) {
  int n = 0;
  for (size_t at = out.find("[error]"); at != std::string::npos; at = out.find("[error]", at + 1)) ++n;
  return n;
}

// The host with a server's credentials in Firebird's environment.
std::string hrdoc_as(const std::string& user, const std::string& password) {
  return "env ISC_USER=" + user + " ISC_PASSWORD=" + quoted(password) + " " + HRDOC_BIN_DIR + "hrdoc ";
}

class ServerFaults : public ServerTest {
 protected:
  void SetUp() override {
    ServerTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    // Under the test server's folder, whose clean-up stops it should this test crash.
    const char* file = std::getenv("HRDOC_TEST_SERVER_FILE");
    fs::path base = file && *file ? fs::path(file).parent_path() / "own" : work_.path();
    server_ = std::make_unique<OwnServer>(base / ::testing::UnitTest::GetInstance()->current_test_info()->name());
    ASSERT_TRUE(server_->info().skip.empty()) << server_->info().skip;
    db_ = copy("faults");
  }
  void TearDown() override { server_.reset(); }
  const hrdoc::test::ServerInfo& s() const { return server_->info(); }
  std::string report(const std::string& database, const std::string& more = "") const {
    return "run HRDOC340 --quiet --date 15.06.2026 --dept 1 --db " + quoted(database) + " --out " +
           quoted(out_.string()) + more;
  }
  // No document in the output folder that looks finished: the hidden work folder, and at most
  // a book named as incomplete.
  void expect_no_finished_book() const {
    if (!fs::exists(out_)) return;
    for (const auto& f : files_in(out_)) {
      const std::string name = f.filename().string();
      if (name != ".hrdoc" && name.find("_неполный") == std::string::npos) ADD_FAILURE() << "left in the output folder: " << f;
    }
  }

  // Waits until the report has opened its work copy, that is, it has connected and is under way.
  bool report_under_way() const {
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < until) {
      // Work copies are made in the hidden work folder.
      if (!books_in(out_ / ".hrdoc").empty()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return false;
  }

  std::unique_ptr<OwnServer> server_;
  fs::path db_;
  fs::path out_ = work_.path() / "out";
};

TEST_F(ServerFaults, a_refused_login_an_unknown_host_and_a_closed_port_each_give_one_line) {
  struct Case {
    std::string name, user, password, database, expected;
  };
  const std::vector<Case> cases = {
      {"wrong password", "SYSDBA", "not-" + s().password, s().prefix() + db_.string(),
       "неверное имя пользователя или пароль (пользователь SYSDBA)"},
      {"unknown user", "NOBODY", s().password, s().prefix() + db_.string(),
       "неверное имя пользователя или пароль (пользователь NOBODY)"},
      {"unknown host", "SYSDBA", s().password, "no-such-host.invalid/" + s().port + ":" + db_.string(),
       "не найден: имя узла \"no-such-host.invalid\""},
      {"nothing at the port", "SYSDBA", s().password, "127.0.0.1/1:" + db_.string(), "не отвечает на порту 1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto r = sh(hrdoc_as(c.user, c.password) + report(c.database));
    EXPECT_EQ(r.code, 1) << r.out;
    EXPECT_NE(r.out.find(c.expected), std::string::npos) << r.out;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1) << r.out;
    EXPECT_EQ(r.out.find(s().password), std::string::npos) << "the password was printed";
  }
  expect_no_finished_book();
}

TEST_F(ServerFaults, the_password_may_come_from_a_file_and_an_option_names_the_user) {
  fs::path file = work_.path() / "password";
  std::ofstream(file) << s().password << "\n";
  auto r = sh(std::string("env -u ISC_USER -u ISC_PASSWORD ") + HRDOC_BIN_DIR + "hrdoc " +
              report(s().prefix() + db_.string(), " --db-user SYSDBA --db-password-file " + quoted(file.string())));
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_EQ(r.out.find(s().password), std::string::npos);
  EXPECT_EQ(books_in(out_).size(), 1u);
}

TEST_F(ServerFaults, a_server_going_down_during_a_report_gives_one_message_and_no_finished_book) {
  auto run = std::async(std::launch::async, [&] { return sh(hrdoc_as(s().user, s().password) + report(s().prefix() + db_.string())); });
  ASSERT_TRUE(report_under_way());
  // Frozen at once, so that the report cannot finish while the server goes down.
  server_->freeze();
  server_->crash();
  auto r = run.get();
  ASSERT_NE(r.code, 0) << "the report finished before the server stopped; make it longer\n" << r.out;
  EXPECT_EQ(r.code, 1) << r.out;
  EXPECT_EQ(error_lines(r.out), 1) << r.out;
  EXPECT_NE(r.out.find("Соединение с сервером базы данных разорвано"), std::string::npos) << r.out;
  expect_no_finished_book();
}

TEST_F(ServerFaults, a_server_that_stops_answering_is_given_up_after_the_wait) {
  // While connecting.
  server_->freeze();
  auto start = std::chrono::steady_clock::now();
  auto r = sh(hrdoc_as(s().user, s().password) + report(s().prefix() + db_.string(), " --db-connect-wait 2"));
  auto took = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(r.code, 1) << r.out;
  EXPECT_NE(r.out.find("не ответил за 2 с"), std::string::npos) << r.out;
  EXPECT_LT(took, std::chrono::seconds(60));
  server_->thaw();

  // In the middle of a report.
  auto run = std::async(std::launch::async, [&] {
    return sh(hrdoc_as(s().user, s().password) + report(s().prefix() + db_.string(), " --db-read-wait 2"));
  });
  ASSERT_TRUE(report_under_way());
  server_->freeze();
  r = run.get();
  server_->thaw();
  EXPECT_EQ(r.code, 1) << r.out;
  EXPECT_NE(r.out.find("не ответил за 2 с"), std::string::npos) << r.out;
  expect_no_finished_book();
}

}  // namespace
