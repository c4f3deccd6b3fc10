#pragma once
// The accessibility tree a Chromium or Firefox window serves for the page it shows,
// built from a link table: a document, a group per link holding the text around it,
// and the link. Every call is written to the call log.

#include <windows.h>
#include <oleacc.h>

#include <functional>
#include <string>
#include <vector>

#include "../fake/com_object.h"
#include "browser/link_table.h"

namespace paginor::fake {

// What a link's default action asks of the browser: show the page at that address.
using FollowLink = std::function<void(const std::string& address)>;

// The root of a page's tree (the window's client area).
ComPtr<IAccessible> BuildPageTree(const LinkTable& table, const std::string& title, FollowLink follow);

}  // namespace paginor::fake
