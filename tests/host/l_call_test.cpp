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
  EXPECT_TRUE(t.ui.boxes.empty());
}

TEST_F(LCall, a_missing_library_shows_where_it_looked_and_returns_minus_one) {
  EXPECT_EQ(t.ctx.l_call("NOSUCH", "USR", 1, 0, 0), -1);
  ASSERT_EQ(t.ui.boxes.size(), 1u);
  const auto& box = t.ui.boxes[0];
  EXPECT_EQ(box.caption, "Ошибка");
  EXPECT_EQ(box.flags, 0x11u);
  EXPECT_EQ(box.text.rfind(std::string("L_CALL: Не найдена ") + HRDOC_TEST_SIBLINGS + "NOSUCH.so\r\nКод: ", 0), 0u);
  EXPECT_NE(box.text.find("; Messsage: "), std::string::npos);
}

TEST_F(LCall, a_library_without_the_entry_is_refused) {
  EXPECT_EQ(t.ctx.l_call("NOENTRY", "USR"), -1);
  ASSERT_EQ(t.ui.boxes.size(), 1u);
  EXPECT_EQ(t.ui.boxes[0].text, std::string("L_CALL: Не найдена main_dll в ") + HRDOC_TEST_SIBLINGS + "NOENTRY.so");
}

TEST_F(LCall, another_version_is_reported_and_its_answer_returned_without_calling) {
  EXPECT_EQ(t.ctx.l_call("VERSION0", "USR", 1, 0, 0), 0);
  ASSERT_EQ(t.ui.boxes.size(), 1u);
  EXPECT_EQ(t.ui.boxes[0].text, std::string("L_CALL: Версия ") + HRDOC_TEST_SIBLINGS +
                                      "VERSION0.so не равна VuvaVA.EXE; VerDll=0;VuvaVa.exe=61145");
  EXPECT_EQ(t.ui.boxes[0].flags, 0x11u);
  EXPECT_EQ(t.ctx.ext().str1060, "");
}

TEST_F(LCall, a_command_starting_with_underscore_skips_the_version_query) {
  EXPECT_EQ(t.ctx.l_call("VERSION0", "_RAW"), 5);
  EXPECT_EQ(t.ctx.ext().str1060, "called _RAW");
  EXPECT_TRUE(t.ui.boxes.empty());
}

TEST_F(LCall, the_trace_flag_shows_the_call_and_its_result) {
  t.ctx.trace_l_call = 1;
  EXPECT_EQ(t.ctx.l_call("RECORDER", "X"), 42);
  ASSERT_EQ(t.ui.boxes.size(), 2u);
  EXPECT_EQ(t.ui.boxes[0].text, "l_call: RECORDER, X");
  EXPECT_EQ(t.ui.boxes[0].caption, "Информация");
  EXPECT_EQ(t.ui.boxes[1].text, "ret l_call: 42");
}

TEST_F(LCall, commands_are_cut_to_79_characters) {
  std::string longer(100, 'C');
  t.ctx.l_call("RECORDER", longer.c_str());
  EXPECT_NE(t.ctx.ext().str1060.find("command=" + std::string(79, 'C') + " "), std::string::npos);
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
  ASSERT_EQ(ui.boxes.size(), 5u);
  EXPECT_EQ(ui.boxes[0].caption, "Предупреждение");
  EXPECT_EQ(ui.boxes[0].flags, 0x24u);
  EXPECT_EQ(ui.boxes[1].flags, 0x124u);
  EXPECT_EQ(ui.boxes[2].caption, "Ошибка");
  EXPECT_EQ(ui.boxes[2].flags, 0x10u);
  EXPECT_EQ(ui.boxes[3].caption, "Информация");
  EXPECT_EQ(ui.boxes[3].flags, 0x40u);
  EXPECT_EQ(ui.boxes[4].caption, "Свой");
  EXPECT_EQ(ui.boxes[4].flags, 0u);
}

TEST(Armerr, a_question_left_unanswered_takes_its_default_button) {
  hrdoc::test::TestContext t;
  EXPECT_EQ(t.ctx.armerr(-2, "q?"), 0);
  EXPECT_EQ(t.ctx.armerr(-1, "q?"), IDNO);
  EXPECT_EQ(t.ctx.armerr(5, nullptr, "no caption"), 0);
  EXPECT_EQ(t.ui.boxes.back().caption, "");
}

}  // namespace
