#pragma once
// The program's picture: the tray's two images and the executables' icon are one drawing,
// rendered at whatever size is asked, so the icon in Explorer and the one in the
// notification area always match.

#include <cstdint>
#include <vector>

namespace paginor::app {

// Image 0 (page turning on) or 1 (off): size x size pixels, top row first, each
// 0xAARRGGBB with straight (not premultiplied) alpha, as icons store them.
std::vector<std::uint32_t> DrawIconArt(int image, int size);

// A Windows .ico file holding image 0 at each size (1 to 256), as 32-bit bitmaps with
// an AND mask, so every Windows since XP reads every entry.
std::vector<std::uint8_t> IconFile(const std::vector<int>& sizes);

}  // namespace paginor::app
