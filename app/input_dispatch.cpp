#include "app/input_dispatch.h"

#include <array>

#include "hooks/MouseHookCommon.h"
#include "hooks/keyHookCommon.h"

namespace paginor::app {

namespace {

// Zones and gestures are compared in this order; letters in PageCommand order.
constexpr std::array<PageCommand, kPageCommandCount> kMouseOrder = {
    PageCommand::First, PageCommand::Next, PageCommand::Prev,
    PageCommand::Last,  PageCommand::Back, PageCommand::Forward};

constexpr std::array<std::string_view, kPageCommandCount> kCommandNames = {
    "prev", "next", "first", "last", "back", "forward"};

// The character whose code is the key code. Codes past ASCII name no character of a
// letter edit, so they match nothing.
std::string KeyCharacter(std::uintptr_t key) {
  if (key == 0 || key > 0x7F) return {};
  return std::string(1, static_cast<char>(key));
}

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string UpperAscii(std::string text) {
  for (char& c : text) c = AsciiUpper(c);
  return text;
}

}  // namespace

std::string_view CommandName(PageCommand command) {
  return kCommandNames[static_cast<std::size_t>(command)];
}

InputDispatch::InputDispatch(const Parts& parts)
    : settings_(parts.settings),
      controls_(parts.controls),
      cursor_(parts.cursor),
      clock_(parts.clock),
      receiver_(parts.receiver) {}

void InputDispatch::Dispatch(InputMessage message, std::uintptr_t wParam, std::intptr_t lParam) {
  if (settings_.pagingDisabled()) return;
  const DispatchTables& tables = settings_.tables();
  switch (message) {
    case InputMessage::KeyHook:
    case InputMessage::FloatKey:
      HandleKey(wParam);
      return;
    case InputMessage::MouseHook3:
      if (tables.useDoubleClick) HandleZone(wParam);
      return;
    case InputMessage::MouseHook1:
      if (tables.useGestures) HandleStroke(wParam, lParam);
      return;
    case InputMessage::FloatMouse:
      if (tables.useGestures && wParam != 0) FireGesture(wParam);
      return;
    case InputMessage::MouseHook2:
      return;
  }
}

void InputDispatch::HandleKey(std::uintptr_t key) {
  // The capture key works even with keyboard commands off.
  if (Capture(key)) return;
  if (!settings_.tables().useKeyboard) return;
  if (!CollectDigit(key)) return;
  MatchLetter(key);
}

bool InputDispatch::Capture(std::uintptr_t key) {
  const std::string ch = KeyCharacter(key);
  const std::string captureKey = UpperAscii(controls_.Text(Control::xyEdit));
  if (ch.empty() || captureKey.empty() || ch != captureKey) return false;
  const ScreenPoint p = cursor_.CursorPos();
  controls_.SetText(Control::xEdit, std::to_string(p.x));
  controls_.SetText(Control::yEdit, std::to_string(p.y));
  return true;
}

bool InputDispatch::CollectDigit(std::uintptr_t key) {
  if (key == hooks::kVkEnter) {
    if (pageDigits_.empty()) return false;
    const std::int64_t elapsed = clock_.Milliseconds() - firstDigitTime_;
    // The limit counts from the first digit, not the last.
    if (elapsed >= 0 && elapsed <= kPageNumberMilliseconds) {
      receiver_.ReceiveCommand(pageDigits_, Origin::Keyboard);
    }
    pageDigits_.clear();
    return true;
  }
  if (key >= hooks::kVkDigit0 && key <= hooks::kVkDigit9) {
    if (pageDigits_.empty()) firstDigitTime_ = clock_.Milliseconds();
    if (pageDigits_.size() >= static_cast<std::size_t>(kMaxPageDigits)) return true;
    pageDigits_ += static_cast<char>(key);
    return false;
  }
  pageDigits_.clear();
  return true;
}

void InputDispatch::MatchLetter(std::uintptr_t key) {
  std::string ch = KeyCharacter(key);
  if (ch.empty()) return;
  ch[0] = AsciiLower(ch[0]);
  const DispatchTables& tables = settings_.tables();
  for (int i = 0; i < kPageCommandCount; ++i) {
    const auto command = static_cast<PageCommand>(i);
    if (tables.LetterOf(command) == ch) {
      receiver_.ReceiveCommand(CommandName(command), Origin::Keyboard);
      return;
    }
  }
}

void InputDispatch::HandleZone(std::uintptr_t zone) {
  // Only the four zones the hook reports; "无" (4) never matches.
  if (zone > static_cast<std::uintptr_t>(hooks::DoubleClickZone::Elsewhere)) return;
  const DispatchTables& tables = settings_.tables();
  for (const PageCommand command : kMouseOrder) {
    if (tables.ZoneOf(command) == static_cast<int>(zone)) {
      receiver_.ReceiveCommand(CommandName(command), Origin::Mouse);
      return;
    }
  }
}

void InputDispatch::HandleStroke(std::uintptr_t event, std::intptr_t point) {
  switch (event) {
    case hooks::kStrokeMove:
      stroke_.Move(point);
      return;
    case hooks::kStrokeStart:
      stroke_.Start();
      return;
    case hooks::kStrokeEnd:
      if (const int r = stroke_.End(); r != 0) FireGesture(static_cast<std::uintptr_t>(r));
      return;
    default:
      return;
  }
}

void InputDispatch::FireGesture(std::uintptr_t gesture) {
  // Gestures 1 to 4 are codes 0 to 3; "无" (4) must never match.
  if (gesture < 1 || gesture > 4) return;
  const int code = static_cast<int>(gesture) - 1;
  const DispatchTables& tables = settings_.tables();
  for (const PageCommand command : kMouseOrder) {
    if (tables.GestureOf(command) == code) {
      receiver_.ReceiveCommand(CommandName(command), Origin::Mouse);
      return;
    }
  }
}

}  // namespace paginor::app
