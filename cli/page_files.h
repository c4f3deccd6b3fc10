#pragma once
// Files paginor-cli reads for turn: pages, list files and the address of a page file.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "engine/html/html_browser.h"

namespace paginor::cli {

// The file:// address of a file, its absolute path percent-encoded where an address
// cannot carry the bytes as they are.
std::string FileAddress(const std::filesystem::path& file);

// Opens the file's bytes (UTF-8 HTML) in the tab as the page at address. Empty on
// success, else a message naming the file.
std::string OpenPageFile(HtmlBrowser& tab, std::string address, const std::filesystem::path& file);

// The lines of a list file in the program's encoding (GBK, or UTF-8 after a BOM), or a
// message in error.
std::optional<std::vector<std::string>> ReadListFile(const std::string& path, std::string& error);

// A plain UTF-8 file's bytes, or a message in error.
std::optional<std::string> ReadUtf8File(const std::filesystem::path& file, std::string& error);

}  // namespace paginor::cli
