#pragma once
// The system's ANSI code page (GBK, 936) at the edge of files. Inside, text is UTF-8.

#include <optional>
#include <string>
#include <string_view>

namespace paginor {

class AnsiCodec {
 public:
  virtual ~AnsiCodec() = default;
  // Bytes in the code page to UTF-8; undecodable bytes become U+FFFD.
  virtual std::string ToUtf8(std::string_view ansi) const = 0;
  // UTF-8 to the code page; empty when some character has no form there.
  virtual std::optional<std::string> FromUtf8(std::string_view utf8) const = 0;
};

// The platform's codec for code page 936.
const AnsiCodec& SystemAnsiCodec();

}  // namespace paginor
