#include "browser/remembered_tree.h"

#include <utility>

namespace paginor {
namespace {

// A read made once: the outer optional says whether it was made, the inner is its
// result, a failure included (a node that failed once fails again in the same command).
template <class T>
using Once = std::optional<std::optional<T>>;

template <class T, class Read>
std::optional<T> ReadOnce(Once<T>& slot, Read read) {
  if (!slot) slot.emplace(read());
  return *slot;
}

class RememberedNode final : public AccessibleNode,
                             public std::enable_shared_from_this<RememberedNode> {
 public:
  // parent: the node whose children listed this one. Weak, since the parent holds its
  // children; once it is gone the browser is asked.
  RememberedNode(AccessiblePtr inner, std::weak_ptr<RememberedNode> parent)
      : inner_(std::move(inner)), walkParent_(std::move(parent)) {}

  std::optional<long> Role() override {
    return ReadOnce(role_, [&] { return inner_->Role(); });
  }
  std::optional<std::string> Name() override {
    return ReadOnce(name_, [&] { return inner_->Name(); });
  }
  std::optional<std::string> Value() override {
    return ReadOnce(value_, [&] { return inner_->Value(); });
  }
  std::optional<std::uint32_t> State() override {
    return ReadOnce(state_, [&] { return inner_->State(); });
  }
  std::optional<std::vector<AccessiblePtr>> Children() override {
    return ReadOnce(children_, [&] { return Wrapped(inner_->Children()); });
  }
  AccessiblePtr Parent() override {
    if (auto parent = walkParent_.lock()) return parent;
    if (!parentRead_) {
      parentRead_ = true;
      AccessiblePtr parent = inner_->Parent();
      if (parent) askedParent_ = std::make_shared<RememberedNode>(std::move(parent), std::weak_ptr<RememberedNode>());
    }
    return askedParent_;
  }
  bool DoDefaultAction() override { return inner_->DoDefaultAction(); }
  std::optional<std::string> ObjectAttributes() override {
    return ReadOnce(attributes_, [&] { return inner_->ObjectAttributes(); });
  }

  bool valueRead() const { return value_.has_value(); }
  void Forget() {
    role_.reset();
    name_.reset();
    value_.reset();
    state_.reset();
    attributes_.reset();
    children_.reset();
    parentRead_ = false;
    askedParent_.reset();
  }

 private:
  std::optional<std::vector<AccessiblePtr>> Wrapped(std::optional<std::vector<AccessiblePtr>> children) {
    if (!children) return std::nullopt;
    const std::weak_ptr<RememberedNode> self = weak_from_this();
    std::vector<AccessiblePtr> out;
    out.reserve(children->size());
    for (AccessiblePtr& child : *children) {
      if (child) out.push_back(std::make_shared<RememberedNode>(std::move(child), self));
    }
    return out;
  }

  AccessiblePtr inner_;
  std::weak_ptr<RememberedNode> walkParent_;
  Once<long> role_;
  Once<std::string> name_;
  Once<std::string> value_;
  Once<std::uint32_t> state_;
  Once<std::string> attributes_;
  Once<std::vector<AccessiblePtr>> children_;
  bool parentRead_ = false;
  AccessiblePtr askedParent_;
};

}  // namespace

AccessiblePtr Remembered(AccessiblePtr node) {
  if (!node || std::dynamic_pointer_cast<RememberedNode>(node)) return node;
  return std::make_shared<RememberedNode>(std::move(node), std::weak_ptr<RememberedNode>());
}

bool ValueRemembered(const AccessiblePtr& node) {
  const auto remembered = std::dynamic_pointer_cast<RememberedNode>(node);
  return remembered && remembered->valueRead();
}

void Forget(const AccessiblePtr& node) {
  if (const auto remembered = std::dynamic_pointer_cast<RememberedNode>(node)) remembered->Forget();
}

}  // namespace paginor
