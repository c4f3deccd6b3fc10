#pragma once
// Turns the messages of the hook libraries and the floating box into page-turn commands.

#include <cstdint>
#include <string>
#include <string_view>

#include "app/controls.h"
#include "app/settings_store.h"
#include "app/stroke.h"
#include "engine/command.h"
#include "engine/window_messenger.h"

namespace paginor::app {

// The six registered messages, once the window procedure has recognised one.
enum class InputMessage { KeyHook, FloatKey, MouseHook1, MouseHook2, MouseHook3, FloatMouse };

class CommandReceiver {
 public:
  virtual ~CommandReceiver() = default;
  virtual void ReceiveCommand(std::string_view command, Origin origin) = 0;
};

class CursorReader {
 public:
  virtual ~CursorReader() = default;
  virtual ScreenPoint CursorPos() const = 0;
};

// Milliseconds from a steady source. The page-number limit is a span of real time: a
// wall clock moved by daylight saving or a time sync would stretch or cut it.
class TickClock {
 public:
  virtual ~TickClock() = default;
  virtual std::int64_t Milliseconds() const = 0;
};

inline constexpr std::int64_t kPageNumberMilliseconds = 3000;
inline constexpr int kMaxPageDigits = 5;

// "prev", "next", ... by PageCommand.
std::string_view CommandName(PageCommand command);

class InputDispatch {
 public:
  struct Parts {
    const SettingsStore& settings;
    Controls& controls;
    const CursorReader& cursor;
    const TickClock& clock;
    CommandReceiver& receiver;
  };
  explicit InputDispatch(const Parts& parts);

  void Dispatch(InputMessage message, std::uintptr_t wParam, std::intptr_t lParam);

 private:
  void HandleKey(std::uintptr_t key);
  bool Capture(std::uintptr_t key);
  // False when Enter or a digit ends the handling of the key.
  bool CollectDigit(std::uintptr_t key);
  void MatchLetter(std::uintptr_t key);
  void HandleZone(std::uintptr_t zone);
  void HandleStroke(std::uintptr_t event, std::intptr_t point);
  // Gesture r of the stroke classifier or the floating box: 1 to 4.
  void FireGesture(std::uintptr_t gesture);

  const SettingsStore& settings_;
  Controls& controls_;
  const CursorReader& cursor_;
  const TickClock& clock_;
  CommandReceiver& receiver_;
  std::string pageDigits_;
  std::int64_t firstDigitTime_ = 0;
  StrokeRecorder stroke_;
};

}  // namespace paginor::app
