#pragma once
// A fresh directory under the system's temporary directory, removed with everything
// in it when the test ends.

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <system_error>

namespace paginor::testing {

class TempDir {
 public:
  TempDir() {
    static std::atomic<int> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = std::filesystem::temp_directory_path() /
            ("paginor-test-" + std::to_string(stamp) + "-" + std::to_string(++counter));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }

  // UTF-8 path of a name inside, as the program passes paths around.
  std::string File(std::string_view name) const {
    const std::u8string dir = path_.u8string();
    return std::string(dir.begin(), dir.end()) + "/" + std::string(name);
  }

  // The directory with a trailing separator, the way appDir is given.
  std::string WithSeparator() const {
    const std::u8string dir = (path_ / "").u8string();
    return std::string(dir.begin(), dir.end());
  }

  static std::filesystem::path Native(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
  }

  static void WriteBytes(std::string_view utf8Path, std::string_view bytes) {
    std::ofstream out(Native(utf8Path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }

  static std::string ReadBytes(std::string_view utf8Path) {
    std::ifstream in(Native(utf8Path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  // Number of entries in the directory: shows a temporary file left behind.
  int EntryCount() const {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) {
      static_cast<void>(entry);
      ++count;
    }
    return count;
  }

 private:
  std::filesystem::path path_;
};

}  // namespace paginor::testing
