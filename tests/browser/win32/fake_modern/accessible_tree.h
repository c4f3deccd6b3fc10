#pragma once
// The accessibility tree a Chromium or Firefox window serves for the page it shows,
// built from a link table: a document, a group per link holding the text around it,
// and the link holding its text. Every call is written to the call log, and so is every
// QueryInterface for IAccessible or IEnumVARIANT, which crosses from the client too.

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

// How the tree is served. Chromium: text as static text, children only one by one
// (get_accChild). Firefox: text leaves as read-only text, and every node enumerates its
// children (IEnumVARIANT).
enum class TreeKind { Chromium, Firefox };

// The root of a page's tree (the window's client area).
ComPtr<IAccessible> BuildPageTree(const LinkTable& table, const std::string& title, FollowLink follow,
                                  TreeKind kind = TreeKind::Chromium);

}  // namespace paginor::fake
