#pragma once
// UI Automation as far as a page's link list needs it. One search under an element
// returns every descendant of a control type with its name, value and invoke pattern
// already cached: a single call into the browser instead of several for each link. The
// Windows build wraps IUIAutomation; tests build elements by hand.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/browser_model.h"

namespace paginor {

// The platform's control type identifiers, so the Windows layer passes them through.
namespace uia {
inline constexpr long kHyperlink = 50005;
inline constexpr long kDocument = 50030;
}  // namespace uia

struct AutomationProperties {
  std::string name;
  std::string value;  // a link's or a document's address
  bool offscreen = false;
  // Tells one element from another across searches; empty when the provider gives none.
  std::vector<int> runtimeId;
};

class AutomationElement;
using AutomationPtr = std::shared_ptr<AutomationElement>;

class AutomationElement {
 public:
  virtual ~AutomationElement() = default;
  // Cached by the search that found the element: reading them calls nothing.
  virtual const AutomationProperties& Properties() const = 0;
  // The element's descendants of one control type in tree order, in one call; nullopt
  // when the call failed.
  virtual std::optional<std::vector<AutomationPtr>> FindAll(long controlType) = 0;
  // A link's click.
  virtual bool Invoke() = 0;
};

class Automation {
 public:
  virtual ~Automation() = default;
  // The element of a window; null when the system offers no UI Automation or the window
  // has no element.
  virtual AutomationPtr FromWindow(WindowHandle window) = 0;
};

class AccessibleWorker;

// Every call of inner and of the elements it gives, and their release, made on the
// worker, so that a browser that stops answering holds the worker and not the caller.
// inner must live as long as the program: a call that timed out may still use it.
std::shared_ptr<Automation> AutomationOnWorker(std::shared_ptr<AccessibleWorker> worker, Automation& inner);

}  // namespace paginor
