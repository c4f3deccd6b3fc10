#pragma once
// DISPIDs of the names read on link elements, looked up once per command and kind of
// element: an A and an AREA element may number the same name differently, and every
// lookup is a call into the browser's process.

#include <oaidl.h>

#include <map>
#include <optional>
#include <string>
#include <utility>

namespace paginor::win32 {

enum class ElementKind { Anchor, Area, Parent, Image, LinkTag };

class DispatchNames {
 public:
  // The DISPID of name on element, which is of kind; empty when the element does not
  // know the name (remembered too, so an unknown name is asked once).
  std::optional<DISPID> Id(IDispatch& element, ElementKind kind, const wchar_t* name);

 private:
  std::map<std::pair<ElementKind, std::wstring>, std::optional<DISPID>> ids_;
};

}  // namespace paginor::win32
