#include "app/win32/tray_icon.h"

#include <shellapi.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace paginor::app::win32 {
namespace {

struct Colour {
  double r, g, b;
};

// Shapes in a unit square; coverage is sampled 4 x 4 per pixel, so the edges stay smooth
// and sharp at any size instead of a 48-pixel bitmap scaled down.
double RoundedBox(double x, double y, double inset, double radius) {
  const double cx = std::clamp(x, inset + radius, 1.0 - inset - radius);
  const double cy = std::clamp(y, inset + radius, 1.0 - inset - radius);
  return std::hypot(x - cx, y - cy) <= radius ? 1.0 : 0.0;
}

double NearSegment(double x, double y, double ax, double ay, double bx, double by, double halfWidth) {
  const double dx = bx - ax, dy = by - ay;
  const double t = std::clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  return std::hypot(x - (ax + t * dx), y - (ay + t * dy)) <= halfWidth ? 1.0 : 0.0;
}

// A rounded tile with a double chevron, "next page"; while disabled the tile is grey and
// crossed by a red bar.
struct Layer {
  double coverage;
  Colour colour;
};

std::vector<Layer> Sample(int index, double x, double y) {
  const bool off = index == 1;
  const Colour sheet = off ? Colour{0.62, 0.62, 0.62} : Colour{0.16, 0.45, 0.80};
  const Colour mark{1.0, 1.0, 1.0};
  std::vector<Layer> layers;
  layers.push_back({RoundedBox(x, y, 0.04, 0.16), sheet});
  const double w = 0.075;
  const double chevron = std::max({NearSegment(x, y, 0.26, 0.24, 0.50, 0.50, w),
                                   NearSegment(x, y, 0.50, 0.50, 0.26, 0.76, w),
                                   NearSegment(x, y, 0.50, 0.24, 0.74, 0.50, w),
                                   NearSegment(x, y, 0.74, 0.50, 0.50, 0.76, w)});
  layers.push_back({chevron, mark});
  if (off) layers.push_back({NearSegment(x, y, 0.14, 0.86, 0.86, 0.14, 0.08), Colour{0.85, 0.10, 0.10}});
  return layers;
}

}  // namespace

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
  auto* pixels = static_cast<DWORD*>(bits);
  constexpr int kSamples = 4;
  for (int py = 0; py < size; ++py) {
    for (int px = 0; px < size; ++px) {
      double a = 0, r = 0, g = 0, b = 0;  // premultiplied "over" compositing per sample
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          const double x = (px + (sx + 0.5) / kSamples) / size;
          const double y = (py + (sy + 0.5) / kSamples) / size;
          double sa = 0, sr = 0, sg = 0, sb = 0;
          for (const Layer& layer : Sample(index, x, y)) {
            const double c = layer.coverage;
            sr = layer.colour.r * c + sr * (1 - c);
            sg = layer.colour.g * c + sg * (1 - c);
            sb = layer.colour.b * c + sb * (1 - c);
            sa = c + sa * (1 - c);
          }
          a += sa;
          r += sr;
          g += sg;
          b += sb;
        }
      }
      const double n = kSamples * kSamples;
      auto byte = [](double v) { return static_cast<DWORD>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0)); };
      pixels[py * size + px] = byte(a / n) << 24 | byte(r / n) << 16 | byte(g / n) << 8 | byte(b / n);
    }
  }
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
