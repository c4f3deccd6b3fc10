#pragma once
// The settings behind "键盘动作", "鼠标动作" and "一般选项": loading them into the
// controls, Apply and Cancel, the dispatch tables, and what is written at close.

#include <string>
#include <vector>

#include "app/controls.h"
#include "app/dispatch_tables.h"
#include "app/notices.h"
#include "app/profile_file.h"

namespace paginor::app {

// Where the temporary disable shows itself: the tray icon's image (0 on, 1 off).
class TrayImage {
 public:
  virtual ~TrayImage() = default;
  virtual void ShowImage(int index) = 0;
};

class SettingsStore {
 public:
  SettingsStore(Controls& controls, ProfileFile& profile, Notices& notices, TrayImage& tray);

  void LoadKeySettings();
  void LoadMouseSettings();
  // At start; the caller sets loadingSettings around it.
  void LoadGeneralSettings();
  void RefreshDispatchTables();

  void keyBtn1Click();  // 应用 on "键盘动作"
  void keyBtn2Click();  // 取消
  void MouseBtn1Click();  // 应用 on "鼠标动作"
  void MouseBtn2Click();  // 取消
  // A letter edit, xyEdit or CheckBoxKey changed.
  void Edit1Change();
  // One of the twelve combos or either mouse check box changed.
  void cb11Change();

  // Writes the browser choice and the options; false when tpnav.ini could not be written.
  bool SaveOnClose();

  bool loadingSettings = false;
  bool pagingDisabled() const { return pagingDisabled_; }
  void SetPagingDisabled(bool disabled);
  const DispatchTables& tables() const { return tables_; }

 private:
  void RefreshKeyTables();
  bool HasDuplicate(bool gestures) const;
  bool WriteAll(const std::vector<ProfileEntry>& entries);

  Controls& controls_;
  ProfileFile& profile_;
  Notices& notices_;
  TrayImage& tray_;
  DispatchTables tables_;
  bool pagingDisabled_ = false;
};

}  // namespace paginor::app
