// The host as a user runs it: output, messages and exit codes.
#include <gtest/gtest.h>

#include <string>

#include "support/host_run.h"

namespace {

using hrdoc::test::HostRun;

// stdout only, unless stderr is asked for.
HostRun hrdoc(const std::string& args, bool with_stderr = false) { return hrdoc::test::run_hrdoc(args, with_stderr); }

TEST(HrdocCli, version_query_prints_the_answer_and_unknown_commands_do_nothing) {
  HostRun r = hrdoc("run CTRLVERDLL");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "61145\n");
  for (const char* args : {"run hrdoc092", "run 'HRDOC092 '"}) {
    r = hrdoc(args);
    EXPECT_EQ(r.code, 0) << args;
    EXPECT_EQ(r.out, "") << args;
  }
}

TEST(HrdocCli, bad_usage_exits_2_with_a_message) {
  for (const char* args : {"", "run", "run X --date 31.02.2026", "run X --from 10.01.2026 --to 01.01.2026",
                           "run X --order 7", "run X --depts 1,x", "run X --answer nothing", "run X --yes --no",
                           "run X --office excel", "nosuch"}) {
    HostRun r = hrdoc(args, true);
    EXPECT_EQ(r.code, 2) << args;
    EXPECT_FALSE(r.out.empty()) << args;
  }
}

TEST(HrdocCli, a_report_without_a_database_says_so_and_exits_1) {
  for (const char* code : {"HRDOC091", "HRDOC092", "HRDOC340"}) {
    HostRun r = hrdoc(std::string("run ") + code + " --yes --out /tmp", true);
    EXPECT_EQ(r.code, 1) << code << r.out;
    EXPECT_NE(r.out.find("Нет соединения с базой данных"), std::string::npos) << code << r.out;
  }
}

TEST(HrdocCli, list_shows_every_report_command_with_its_caption) {
  HostRun r = hrdoc("list");
  EXPECT_EQ(r.code, 0);
  size_t lines = 0;
  for (char c : r.out) lines += c == '\n';
  EXPECT_EQ(lines, 41u);
  EXPECT_NE(r.out.find("HRDOC092"), std::string::npos);
  EXPECT_NE(r.out.find("Печать графика отпусков по форме Т7"), std::string::npos);
}

TEST(HrdocCli, help_names_every_run_option) {
  HostRun r = hrdoc("run --help");
  EXPECT_EQ(r.code, 0);
  for (const char* opt : {"--db", "--date", "--from", "--to", "--dept", "--depts", "--user", "--order", "--arg",
                          "--yes", "--no", "--answer", "--set", "--press", "--out", "--quiet"})
    EXPECT_NE(r.out.find(opt), std::string::npos) << opt;
}

}  // namespace
