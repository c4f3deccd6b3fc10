#pragma once
// Discovery whose browsers count every call made into them, for the diagnostic report.

#include <atomic>
#include <memory>

#include "engine/browser_model.h"

namespace paginor {

class CountedDiscovery : public BrowserDiscovery {
 public:
  explicit CountedDiscovery(BrowserDiscovery& inner) : inner_(inner) {}
  bool FindBrowserWindow(BrowserPtr& browser, WindowHandle& window, std::string_view kind) override;
  BrowserPtr GetFrameBrowser(int index, const BrowserPtr& browser) override;
  // Calls into the browsers, documents, link collections and links handed out so far.
  long calls() const { return *calls_; }

 private:
  BrowserDiscovery& inner_;
  std::shared_ptr<std::atomic<long>> calls_ = std::make_shared<std::atomic<long>>(0);
};

}  // namespace paginor
