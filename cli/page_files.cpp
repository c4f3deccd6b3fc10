#include "cli/page_files.h"

#include <system_error>

#include "engine/definition_file.h"
#include "engine/html/html_parse.h"
#include "engine/text_file.h"

namespace paginor::cli {
namespace {

bool KeepsInAddress(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         std::string_view("-._~/!$&'()*+,;=:@").find(static_cast<char>(c)) !=
             std::string_view::npos;
}

std::string Utf8Name(const std::filesystem::path& file) {
  const std::u8string name = file.u8string();
  return std::string(name.begin(), name.end());
}

}  // namespace

std::string FileAddress(const std::filesystem::path& file) {
  std::error_code ignored;
  std::filesystem::path absolute = std::filesystem::absolute(file, ignored);
  if (absolute.empty()) absolute = file;
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string address = "file://";
  for (const char c : Utf8Name(absolute.lexically_normal())) {
    const auto byte = static_cast<unsigned char>(c);
    if (KeepsInAddress(byte)) {
      address += c;
    } else {
      address += '%';
      address += kHex[byte >> 4];
      address += kHex[byte & 0x0F];
    }
  }
  return address;
}

std::optional<std::string> ReadUtf8File(const std::filesystem::path& file, std::string& error) {
  std::string problem;
  std::optional<std::string> bytes = ReadFileBytes(file, kMaxPageBytes, problem);
  if (!bytes) {
    error = problem == "does not exist" ? "cannot find the file " + Utf8Name(file)
                                        : Utf8Name(file) + " " + problem;
    return std::nullopt;
  }
  // Pages and maps are text; a NUL byte means a picture, an archive or a program.
  if (bytes->find('\0') != std::string::npos) {
    error = Utf8Name(file) + " is not a text file (it holds NUL bytes)";
    return std::nullopt;
  }
  return bytes;
}

std::string OpenPageFile(HtmlBrowser& tab, std::string address, const std::filesystem::path& file) {
  std::string error;
  const std::optional<std::string> html = ReadUtf8File(file, error);
  if (!html) return error;
  const std::string problem = tab.Open(std::move(address), *html);
  return problem.empty() ? "" : "cannot load " + Utf8Name(file) + ": " + problem;
}

std::optional<std::vector<std::string>> ReadListFile(const std::string& path, std::string& error) {
  std::string problem;
  const std::optional<std::string> text = ReadTextFile(path, problem);
  if (!text) {
    error = problem == "does not exist" ? "cannot find the file " + path
                                        : "the file " + path + " " + problem;
    return std::nullopt;
  }
  return SplitLines(*text);
}

}  // namespace paginor::cli
