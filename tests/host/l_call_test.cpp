#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>

#include "support/test_context.h"
#include "ui/ui.h"

namespace {

using hrdoc::ui::IDCANCEL;
using hrdoc::ui::IDNO;
using hrdoc::ui::IDOK;
using hrdoc::ui::IDYES;

class LCall : public ::testing::Test {
 protected:
  void SetUp() override { t.set_lib_dir(HRDOC_TEST_SIBLINGS); }
  hrdoc::test::TestContext t;
};

TEST_F(LCall, passes_path_command_and_ten_values_and_returns_the_answer) {
  int r = t.ctx.l_call("RECORDER", "USR", 1, 0, 7);
  EXPECT_EQ(r, 42);
  EXPECT_EQ(t.ctx.ext().str1060, std::string("argc=12 path=") + HRDOC_TEST_SIBLINGS +
                                       "RECORDER.so command=USR 1 0 7 0 0 0 0 0 0 0");
  // A command starting with an underscore skips the version query.
  EXPECT_EQ(t.ctx.l_call("VERSION0", "_RAW"), 5);
  EXPECT_EQ(t.ctx.ext().str1060, "called _RAW");
  EXPECT_TRUE(t.ui.boxes.empty());
}

TEST_F(LCall, a_missing_library_entry_or_version_is_shown_as_an_error) {
  const std::string dir = HRDOC_TEST_SIBLINGS;
  // The missing library's text goes on with the loader's code and message.
  const struct { const char* lib; int ret; std::string text; } cases[] = {
      {"NOSUCH", -1, "L_CALL: Не найдена " + dir + "NOSUCH.so\r\nКод: "},
      {"NOENTRY", -1, "L_CALL: Не найдена main_dll в " + dir + "NOENTRY.so"},
      // Another version's answer is returned without calling it.
      {"VERSION0", 0, "L_CALL: Версия " + dir + "VERSION0.so не равна VuvaVA.EXE; VerDll=0;VuvaVa.exe=61145"}};
  for (const auto& c : cases) {
    t.ui.boxes.clear();
    EXPECT_EQ(t.ctx.l_call(c.lib, "USR", 1, 0, 0), c.ret) << c.lib;
    ASSERT_EQ(t.ui.boxes.size(), 1u) << c.lib;
    const auto& box = t.ui.boxes[0];
    EXPECT_EQ(box.caption, "Ошибка");
    EXPECT_EQ(box.flags, 0x11u);
    bool loader = c.text.ends_with("Код: ");
    EXPECT_EQ(loader ? box.text.substr(0, c.text.size()) : box.text, c.text);
    EXPECT_EQ(box.text.find("; Messsage: ") != std::string::npos, loader) << box.text;
  }
  EXPECT_EQ(t.ctx.ext().str1060, "");
}

TEST_F(LCall, the_trace_flag_shows_the_call_and_its_result_and_commands_are_cut_to_79_characters) {
  t.ctx.trace_l_call = 1;
  EXPECT_EQ(t.ctx.l_call("RECORDER", "X"), 42);
  ASSERT_EQ(t.ui.boxes.size(), 2u);
  EXPECT_EQ(t.ui.boxes[0].text, "l_call: RECORDER, X");
  EXPECT_EQ(t.ui.boxes[0].caption, "Информация");
  EXPECT_EQ(t.ui.boxes[1].text, "ret l_call: 42");
  t.ctx.trace_l_call = 0;
  t.ctx.l_call("RECORDER", std::string(100, 'C').c_str());
  EXPECT_NE(t.ctx.ext().str1060.find("command=" + std::string(79, 'C') + " "), std::string::npos);
}

TEST_F(LCall, a_callee_that_throws_is_unloaded_and_its_message_reaches_the_caller) {
  const std::string path = std::string(HRDOC_TEST_SIBLINGS) + "THROWS.so";
  const struct { const char* command; std::string text; } cases[] = {
      {"USR", "сбой в библиотеке"},
      {"INT", "L_CALL: " + path + ", INT: неизвестная ошибка"}};
  for (const auto& c : cases) {
    try {
      t.ctx.l_call("THROWS", c.command, 1);
      ADD_FAILURE() << c.command << " returned";
    } catch (const std::runtime_error& e) {
      EXPECT_EQ(std::string(e.what()), c.text);
    }
    EXPECT_EQ(dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD), nullptr) << c.command << ": still loaded";
  }
  EXPECT_EQ(t.ctx.l_call("RECORDER", "USR"), 42);
}

TEST(Armerr, kinds_choose_caption_flags_and_the_result) {
  hrdoc::test::TestContext t;
  auto& ui = t.ui;
  ui.answers = {IDYES, IDNO, IDOK, IDOK, IDCANCEL};
  EXPECT_EQ(t.ctx.armerr(-2, "q?"), 0);
  EXPECT_EQ(t.ctx.armerr(-1, "q2?"), IDNO);
  EXPECT_EQ(t.ctx.armerr(1, std::string("bad")), 0);
  EXPECT_EQ(t.ctx.armerr(std::string("fyi")), 0);
  EXPECT_EQ(t.ctx.armerr(7, "Свой", "plain"), IDCANCEL);
  const std::pair<const char*, unsigned> shown[] = {
      {"Предупреждение", 0x24}, {"Предупреждение", 0x124}, {"Ошибка", 0x10}, {"Информация", 0x40}, {"Свой", 0}};
  ASSERT_EQ(ui.boxes.size(), 5u);
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(ui.boxes[i].caption, shown[i].first) << i;
    EXPECT_EQ(ui.boxes[i].flags, shown[i].second) << i;
  }
}

TEST(Armerr, a_question_left_unanswered_takes_its_default_button) {
  hrdoc::test::TestContext t;
  EXPECT_EQ(t.ctx.armerr(-2, "q?"), 0);
  EXPECT_EQ(t.ctx.armerr(-1, "q?"), IDNO);
  EXPECT_EQ(t.ctx.armerr(5, nullptr, "no caption"), 0);
  EXPECT_EQ(t.ui.boxes.back().caption, "");
}

}  // namespace
