// Definition files of any content: reading never fails, and what is read is written
// and read again without change, both as text and through the file coding.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/definition_file.h"
#include "engine/text_codec.h"
#include "engine/text_file.h"

namespace {

void CheckRoundTrip(const paginor::DefinitionSets& sets) {
  const std::string text = paginor::FormatDefinitionText(sets);
  if (paginor::ParseDefinitionText(text) != sets) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckRoundTrip(paginor::ParseDefinitionText(bytes));

  const std::string text = paginor::DecodeTextFile(bytes);
  if (!paginor::IsValidUtf8(text)) __builtin_trap();
  if (paginor::DecodeTextFile(paginor::EncodeTextFile(text)) != text) __builtin_trap();

  const paginor::DefinitionSets sets = paginor::ParseDefinitionText(text);
  CheckRoundTrip(sets);
  const std::string file = paginor::EncodeTextFile(paginor::FormatDefinitionText(sets));
  if (paginor::ParseDefinitionText(paginor::DecodeTextFile(file)) != sets) __builtin_trap();
  return 0;
}
