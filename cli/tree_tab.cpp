#include "cli/tree_tab.h"

#include "cli/desktop.h"
#include "cli/page_files.h"

namespace paginor::cli {
namespace {

class RecordedKeys : public BrowserKeys {
 public:
  explicit RecordedKeys(std::shared_ptr<BrowserActions> actions) : actions_(std::move(actions)) {}
  bool TypeAddress(WindowHandle, std::string_view address) override {
    return Record(BrowserAction::Kind::Navigated, std::string(address));
  }
  bool HistoryBack(WindowHandle) override { return Record(BrowserAction::Kind::WentBack, "Alt+Left"); }
  bool HistoryForward(WindowHandle) override {
    return Record(BrowserAction::Kind::WentForward, "Alt+Right");
  }

 private:
  bool Record(BrowserAction::Kind kind, std::string address) {
    actions_->push_back({kind, std::move(address), "", ""});
    return true;
  }
  std::shared_ptr<BrowserActions> actions_;
};

}  // namespace

TreeTab::TreeTab(std::filesystem::path treeDir) : treeDir_(std::move(treeDir)) {}

std::string TreeTab::Open(std::string address, const std::filesystem::path& pageFile) {
  const std::filesystem::path file = treeDir_ / pageFile.filename().replace_extension(".tsv");
  std::string error;
  const std::optional<std::string> text = ReadUtf8File(file, error);
  if (!text) return error;
  std::optional<AxTree> tree = ParseAxTree(*text, error);
  if (!tree) {
    const std::u8string name = file.u8string();
    return "cannot load " + std::string(name.begin(), name.end()) + ": " + error;
  }
  tree->url = std::move(address);
  tree->document.value = tree->url;
  const auto act = [actions = actions_](const AxTreeNode& node) {
    if (node.role != msaa::kRoleLink) return false;
    actions->push_back({BrowserAction::Kind::FollowedLink, node.value, node.name, "_self"});
    return true;
  };
  auto shared = std::make_shared<const AxTree>(std::move(*tree));
  shown_ = std::make_unique<AccessibleBrowser>(AccessibleFromTree(std::move(shared), act), kTabWindow,
                                               std::make_shared<RecordedKeys>(actions_));
  return "";
}

std::optional<std::string> TreeTab::LocationUrl() { return shown_ ? shown_->LocationUrl() : std::nullopt; }
bool TreeTab::GoBack() { return shown_ && shown_->GoBack(); }
bool TreeTab::GoForward() { return shown_ && shown_->GoForward(); }
std::unique_ptr<Document> TreeTab::GetDocument() { return shown_ ? shown_->GetDocument() : nullptr; }
bool TreeTab::Navigate(std::string_view url, std::string_view targetFrame) {
  return shown_ && shown_->Navigate(url, targetFrame);
}

}  // namespace paginor::cli
