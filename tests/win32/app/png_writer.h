#pragma once
// Screenshots as PNG files without an image library: the pixels go into stored
// (uncompressed) deflate blocks, which every PNG reader accepts.

#include <cstdint>
#include <string>
#include <vector>

namespace paginor::testing {

// rgb holds width * height pixels, three bytes each, rows top to bottom.
bool WritePng(const std::wstring& path, int width, int height, const std::vector<std::uint8_t>& rgb);

}  // namespace paginor::testing
