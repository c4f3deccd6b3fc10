#include "browser/link_table.h"

namespace paginor {
namespace {

constexpr std::string_view kNoParent = "\\-";

}  // namespace

void EscapeField(std::string_view field, std::string& out) {
  for (const char c : field) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
}

std::optional<std::string> UnescapeField(std::string_view field) {
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '\\') {
      out += field[i];
      continue;
    }
    if (++i == field.size()) return std::nullopt;
    switch (field[i]) {
      case '\\': out += '\\'; break;
      case 't': out += '\t'; break;
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      default: return std::nullopt;
    }
  }
  return out;
}

std::vector<std::string_view> SplitFields(std::string_view line, char sep) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (std::size_t at = line.find(sep); at != std::string_view::npos; at = line.find(sep, start)) {
    parts.push_back(line.substr(start, at - start));
    start = at + 1;
  }
  parts.push_back(line.substr(start));
  return parts;
}

LinkTable ReadLinkTable(Document& document) {
  LinkTable table;
  table.url = document.Url().value_or("");
  const std::unique_ptr<LinkCollection> links = document.Links();
  const long count = links ? links->Length().value_or(0) : 0;
  for (long i = 0; i < count; ++i) {
    const std::unique_ptr<LinkElement> link = links->Item(i);
    if (!link) break;
    LinkRow row{link->OuterText().value_or(""), link->OuterHtml().value_or(""),
                link->Href().value_or(""), std::nullopt, ""};
    if (const std::unique_ptr<LinkElement> parent = link->ParentElement()) {
      row.parentText = parent->OuterText().value_or("");
      row.parentHtml = parent->OuterHtml().value_or("");
    }
    table.links.push_back(std::move(row));
  }
  return table;
}

std::string FormatLinkTable(const LinkTable& table) {
  std::string out = "#url\t";
  EscapeField(table.url, out);
  out += '\n';
  for (const LinkRow& row : table.links) {
    for (const std::string_view field : {std::string_view(row.text), std::string_view(row.html),
                                         std::string_view(row.href)}) {
      EscapeField(field, out);
      out += '\t';
    }
    if (row.parentText) {
      EscapeField(*row.parentText, out);
      out += '\t';
      EscapeField(row.parentHtml, out);
    } else {
      out += std::string(kNoParent) + '\t' + std::string(kNoParent);
    }
    out += '\n';
  }
  return out;
}

std::optional<LinkTable> ParseLinkTable(std::string_view text, std::string& error) {
  std::vector<std::string_view> lines = SplitFields(text, '\n');
  if (!lines.empty() && lines.back().empty()) lines.pop_back();
  LinkTable table;
  for (std::size_t n = 0; n < lines.size(); ++n) {
    std::string_view line = lines[n];
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::vector<std::string_view> fields = SplitFields(line, '\t');
    const std::string where = "line " + std::to_string(n + 1) + ": ";
    if (n == 0) {
      const std::optional<std::string> url = fields.size() == 2 ? UnescapeField(fields[1]) : std::nullopt;
      if (fields[0] != "#url" || !url) {
        error = where + "expected #url and the page's address";
        return std::nullopt;
      }
      table.url = *url;
      continue;
    }
    if (fields.size() != 5) {
      error = where + "expected 5 fields, found " + std::to_string(fields.size());
      return std::nullopt;
    }
    std::vector<std::string> values;
    for (std::size_t f = 0; f < 5; ++f) {
      if (f >= 3 && fields[f] == kNoParent) {
        values.emplace_back();
        continue;
      }
      std::optional<std::string> value = UnescapeField(fields[f]);
      if (!value) {
        error = where + "bad escape in field " + std::to_string(f + 1);
        return std::nullopt;
      }
      values.push_back(std::move(*value));
    }
    LinkRow row{values[0], values[1], values[2], std::nullopt, values[4]};
    if (fields[3] != kNoParent) row.parentText = values[3];
    table.links.push_back(std::move(row));
  }
  if (lines.empty()) {
    error = "the table is empty";
    return std::nullopt;
  }
  return table;
}

}  // namespace paginor
