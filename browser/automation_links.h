#pragma once
// A page's links through UI Automation, with the MSAA tree as the fallback and as the
// source of what UI Automation's cache does not hold.

#include <memory>
#include <optional>
#include <vector>

#include "browser/accessible.h"
#include "browser/automation.h"
#include "engine/browser_model.h"

namespace paginor {

// The links of the tab on show in document order, without those of its frames; nullopt
// when the MSAA tree must answer instead: UI Automation not offered or failing, no
// document on show, or one whose address is not that of document (the tab discovery
// chose, read only when needed). A document found with no links is a page without links:
// its answer stands.
std::optional<std::vector<AutomationPtr>> AutomationPageLinks(Automation& automation, WindowHandle window,
                                                             const AccessiblePtr& document);

// The engine's links over links found by UI Automation: text = name, address = value,
// markup synthesised as on the MSAA path, a click invokes the link. The parent element
// comes from document's MSAA tree, walked only when a rule asks for a parent.
std::unique_ptr<LinkCollection> AutomationLinkCollection(std::vector<AutomationPtr> links,
                                                         AccessiblePtr document);

}  // namespace paginor
