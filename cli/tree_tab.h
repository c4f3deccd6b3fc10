#pragma once
// A tab that shows pages as the accessibility trees a browser served for them (see
// browser/ax_tree_file.h), turned the way the Chrome, Edge and Firefox kind turns a
// browser's: page FILE.html of a site is shown as DIR/FILE.tsv.

#include <filesystem>
#include <memory>
#include <string>

#include "browser/accessible_browser.h"
#include "browser/ax_tree_file.h"
#include "engine/html/browser_action.h"

namespace paginor::cli {

class TreeTab : public Browser {
 public:
  explicit TreeTab(std::filesystem::path treeDir);

  // Shows the tree of pageFile as the page at address; empty on success, else why not.
  std::string Open(std::string address, const std::filesystem::path& pageFile);

  std::optional<std::string> LocationUrl() override;
  bool GoBack() override;
  bool GoForward() override;
  std::unique_ptr<Document> GetDocument() override;
  bool Navigate(std::string_view url, std::string_view targetFrame) override;

  // What the engine did through the tree and the keys since the last ClearActions:
  // history keys are recorded with the key as the address.
  const BrowserActions& Actions() const { return *actions_; }
  void ClearActions() { actions_->clear(); }

 private:
  std::filesystem::path treeDir_;
  std::shared_ptr<BrowserActions> actions_ = std::make_shared<BrowserActions>();
  std::unique_ptr<AccessibleBrowser> shown_;
};

}  // namespace paginor::cli
