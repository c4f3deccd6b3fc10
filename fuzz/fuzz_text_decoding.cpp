// File bytes of any content: the encoding is told apart (a byte-order mark, valid
// UTF-8 beyond ASCII, else the ANSI code page), the text is always valid UTF-8, and
// what the program writes reads back exactly, in the code page or as UTF-8 or UTF-16.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/text_codec.h"
#include "engine/text_file.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

bool IsAscii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// UTF-8 (known to be valid) as UTF-16 with a byte-order mark, as editors save it.
std::string Utf16WithBom(std::string_view utf8, bool bigEndian) {
  std::string out(bigEndian ? paginor::kUtf16BeBom : paginor::kUtf16LeBom);
  const auto put = [&](std::uint32_t unit) {
    const auto high = static_cast<char>(unit >> 8);
    const auto low = static_cast<char>(unit & 0xFF);
    out += bigEndian ? high : low;
    out += bigEndian ? low : high;
  };
  for (std::size_t pos = 0; pos < utf8.size();) {
    const std::size_t length = paginor::Utf8SequenceLength(utf8, pos);
    std::uint32_t code = static_cast<unsigned char>(utf8[pos]);
    if (length > 1) code &= 0xFFu >> (length + 1);
    for (std::size_t i = 1; i < length; ++i) code = (code << 6) | (utf8[pos + i] & 0x3F);
    if (code >= 0x10000) {
      put(0xD800 + ((code - 0x10000) >> 10));
      put(0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
      put(code);
    }
    pos += length;
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string text = paginor::DecodeTextBytes(bytes);
  Check(paginor::IsValidUtf8(text));
  const bool marked = bytes.starts_with(paginor::kUtf8Bom) ||
                      bytes.starts_with(paginor::kUtf16LeBom) ||
                      bytes.starts_with(paginor::kUtf16BeBom);
  if (!marked && !IsAscii(bytes) && paginor::IsValidUtf8(bytes)) Check(text == bytes);
  if (IsAscii(bytes)) Check(text == bytes);

  Check(paginor::DecodeTextBytes(paginor::EncodeTextFile(text)) == text);
  Check(paginor::DecodeTextBytes(Utf16WithBom(text, false)) == text);
  Check(paginor::DecodeTextBytes(Utf16WithBom(text, true)) == text);
  const std::string cut = paginor::DecodeTextFile(bytes);
  Check(cut.find('\0') == std::string::npos && text.starts_with(cut));
  return 0;
}
