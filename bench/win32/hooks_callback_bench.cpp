// The real hook callbacks, called one event at a time with the hooks installed: the key
// filter with its modifier look-ups, the stroke tracker with the window look-up of a right
// press, the posts to the hook thread. Run under Xvfb (the right press needs a window
// under the pointer): median and worst of 10,000 events per hook.

#include <windows.h>

#include <cstdio>
#include <vector>

#include "bench/event_timing.h"
#include "hooks/win32/keyboard_hook.h"
#include "hooks/win32/mouse_hook.h"

namespace paginor::hooks {
namespace {

constexpr std::size_t kEvents = 10000;

class Clock {
 public:
  Clock() { QueryPerformanceFrequency(&frequency_); }
  template <class Event>
  double TimeOne(Event&& event) const {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    event();
    QueryPerformanceCounter(&end);
    return static_cast<double>(end.QuadPart - start.QuadPart) * 1e6 /
           static_cast<double>(frequency_.QuadPart);
  }

 private:
  LARGE_INTEGER frequency_{};
};

// With `whole`, the callback as Windows calls it, passing the event on included.
bench::EventTiming Keys(const Clock& clock, bool whole) {
  std::vector<double> times;
  times.reserve(kEvents + 16);
  DWORD now = GetTickCount();
  const auto key = [&](DWORD vk, bool down) {
    KBDLLHOOKSTRUCT k{};
    k.vkCode = vk;
    k.time = now += 35;
    const WPARAM message = down ? WM_KEYDOWN : WM_KEYUP;
    times.push_back(clock.TimeOne([&] {
      if (whole) {
        keyboard::KeyboardProc(HC_ACTION, message, reinterpret_cast<LPARAM>(&k));
      } else {
        keyboard::OnKeyEvent(message, k);
      }
    }));
  };
  const DWORD text[] = {'X', 'S', 'A', '1', '2', VK_RETURN, 'Q', VK_SPACE, VK_F1, 'H'};
  for (int i = 0; times.size() < kEvents; ++i) {
    const DWORD vk = text[i % 10];
    const bool shortcut = i % 17 == 0;
    if (shortcut) key(VK_LCONTROL, true);
    key(vk, true);
    if (i % 23 == 0) {
      for (int r = 0; r < 5; ++r) key(vk, true);
    }
    key(vk, false);
    if (shortcut) key(VK_LCONTROL, false);
  }
  times.resize(kEvents);
  return bench::Summarise(times);
}

struct MouseTimings {
  bench::EventTiming all;
  bench::EventTiming rightPress;
};

MouseTimings Mouse(const Clock& clock, POINT over, bool whole) {
  std::vector<double> times, presses;
  times.reserve(kEvents + 64);
  DWORD now = GetTickCount();
  POINT p = over;
  const auto event = [&](WPARAM message) {
    MSLLHOOKSTRUCT m{};
    m.pt = p;
    m.time = now += 8;
    const double t = clock.TimeOne([&] {
      if (whole) {
        mouse::MouseProc(HC_ACTION, message, reinterpret_cast<LPARAM>(&m));
      } else {
        mouse::OnMouseEvent(message, m);
      }
    });
    times.push_back(t);
    if (message == WM_RBUTTONDOWN) presses.push_back(t);
  };
  for (int i = 0; times.size() < kEvents; ++i) {
    const int phase = i % 4;
    p = over;
    if (phase == 1) event(WM_RBUTTONDOWN);
    for (int m = 0; m < 40; ++m) {
      p.x += phase == 1 ? -4 : 1;
      event(WM_MOUSEMOVE);
    }
    if (phase == 1) event(WM_RBUTTONUP);
    if (phase == 2) {
      event(WM_LBUTTONDOWN);
      event(WM_LBUTTONUP);
      event(WM_LBUTTONDOWN);
      event(WM_LBUTTONUP);
      now += 1000;
    }
  }
  times.resize(kEvents);
  return {bench::Summarise(times), bench::Summarise(presses)};
}

int Run() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"Internet Explorer_Server";
  RegisterClassW(&wc);
  const HWND page = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 100, 100, 800,
                                    600, nullptr, nullptr, wc.hInstance, nullptr);
  if (!page || !keyboard::Start() || !mouse::Start()) {
    std::printf("cannot create the page window or install the hooks (no display?)\n");
    return 1;
  }
  const Clock clock;
  for (const bool whole : {false, true}) {
    std::printf(whole ? "whole callbacks, with CallNextHookEx:\n" : "decision paths, posts included:\n");
    bench::Print("  keyboard", kEvents, Keys(clock, whole));
    const MouseTimings mouseTimes = Mouse(clock, {700, 400}, whole);
    bench::Print("  mouse", kEvents, mouseTimes.all);
    bench::Print("    of which right presses (window look-up)", kEvents / 4 / 42 + 1,
                 mouseTimes.rightPress);
  }
  keyboard::Stop();
  mouse::Stop();
  DestroyWindow(page);
  return 0;
}

}  // namespace
}  // namespace paginor::hooks

int main() { return paginor::hooks::Run(); }
