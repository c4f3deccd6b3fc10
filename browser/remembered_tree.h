#pragma once
// A page's accessibility tree as one command reads it. Every read crosses into the
// browser's process, so each node is asked each property at most once, and a node found
// by walking down knows its parent without asking. What was read is dropped with Forget:
// the next command reads the page as it is then.

#include "browser/accessible.h"

namespace paginor {

// node itself when it already remembers its reads.
AccessiblePtr Remembered(AccessiblePtr node);

// True when the node's value has been read already, so asking costs nothing.
bool ValueRemembered(const AccessiblePtr& node);

// Drops what node remembers, its children with everything below them included, so that
// their objects in the browser are released now rather than with the node.
void Forget(const AccessiblePtr& node);

}  // namespace paginor
