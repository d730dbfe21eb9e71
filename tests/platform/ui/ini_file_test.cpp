#include "ui/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/work_dir.h"

namespace fs = std::filesystem;

namespace {

using hrdoc::ui::IniFile;

class IniFileTest : public ::testing::Test {
 protected:
  std::string contents() const { return hrdoc::test::read_file(path); }
  hrdoc::test::WorkDir work{"ini"};
  const std::string path = work / "Setting.dsk";
};

TEST_F(IniFileTest, written_values_read_back_after_saving) {
  {
    IniFile ini(path);  // a missing file reads as empty and defaults apply
    EXPECT_FALSE(ini.value_exists("TfmA", "Left"));
    EXPECT_EQ(ini.read_int("TfmA", "Left", 7), 7);
    EXPECT_EQ(ini.read_string("TfmA", "Left", "x"), "x");
    ini.write_int("TfmA", "Left", 10);
    ini.write_string("TfmB", "Name", "Отдел кадров");
    ini.write_int("TfmA", "Top", -5);
    ini.save();
  }
  IniFile ini(path);
  EXPECT_EQ(ini.read_int("tfma", "LEFT", 0), 10);  // names are matched case aside
  EXPECT_EQ(ini.read_int("TfmA", "Top", 0), -5);
  EXPECT_EQ(ini.read_string("TfmB", "Name", ""), "Отдел кадров");
  EXPECT_EQ(contents(), "[TfmA]\r\nLeft=10\r\nTop=-5\r\n\r\n[TfmB]\r\nName=Отдел кадров\r\n");
}

TEST_F(IniFileTest, other_sections_comments_and_unknown_keys_are_kept) {
  {
    std::ofstream out(path, std::ios::binary);
    out << "; written by hand\n[Other]\nKey = value \n\n[TfmA]\nLeft=1\nColor=red\n";
  }
  IniFile ini(path);
  EXPECT_EQ(ini.read_string("Other", "Key", ""), "value");
  ini.write_int("TfmA", "Left", 2);
  ini.write_int("TfmA", "Width", 300);
  ini.save();
  EXPECT_EQ(contents(),
            "; written by hand\r\n[Other]\r\nKey = value \r\n\r\n[TfmA]\r\nLeft=2\r\nColor=red\r\nWidth=300\r\n");
}

TEST_F(IniFileTest, bad_numbers_read_as_the_default_and_a_missing_folder_is_named) {
  {
    std::ofstream out(path);
    out << "[A]\nLeft=12px\nTop=\nWidth=99999999999\n";
  }
  IniFile ini(path);
  for (const char* key : {"Left", "Top", "Width"}) EXPECT_EQ(ini.read_int("A", key, -1), -1) << key;
  // Saving into a missing folder names the file.
  IniFile lost((fs::path(path).parent_path() / "no_such_folder_ini" / "x.dsk").string());
  lost.write_int("A", "Left", 1);
  try {
    lost.save();
    FAIL() << "saved into a missing folder";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("no_such_folder_ini"), std::string::npos);
  }
}

}  // namespace
