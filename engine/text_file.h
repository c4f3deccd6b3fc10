#pragma once
// Whole text files at the edge of the program: ANSI code page (or UTF-8 with a BOM)
// on disk, UTF-8 inside. Paths are UTF-8. Nothing here throws.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "engine/text_codec.h"

namespace paginor {

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// A file's bytes as UTF-8 text: a leading UTF-8 BOM means UTF-8 (the BOM is dropped,
// malformed bytes become U+FFFD); otherwise the ANSI code page. A NUL byte ends the text.
std::string DecodeTextFile(std::string_view bytes, const AnsiCodec& codec = SystemAnsiCodec());

// The bytes to write for UTF-8 text: the ANSI code page when every character survives
// the way there and back, else a UTF-8 BOM and the text unchanged.
std::string EncodeTextFile(std::string_view utf8, const AnsiCodec& codec = SystemAnsiCodec());

std::filesystem::path PathFromUtf8(std::string_view path);

// True when something other than a directory exists at the path.
bool FileExists(const std::string& path);

// The whole file, decoded; empty when it cannot be read.
std::optional<std::string> ReadTextFile(const std::string& path);

// Writes the whole file through a temporary file in the same directory that then
// replaces the target, so a failed write leaves the old file as it was.
bool WriteTextFile(const std::string& path, std::string_view utf8);

// The file operations above as an interface, so callers can be tested against failures.
class TextFiles {
 public:
  virtual ~TextFiles() = default;
  virtual bool Exists(const std::string& path) const = 0;
  virtual std::optional<std::string> Read(const std::string& path) const = 0;
  virtual bool Write(const std::string& path, std::string_view utf8) = 0;
};

// The real disk, through the functions above.
TextFiles& DiskTextFiles();

}  // namespace paginor
