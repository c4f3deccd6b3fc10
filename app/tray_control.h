#pragma once
// The tray icon's clicks and menu, and how the main window hides, shows and moves.

#include "app/controls.h"
#include "app/settings_store.h"

namespace paginor::app {

class MainWindowView {
 public:
  virtual ~MainWindowView() = default;
  virtual bool Visible() const = 0;
  // Back from the tray: visible, on the taskbar, restored if it was minimized.
  virtual void Show() = 0;
  // Into the tray: invisible and off the taskbar; the icon stays.
  virtual void Hide() = 0;
};

enum class MouseButton { Left, Middle, Right };

// A press on a tab's background drags the window, unless it is the right button, which
// belongs to context menus.
constexpr bool DragsWindow(MouseButton button) { return button != MouseButton::Right; }

class TrayControl {
 public:
  TrayControl(SettingsStore& settings, const Controls& controls, MainWindowView& window);

  // A single left click; a double click reaches neither this nor the menu.
  void bsTrayIcon1Click();
  // The check mark of "临时禁用翻页" when the menu opens.
  bool bsSkinPopupMenu1Popup() const;
  void N4Click();  // "显示/隐藏主界面"
  void N1Click();  // "临时禁用翻页"
  // Minimizing, from the frame or from the updater's launch, goes to the tray.
  void OnMinimize();

 private:
  SettingsStore& settings_;
  const Controls& controls_;
  MainWindowView& window_;
};

}  // namespace paginor::app
