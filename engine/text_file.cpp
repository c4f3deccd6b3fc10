#include "engine/text_file.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <exception>
#include <fstream>
#include <system_error>

namespace paginor {
namespace {

namespace fs = std::filesystem;

std::optional<std::string> ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes;
  std::array<char, 65536> buffer{};
  while (in) {
    in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    bytes.append(buffer.data(), static_cast<std::size_t>(in.gcount()));
  }
  if (in.bad()) return std::nullopt;
  return bytes;
}

bool WriteBytes(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return !out.fail();
}

// A name beside the target that nothing else uses.
std::optional<fs::path> TemporaryPathFor(const fs::path& target) {
  static std::atomic<std::uint32_t> counter{0};
  const auto now = static_cast<std::uint64_t>(
      std::chrono::steady_clock::now().time_since_epoch().count());
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::uint64_t seed = now ^ (static_cast<std::uint64_t>(++counter) * 0x9E3779B97F4A7C15u);
    const std::string suffix = ".tmp" + std::to_string(seed % 1000000007u);
    fs::path candidate = target;
    candidate += suffix;
    std::error_code ec;
    if (fs::symlink_status(candidate, ec).type() == fs::file_type::not_found) return candidate;
  }
  return std::nullopt;
}

class DiskFiles final : public TextFiles {
 public:
  bool Exists(const std::string& path) const override { return FileExists(path); }
  std::optional<std::string> Read(const std::string& path) const override {
    return ReadTextFile(path);
  }
  bool Write(const std::string& path, std::string_view utf8) override {
    return WriteTextFile(path, utf8);
  }
};

}  // namespace

std::string DecodeTextFile(std::string_view bytes, const AnsiCodec& codec) {
  const bool utf8 = bytes.starts_with(kUtf8Bom);
  if (utf8) bytes.remove_prefix(kUtf8Bom.size());
  bytes = bytes.substr(0, bytes.find('\0'));
  return utf8 ? SanitizeUtf8(bytes) : codec.ToUtf8(bytes);
}

std::string EncodeTextFile(std::string_view utf8, const AnsiCodec& codec) {
  std::optional<std::string> ansi = codec.FromUtf8(utf8);
  // Only an exact way back counts: a code page that folds two characters into one
  // form would lose one of them. ANSI bytes that open like a BOM would read as UTF-8.
  if (ansi && codec.ToUtf8(*ansi) == utf8 && !ansi->starts_with(kUtf8Bom)) return *ansi;
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

std::optional<std::string> ReadTextFile(const std::string& path) {
  try {
    const fs::path file = PathFromUtf8(path);
    std::error_code ec;
    if (fs::is_directory(file, ec)) return std::nullopt;
    std::optional<std::string> bytes = ReadBytes(file);
    if (!bytes) return std::nullopt;
    return DecodeTextFile(*bytes);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

bool WriteTextFile(const std::string& path, std::string_view utf8) {
  try {
    const fs::path target = PathFromUtf8(path);
    const std::string bytes = EncodeTextFile(utf8);
    const std::optional<fs::path> temporary = TemporaryPathFor(target);
    if (!temporary) return false;
    std::error_code ec;
    if (WriteBytes(*temporary, bytes)) {
      fs::rename(*temporary, target, ec);
      if (!ec) return true;
    }
    fs::remove(*temporary, ec);
    return false;
  } catch (const std::exception&) {
    return false;
  }
}

TextFiles& DiskTextFiles() {
  static DiskFiles files;
  return files;
}

}  // namespace paginor
