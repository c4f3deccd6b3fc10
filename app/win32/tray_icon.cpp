#include "app/win32/tray_icon.h"

#include <shellapi.h>

#include <algorithm>
#include <vector>

#include "app/icon_art.h"

namespace paginor::app::win32 {

HICON DrawTrayImage(int index, int size) {
  size = std::max(size, 8);
  BITMAPV5HEADER header{};
  header.bV5Size = sizeof(header);
  header.bV5Width = size;
  header.bV5Height = -size;
  header.bV5Planes = 1;
  header.bV5BitCount = 32;
  header.bV5Compression = BI_BITFIELDS;
  header.bV5RedMask = 0x00FF0000;
  header.bV5GreenMask = 0x0000FF00;
  header.bV5BlueMask = 0x000000FF;
  header.bV5AlphaMask = 0xFF000000;
  void* bits = nullptr;
  const HDC screen = GetDC(nullptr);
  const HBITMAP colour = CreateDIBSection(screen, reinterpret_cast<const BITMAPINFO*>(&header), DIB_RGB_COLORS,
                                          &bits, nullptr, 0);
  ReleaseDC(nullptr, screen);
  if (!colour) return nullptr;
  const std::vector<std::uint32_t> art = DrawIconArt(index, size);
  std::copy(art.begin(), art.end(), static_cast<DWORD*>(bits));
  const HBITMAP mask = CreateBitmap(size, size, 1, 1, nullptr);
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmColor = colour;
  info.hbmMask = mask;
  const HICON icon = CreateIconIndirect(&info);
  DeleteObject(mask);
  DeleteObject(colour);
  return icon;
}

NOTIFYICONDATAW TrayIcon::Data() const {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = window_;
  data.uID = kTrayIconId;
  return data;
}

bool TrayIcon::Add(HWND window, int iconSize, int image) {
  window_ = window;
  image_ = image == 1 ? 1 : 0;
  for (int i = 0; i < 2; ++i) icons_[i].Reset(DrawTrayImage(i, iconSize));
  NOTIFYICONDATAW data = Data();
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kTrayCallbackMessage;
  data.hIcon = icons_[image_].get();
  lstrcpynW(data.szTip, L"Paginor", ARRAYSIZE(data.szTip));
  added_ = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
  return added_;
}

void TrayIcon::ShowImage(int image) {
  image_ = image == 1 ? 1 : 0;
  if (!added_) return;
  NOTIFYICONDATAW data = Data();
  data.uFlags = NIF_ICON;
  data.hIcon = icons_[image_].get();
  Shell_NotifyIconW(NIM_MODIFY, &data);
}

void TrayIcon::Remove() {
  if (!added_) return;
  NOTIFYICONDATAW data = Data();
  Shell_NotifyIconW(NIM_DELETE, &data);
  added_ = false;
}

void TrayIcon::OnCallback(LPARAM event, TrayControl& control) {
  switch (LOWORD(event)) {
    case WM_LBUTTONUP:
      // The button-up that ends a double click is not a click of its own.
      if (swallowNextUp_) {
        swallowNextUp_ = false;
        return;
      }
      SetTimer(window_, kTrayClickTimer, GetDoubleClickTime(), nullptr);
      return;
    case WM_LBUTTONDBLCLK:
      KillTimer(window_, kTrayClickTimer);
      swallowNextUp_ = true;
      return;
    case WM_RBUTTONUP:
    case WM_CONTEXTMENU:
      ShowMenu(control.bsSkinPopupMenu1Popup());
      return;
    default:
      return;
  }
}

void TrayIcon::OnClickTimer(TrayControl& control) {
  KillTimer(window_, kTrayClickTimer);
  control.bsTrayIcon1Click();
}

void TrayIcon::ShowMenu(bool pagingDisabled) {
  const HMENU menu = CreatePopupMenu();
  if (!menu) return;
  AppendMenuW(menu, MF_STRING, kMenuN4, L"显示/隐藏主界面");
  AppendMenuW(menu, MF_STRING | (pagingDisabled ? MF_CHECKED : MF_UNCHECKED), kMenuN1, L"临时禁用翻页");
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, kMenuN2, L"退出程序");
  POINT at{};
  GetCursorPos(&at);
  // Without being the foreground window the menu would not close when the user clicks
  // elsewhere; the posted null message lets it close on the first such click.
  SetForegroundWindow(window_);
  const UINT align = GetSystemMetrics(SM_MENUDROPALIGNMENT) ? TPM_RIGHTALIGN : TPM_LEFTALIGN;
  TrackPopupMenuEx(menu, align | TPM_BOTTOMALIGN | TPM_RIGHTBUTTON, at.x, at.y, window_, nullptr);
  PostMessageW(window_, WM_NULL, 0, 0);
  DestroyMenu(menu);
}

}  // namespace paginor::app::win32
