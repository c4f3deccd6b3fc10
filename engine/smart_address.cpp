#include "engine/smart_address.h"

#include <algorithm>
#include <set>

#include "engine/command.h"

namespace paginor {
namespace {

constexpr std::string_view kPageParams[] = {"page", "p", "pn", "pg", "paged"};
constexpr std::string_view kOffsetParams[] = {"start", "offset"};
constexpr std::string_view kPageExtensions[] = {".html", ".htm", ".shtml"};
// No site counts results past this; a larger start is an id, not a page.
constexpr std::size_t kMaxQueryDigits = 9;
// "-2019.html" is a year and "-123456.html" an id far more often than a page.
constexpr std::size_t kMaxPathDigits = 3;
constexpr long kDefaultOffsetStep = 10;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return lower(x) == lower(y);
  });
}

long DigitsValue(std::string_view digits) {
  long value = 0;
  for (const char c : digits) value = value * 10 + (c - '0');
  return value;
}

std::string_view WithoutFragment(std::string_view url) { return url.substr(0, url.find('#')); }

std::optional<AddressPage> FromQuery(std::string_view url, std::size_t query) {
  std::size_t at = query + 1;
  while (at < url.size()) {
    const std::size_t end = std::min(url.find('&', at), url.size());
    const std::string_view pair = url.substr(at, end - at);
    const std::size_t equals = pair.find('=');
    if (equals != std::string_view::npos) {
      const std::string_view name = pair.substr(0, equals);
      const std::string_view value = pair.substr(equals + 1);
      const bool digits = !value.empty() && value.size() <= kMaxQueryDigits &&
                          std::all_of(value.begin(), value.end(), IsDigit);
      const auto named = [&](const auto& list) {
        return std::any_of(std::begin(list), std::end(list),
                           [&](std::string_view n) { return EqualsIgnoringCase(name, n); });
      };
      if (digits && (named(kPageParams) || named(kOffsetParams))) {
        AddressPage page;
        page.style = named(kPageParams) ? AddressPage::Style::Query : AddressPage::Style::Offset;
        page.pos = at + equals + 1;
        page.len = value.size();
        page.value = DigitsValue(value);
        page.name = std::string(name) + "=";
        return page;
      }
    }
    at = end + 1;
  }
  return std::nullopt;
}

std::optional<AddressPage> FromPathPage(std::string_view path) {
  for (std::size_t at = path.size(); at > 0;) {
    at = path.rfind("/page/", at - 1);
    if (at == std::string_view::npos) break;
    const std::size_t digits = at + 6;
    std::size_t end = digits;
    while (end < path.size() && IsDigit(path[end])) ++end;
    if (end == digits || end - digits > kMaxQueryDigits) continue;
    if (end != path.size() && path[end] != '/') continue;
    return AddressPage{AddressPage::Style::PathPage, digits, end - digits,
                       DigitsValue(path.substr(digits, end - digits)), "/page/N/"};
  }
  return std::nullopt;
}

std::optional<AddressPage> FromFileName(std::string_view path) {
  const std::size_t nameAt = path.rfind('/') + 1;  // npos + 1 is 0
  std::string_view stem = path.substr(nameAt);
  const auto extension = std::find_if(std::begin(kPageExtensions), std::end(kPageExtensions),
                                      [&](std::string_view e) { return stem.ends_with(e); });
  if (extension == std::end(kPageExtensions)) return std::nullopt;
  stem.remove_suffix(extension->size());
  std::size_t digits = stem.size();
  while (digits > 0 && IsDigit(stem[digits - 1])) --digits;
  const std::size_t len = stem.size() - digits;
  if (len == 0 || len > kMaxPathDigits || digits == 0) return std::nullopt;
  const char separator = stem[digits - 1];
  if (separator != '-' && separator != '_') return std::nullopt;
  AddressPage page;
  page.pos = nameAt + digits;
  page.len = len;
  page.value = DigitsValue(stem.substr(digits));
  const std::string ext(*extension);
  if (separator == '_' && stem.substr(0, digits) == "index_") {
    page.style = AddressPage::Style::Index;
    page.name = "index_N" + ext;
  } else {
    page.style = separator == '-' ? AddressPage::Style::Dash : AddressPage::Style::Underscore;
    page.name = std::string(1, separator) + "N" + ext;
  }
  return page;
}

bool Numbered(AddressPage::Style style) { return style != AddressPage::Style::Offset; }

// The address with another value in the number's place, zero padding kept.
std::string WithValue(std::string_view url, const AddressPage& page, long value) {
  std::string digits = std::to_string(value);
  const bool padded = page.len > 1 && url[page.pos] == '0';
  if (padded && digits.size() < page.len) digits.insert(0, page.len - digits.size(), '0');
  std::string out(url.substr(0, page.pos));
  out += digits;
  out += url.substr(page.pos + page.len);
  return out;
}

// The address without its number, as sites write their first page.
std::string WithoutNumber(std::string_view url, const AddressPage& page) {
  std::string out(url);
  switch (page.style) {
    case AddressPage::Style::Query:
    case AddressPage::Style::Offset: {
      std::size_t begin = page.pos - page.name.size();
      std::size_t end = page.pos + page.len;
      if (end < out.size() && out[end] == '&') {
        ++end;
      } else if (begin > 0 && out[begin - 1] == '&') {
        --begin;
      } else if (begin > 0 && out[begin - 1] == '?') {
        --begin;  // the only parameter: the "?" goes with it
      }
      out.erase(begin, end - begin);
      return out;
    }
    case AddressPage::Style::PathPage: {
      const std::size_t begin = page.pos - 5;  // "page/"
      std::size_t end = page.pos + page.len;
      if (end < out.size() && out[end] == '/') ++end;
      out.erase(begin, end - begin);
      return out;
    }
    case AddressPage::Style::Index:
      out.erase(page.pos - 1, page.len + 1);  // "_N"
      return out;
    case AddressPage::Style::Dash:
    case AddressPage::Style::Underscore:
      out.erase(page.pos - 1, page.len + 1);
      return out;
  }
  return out;
}

bool Linked(const std::vector<std::string>& links, std::string_view address) {
  return std::any_of(links.begin(), links.end(),
                     [&](const std::string& link) { return WithoutFragment(link) == address; });
}

// The step between the offsets of the page's links to the same list: the smallest gap.
std::optional<long> OffsetStep(std::string_view url, const AddressPage& page,
                               const std::vector<std::string>& links) {
  const std::string_view head = url.substr(0, page.pos);
  const std::string_view tail = url.substr(page.pos + page.len);
  std::set<long> values{page.value};
  for (const std::string& link : links) {
    const std::string_view l = WithoutFragment(link);
    if (l.size() <= head.size() + tail.size() || !l.starts_with(head) || !l.ends_with(tail)) continue;
    const std::string_view digits = l.substr(head.size(), l.size() - head.size() - tail.size());
    if (digits.size() > kMaxQueryDigits || !std::all_of(digits.begin(), digits.end(), IsDigit)) continue;
    values.insert(DigitsValue(digits));
  }
  std::optional<long> step;
  for (auto it = values.begin(); std::next(it) != values.end(); ++it) {
    const long gap = *std::next(it) - *it;
    if (!step || gap < *step) step = gap;
  }
  return step;
}

}  // namespace

std::optional<AddressPage> FindAddressPage(std::string_view url) {
  url = WithoutFragment(url);
  const std::size_t query = url.find('?');
  if (query != std::string_view::npos) {
    if (auto page = FromQuery(url, query)) return page;
  }
  const std::string_view path = url.substr(0, query);
  if (auto page = FromPathPage(path)) return page;
  return FromFileName(path);
}

AddressTurn TurnAddress(std::string_view url, std::string_view command,
                        const std::vector<std::string>& links) {
  const std::string_view address = WithoutFragment(url);
  const std::optional<AddressPage> page = FindAddressPage(address);
  if (!page) return {"", "the address holds no page number"};
  if (command == "last") return {"", "the address cannot tell which page is the last"};

  long step = 1;
  long first = page->value == 0 ? 0 : 1;
  std::string how = page->name + std::to_string(page->value);
  if (!Numbered(page->style)) {
    first = 0;
    const std::optional<long> seen = OffsetStep(address, *page, links);
    step = seen.value_or(kDefaultOffsetStep);
    how += seen ? ", step " + std::to_string(step) + " seen between the page links"
                : ", step " + std::to_string(step) + " assumed (no page links)";
  }
  long target = page->value;
  if (command == "next") {
    target += step;
  } else if (command == "prev") {
    target -= step;
  } else if (command == "first") {
    target = first;
  } else if (IsPageNumberCommand(command)) {
    const long n = DigitsValue(command);
    if (n < 1) return {"", "there is no page 0"};
    target = first + (n - 1) * step;
  }
  if (target < first) return {"", how + ": already the first page"};
  if (target == page->value) return {"", how + ": already that page"};

  // Sites whose first page has no number: by convention for "index_N", "/page/N/" and
  // "_N" ("77.html", "77_2.html"), unless the page links to a numbered first page; for
  // the others only where the page links to the number-less address.
  if (target == first && page->style != AddressPage::Style::Offset) {
    const std::string bare = WithoutNumber(address, *page);
    const bool convention = page->style == AddressPage::Style::Index ||
                            page->style == AddressPage::Style::PathPage ||
                            (page->style == AddressPage::Style::Underscore &&
                             !Linked(links, WithValue(address, *page, first)));
    if (convention || Linked(links, bare)) return {bare, how + ", first page without a number"};
  }
  return {WithValue(address, *page, target), how + " → " + std::to_string(target)};
}

}  // namespace paginor

namespace paginor {

AddressSteps::AddressSteps(std::string_view url, const std::vector<std::string>& links)
    : url_(WithoutFragment(url)), page_(FindAddressPage(url_)) {
  if (page_) {
    if (Numbered(page_->style)) {
      first_ = page_->value == 0 ? 0 : 1;
    } else {
      first_ = 0;
      step_ = OffsetStep(url_, *page_, links).value_or(kDefaultOffsetStep);
    }
    return;
  }
  // The first page, whose address carries no number: an offset's step is the smallest
  // offset among the links to the same list.
  std::optional<long> step;
  for (const std::string& link : links) {
    const std::string_view l = WithoutFragment(link);
    const std::optional<AddressPage> page = FindAddressPage(l);
    if (!page || Numbered(page->style) || page->value <= 0 || WithoutNumber(l, *page) != url_) continue;
    if (!step || page->value < *step) step = page->value;
  }
  step_ = step.value_or(kDefaultOffsetStep);
}

std::optional<long> AddressSteps::To(std::string_view href) const {
  const std::string_view h = WithoutFragment(href);
  if (!page_) {
    const std::optional<AddressPage> page = FindAddressPage(h);
    if (!page || WithoutNumber(h, *page) != url_) return std::nullopt;
    if (Numbered(page->style)) return page->value - 1;
    if (page->value % step_ != 0) return std::nullopt;
    return page->value / step_;
  }
  std::optional<long> value;
  const std::string_view head = std::string_view(url_).substr(0, page_->pos);
  const std::string_view tail = std::string_view(url_).substr(page_->pos + page_->len);
  if (h.size() > head.size() + tail.size() && h.starts_with(head) && h.ends_with(tail)) {
    const std::string_view digits = h.substr(head.size(), h.size() - head.size() - tail.size());
    if (digits.size() <= kMaxQueryDigits && std::all_of(digits.begin(), digits.end(), IsDigit)) {
      value = DigitsValue(digits);
    }
  } else if (h == WithoutNumber(url_, *page_)) {
    value = first_;
  }
  if (!value) return std::nullopt;
  const long gap = *value - page_->value;
  if (gap % step_ != 0) return std::nullopt;
  return gap / step_;
}

std::optional<long> AddressSteps::CurrentPage() const {
  if (!page_) return 1;
  if (Numbered(page_->style)) return first_ == 0 ? std::nullopt : std::optional<long>(page_->value);
  if (page_->value % step_ != 0) return std::nullopt;
  return page_->value / step_ + 1;
}

}  // namespace paginor
