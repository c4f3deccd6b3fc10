// The hook callbacks' portable decision path, one event at a time: 10,000 key events and
// 10,000 mouse events shaped like real use (typing with auto-repeat and shortcuts;
// moving, right-button strokes, clicks and double clicks).

#include <chrono>
#include <cstdint>
#include <vector>

#include "bench/event_timing.h"
#include "hooks/key_filter.h"
#include "hooks/stroke_tracker.h"

namespace paginor::hooks {
namespace {

constexpr int kEvents = 10000;

// Stands in for the system's modifier state, which the filter asks rarely.
class Probe : public ModifierProbe {
 public:
  bool IsDown(unsigned vk) override { return vk == kVkLeftControl && controlDown; }
  bool controlDown = false;
};

template <class Event>
double TimeOne(Event&& event) {
  const auto start = std::chrono::steady_clock::now();
  event();
  const auto end = std::chrono::steady_clock::now();
  return std::chrono::duration<double, std::micro>(end - start).count();
}

volatile int sink = 0;  // keeps the decisions from being optimised away
void Keep(int v) { sink = v; }

bench::EventTiming Keys() {
  KeyFilter filter;
  Probe probe;
  std::vector<double> times;
  times.reserve(kEvents);
  std::uint32_t now = 0;
  const unsigned text[] = {'X', 'S', 'A', '1', '2', 13, 'Q', 0x20, 0x70, 'H'};
  for (int i = 0; times.size() < kEvents; ++i) {
    const unsigned vk = text[i % 10];
    const bool shortcut = i % 17 == 0;
    probe.controlDown = shortcut;
    if (shortcut) times.push_back(TimeOne([&] { Keep(static_cast<int>(filter.OnKey({kVkLeftControl, true, now, false}, probe))); }));
    times.push_back(TimeOne([&] { Keep(static_cast<int>(filter.OnKey({vk, true, now += 40, false}, probe))); }));
    if (i % 23 == 0) {  // held: auto-repeat
      for (int r = 0; r < 5; ++r) times.push_back(TimeOne([&] { Keep(static_cast<int>(filter.OnKey({vk, true, now += 33, false}, probe))); }));
    }
    times.push_back(TimeOne([&] { Keep(static_cast<int>(filter.OnKey({vk, false, now += 60, false}, probe))); }));
    if (shortcut) times.push_back(TimeOne([&] { Keep(static_cast<int>(filter.OnKey({kVkLeftControl, false, now, false}, probe))); }));
  }
  times.resize(kEvents);
  return bench::Summarise(times);
}

bench::EventTiming Mouse() {
  StrokeTracker strokes;
  DoubleClickDetector doubles;
  const DoubleClickDetector::Limits limits;
  std::vector<double> times;
  times.reserve(kEvents);
  std::uint32_t now = 0;
  Point p{400, 300};
  for (int i = 0; times.size() < kEvents; ++i) {
    const int phase = i % 4;
    if (phase == 1) times.push_back(TimeOne([&] { Keep(static_cast<int>(strokes.OnRightDown(p, true).swallow)); }));
    for (int m = 0; m < 40; ++m) {
      p.x += phase == 1 ? -4 : 1;
      times.push_back(TimeOne([&] { Keep(static_cast<int>(strokes.OnMove(p).count)); }));
    }
    if (phase == 1) times.push_back(TimeOne([&] { Keep(static_cast<int>(strokes.OnRightUp(p).count)); }));
    if (phase == 2) {
      for (int c = 0; c < 2; ++c) {
        times.push_back(TimeOne([&] { Keep(static_cast<int>(doubles.OnLeftDown(p, now += 120, limits))); }));
      }
    }
    now += 1000;
  }
  times.resize(kEvents);
  return bench::Summarise(times);
}

}  // namespace
}  // namespace paginor::hooks

int main() {
  using namespace paginor;
  bench::Print("keyboard decision (KeyFilter)", paginor::hooks::kEvents, hooks::Keys());
  bench::Print("mouse decision (strokes, double clicks)", paginor::hooks::kEvents, hooks::Mouse());
}
