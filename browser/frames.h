#pragma once
// The frames of a page: the embedded objects of the tab's document, in embedding order.

#include <string>
#include <vector>

#include "engine/browser_model.h"

namespace paginor {

inline constexpr int kMaxFrames = 100;

class FrameSource {
 public:
  virtual ~FrameSource() = default;
  // How many embedded objects the browser's document has, fetched at most `limit`
  // at once; 0 without a document or embeddings.
  virtual int CountEmbeddings(Browser& browser, int limit) = 0;
  // The browser of the embedded object at the 0-based position; null when there is
  // no such object or it is not a browser (a plug-in).
  virtual BrowserPtr EmbeddedBrowser(Browser& browser, int index) = 0;
};

// 0 to kMaxFrames; 0 for a null browser.
int GetFrameCount(FrameSource& source, const BrowserPtr& browser);
// Null for a negative index, a null browser or a non-browser embedding.
BrowserPtr GetFrameBrowser(FrameSource& source, int index, const BrowserPtr& browser);
// The entries of the frame list: "N    ADDRESS" for a frame, "?" for anything else,
// so an entry's index is its embedding's position.
std::vector<std::string> FrameListEntries(FrameSource& source, const BrowserPtr& browser);

}  // namespace paginor
