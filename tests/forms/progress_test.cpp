#include "forms/progress.h"

#include <gtest/gtest.h>

#include "host/compark.h"
#include "ui/scripted_ui.h"

namespace {

TEST(TfrProgress, shows_a_wait_window_whose_bar_the_caller_moves) {
  hrdoc::ui::ScriptedUi ui;
  compark ctx;
  ctx.ext().ui = &ui;
  {
    hrdoc::TfrProgress frProgress(&ctx);
    EXPECT_EQ(frProgress.pb.max(), 100);
    EXPECT_TRUE(ui.windows.empty());  // nothing until shown
    frProgress.Show();
    ASSERT_EQ(ui.windows.size(), 1u);
    EXPECT_EQ(ui.windows[0].caption, "Подождите...");
    EXPECT_TRUE(ui.windows[0].shown);
    frProgress.pb.set_position(40);
    EXPECT_EQ(ui.windows[0].position, 40);
    frProgress.pb.set_position(140);  // kept within the range
    EXPECT_EQ(ui.windows[0].position, 100);
    EXPECT_FALSE(ui.windows[0].closed);
  }
  EXPECT_TRUE(ui.windows[0].closed);
  ctx.ext().ui = nullptr;  // without a user interface it only keeps the position
  hrdoc::TfrProgress quiet(&ctx);
  quiet.Show();
  quiet.pb.set_position(10);
  EXPECT_EQ(quiet.pb.position(), 10);
}

}  // namespace
