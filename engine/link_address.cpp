#include "engine/link_address.h"

#include <optional>

namespace paginor {
namespace {

struct UriParts {
  std::optional<std::string_view> scheme;
  std::optional<std::string_view> authority;
  std::string_view path;
  std::optional<std::string_view> query;
  std::optional<std::string_view> fragment;
};

bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// ALPHA *( ALPHA / DIGIT / "+" / "-" / "." ) ":"; anything else is a relative path.
std::optional<std::string_view> SchemeOf(std::string_view text) {
  if (text.empty() || !IsAlpha(text.front())) return std::nullopt;
  for (std::size_t i = 1; i < text.size(); ++i) {
    const char c = text[i];
    if (c == ':') return text.substr(0, i);
    if (!IsAlpha(c) && !IsDigit(c) && c != '+' && c != '-' && c != '.') return std::nullopt;
  }
  return std::nullopt;
}

// The split of appendix B.
UriParts Split(std::string_view text) {
  UriParts parts;
  parts.scheme = SchemeOf(text);
  if (parts.scheme) text.remove_prefix(parts.scheme->size() + 1);
  if (const auto hash = text.find('#'); hash != std::string_view::npos) {
    parts.fragment = text.substr(hash + 1);
    text = text.substr(0, hash);
  }
  if (const auto mark = text.find('?'); mark != std::string_view::npos) {
    parts.query = text.substr(mark + 1);
    text = text.substr(0, mark);
  }
  if (text.starts_with("//")) {
    text.remove_prefix(2);
    const auto slash = text.find('/');
    parts.authority = text.substr(0, slash);
    text = slash == std::string_view::npos ? std::string_view() : text.substr(slash);
  }
  parts.path = text;
  return parts;
}

void DropLastSegment(std::string& output) {
  const auto slash = output.rfind('/');
  output.erase(slash == std::string::npos ? 0 : slash);
}

// 5.2.4, steps A to E in their order.
std::string RemoveDotSegments(std::string_view input) {
  std::string output;
  while (!input.empty()) {
    if (input.starts_with("../")) {
      input.remove_prefix(3);
    } else if (input.starts_with("./")) {
      input.remove_prefix(2);
    } else if (input.starts_with("/./")) {
      input.remove_prefix(2);
    } else if (input == "/.") {
      input = "/";
    } else if (input.starts_with("/../")) {
      input.remove_prefix(3);
      DropLastSegment(output);
    } else if (input == "/..") {
      input = "/";
      DropLastSegment(output);
    } else if (input == "." || input == "..") {
      input = {};
    } else {
      const auto end = input.find('/', 1);
      output.append(input.substr(0, end));
      input = end == std::string_view::npos ? std::string_view() : input.substr(end);
    }
  }
  return output;
}

// 5.2.3.
std::string Merge(const UriParts& base, std::string_view path) {
  std::string merged;
  if (base.authority && base.path.empty()) {
    merged = "/";
  } else if (const auto slash = base.path.rfind('/'); slash != std::string_view::npos) {
    merged = base.path.substr(0, slash + 1);
  }
  merged += path;
  return merged;
}

// 5.3.
std::string Recompose(std::string_view scheme, const std::optional<std::string_view>& authority,
                      std::string_view path, const std::optional<std::string_view>& query,
                      const std::optional<std::string_view>& fragment) {
  std::string out(scheme);
  out += ':';
  if (authority) (out += "//") += *authority;
  out += path;
  if (query) (out += '?') += *query;
  if (fragment) (out += '#') += *fragment;
  return out;
}

}  // namespace

std::string ResolveLinkAddress(std::string_view address, std::string_view base) {
  const UriParts ref = Split(address);
  if (ref.scheme) return std::string(address);
  const UriParts b = Split(base);
  if (!b.scheme) return std::string(address);

  std::optional<std::string_view> authority = b.authority;
  std::optional<std::string_view> query = ref.query;
  std::string path;
  if (ref.authority) {
    authority = ref.authority;
    path = RemoveDotSegments(ref.path);
  } else if (ref.path.empty()) {
    path = std::string(b.path);
    if (!ref.query) query = b.query;
  } else if (ref.path.starts_with('/')) {
    path = RemoveDotSegments(ref.path);
  } else {
    path = RemoveDotSegments(Merge(b, ref.path));
  }
  return Recompose(*b.scheme, authority, path, query, ref.fragment);
}

}  // namespace paginor
