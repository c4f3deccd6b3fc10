#include "engine/text_file.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <exception>
#include <fstream>
#include <system_error>

#include "engine/new_file.h"

namespace paginor {
namespace {

namespace fs = std::filesystem;

std::string MiB(std::size_t bytes) { return std::to_string(bytes >> 20) + " MiB"; }

// Reads at most limit + 1 bytes: a file that grows while it is read is still refused.
std::optional<std::string> ReadBytes(const fs::path& path, std::size_t limit) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes;
  std::array<char, 65536> buffer{};
  while (in && bytes.size() <= limit) {
    in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    bytes.append(buffer.data(), static_cast<std::size_t>(in.gcount()));
  }
  if (in.bad()) return std::nullopt;
  return bytes;
}

// A name beside the target for the new file; WriteNewFile refuses names in use.
fs::path TemporaryPathFor(const fs::path& target) {
  static std::atomic<std::uint32_t> counter{0};
  const auto now = static_cast<std::uint64_t>(
      std::chrono::steady_clock::now().time_since_epoch().count());
  const std::uint64_t seed = now ^ (static_cast<std::uint64_t>(++counter) * 0x9E3779B97F4A7C15u);
  fs::path candidate = target;
  candidate += ".tmp" + std::to_string(seed % 1000000007u);
  return candidate;
}

class DiskFiles final : public TextFiles {
 public:
  bool Exists(const std::string& path) const override { return FileExists(path); }
  std::optional<std::string> Read(const std::string& path) const override {
    return ReadTextFile(path);
  }
  std::optional<std::string> ReadWithReason(const std::string& path,
                                            std::string& error) const override {
    return ReadTextFile(path, error);
  }
  bool Write(const std::string& path, std::string_view utf8) override {
    return WriteTextFile(path, utf8);
  }
};

}  // namespace

std::string DecodeTextBytes(std::string_view bytes, const AnsiCodec& codec) {
  if (bytes.starts_with(kUtf8Bom)) return SanitizeUtf8(bytes.substr(kUtf8Bom.size()));
  if (bytes.starts_with(kUtf16LeBom)) return Utf16ToUtf8(bytes.substr(kUtf16LeBom.size()), false);
  if (bytes.starts_with(kUtf16BeBom)) return Utf16ToUtf8(bytes.substr(kUtf16BeBom.size()), true);
  const bool ascii = std::all_of(bytes.begin(), bytes.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (!ascii && IsValidUtf8(bytes)) return std::string(bytes);
  return codec.ToUtf8(bytes);
}

std::string DecodeTextFile(std::string_view bytes, const AnsiCodec& codec) {
  std::string text = DecodeTextBytes(bytes, codec);
  if (const std::size_t nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
  return text;
}

std::string EncodeTextFile(std::string_view utf8, const AnsiCodec& codec) {
  std::optional<std::string> ansi = codec.FromUtf8(utf8);
  // Only an exact way back counts: a code page that folds two characters into one
  // form would lose one of them, and ANSI bytes that open like a BOM or happen to be
  // valid UTF-8 would be read as something else.
  if (ansi && DecodeTextBytes(*ansi, codec) == utf8) return *ansi;
  std::string out(kUtf8Bom);
  out += utf8;
  return out;
}

fs::path PathFromUtf8(std::string_view path) {
  return fs::path(std::u8string(path.begin(), path.end()));
}

bool FileExists(const std::string& path) {
  try {
    std::error_code ec;
    const fs::file_status status = fs::status(PathFromUtf8(path), ec);
    return !ec && fs::exists(status) && !fs::is_directory(status);
  } catch (const std::exception&) {
    return false;
  }
}

std::optional<std::string> ReadFileBytes(const fs::path& path, std::size_t maxBytes,
                                         std::string& error) {
  try {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (status.type() == fs::file_type::not_found) {
      error = "does not exist";
      return std::nullopt;
    }
    if (ec) {
      error = "cannot be read";
      return std::nullopt;
    }
    if (fs::is_directory(status)) {
      error = "is a directory";
      return std::nullopt;
    }
    if (!fs::is_regular_file(status)) {
      error = "is not a regular file";
      return std::nullopt;
    }
    const std::uintmax_t size = fs::file_size(path, ec);
    std::optional<std::string> bytes;
    if (!ec && size <= maxBytes) bytes = ReadBytes(path, maxBytes);
    if (!ec && (size > maxBytes || (bytes && bytes->size() > maxBytes))) {
      error = "is larger than " + MiB(maxBytes);
      return std::nullopt;
    }
    if (!bytes) error = "cannot be read";
    return bytes;
  } catch (const std::exception&) {
    error = "cannot be read";
    return std::nullopt;
  }
}

std::optional<std::string> ReadTextFile(const std::string& path, std::string& error) {
  try {
    const std::optional<std::string> bytes =
        ReadFileBytes(PathFromUtf8(path), kMaxTextFileBytes, error);
    if (!bytes) return std::nullopt;
    std::string text = DecodeTextBytes(*bytes);
    if (text.find('\0') != std::string::npos) {
      error = "is not a text file (it holds NUL bytes)";
      return std::nullopt;
    }
    return text;
  } catch (const std::exception&) {
    error = "cannot be read";
    return std::nullopt;
  }
}

std::optional<std::string> ReadTextFile(const std::string& path) {
  std::string ignored;
  return ReadTextFile(path, ignored);
}

namespace {

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  try {
    const fs::path target = PathFromUtf8(path);
    for (int attempt = 0; attempt < 100; ++attempt) {
      const fs::path temporary = TemporaryPathFor(target);
      const NewFileResult written = WriteNewFile(temporary, bytes, target);
      if (written == NewFileResult::NameTaken) continue;
      if (written == NewFileResult::Failed) return false;
      std::error_code ec;
      fs::rename(temporary, target, ec);
      if (!ec) return true;
      fs::remove(temporary, ec);
      return false;
    }
    return false;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace

bool WriteTextFile(const std::string& path, std::string_view utf8) {
  return WriteFileBytes(path, EncodeTextFile(utf8));
}

bool WriteUtf8File(const std::string& path, std::string_view utf8) {
  return WriteFileBytes(path, std::string(kUtf8Bom) + std::string(utf8));
}

TextFiles& DiskTextFiles() {
  static DiskFiles files;
  return files;
}

}  // namespace paginor
