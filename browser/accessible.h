#pragma once
// A page as screen readers see it: the accessibility tree that Chromium and Firefox
// serve without extensions or start-up flags. The Windows build wraps IAccessible;
// tests build trees by hand.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace paginor {

// The platform's role and state values, so the Windows layer passes them through.
namespace msaa {
inline constexpr long kRoleDocument = 0x0F;
inline constexpr long kRoleLink = 0x1E;
inline constexpr long kRoleGraphic = 0x28;
inline constexpr long kRoleStaticText = 0x29;
inline constexpr long kRoleText = 0x2A;  // an editable field, or text that is not one (see KindOf)
inline constexpr long kRolePushButton = 0x2B;
inline constexpr long kRoleComboBox = 0x2E;
inline constexpr std::uint32_t kStateFocused = 0x4;
inline constexpr std::uint32_t kStateReadOnly = 0x40;
inline constexpr std::uint32_t kStateInvisible = 0x8000;
inline constexpr std::uint32_t kStateOffscreen = 0x10000;
// IAccessible2's state (AccessibleStates.idl): the content can be changed, as in
// contenteditable editors that carry no text role.
inline constexpr std::uint32_t kIa2StateEditable = 0x8;
inline constexpr std::uint32_t kStateFocusable = 0x100000;
}  // namespace msaa

class AccessibleNode;
using AccessiblePtr = std::shared_ptr<AccessibleNode>;

// Where an object says the keyboard focus is, within itself and its descendants.
struct FocusAnswer {
  enum class Where { Failed, Nowhere, Self, Descendant };
  Where where = Where::Failed;
  AccessiblePtr descendant;  // for Descendant
};

// Every read crosses into the browser's process and may fail: empty is that failure.
class AccessibleNode {
 public:
  virtual ~AccessibleNode() = default;
  virtual std::optional<long> Role() = 0;
  virtual std::optional<std::string> Name() = 0;
  virtual std::optional<std::string> Value() = 0;
  virtual std::optional<std::uint32_t> State() = 0;
  virtual std::optional<std::vector<AccessiblePtr>> Children() = 0;
  virtual AccessiblePtr Parent() = 0;
  virtual bool DoDefaultAction() = 0;
  // Trees that cannot tell answer Failed.
  virtual FocusAnswer Focus() { return {}; }
  // The object this one embeds (NAVRELATION_EMBEDS): Firefox's root names the document
  // of the tab on show. Null where the tree does not tell.
  virtual AccessiblePtr Embedded() { return nullptr; }
  // IAccessible2's states; empty where the browser or the system offers no IAccessible2.
  virtual std::optional<std::uint32_t> Ia2States() { return std::nullopt; }
  // IAccessible2's object attributes ("tag:a;display:inline;..."), empty likewise.
  virtual std::optional<std::string> ObjectAttributes() { return std::nullopt; }
};

}  // namespace paginor
