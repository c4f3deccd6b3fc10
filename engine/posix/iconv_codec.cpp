// The ANSI code page through glibc's iconv. "CP936" is Windows' GBK, which also maps
// 0x80 to the euro sign; plain "GBK" is the fallback where CP936 is missing.

#include <iconv.h>

#include <array>
#include <cerrno>
#include <cstddef>

#include "engine/text_codec.h"

namespace paginor {
namespace {

constexpr std::array<const char*, 2> kAnsiNames = {"CP936", "GBK"};
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);
constexpr std::size_t kFailed = static_cast<std::size_t>(-1);

// One conversion direction; iconv descriptors keep state, so each thread has its own.
class Converter {
 public:
  Converter(const char* to, bool toAnsi) {
    for (const char* name : kAnsiNames) {
      cd_ = toAnsi ? iconv_open(name, to) : iconv_open(to, name);
      if (cd_ != kNoConverter) break;
    }
  }
  ~Converter() {
    if (cd_ != kNoConverter) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return cd_ != kNoConverter; }

  // Converts as much as it can; returns false on an illegal or incomplete sequence,
  // leaving in/inLeft at the offending byte. Output is appended to out.
  bool Convert(const char*& in, std::size_t& inLeft, std::string& out) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    std::array<char, 4096> buffer{};
    while (inLeft > 0) {
      char* outPtr = buffer.data();
      std::size_t outLeft = buffer.size();
      char* inPtr = const_cast<char*>(in);  // iconv's signature predates const
      const std::size_t result = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
      const int error = errno;
      in = inPtr;
      out.append(buffer.data(), buffer.size() - outLeft);
      if (result != kFailed) return true;
      if (error != E2BIG) return false;
    }
    return true;
  }

 private:
  iconv_t cd_ = kNoConverter;
};

Converter& Decoder() {
  thread_local Converter converter("UTF-8", false);
  return converter;
}

Converter& Encoder() {
  thread_local Converter converter("UTF-8", true);
  return converter;
}

bool IsAscii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

class IconvCodec final : public AnsiCodec {
 public:
  std::string ToUtf8(std::string_view ansi) const override {
    std::string out;
    out.reserve(ansi.size() + ansi.size() / 2);
    const char* in = ansi.data();
    std::size_t inLeft = ansi.size();
    Converter& decoder = Decoder();
    while (inLeft > 0) {
      if (decoder.ok() && decoder.Convert(in, inLeft, out)) break;
      // An illegal byte, or a lead byte cut off by the end: replace it and go on
      // with the next byte, which may begin a sound character.
      if (decoder.ok() || static_cast<unsigned char>(*in) >= 0x80) {
        out += kReplacementChar;
      } else {
        out += *in;
      }
      ++in;
      --inLeft;
    }
    return out;
  }

  std::optional<std::string> FromUtf8(std::string_view utf8) const override {
    if (!IsValidUtf8(utf8)) return std::nullopt;
    Converter& encoder = Encoder();
    if (!encoder.ok()) {
      if (IsAscii(utf8)) return std::string(utf8);
      return std::nullopt;
    }
    std::string out;
    out.reserve(utf8.size());
    const char* in = utf8.data();
    std::size_t inLeft = utf8.size();
    if (!encoder.Convert(in, inLeft, out)) return std::nullopt;
    return out;
  }
};

}  // namespace

const AnsiCodec& SystemAnsiCodec() {
  static const IconvCodec codec;
  return codec;
}

}  // namespace paginor
