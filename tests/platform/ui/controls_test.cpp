#include "ui/controls.h"

#include <gtest/gtest.h>

#include "ui/scripted_ui.h"

namespace {

using namespace hrdoc::ui;

TEST(ProgressBar, steps_within_its_range_and_shows_through_its_window) {
  ScriptedUi ui;
  auto w = ui.open_window("Отчёт");
  ProgressBar pb;
  pb.bind(w.get());
  pb.set_min(0);
  pb.set_position(0);
  pb.set_step(1);
  pb.set_max(4);
  for (int i = 0; i < 4; ++i) pb.step_it();
  EXPECT_EQ(pb.position(), 4);
  EXPECT_EQ(ui.windows[0].position, 4);
  EXPECT_EQ(ui.windows[0].max, 4);
  pb.step_it();  // past the end the bar starts again
  EXPECT_EQ(pb.position(), 0);
  pb.set_position(99);
  EXPECT_EQ(pb.position(), 4);
  pb.set_max(2);
  EXPECT_EQ(pb.position(), 2);
}

TEST(ProgressBar, a_minimum_shifts_what_the_window_shows_and_a_hidden_bar_shows_nothing) {
  ScriptedUi ui;
  auto w = ui.open_window("Отчёт");
  ProgressBar shifted(10, 20), hidden;
  shifted.bind(w.get());
  shifted.set_position(15);
  EXPECT_EQ(ui.windows[0].progress.back(), (std::pair<int, int>{5, 10}));
  auto v = ui.open_window("Отчёт");
  hidden.set_visible(false);
  hidden.bind(v.get());
  hidden.set_position(30);
  EXPECT_TRUE(ui.windows[1].progress.empty());
  hidden.set_visible(true);
  hidden.set_position(40);
  EXPECT_EQ(ui.windows[1].progress.back(), (std::pair<int, int>{40, 100}));
}

}  // namespace
