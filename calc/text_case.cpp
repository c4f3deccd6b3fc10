#include "calc/text_case.h"

#include <cstdint>

namespace paginor::calc {
namespace {

// One step through UTF-8 text: a well-formed character, or a single byte that is not
// part of one (kept as it is, and ordered after every character).
struct Unit {
  std::uint32_t code;
  std::size_t length;
};

constexpr std::uint32_t kStrayByte = 0x110000;

Unit NextUnit(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  const Unit stray{kStrayByte + lead, 1};
  if (lead < 0x80) {
    return {lead, 1};
  }
  std::size_t length = 0;
  std::uint32_t code = 0;
  std::uint32_t minimum = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, code = lead & 0x1FU, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, code = lead & 0x0FU, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, code = lead & 0x07U, minimum = 0x10000;
  } else {
    return stray;
  }
  if (at + length > text.size()) {
    return stray;
  }
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0U) != 0x80) {
      return stray;
    }
    code = (code << 6) | (byte(at + i) & 0x3FU);
  }
  if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
    return stray;
  }
  return {code, length};
}

// The capital of a small letter that has one in the Chinese ANSI code page, else 0.
std::uint32_t CapitalOf(std::uint32_t c) {
  if ((c >= 'a' && c <= 'z') || (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) ||
      (c >= 0x430 && c <= 0x44F) || (c >= 0xFF41 && c <= 0xFF5A)) {
    return c - 0x20;
  }
  if (c == 0x451) {
    return 0x401;
  }
  if (c >= 0x2170 && c <= 0x2179) {
    return c - 0x10;
  }
  return 0;
}

// The small letter of a capital, the inverse of CapitalOf, else 0.
std::uint32_t SmallOf(std::uint32_t c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) ||
      (c >= 0x410 && c <= 0x42F) || (c >= 0xFF21 && c <= 0xFF3A)) {
    return c + 0x20;
  }
  if (c == 0x401) {
    return 0x451;
  }
  if (c >= 0x2160 && c <= 0x2169) {
    return c + 0x10;
  }
  return 0;
}

void AppendUtf8(std::string& out, std::uint32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0U | (c >> 6)));
    out.push_back(static_cast<char>(0x80U | (c & 0x3FU)));
  } else {
    // Every mapped letter lies below U+10000.
    out.push_back(static_cast<char>(0xE0U | (c >> 12)));
    out.push_back(static_cast<char>(0x80U | ((c >> 6) & 0x3FU)));
    out.push_back(static_cast<char>(0x80U | (c & 0x3FU)));
  }
}

// Each mapping keeps a letter's UTF-8 length, so everything else is copied byte for byte.
template <typename Mapping>
std::string MapLetters(std::string_view text, Mapping mapping) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const Unit unit = NextUnit(text, at);
    const std::uint32_t mapped = unit.code < kStrayByte ? mapping(unit.code) : 0;
    if (mapped != 0) {
      AppendUtf8(out, mapped);
    } else {
      out.append(text.substr(at, unit.length));
    }
    at += unit.length;
  }
  return out;
}

std::uint32_t Folded(std::uint32_t c) {
  const std::uint32_t small = SmallOf(c);
  return small != 0 ? small : c;
}

int Sign(std::int64_t difference) { return difference < 0 ? -1 : (difference > 0 ? 1 : 0); }

}  // namespace

std::string UpperText(std::string_view utf8) { return MapLetters(utf8, CapitalOf); }

std::string LowerText(std::string_view utf8) { return MapLetters(utf8, SmallOf); }

// Letters are compared without regard to case, by code point; only when the texts are
// otherwise equal does the first difference in case decide, small before capital
// ("a" < "A" < "b"), as the Windows collation orders them. Texts equal even then are
// ordered by their bytes.
int CollateText(std::string_view a, std::string_view b) {
  int case_difference = 0;
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    const Unit x = NextUnit(a, i);
    const Unit y = NextUnit(b, j);
    if (Folded(x.code) != Folded(y.code)) {
      return Sign(std::int64_t{Folded(x.code)} - std::int64_t{Folded(y.code)});
    }
    if (case_difference == 0 && x.code != y.code) {
      case_difference = SmallOf(x.code) == 0 ? -1 : 1;
    }
    i += x.length;
    j += y.length;
  }
  if (i < a.size() || j < b.size()) {
    return i < a.size() ? 1 : -1;
  }
  if (case_difference != 0) {
    return case_difference;
  }
  return Sign(a.compare(b));
}

}  // namespace paginor::calc
