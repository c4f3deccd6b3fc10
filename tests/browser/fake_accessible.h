#pragma once
// Accessibility trees built by hand, recording default actions and keys in a journal.

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "browser/accessible_browser.h"

namespace paginor::test {

struct Journal {
  std::vector<std::string> events;
  // Every read that would cross into the browser: (node, "role" / "name" / "value" /
  // "state" / "children" / "parent") to the times it was made.
  std::map<std::pair<const void*, std::string>, int> reads;
  int Reads(const void* node, const std::string& what) const {
    const auto it = reads.find({node, what});
    return it == reads.end() ? 0 : it->second;
  }
};

class Node : public AccessibleNode, public std::enable_shared_from_this<Node> {
 public:
  Node(long role, std::string name, std::string value = "", std::uint32_t state = 0)
      : role_(role), name_(std::move(name)), value_(std::move(value)), state_(state) {}

  std::shared_ptr<Node> Add(std::shared_ptr<Node> child) {
    child->parent_ = weak_from_this();
    child->journal_ = journal_;
    children_.push_back(child);
    return child;
  }
  std::shared_ptr<Node> Add(long role, std::string name, std::string value = "",
                            std::uint32_t state = 0) {
    return Add(std::make_shared<Node>(role, std::move(name), std::move(value), state));
  }
  void SetJournal(Journal* journal) { journal_ = journal; }

  std::optional<long> Role() override { return Read("role", role_); }
  std::optional<std::string> Name() override { return Read("name", name_); }
  std::optional<std::string> Value() override { return Read("value", value_); }
  std::optional<std::uint32_t> State() override { return Read("state", state_); }
  std::optional<std::vector<AccessiblePtr>> Children() override {
    return Read("children", std::vector<AccessiblePtr>(children_.begin(), children_.end()));
  }
  AccessiblePtr Parent() override { return Read("parent", AccessiblePtr(parent_.lock())); }
  std::optional<std::uint32_t> Ia2States() override { return ia2States; }
  std::optional<std::string> ObjectAttributes() override { return attributes; }
  std::optional<std::uint32_t> ia2States;  // these two empty: no IAccessible2
  std::optional<std::string> attributes;
  bool DoDefaultAction() override {
    if (journal_) journal_->events.push_back("click " + name_);
    return true;
  }
  std::vector<std::shared_ptr<Node>> children_;

 private:
  template <class T>
  T Read(const char* what, T result) {
    if (journal_) ++journal_->reads[{this, what}];
    return result;
  }

  long role_;
  std::string name_;
  std::string value_;
  std::uint32_t state_;
  std::weak_ptr<Node> parent_;
  Journal* journal_ = nullptr;
};

class RecordingKeys : public BrowserKeys {
 public:
  explicit RecordingKeys(Journal& journal) : journal_(journal) {}
  bool TypeAddress(WindowHandle, std::string_view address) override {
    journal_.events.push_back("type " + std::string(address));
    return true;
  }
  bool HistoryBack(WindowHandle) override {
    journal_.events.push_back("alt+left");
    return true;
  }
  bool HistoryForward(WindowHandle) override {
    journal_.events.push_back("alt+right");
    return true;
  }

 private:
  Journal& journal_;
};

}  // namespace paginor::test
