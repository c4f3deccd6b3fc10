#pragma once
// A browser tab over pages loaded from text. It keeps a history of the pages opened in
// it, so back and forward show earlier pages again; clicks and navigations are only
// recorded: whoever drives the tab decides which page an address leads to and opens it.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/browser_model.h"
#include "engine/html/browser_action.h"
#include "engine/html/html_page.h"

namespace paginor {

class HtmlBrowser : public Browser {
 public:
  HtmlBrowser() = default;

  // Shows the page as a new history entry after the current one, dropping any later
  // entries, as a browser does. Empty on success, else why the page was refused; the
  // tab then keeps showing what it showed.
  std::string Open(std::string address, std::string_view html);

  std::optional<std::string> LocationUrl() override;
  bool GoBack() override;
  bool GoForward() override;
  std::unique_ptr<Document> GetDocument() override;
  bool Navigate(std::string_view url, std::string_view targetFrame) override;

  // Everything done to the tab and its pages since the last ClearActions.
  const BrowserActions& Actions() const { return *actions_; }
  void ClearActions() { actions_->clear(); }

 private:
  std::shared_ptr<BrowserActions> actions_ = std::make_shared<BrowserActions>();
  std::vector<std::shared_ptr<HtmlPage>> history_;
  std::size_t current_ = 0;  // index into history_ when it is not empty
};

}  // namespace paginor
