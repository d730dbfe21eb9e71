#pragma once
// TfmEdit: the base of the library's own modal dialogs. OK and Cancel, Enter that moves to the
// next entry, zoom from 50 % to 150 % (pop-up menu, Ctrl+Shift+F12), and position, size and
// zoom remembered per computer in "<host folder><computer name>_Setting.dsk", one section per
// window class.

#include <string>
#include <vector>

#include "ui/ui.h"

class compark;

namespace hrdoc {

// A window's design-time position and size.
struct TEditGeometry {
  int Left = 200, Top = 150, Width = 300, Height = 180;
};

class TfmEdit {
 public:
  using Geometry = TEditGeometry;
  struct MenuItem {
    std::string Name, Caption;
    int Percent = 100;
    bool Checked = false;
  };
  enum { wsNormal = 0, wsMinimized = 1, wsMaximized = 2 };
  enum { mrOk = 1, mrCancel = 2 };
  // Keys the window sees before its entries.
  enum { VK_TAB = 0x09, VK_RETURN = 0x0D, VK_DELETE = 0x2E, VK_F12 = 0x7B };

  static constexpr int MinWidth = 270, MinHeight = 150;
  // For derived windows to append to their caption.
  static constexpr const char* sAddCaption = ": Добавляем запись";
  static constexpr const char* sEditCaption = ": Редактируем запись";

  // Restores the window's settings from the file (writing the design values on first use).
  // section: the window's own section; computer: the computer's name (empty: this one's).
  TfmEdit(compark* owner, std::string section, Geometry design = {}, std::string computer = {});
  virtual ~TfmEdit() = default;
  TfmEdit(const TfmEdit&) = delete;
  TfmEdit& operator=(const TfmEdit&) = delete;

  std::string Caption = "fmEdit";
  // The entries, in tab order.
  std::vector<ui::Field> Fields;
  ui::Button bbOk{"bbOk", "&Сохранить", false};
  ui::Button bbCancel{"bbCancel", "&Отмена", true};
  bool CancelVisible = true;
  std::vector<MenuItem> PopupMenu1;  // mnp50 .. mnp150

  int Left = 0, Top = 0, Width = 0, Height = 0, WindowState = wsNormal;
  int Scale = 100;  // current zoom in percent
  int ActiveControl = 0;

  // Shows the window modally; mrOk or mrCancel. The settings are saved when it closes.
  int ShowModal();
  // Checks run when OK is pressed: the text of the first that fails, empty when all pass.
  virtual std::string CheckEntries() { return {}; }

  // Key handling: Enter becomes Tab (the next entry gets the focus; key is set to 0);
  // Ctrl+Shift+F12 runs aScale.
  void FormKeyDown(int& key, bool ctrl, bool shift);
  // Delete released in a date entry clears the date.
  void FormKeyUp(int& key);
  // Checks the current zoom's menu item and pops the menu up.
  void aScaleExecute();
  // A zoom menu item chosen: scales the window when it is another zoom.
  void mnpClick(int index);
  // Scales the window (its size, and with it every control) by m / d.
  void ScaleBy(int m, int d);
  // Sets the size, never below MinWidth x MinHeight.
  void SetSize(int width, int height);
  // Writes position, size, zoom and state to the settings file.
  void FormClose();

  const std::string& SettingsFile() const { return file_; }
  const std::string& Section() const { return section_; }
  const Geometry& Design() const { return design_; }

 private:
  void Restore();
  ui::Ui* ui() const;

  compark* owner_;
  std::string section_;
  Geometry design_;
  std::string file_;
  bool placed_ = false;  // a position is known (remembered, or where the user left the window)
};

// The settings file of a computer: host folder + computer name + "_Setting.dsk".
std::string SettingsFileName(const std::string& host_path, const std::string& computer);
// This computer's network name.
std::string ComputerName();

}  // namespace hrdoc
