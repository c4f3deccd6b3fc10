#pragma once
// The system's ANSI code page (GBK, 936) at the edge of files. Inside, text is UTF-8.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace paginor {

class AnsiCodec {
 public:
  virtual ~AnsiCodec() = default;
  // Bytes in the code page to UTF-8; undecodable bytes become U+FFFD.
  virtual std::string ToUtf8(std::string_view ansi) const = 0;
  // UTF-8 to the code page; empty when some character has no form there or the
  // UTF-8 is malformed.
  virtual std::optional<std::string> FromUtf8(std::string_view utf8) const = 0;
};

// The platform's codec for the ANSI code page (936 on the systems addressed).
const AnsiCodec& SystemAnsiCodec();

inline constexpr std::string_view kReplacementChar = "\xEF\xBF\xBD";  // U+FFFD

// Length of the well-formed UTF-8 sequence starting at text[pos], or 0 when there is
// none (overlong forms, surrogates and values above U+10FFFF are not well formed).
std::size_t Utf8SequenceLength(std::string_view text, std::size_t pos);
bool IsValidUtf8(std::string_view text);
// Every byte that does not start a well-formed sequence becomes U+FFFD.
std::string SanitizeUtf8(std::string_view text);
// UTF-16 bytes (without a byte-order mark) to UTF-8; unpaired surrogates and an odd
// last byte become U+FFFD.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian);

}  // namespace paginor
