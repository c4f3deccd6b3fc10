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
#include "browser/ax_tree_file.h"
#include "browser/link_table.h"

namespace paginor::fake {

// What a link's default action asks of the browser: show the page at that address.
using FollowLink = std::function<void(const std::string& address)>;

// How the tree is served. Chromium: text as static text, children only one by one
// (get_accChild). Firefox: text leaves as read-only text, and every node enumerates its
// children (IEnumVARIANT).
enum class TreeKind { Chromium, Firefox };

// The root of a page's tree (the window's client area). Its focus is on the document, on
// the editable address bar, or on an editable search box of the page (the document is
// its parent). Those two are reached only through the focus, so that the walks over the
// page see the same tree.
// With devtools a docked DevTools page comes first.
ComPtr<IAccessible> BuildPageTree(const LinkTable& table, const std::string& title, FollowLink follow,
                                  TreeKind kind = TreeKind::Chromium, bool devtools = false);
// A captured tree (browser/ax_tree_file.h) below the client object, served as captured.
ComPtr<IAccessible> BuildCapturedTree(const AxTree& tree, const std::string& title, FollowLink follow,
                                      TreeKind kind = TreeKind::Chromium);
// Every object made so far fails every later call with E_FAIL, as Chromium's objects
// whose node is gone do (ui/accessibility/platform/ax_platform_node_win.cc,
// COM_OBJECT_VALIDATE).
void RetireTrees();
void OnNameRead(std::function<void()> callback);
enum class Focus { Page, AddressBar, SearchBox };
void SetFocusOn(Focus focus);
Focus FocusedOn();

}  // namespace paginor::fake
