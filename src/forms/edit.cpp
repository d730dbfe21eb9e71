#include "forms/edit.h"

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <exception>

#include "host/compark.h"
#include "ui/ini_file.h"

namespace hrdoc {

std::string SettingsFileName(const std::string& host_path, const std::string& computer) {
  size_t slash = host_path.rfind('/');
  std::string folder = slash == std::string::npos ? std::string() : host_path.substr(0, slash + 1);
  return folder + computer + "_Setting.dsk";
}

std::string ComputerName() {
  char name[HOST_NAME_MAX + 1] = {};
  if (gethostname(name, sizeof name - 1) != 0 || !name[0]) return "localhost";
  return name;
}

TfmEdit::TfmEdit(compark* owner, std::string section, Geometry design, std::string computer)
    : owner_(owner), section_(std::move(section)), design_(design) {
  for (int p = 50; p <= 150; p += 10) {
    char caption[16];
    std::snprintf(caption, sizeof caption, " %d%%", p);
    PopupMenu1.push_back({"mnp" + std::to_string(p), caption, p, p == 100});
  }
  Left = design_.Left, Top = design_.Top;
  SetSize(design_.Width, design_.Height);
  const std::string host = owner_ ? owner_->ext().host_path : std::string();
  file_ = SettingsFileName(host, computer.empty() ? ComputerName() : computer);
  Restore();
}

ui::Ui* TfmEdit::ui() const { return owner_ ? owner_->ui() : nullptr; }

void TfmEdit::Restore() {
  // The design zoom is 100 %.
  constexpr int kDesignScale = 100;
  try {
    ui::IniFile ini(file_);
    if (!ini.value_exists(section_, "LeftStart")) {
      ini.write_int(section_, "LeftStart", design_.Left);
      ini.write_int(section_, "TopStart", design_.Top);
      ini.write_int(section_, "HeightStart", design_.Height);
      ini.write_int(section_, "WidthStart", design_.Width);
      ini.write_int(section_, "ScaleStart", kDesignScale);
      ini.save();
    }
    int scale = ini.read_int(section_, "Scale", kDesignScale);
    if (scale < 50 || scale > 150) scale = kDesignScale;
    if (scale != kDesignScale) {
      ScaleBy(scale, kDesignScale);
      Scale = scale;
    }
    if (ini.value_exists(section_, "Left")) {
      Left = ini.read_int(section_, "Left", Left);
      Top = ini.read_int(section_, "Top", Top);
      Height = ini.read_int(section_, "Height", Height);
      Width = ini.read_int(section_, "Width", Width);
      SetSize(Width, Height);
      WindowState = ini.read_int(section_, "WinState", wsNormal);
      placed_ = true;
    } else if (ui::Ui* u = ui()) {
      // Centred on the desktop; a renderer without geometry keeps the design position.
      auto [w, h] = u->desktop_size();
      if (w > 0 && h > 0) Left = (w - Width) / 2, Top = (h - Height) / 2;
    }
  } catch (const std::exception& e) {
    if (ui::Ui* u = ui()) u->message_box("Предупреждение", e.what(), ui::MB_ICONWARNING);
  }
  for (auto& item : PopupMenu1) item.Checked = item.Percent == Scale;
}

void TfmEdit::ScaleBy(int m, int d) {
  if (d == 0) return;
  SetSize(Width * m / d, Height * m / d);
}

void TfmEdit::SetSize(int width, int height) {
  Width = std::max(width, MinWidth);
  Height = std::max(height, MinHeight);
}

void TfmEdit::FormKeyDown(int& key, bool ctrl, bool shift) {
  if (key == VK_RETURN && !ctrl) {
    key = 0;
    if (!Fields.empty()) ActiveControl = (ActiveControl + 1) % static_cast<int>(Fields.size());
    return;
  }
  if (key == VK_F12 && ctrl && shift) {
    key = 0;
    aScaleExecute();
  }
}

void TfmEdit::FormKeyUp(int& key) {
  if (key != VK_DELETE || ActiveControl < 0 || ActiveControl >= static_cast<int>(Fields.size())) return;
  ui::Field& f = Fields[static_cast<size_t>(ActiveControl)];
  if (f.kind == ui::FieldKind::date) f.value.clear();
}

void TfmEdit::aScaleExecute() {
  int current = -1;
  std::vector<std::string> captions;
  for (size_t i = 0; i < PopupMenu1.size(); ++i) {
    PopupMenu1[i].Checked = PopupMenu1[i].Percent == Scale;
    if (PopupMenu1[i].Checked) current = static_cast<int>(i);
    captions.push_back(PopupMenu1[i].Caption);
  }
  ui::Ui* u = ui();
  if (!u) return;
  int chosen = u->choose("Масштаб", captions, current);
  if (chosen >= 0) mnpClick(chosen);
}

void TfmEdit::mnpClick(int index) {
  if (index < 0 || index >= static_cast<int>(PopupMenu1.size())) return;
  int percent = PopupMenu1[static_cast<size_t>(index)].Percent;
  if (percent == Scale) return;
  ScaleBy(percent, Scale);
  Scale = percent;
  for (auto& item : PopupMenu1) item.Checked = item.Percent == Scale;
}

void TfmEdit::FormClose() {
  try {
    ui::IniFile ini(file_);
    ini.write_int(section_, "Left", Left);
    ini.write_int(section_, "Top", Top);
    ini.write_int(section_, "Height", Height);
    ini.write_int(section_, "Width", Width);
    ini.write_int(section_, "Scale", Scale);
    ini.write_int(section_, "WinState", WindowState);
    ini.save();
  } catch (const std::exception& e) {
    if (ui::Ui* u = ui()) u->message_box("Предупреждение", e.what(), ui::MB_ICONWARNING);
  }
}

int TfmEdit::ShowModal() {
  ui::Ui* u = ui();
  int result = mrCancel;
  if (u) {
    ui::Form form;
    form.name = section_;
    form.caption = Caption;
    form.fields = Fields;
    form.buttons.push_back(bbOk);
    if (CancelVisible) form.buttons.push_back(bbCancel);
    // Windows with real geometry open where the settings say and give back where they were left.
    auto place = [this, &form] {
      form.placement = {true, Left, Top, Width, Height, Scale, !placed_};
    };
    place();
    form.actions.push_back({'z', "Масштаб (Ctrl+Shift+F12)", [this, &form, place] {
                              const int scale = Scale;
                              aScaleExecute();
                              if (Scale != scale) place();
                            }, "Ctrl+Shift+F12"});
    for (;;) {
      bool confirmed = u->edit_form(form);
      Fields = form.fields;
      if (form.placement.set && form.placement.width > 0) {
        Left = form.placement.left, Top = form.placement.top;
        SetSize(form.placement.width, form.placement.height);
        placed_ = true;
      }
      if (!confirmed) break;
      std::string error = CheckEntries();
      if (error.empty()) {
        result = mrOk;
        break;
      }
      u->message_box("Ошибка", error, ui::MB_ICONERROR);
      if (!u->can_ask_again()) break;
    }
  }
  FormClose();
  return result;
}

}  // namespace hrdoc
