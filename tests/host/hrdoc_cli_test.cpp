// The host as a user runs it: output, messages and exit codes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

namespace {

struct Outcome {
  int code;
  std::string out;
};

// Runs build/bin/hrdoc with the arguments; stdout captured, stderr folded in when asked.
Outcome hrdoc(const std::string& args, bool with_stderr = false) {
  std::string cmd = std::string(HRDOC_BIN_DIR) + "hrdoc " + args + (with_stderr ? " 2>&1" : " 2>/dev/null") + " </dev/null";
  Outcome r{-1, {}};
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return r;
  std::array<char, 4096> buf;
  size_t n;
  while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) r.out.append(buf.data(), n);
  int status = pclose(p);
  r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

TEST(HrdocCli, version_query_prints_the_answer_and_unknown_commands_do_nothing) {
  Outcome r = hrdoc("run CTRLVERDLL");
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
    Outcome r = hrdoc(args, true);
    EXPECT_EQ(r.code, 2) << args;
    EXPECT_FALSE(r.out.empty()) << args;
  }
}

TEST(HrdocCli, a_report_without_a_database_says_so_and_exits_1) {
  for (const char* code : {"HRDOC091", "HRDOC092", "HRDOC340"}) {
    Outcome r = hrdoc(std::string("run ") + code + " --yes --out /tmp", true);
    EXPECT_EQ(r.code, 1) << code << r.out;
    EXPECT_NE(r.out.find("Нет соединения с базой данных"), std::string::npos) << code << r.out;
  }
}

TEST(HrdocCli, list_shows_every_report_command_with_its_caption) {
  Outcome r = hrdoc("list");
  EXPECT_EQ(r.code, 0);
  size_t lines = 0;
  for (char c : r.out) lines += c == '\n';
  EXPECT_EQ(lines, 41u);
  EXPECT_NE(r.out.find("HRDOC092"), std::string::npos);
  EXPECT_NE(r.out.find("Печать графика отпусков по форме Т7"), std::string::npos);
}

TEST(HrdocCli, help_names_every_run_option) {
  Outcome r = hrdoc("run --help");
  EXPECT_EQ(r.code, 0);
  for (const char* opt : {"--db", "--date", "--from", "--to", "--dept", "--depts", "--user", "--order", "--arg",
                          "--yes", "--no", "--answer", "--set", "--out", "--quiet"})
    EXPECT_NE(r.out.find(opt), std::string::npos) << opt;
}

}  // namespace
