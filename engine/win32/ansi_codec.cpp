// The ANSI code page through the system's converters. CP_ACP is the code page of the
// user's system locale, 936 (GBK) on the systems the program addresses; files written
// on another locale follow that locale, as every other ANSI program there does.

#include <windows.h>

#include <climits>
#include <cstddef>
#include <string>

#include "engine/text_codec.h"

namespace paginor {
namespace {

constexpr int kMaxChunk = INT_MAX / 4;
// Below this a stretch with a bad byte is converted character by character.
constexpr std::size_t kSmallStretch = 64;

std::wstring Widen(UINT codePage, DWORD flags, std::string_view text, bool& ok) {
  ok = true;
  if (text.empty()) return {};
  if (text.size() > static_cast<std::size_t>(kMaxChunk)) {
    ok = false;
    return {};
  }
  const int length = static_cast<int>(text.size());
  const int needed = MultiByteToWideChar(codePage, flags, text.data(), length, nullptr, 0);
  if (needed <= 0) {
    ok = false;
    return {};
  }
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  if (MultiByteToWideChar(codePage, flags, text.data(), length, wide.data(), needed) != needed) {
    ok = false;
    return {};
  }
  return wide;
}

// UTF-16 to a code page; for the ANSI page, lost when a character has no exact form.
std::string Narrow(UINT codePage, std::wstring_view wide, bool& ok) {
  ok = true;
  if (wide.empty()) return {};
  if (wide.size() > static_cast<std::size_t>(kMaxChunk)) {
    ok = false;
    return {};
  }
  const bool toUtf8 = codePage == CP_UTF8;
  const DWORD flags = toUtf8 ? 0 : WC_NO_BEST_FIT_CHARS;
  const int length = static_cast<int>(wide.size());
  BOOL usedDefault = FALSE;
  BOOL* usedDefaultPtr = toUtf8 ? nullptr : &usedDefault;  // must be null for UTF-8
  const int needed = WideCharToMultiByte(codePage, flags, wide.data(), length, nullptr, 0,
                                         nullptr, usedDefaultPtr);
  if (needed <= 0 || usedDefault) {
    ok = false;
    return {};
  }
  std::string out(static_cast<std::size_t>(needed), '\0');
  const int written = WideCharToMultiByte(codePage, flags, wide.data(), length, out.data(),
                                          needed, nullptr, usedDefaultPtr);
  if (written != needed || usedDefault) {
    ok = false;
    return {};
  }
  return out;
}

// Bytes of one character: two when a lead byte has a byte after it.
std::size_t AnsiCharLength(std::string_view ansi, std::size_t pos) {
  const auto lead = static_cast<BYTE>(ansi[pos]);
  if (pos + 1 < ansi.size() && IsDBCSLeadByteEx(CP_ACP, lead)) return 2;
  return 1;
}

class Win32AnsiCodec final : public AnsiCodec {
 public:
  std::string ToUtf8(std::string_view ansi) const override {
    std::string out;
    out.reserve(ansi.size() + ansi.size() / 2);
    AppendDecoded(ansi, out);
    return out;
  }

  std::optional<std::string> FromUtf8(std::string_view utf8) const override {
    if (!IsValidUtf8(utf8)) return std::nullopt;
    bool ok = false;
    const std::wstring wide = Widen(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, ok);
    if (!ok) return std::nullopt;
    std::string ansi = Narrow(CP_ACP, wide, ok);
    if (!ok) return std::nullopt;
    return ansi;
  }

 private:
  static bool AppendWhole(std::string_view ansi, std::string& out) {
    bool ok = false;
    const std::wstring wide = Widen(CP_ACP, MB_ERR_INVALID_CHARS, ansi, ok);
    if (!ok) return false;
    const std::string utf8 = Narrow(CP_UTF8, wide, ok);
    if (ok) out += utf8;
    return ok;
  }

  // A stretch converts in one call; a stretch with a bad byte is halved until the bad
  // characters are found, so one bad byte in a file costs a few dozen calls, not one per
  // character. The halving goes about 30 levels deep at most.
  static void AppendDecoded(std::string_view ansi, std::string& out) {
    if (ansi.empty() || AppendWhole(ansi, out)) return;
    const std::size_t middle = ansi.size() > kSmallStretch ? BoundaryNear(ansi, ansi.size() / 2) : 0;
    if (middle == 0 || middle >= ansi.size()) {
      out += ToUtf8ByCharacter(ansi);
      return;
    }
    AppendDecoded(ansi.substr(0, middle), out);
    AppendDecoded(ansi.substr(middle), out);
  }

  // The first character boundary at or after target, never inside a double-byte pair.
  static std::size_t BoundaryNear(std::string_view ansi, std::size_t target) {
    std::size_t pos = 0;
    while (pos < target) pos += AnsiCharLength(ansi, pos);
    return pos;
  }

  // The slow road for a short stretch with undecodable bytes: each bad byte becomes
  // U+FFFD and decoding resumes at the next byte.
  static std::string ToUtf8ByCharacter(std::string_view ansi) {
    std::string out;
    for (std::size_t pos = 0; pos < ansi.size();) {
      std::size_t length = AnsiCharLength(ansi, pos);
      bool ok = false;
      std::wstring wide = Widen(CP_ACP, MB_ERR_INVALID_CHARS, ansi.substr(pos, length), ok);
      if (!ok && length == 2) {
        length = 1;
        wide = Widen(CP_ACP, MB_ERR_INVALID_CHARS, ansi.substr(pos, 1), ok);
      }
      std::string utf8 = ok ? Narrow(CP_UTF8, wide, ok) : std::string();
      out += ok ? utf8 : std::string(kReplacementChar);
      pos += length;
    }
    return out;
  }
};

}  // namespace

const AnsiCodec& SystemAnsiCodec() {
  static const Win32AnsiCodec codec;
  return codec;
}

}  // namespace paginor
