#pragma once
// Accessibility trees built by hand, recording default actions and keys in a journal.

#include <memory>
#include <string>
#include <vector>

#include "browser/accessible_browser.h"

namespace paginor::test {

struct Journal {
  std::vector<std::string> events;
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

  std::optional<long> Role() override { return role_; }
  std::optional<std::string> Name() override { return name_; }
  std::optional<std::string> Value() override { return value_; }
  std::optional<std::uint32_t> State() override { return state_; }
  std::optional<std::vector<AccessiblePtr>> Children() override {
    return std::vector<AccessiblePtr>(children_.begin(), children_.end());
  }
  AccessiblePtr Parent() override { return parent_.lock(); }
  bool DoDefaultAction() override {
    if (journal_) journal_->events.push_back("click " + name_);
    return true;
  }
  std::vector<std::shared_ptr<Node>> children_;

 private:
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
