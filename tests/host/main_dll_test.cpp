#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/commands.h"
#include "support/test_context.h"

namespace {

struct Call {
  compark* ctx;
  int value;
};
std::vector<Call> calls;

void record(compark* ctx, int value) { calls.push_back({ctx, value}); }

int call(compark* ctx, const char* command, int* entry2 = nullptr) {
  char self[] = "hrdoc";
  void* argv[3] = {self, const_cast<char*>(command), entry2};
  return main_dll(ctx, 3, argv);
}

class MainDll : public ::testing::Test {
 protected:
  void SetUp() override {
    calls.clear();
    for (const char* c : {"HRDOC092", "HRDOC101", "HRDOC090L", "HRDOC221", "HRDOC340"}) hrdoc::register_launcher(c, &record);
  }
  hrdoc::test::TestContext t;
};

TEST_F(MainDll, version_query_takes_the_context_and_commands_match_byte_for_byte) {
  compark other;
  c_p = nullptr;
  EXPECT_EQ(call(&other, "CTRLVERDLL"), 61145);
  EXPECT_EQ(c_p, &other);
  EXPECT_EQ(dm, other.data_module());
  // A command without a built launcher does nothing either (while the library still has one).
  std::string unbuilt = "NOSUCH";
  for (const auto& c : hrdoc::command_table())
    if (!hrdoc::find_launcher(c.name)) unbuilt = c.name;
  for (const std::string& near : {std::string("hrdoc092"), std::string("HRDOC092 "), std::string("HRDOC09"),
                                  std::string("NOSUCH"), unbuilt})
    EXPECT_EQ(call(&t.ctx, near.c_str()), 0) << near;
  EXPECT_TRUE(calls.empty());
  EXPECT_TRUE(t.ui.boxes.empty());
  EXPECT_EQ(call(&t.ctx, "HRDOC092"), 0);
  ASSERT_EQ(calls.size(), 1u);
}

TEST_F(MainDll, launchers_get_the_argument_of_their_table_entry) {
  int five = 5;
  for (const char* c : {"HRDOC101", "HRDOC090L", "HRDOC221", "HRDOC340"}) call(&t.ctx, c, &five);
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ((std::vector<int>{calls[0].value, calls[1].value, calls[2].value}), (std::vector<int>{1, 5, 1}));
  EXPECT_EQ(calls[3].ctx, &t.ctx);
}

TEST_F(MainDll, a_broken_call_is_refused_with_a_message_and_runs_nothing) {
  char self[] = "hrdoc", cmd092[] = "HRDOC092", cmd090[] = "HRDOC090L";
  void* plain[3] = {self, cmd092, nullptr};
  void* entry2[3] = {self, cmd090, nullptr};
  void* none[3] = {self, nullptr, nullptr};
  const struct { int argc; void** argv; const char* text; } cases[] = {
      {0, plain, "main_dll: передано аргументов: 0, нужно не меньше 2 (путь и команда)"},
      {1, plain, "main_dll: передано аргументов: 1, нужно не меньше 2 (путь и команда)"},
      {-3, plain, "main_dll: передано аргументов: -3, нужно не меньше 2 (путь и команда)"},
      {3, nullptr, "main_dll: передано аргументов: 3, нужно не меньше 2 (путь и команда)"},
      {2, none, "main_dll: не передана команда"},
      {2, entry2, "main_dll: команде HRDOC090L нужен третий аргумент, передано аргументов: 2"},
  };
  for (const auto& c : cases) {
    t.ui.boxes.clear();
    EXPECT_EQ(main_dll(&t.ctx, c.argc, c.argv), -1) << c.text;
    ASSERT_EQ(t.ui.boxes.size(), 1u) << c.text;
    EXPECT_EQ(t.ui.boxes[0].text, c.text);
    EXPECT_EQ(t.ui.boxes[0].caption, "Ошибка");
  }
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(main_dll(nullptr, 1, plain), -1);  // no context: said on stderr
  // Two arguments are enough for a command that takes no third.
  EXPECT_EQ(main_dll(&t.ctx, 2, plain), 0);
  EXPECT_EQ(calls.size(), 1u);
}

TEST(CommandTable, lists_every_report_command_once) {
  auto table = hrdoc::command_table();
  EXPECT_EQ(table.size(), 41u);
  for (size_t i = 0; i < table.size(); ++i)
    for (size_t j = i + 1; j < table.size(); ++j) EXPECT_STRNE(table[i].name, table[j].name);
  const hrdoc::Command* c = hrdoc::find_command("HRDOC092");
  ASSERT_NE(c, nullptr);
  EXPECT_STREQ(c->dialog, "USR");
  EXPECT_EQ(c->kind, hrdoc::LaunchKind::shown);
  EXPECT_STREQ(hrdoc::find_command("HRDOC340")->dialog, "USRSEW");
}

}  // namespace
