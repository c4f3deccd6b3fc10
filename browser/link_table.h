#pragma once
// A page's links as a table: what a browser answers for each link, in document order.
// "paginor-cli links" writes it from a real page; the test browser serves it on Windows.
//
// Text form, UTF-8: a first line "#url<TAB>ADDRESS", then one line per link with the
// fields text, outer HTML, href, parent text, parent outer HTML, separated by tabs;
// backslash, tab, line feed and carriage return are written \\ \t \n \r, and a link
// without a parent element has "\-" in both parent fields.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/browser_model.h"

namespace paginor {

struct LinkRow {
  std::string text;
  std::string html;
  std::string href;
  std::optional<std::string> parentText;  // empty without a parent element
  std::string parentHtml;
  bool operator==(const LinkRow&) const = default;
};

struct LinkTable {
  std::string url;
  std::vector<LinkRow> links;
};

// The escapes of the text form, for other tables written the same way.
void EscapeField(std::string_view field, std::string& out);
std::optional<std::string> UnescapeField(std::string_view field);  // empty on a bad escape
std::vector<std::string_view> SplitFields(std::string_view line, char sep);

// Reads every link of the document; a read that fails gives an empty field.
LinkTable ReadLinkTable(Document& document);
std::string FormatLinkTable(const LinkTable& table);
// Empty with error set when the text is not such a table.
std::optional<LinkTable> ParseLinkTable(std::string_view text, std::string& error);

}  // namespace paginor
