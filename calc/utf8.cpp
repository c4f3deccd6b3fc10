#include "calc/utf8.h"

namespace paginor::calc {
namespace {

char32_t InvalidByte(unsigned char byte) { return 0xDC00u + byte; }

bool IsContinuation(std::string_view text, std::size_t at) {
  return at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0u) == 0x80u;
}

}  // namespace

char32_t DecodeUtf8At(std::string_view text, std::size_t at, std::size_t& length) {
  const auto lead = static_cast<unsigned char>(text[at]);
  length = 1;
  if (lead < 0x80u) return lead;
  std::size_t count = 0;
  char32_t code = 0;
  char32_t minimum = 0;
  if ((lead & 0xE0u) == 0xC0u) {
    count = 1, code = lead & 0x1Fu, minimum = 0x80;
  } else if ((lead & 0xF0u) == 0xE0u) {
    count = 2, code = lead & 0x0Fu, minimum = 0x800;
  } else if ((lead & 0xF8u) == 0xF0u) {
    count = 3, code = lead & 0x07u, minimum = 0x10000;
  } else {
    return InvalidByte(lead);
  }
  for (std::size_t i = 1; i <= count; ++i) {
    if (!IsContinuation(text, at + i)) return InvalidByte(lead);
    code = (code << 6) | (static_cast<unsigned char>(text[at + i]) & 0x3Fu);
  }
  if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
    return InvalidByte(lead);
  }
  length = count + 1;
  return code;
}

std::vector<char32_t> DecodeUtf8(std::string_view text) {
  std::vector<char32_t> codes;
  codes.reserve(text.size());
  std::size_t length = 0;
  for (std::size_t at = 0; at < text.size(); at += length) {
    codes.push_back(DecodeUtf8At(text, at, length));
  }
  return codes;
}

void AppendUtf8(std::string& out, char32_t code) {
  if (code >= 0xDC80 && code <= 0xDCFF) {  // an invalid byte kept as itself
    out.push_back(static_cast<char>(code - 0xDC00));
  } else if (code < 0x80) {
    out.push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (code >> 6)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (code >> 12)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (code >> 18)));
    out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

}  // namespace paginor::calc
