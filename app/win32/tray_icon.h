#pragma once
// The notification-area icon: its two images, drawn here at the size the display asks
// for, its menu and its clicks. What a click means is decided by TrayControl.

#include <windows.h>

#include <shellapi.h>

#include "app/tray_control.h"
#include "app/win32/resource.h"

namespace paginor::app::win32 {

inline constexpr UINT kTrayCallbackMessage = WM_PAGINOR_TRAY;
inline constexpr UINT kTrayIconId = 1;
// The menu items' command ids, sent to the main window.
inline constexpr UINT kMenuN4 = IDM_N4;  // "显示/隐藏主界面"
inline constexpr UINT kMenuN1 = IDM_N1;  // "临时禁用翻页"
inline constexpr UINT kMenuN2 = IDM_N2;  // "退出程序"
// The timer that waits out the double-click time before a single click counts.
inline constexpr UINT_PTR kTrayClickTimer = 2;

// Image 0 (page turning on) or 1 (off), with alpha, square of the given side in pixels.
HICON DrawTrayImage(int index, int size);

class OwnedIcon {
 public:
  OwnedIcon() = default;
  OwnedIcon(const OwnedIcon&) = delete;
  OwnedIcon& operator=(const OwnedIcon&) = delete;
  ~OwnedIcon() { Reset(nullptr); }
  void Reset(HICON icon) {
    if (icon_) DestroyIcon(icon_);
    icon_ = icon;
  }
  HICON get() const { return icon_; }

 private:
  HICON icon_ = nullptr;
};

class TrayIcon {
 public:
  TrayIcon() = default;
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;
  ~TrayIcon() { Remove(); }

  // Adds the icon, again after Explorer restarted ("TaskbarCreated"); iconSize is the
  // small-icon size of the display's scaling, which the notification area shows.
  bool Add(HWND window, int iconSize, int image);
  void ShowImage(int image);
  void Remove();

  // The callback message: single clicks wait out the double-click time, a double click
  // cancels them, the right button opens the menu.
  void OnCallback(LPARAM event, TrayControl& control);
  void OnClickTimer(TrayControl& control);

 private:
  void ShowMenu(bool pagingDisabled);
  NOTIFYICONDATAW Data() const;

  HWND window_ = nullptr;
  bool added_ = false;
  int image_ = 0;
  bool swallowNextUp_ = false;
  OwnedIcon icons_[2];
};

}  // namespace paginor::app::win32
