#include "engine/html/html_browser.h"

namespace paginor {

std::string HtmlBrowser::Open(std::string address, std::string_view html) {
  HtmlPage::Load load = HtmlPage::Parse(std::move(address), html, actions_);
  if (load.page == nullptr) return load.problem;
  if (!history_.empty()) history_.resize(current_ + 1);
  history_.push_back(std::move(load.page));
  current_ = history_.size() - 1;
  return "";
}

std::optional<std::string> HtmlBrowser::LocationUrl() {
  if (history_.empty()) return std::nullopt;
  return history_[current_]->Address();
}

bool HtmlBrowser::GoBack() {
  if (history_.empty() || current_ == 0) {
    actions_->push_back({BrowserAction::Kind::WentBack, "", "", ""});
    return false;
  }
  --current_;
  actions_->push_back({BrowserAction::Kind::WentBack, history_[current_]->Address(), "", ""});
  return true;
}

bool HtmlBrowser::GoForward() {
  if (current_ + 1 >= history_.size()) {
    actions_->push_back({BrowserAction::Kind::WentForward, "", "", ""});
    return false;
  }
  ++current_;
  actions_->push_back({BrowserAction::Kind::WentForward, history_[current_]->Address(), "", ""});
  return true;
}

std::unique_ptr<Document> HtmlBrowser::GetDocument() {
  if (history_.empty()) return nullptr;
  return history_[current_]->MakeDocument();
}

bool HtmlBrowser::Navigate(std::string_view url, std::string_view targetFrame) {
  actions_->push_back(
      {BrowserAction::Kind::Navigated, std::string(url), "", std::string(targetFrame)});
  return true;
}

}  // namespace paginor
