#include "forms/edit.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "host/compark.h"
#include "support/work_dir.h"
#include "ui/ini_file.h"
#include "ui/scripted_ui.h"

namespace fs = std::filesystem;

namespace {

using hrdoc::TfmEdit;
using hrdoc::ui::IniFile;
using hrdoc::ui::ScriptedUi;

const char* kKeys[] = {"Left",      "Top",      "Height",      "Width",      "WinState",  "Scale",
                       "LeftStart", "TopStart", "HeightStart", "WidthStart", "ScaleStart"};

class EditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ctx.ext().ui = &ui;
    ctx.ext().host_path = (dir / "hrdoc").string();
  }

  std::string file(const std::string& computer) const { return (dir / (computer + "_Setting.dsk")).string(); }

  hrdoc::test::WorkDir work{"fmedit"};
  const fs::path dir = work.path();
  ScriptedUi ui;
  compark ctx;
};

const TfmEdit::Geometry kDesign{120, 80, 400, 260};

TEST_F(EditTest, first_run_keeps_design_values_and_writes_all_eleven_keys_on_close) {
  {
    TfmEdit w(&ctx, "TfmHRDOC111", kDesign, "PC1");
    EXPECT_EQ((std::vector<int>{w.Left, w.Width, w.Scale}), (std::vector<int>{120, 400, 100}));
    // The design values are written when the window is first made.
    IniFile before(file("PC1"));
    EXPECT_EQ(before.read_int("TfmHRDOC111", "WidthStart", 0), 400);
    EXPECT_FALSE(before.value_exists("TfmHRDOC111", "Left"));
    w.FormClose();
  }
  EXPECT_EQ(hrdoc::SettingsFileName("/opt/suite/hrdoc", "PC1"), "/opt/suite/PC1_Setting.dsk");
  IniFile ini(file("PC1"));  // the host's folder plus the computer's name
  for (const char* key : kKeys) EXPECT_TRUE(ini.value_exists("TfmHRDOC111", key)) << key;
  const std::pair<const char*, int> stored[] = {{"LeftStart", 120}, {"TopStart", 80}, {"HeightStart", 260},
                                                {"ScaleStart", 100}, {"Height", 260}, {"WinState", TfmEdit::wsNormal}};
  for (const auto& [key, value] : stored) EXPECT_EQ(ini.read_int("TfmHRDOC111", key, -1), value) << key;
}

TEST_F(EditTest, first_run_centres_and_second_run_restores_position_size_zoom_and_state) {
  ui.desktop = {1280, 1024};
  {
    TfmEdit w(&ctx, "TfmHRDOC111", kDesign, "PC1");
    EXPECT_EQ(std::pair(w.Left, w.Top), std::pair((1280 - 400) / 2, (1024 - 260) / 2));
    w.Left = 33, w.Top = 44, w.WindowState = TfmEdit::wsMaximized;
    w.mnpClick(10);  // 150 %
    EXPECT_EQ(w.Width, 600);
    w.FormClose();
  }
  TfmEdit again(&ctx, "TfmHRDOC111", kDesign, "PC1");  // a stored position wins over centring
  EXPECT_EQ((std::vector<int>{again.Left, again.Top, again.Width, again.Height, again.Scale}),
            (std::vector<int>{33, 44, 600, 390, 150}));
  EXPECT_EQ(again.WindowState, TfmEdit::wsMaximized);
  // The design values stay those of the first run.
  EXPECT_EQ(IniFile(file("PC1")).read_int("TfmHRDOC111", "WidthStart", 0), 400);
}

TEST_F(EditTest, stored_zoom_without_position_scales_the_design_size_never_below_the_minimum) {
  IniFile ini(file("PC1"));
  ini.write_int("TfmHRDOC111", "Scale", 50);  // 200 x 130 would be below 270 x 150
  ini.write_int("TfmHRDOC101", "Scale", 70);
  ini.save();
  TfmEdit w(&ctx, "TfmHRDOC111", kDesign, "PC1");
  EXPECT_EQ((std::vector<int>{w.Scale, w.Width, w.Height}), (std::vector<int>{50, 270, 150}));
  EXPECT_TRUE(w.PopupMenu1[0].Checked);
  TfmEdit w70(&ctx, "TfmHRDOC101", kDesign, "PC1");
  EXPECT_EQ((std::vector<int>{w70.Scale, w70.Width, w70.Height}), (std::vector<int>{70, 280, 182}));
  // A stored size below the minimum, or a smaller design, gives the minimum too.
  IniFile now(file("PC1"));
  now.write_int("TfmHRDOC101", "Left", 5);
  now.write_int("TfmHRDOC101", "Width", 100);
  now.write_int("TfmHRDOC101", "Height", 90);
  now.save();
  TfmEdit stored(&ctx, "TfmHRDOC101", kDesign, "PC1"), small(&ctx, "S", {0, 0, 200, 100}, "PC1");
  EXPECT_EQ((std::vector<int>{stored.Width, stored.Height, small.Width, small.Height}),
            (std::vector<int>{270, 150, 270, 150}));
}

TEST_F(EditTest, each_computer_keeps_its_file_and_each_window_class_its_section) {
  const struct { const char* section; const char* computer; TfmEdit::Geometry design; int left; } cases[] = {
      {"TfmHRDOC111", "PC1", kDesign, 1}, {"TfmHRDOC111", "PC2", kDesign, 2}, {"TfmHRDOC101", "PC1", {10, 10, 500, 300}, 3}};
  for (const auto& c : cases) {
    TfmEdit w(&ctx, c.section, c.design, c.computer);
    w.Left = c.left;
    w.FormClose();
  }
  EXPECT_EQ(IniFile(file("PC2")).read_int("TfmHRDOC111", "Left", 0), 2);
  for (const auto& c : cases) {
    TfmEdit w(&ctx, c.section, c.design, c.computer);
    EXPECT_EQ(w.Left, c.left) << c.section << " on " << c.computer;
    EXPECT_EQ(w.Width, c.design.Width) << c.section;
  }
}

TEST_F(EditTest, zoom_menu_scales_from_the_current_zoom_and_pops_up_on_ctrl_shift_f12) {
  TfmEdit w(&ctx, "S", kDesign, "PC1");
  ASSERT_EQ(w.PopupMenu1.size(), 11u);
  EXPECT_EQ(w.PopupMenu1.front().Name + w.PopupMenu1.front().Caption, "mnp50 50%");
  EXPECT_EQ(w.PopupMenu1[5].Caption, " 100%");
  EXPECT_EQ(w.PopupMenu1.back().Name + w.PopupMenu1.back().Caption, "mnp150 150%");
  w.mnpClick(5);  // the current 100 % changes nothing
  EXPECT_EQ(w.Scale, 100);
  EXPECT_EQ(w.Width, 400);
  w.mnpClick(2);  // 70 %
  w.mnpClick(10);  // then 150 %: scaled from the current zoom, not the design one
  EXPECT_EQ(w.Scale, 150);
  EXPECT_EQ(w.Width, 600);
  w.mnpClick(10);
  EXPECT_EQ(w.Width, 600);
  // Ctrl+Shift+F12 checks the current zoom and pops up the menu.
  w.mnpClick(2);  // 70 %
  ui.choices.push_back(8);  // the user picks 130 %
  int key = TfmEdit::VK_F12;
  w.FormKeyDown(key, /*ctrl=*/true, /*shift=*/true);
  EXPECT_EQ(key, 0);
  EXPECT_EQ(ui.menus.size(), 1u);
  EXPECT_EQ(w.Scale, 130);
  EXPECT_TRUE(w.PopupMenu1[8].Checked);
  EXPECT_FALSE(w.PopupMenu1[2].Checked);

  key = TfmEdit::VK_F12;
  w.FormKeyDown(key, true, false);  // without Shift: nothing
  EXPECT_EQ(ui.menus.size(), 1u);
  // The form offers the same menu as an action; the choice is saved with the window.
  ui.choices.push_back(10);
  ui.on_form = [](hrdoc::ui::Form& f) {
    for (auto& a : f.actions)
      if (a.key == 'z') a.run();
  };
  w.ShowModal();
  EXPECT_EQ(w.Scale, 150);
  EXPECT_EQ(IniFile(file("PC1")).read_int("S", "Scale", 0), 150);
}

TEST_F(EditTest, enter_moves_to_the_next_entry_and_delete_clears_a_date) {
  TfmEdit w(&ctx, "S", kDesign, "PC1");
  w.Fields = {hrdoc::ui::date_field("edDT", "Дата", "01.12.2026"), hrdoc::ui::text_field("edN", "Номер", "5")};
  auto enter = [&] { int key = TfmEdit::VK_RETURN; w.FormKeyDown(key, false, false); return key; };
  auto del = [&] { int key = TfmEdit::VK_DELETE; w.FormKeyUp(key); };
  EXPECT_EQ(enter(), 0);
  EXPECT_EQ(w.ActiveControl, 1);
  del();  // a text entry keeps its text
  EXPECT_EQ(w.Fields[1].value, "5");
  enter();
  EXPECT_EQ(w.ActiveControl, 0);
  del();
  EXPECT_EQ(w.Fields[0].value, "");
}

TEST_F(EditTest, show_modal_returns_ok_or_cancel_and_saves_either_way) {
  TfmEdit w(&ctx, "TfmHRDOC111", kDesign, "PC1");
  w.Fields = {hrdoc::ui::radio_field("rg", "Сортировка по...", {"ФИО", "ТН", "Дате приема"})};
  ui.form_answers.push_back({{{"rg", "ТН"}}, false, {}});
  EXPECT_EQ(w.ShowModal(), TfmEdit::mrOk);
  EXPECT_EQ(w.Fields[0].index(), 1);
  ASSERT_EQ(ui.forms.size(), 1u);
  EXPECT_EQ(ui.forms[0].caption, "fmEdit");
  ASSERT_EQ(ui.forms[0].buttons.size(), 2u);
  EXPECT_EQ(ui.forms[0].buttons[0].caption, "&Сохранить");
  EXPECT_TRUE(IniFile(file("PC1")).value_exists("TfmHRDOC111", "Left"));

  ui.form_answers.push_back({{}, true, {}});
  EXPECT_EQ(w.ShowModal(), TfmEdit::mrCancel);
  // A hidden cancel leaves only the OK button.
  w.CancelVisible = false;
  w.bbOk.caption = "OK";
  w.ShowModal();
  ASSERT_EQ(ui.forms.at(2).buttons.size(), 1u);
  EXPECT_EQ(ui.forms[2].buttons[0].caption, "OK");
}

TEST_F(EditTest, unwritable_folder_is_reported_not_fatal) {
  ctx.ext().host_path = (dir / "missing" / "hrdoc").string();
  TfmEdit w(&ctx, "S", kDesign, "PC1");
  EXPECT_EQ(w.Width, 400);
  ASSERT_FALSE(ui.boxes.empty());
  EXPECT_NE(ui.boxes[0].text.find("missing"), std::string::npos);
}

}  // namespace
