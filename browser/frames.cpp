#include "browser/frames.h"

#include <algorithm>

namespace paginor {

int GetFrameCount(FrameSource& source, const BrowserPtr& browser) {
  if (!browser) return 0;
  return std::clamp(source.CountEmbeddings(*browser, kMaxFrames), 0, kMaxFrames);
}

BrowserPtr GetFrameBrowser(FrameSource& source, int index, const BrowserPtr& browser) {
  if (!browser || index < 0) return nullptr;
  return source.EmbeddedBrowser(*browser, index);
}

std::vector<std::string> FrameListEntries(FrameSource& source, const BrowserPtr& browser) {
  std::vector<std::string> entries;
  const int count = GetFrameCount(source, browser);
  for (int i = 0; i < count; ++i) {
    const BrowserPtr frame = GetFrameBrowser(source, i, browser);
    if (!frame) {
      entries.emplace_back("?");
      continue;
    }
    entries.push_back(std::to_string(i + 1) + "    " + frame->LocationUrl().value_or(""));
  }
  return entries;
}

}  // namespace paginor
