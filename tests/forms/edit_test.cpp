#include "forms/edit.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "host/compark.h"
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
    dir = fs::temp_directory_path() / ("fmedit_" + std::to_string(getpid()) + "_" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    ctx.ext().ui = &ui;
    ctx.ext().host_path = (dir / "hrdoc").string();
  }
  void TearDown() override { fs::remove_all(dir); }

  std::string file(const std::string& computer) const { return (dir / (computer + "_Setting.dsk")).string(); }

  fs::path dir;
  ScriptedUi ui;
  compark ctx;
};

const TfmEdit::Geometry kDesign{120, 80, 400, 260};

TEST_F(EditTest, settings_file_is_host_folder_plus_computer_name) {
  TfmEdit w(&ctx, "TfmHRDOC111", kDesign, "PC-KADRY");
  EXPECT_EQ(w.SettingsFile(), file("PC-KADRY"));
  EXPECT_EQ(hrdoc::SettingsFileName("/opt/suite/hrdoc", "PC1"), "/opt/suite/PC1_Setting.dsk");
}

TEST_F(EditTest, first_run_keeps_design_values_and_writes_all_eleven_keys_on_close) {
  {
    TfmEdit w(&ctx, "TfmHRDOC111", kDesign, "PC1");
    EXPECT_EQ(w.Left, 120);
    EXPECT_EQ(w.Width, 400);
    EXPECT_EQ(w.Scale, 100);
    // The design values are written when the window is first made.
    IniFile before(file("PC1"));
    EXPECT_EQ(before.read_int("TfmHRDOC111", "WidthStart", 0), 400);
    EXPECT_FALSE(before.value_exists("TfmHRDOC111", "Left"));
    w.FormClose();
  }
  IniFile ini(file("PC1"));
  for (const char* key : kKeys) EXPECT_TRUE(ini.value_exists("TfmHRDOC111", key)) << key;
  EXPECT_EQ(ini.read_int("TfmHRDOC111", "LeftStart", 0), 120);
  EXPECT_EQ(ini.read_int("TfmHRDOC111", "TopStart", 0), 80);
  EXPECT_EQ(ini.read_int("TfmHRDOC111", "HeightStart", 0), 260);
  EXPECT_EQ(ini.read_int("TfmHRDOC111", "ScaleStart", 0), 100);
  EXPECT_EQ(ini.read_int("TfmHRDOC111", "Height", 0), 260);
  EXPECT_EQ(ini.read_int("TfmHRDOC111", "WinState", -1), TfmEdit::wsNormal);
}

TEST_F(EditTest, first_run_centres_on_a_desktop_the_renderer_knows) {
  ui.desktop = {1280, 1024};
  TfmEdit w(&ctx, "TfmHRDOC111", kDesign, "PC1");
  EXPECT_EQ(w.Left, (1280 - 400) / 2);
  EXPECT_EQ(w.Top, (1024 - 260) / 2);
}

TEST_F(EditTest, second_run_restores_position_size_zoom_and_state) {
  {
    TfmEdit w(&ctx, "TfmHRDOC111", kDesign, "PC1");
    w.Left = 33, w.Top = 44, w.WindowState = TfmEdit::wsMaximized;
    w.mnpClick(10);  // 150 %
    EXPECT_EQ(w.Width, 600);
    w.FormClose();
  }
  ui.desktop = {1280, 1024};  // a stored position wins over centring
  TfmEdit again(&ctx, "TfmHRDOC111", kDesign, "PC1");
  EXPECT_EQ(again.Left, 33);
  EXPECT_EQ(again.Top, 44);
  EXPECT_EQ(again.Width, 600);
  EXPECT_EQ(again.Height, 390);
  EXPECT_EQ(again.Scale, 150);
  EXPECT_EQ(again.WindowState, TfmEdit::wsMaximized);
  // The design values stay those of the first run.
  EXPECT_EQ(IniFile(file("PC1")).read_int("TfmHRDOC111", "WidthStart", 0), 400);
}

TEST_F(EditTest, stored_zoom_without_position_scales_the_design_size) {
  {
    IniFile ini(file("PC1"));
    ini.write_int("TfmHRDOC111", "Scale", 50);
    ini.save();
  }
  TfmEdit w(&ctx, "TfmHRDOC111", kDesign, "PC1");
  EXPECT_EQ(w.Scale, 50);
  EXPECT_EQ(w.Width, 200);
  EXPECT_EQ(w.Height, 130);
  EXPECT_TRUE(w.PopupMenu1[0].Checked);
}

TEST_F(EditTest, two_computers_keep_two_files) {
  {
    TfmEdit a(&ctx, "TfmHRDOC111", kDesign, "PC1");
    a.Left = 1;
    a.FormClose();
    TfmEdit b(&ctx, "TfmHRDOC111", kDesign, "PC2");
    b.Left = 2;
    b.FormClose();
  }
  EXPECT_EQ(IniFile(file("PC1")).read_int("TfmHRDOC111", "Left", 0), 1);
  EXPECT_EQ(IniFile(file("PC2")).read_int("TfmHRDOC111", "Left", 0), 2);
  EXPECT_EQ(TfmEdit(&ctx, "TfmHRDOC111", kDesign, "PC1").Left, 1);
  EXPECT_EQ(TfmEdit(&ctx, "TfmHRDOC111", kDesign, "PC2").Left, 2);
}

TEST_F(EditTest, each_window_class_keeps_its_own_section) {
  {
    TfmEdit a(&ctx, "TfmHRDOC111", kDesign, "PC1");
    a.Left = 11;
    a.FormClose();
    TfmEdit b(&ctx, "TfmHRDOC101", {10, 10, 500, 300}, "PC1");
    b.Left = 22;
    b.FormClose();
  }
  EXPECT_EQ(TfmEdit(&ctx, "TfmHRDOC111", kDesign, "PC1").Left, 11);
  TfmEdit b(&ctx, "TfmHRDOC101", {10, 10, 500, 300}, "PC1");
  EXPECT_EQ(b.Left, 22);
  EXPECT_EQ(b.Width, 500);
}

TEST_F(EditTest, zoom_menu_has_eleven_items_from_50_to_150) {
  TfmEdit w(&ctx, "S", kDesign, "PC1");
  ASSERT_EQ(w.PopupMenu1.size(), 11u);
  EXPECT_EQ(w.PopupMenu1.front().Name, "mnp50");
  EXPECT_EQ(w.PopupMenu1.front().Caption, " 50%");
  EXPECT_EQ(w.PopupMenu1[5].Caption, " 100%");
  EXPECT_EQ(w.PopupMenu1.back().Name, "mnp150");
  EXPECT_EQ(w.PopupMenu1.back().Caption, " 150%");
}

TEST_F(EditTest, choosing_the_current_zoom_changes_nothing) {
  TfmEdit w(&ctx, "S", kDesign, "PC1");
  w.mnpClick(5);  // 100 %
  EXPECT_EQ(w.Scale, 100);
  EXPECT_EQ(w.Width, 400);
  w.mnpClick(0);  // 50 %
  w.mnpClick(10);  // then 150 %: scaled from the current zoom, not the design one
  EXPECT_EQ(w.Scale, 150);
  EXPECT_EQ(w.Width, 600);
  w.mnpClick(10);
  EXPECT_EQ(w.Width, 600);
}

TEST_F(EditTest, ctrl_shift_f12_checks_the_current_zoom_and_pops_up_the_menu) {
  TfmEdit w(&ctx, "S", kDesign, "PC1");
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
}

TEST_F(EditTest, enter_moves_to_the_next_entry_and_delete_clears_a_date) {
  TfmEdit w(&ctx, "S", kDesign, "PC1");
  w.Fields = {hrdoc::ui::date_field("edDT", "Дата", "01.12.2026"), hrdoc::ui::text_field("edN", "Номер", "5")};
  int key = TfmEdit::VK_RETURN;
  w.FormKeyDown(key, false, false);
  EXPECT_EQ(key, 0);
  EXPECT_EQ(w.ActiveControl, 1);
  key = TfmEdit::VK_DELETE;
  w.FormKeyUp(key);  // a text entry keeps its text
  EXPECT_EQ(w.Fields[1].value, "5");
  key = TfmEdit::VK_RETURN;
  w.FormKeyDown(key, false, false);
  EXPECT_EQ(w.ActiveControl, 0);
  key = TfmEdit::VK_DELETE;
  w.FormKeyUp(key);
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
}

TEST_F(EditTest, hidden_cancel_leaves_only_the_ok_button) {
  TfmEdit w(&ctx, "TfmHRDOC111", kDesign, "PC1");
  w.CancelVisible = false;
  w.bbOk.caption = "OK";
  w.ShowModal();
  ASSERT_EQ(ui.forms.at(0).buttons.size(), 1u);
  EXPECT_EQ(ui.forms[0].buttons[0].caption, "OK");
}

TEST_F(EditTest, zoom_action_is_offered_in_the_form) {
  TfmEdit w(&ctx, "S", kDesign, "PC1");
  ui.choices.push_back(10);
  ui.on_form = [](hrdoc::ui::Form& f) {
    for (auto& a : f.actions)
      if (a.key == 'z') a.run();
  };
  w.ShowModal();
  EXPECT_EQ(w.Scale, 150);
  EXPECT_EQ(IniFile(file("PC1")).read_int("S", "Scale", 0), 150);
}

TEST_F(EditTest, unwritable_folder_is_reported_not_fatal) {
  ctx.ext().host_path = (dir / "missing" / "hrdoc").string();
  TfmEdit w(&ctx, "S", kDesign, "PC1");
  EXPECT_EQ(w.Width, 400);
  ASSERT_FALSE(ui.boxes.empty());
  EXPECT_NE(ui.boxes[0].text.find("missing"), std::string::npos);
}

}  // namespace
