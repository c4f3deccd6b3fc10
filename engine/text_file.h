#pragma once
// Whole text files at the edge of the program: ANSI code page, UTF-8 or UTF-16 on disk,
// UTF-8 inside. Paths are UTF-8. Nothing here throws.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "engine/text_codec.h"

namespace paginor {

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
inline constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
inline constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

// Lists and definition files a person writes stay far below this; anything larger is
// not one of them (and /dev/zero never ends).
inline constexpr std::size_t kMaxTextFileBytes = std::size_t{4} << 20;

// A file's bytes as UTF-8 text, whole: a byte-order mark (UTF-8, UTF-16 LE or BE) says
// how it is written and is dropped; bytes that are valid UTF-8 and not plain ASCII are
// UTF-8 (text in GBK is practically never valid UTF-8); anything else is the ANSI code
// page. Malformed sequences become U+FFFD.
std::string DecodeTextBytes(std::string_view bytes, const AnsiCodec& codec = SystemAnsiCodec());

// DecodeTextBytes up to the first NUL, as the definition file format reads.
std::string DecodeTextFile(std::string_view bytes, const AnsiCodec& codec = SystemAnsiCodec());

// The bytes to write for UTF-8 text: the ANSI code page when every character survives
// the way there and back (read as DecodeTextBytes reads), else a UTF-8 BOM and the text
// unchanged.
std::string EncodeTextFile(std::string_view utf8, const AnsiCodec& codec = SystemAnsiCodec());

std::filesystem::path PathFromUtf8(std::string_view path);

// True when something other than a directory exists at the path.
bool FileExists(const std::string& path);

// The whole file, decoded; empty when it cannot be read. Only regular files of at most
// kMaxTextFileBytes are read, and text files hold no NUL byte. error then says why, as
// words that follow the file's name: "does not exist", "is a directory", "is not a
// regular file", "is larger than 4 MiB", "cannot be read", "is not a text file (it
// holds NUL bytes)".
std::optional<std::string> ReadTextFile(const std::string& path, std::string& error);
std::optional<std::string> ReadTextFile(const std::string& path);

// The whole file's bytes, under the same checks as ReadTextFile but without decoding.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& path, std::size_t maxBytes,
                                         std::string& error);

// Writes the whole file through a new temporary file in the same directory, flushed to
// the disk, that then replaces the target and keeps its permissions or attributes; a
// failed write leaves the old file as it was and no temporary file behind. False when
// the file could not be written.
bool WriteTextFile(const std::string& path, std::string_view utf8);
// The same in UTF-8 with a byte-order mark, whatever the code page holds.
bool WriteUtf8File(const std::string& path, std::string_view utf8);

// The file operations above as an interface, so callers can be tested against failures.
class TextFiles {
 public:
  virtual ~TextFiles() = default;
  virtual bool Exists(const std::string& path) const = 0;
  virtual std::optional<std::string> Read(const std::string& path) const = 0;
  // The same, with why a read failed (see ReadTextFile).
  virtual std::optional<std::string> ReadWithReason(const std::string& path,
                                                    std::string& error) const {
    std::optional<std::string> text = Read(path);
    if (!text) error = "cannot be read";
    return text;
  }
  virtual bool Write(const std::string& path, std::string_view utf8) = 0;
};

// The real disk, through the functions above.
TextFiles& DiskTextFiles();

}  // namespace paginor
