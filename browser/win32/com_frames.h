#pragma once
// A document's embedded objects through its IOleContainer, in embedding order.

#include "browser/frames.h"

namespace paginor::win32 {

class ComFrameSource : public FrameSource {
 public:
  int CountEmbeddings(Browser& browser, int limit) override;
  BrowserPtr EmbeddedBrowser(Browser& browser, int index) override;
};

}  // namespace paginor::win32
