// The documents folder as a user sees it after runs of the host: one document per run, under
// its own name, and nothing that looks finished after a run killed at any moment.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <thread>

#include "sheet/book.h"
#include "support/host_run.h"
#include "support/work_dir.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

class HrdocDocuments : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    work_ = std::make_unique<hrdoc::test::WorkDir>("documents");
    db_ = (work_->path() / "demo.fdb").string();
    auto r = hrdoc::test::run_hrdoc("demo --db " + db_ + " --employees 300 --today 30.11.2026");
    ASSERT_EQ(r.code, 0) << r.out;
  }
  static void TearDownTestSuite() { work_.reset(); }

  static std::string run_args(const std::string& code, const fs::path& out) {
    return "run " + code + " --db " + db_ + " --date 30.11.2026 --yes --quiet --out '" + out.string() + "'";
  }
  static std::set<std::string> files_in(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
    return names;
  }
  // A finished report: it opens and carries none of the template's marks.
  static bool finished(const fs::path& file) {
    try {
      hrdoc::sheet::Book b(file.string());
      for (int n = 1; n <= b.sheet_count(); ++n) {
        auto& s = b.sheet(n);
        for (int r = 1; r <= s.last_row(); ++r)
          for (int c = 1; c <= s.last_column(); ++c) {
            const std::string t = s.text(r, c);
            if (t == "$END$" || t == "ppHB" || t.rfind("$f", 0) == 0) return false;
          }
      }
      return true;
    } catch (const std::exception&) {
      return false;
    }
  }
  static inline std::unique_ptr<hrdoc::test::WorkDir> work_;
  static inline std::string db_;
};

TEST_F(HrdocDocuments, runs_into_one_folder_each_leave_their_document) {
  const fs::path out = work_->path() / "out";
  for (const char* code : {"HRDOC091", "HRDOC092", "HRDOC091", "HRDOC340"}) {
    auto r = hrdoc::test::run_hrdoc(run_args(code, out), false);
    EXPECT_EQ(r.code, 0) << code << r.out;
  }
  EXPECT_EQ(files_in(out), (std::set<std::string>{".hrdoc", "HRDOC091_2026-11-30.xlsx", "HRDOC092_2026-11-30.xlsx",
                                                   "HRDOC091_2026-11-30 (2).xlsx", "HRDOC340_2026-11-30.xlsx"}));
  for (const auto& name : files_in(out)) {
    if (name != ".hrdoc") {
      EXPECT_TRUE(finished(out / name)) << name;
    }
  }
  // The work folder keeps only its lock file.
  EXPECT_EQ(files_in(out / ".hrdoc"), (std::set<std::string>{".WLST.xlsx.lock"}));
}

TEST_F(HrdocDocuments, an_out_that_is_a_file_is_refused_with_exit_1) {
  const fs::path file = work_->path() / "plain";
  std::ofstream(file) << "x";
  auto r = hrdoc::test::run_hrdoc(run_args("HRDOC091", file));
  EXPECT_EQ(r.code, 1) << r.out;
  EXPECT_NE(r.out.find("is not a folder"), std::string::npos) << r.out;
  EXPECT_EQ(hrdoc::test::read_file(file), "x");
}

// SIGKILL at moments spread over a run: the folder holds either nothing or the whole document.
TEST_F(HrdocDocuments, a_run_killed_at_any_moment_leaves_nothing_that_looks_finished) {
  const std::string host = std::string(HRDOC_TEST_BIN_DIR) + "hrdoc";
  for (int delay_ms : {0, 20, 50, 100, 150, 200, 300, 500, 800}) {
    const fs::path out = work_->path() / ("killed" + std::to_string(delay_ms));
    fs::create_directories(out);
    const std::string out_arg = out.string();
    const char* argv[] = {host.c_str(), "run", "HRDOC092", "--db", db_.c_str(), "--date", "30.11.2026", "--yes",
                          "--quiet", "--out", out_arg.c_str(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, host.c_str(), &actions, nullptr, const_cast<char**>(argv), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    std::this_thread::sleep_for(std::chrono::milliseconds(delay_ms));
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    for (const auto& name : files_in(out)) {
      if (name == ".hrdoc") continue;
      EXPECT_EQ(name, "HRDOC092_2026-11-30.xlsx") << delay_ms;
      EXPECT_TRUE(finished(out / name)) << name << " after " << delay_ms << " ms";
    }
    // The next run sweeps what the killed one left and places its own document.
    auto r = hrdoc::test::run_hrdoc(run_args("HRDOC092", out), false);
    EXPECT_EQ(r.code, 0) << r.out;
    std::set<std::string> work = files_in(out / ".hrdoc");
    work.erase(".WLST.xlsx.lock");
    EXPECT_TRUE(work.empty()) << *work.begin();
  }
}

}  // namespace
