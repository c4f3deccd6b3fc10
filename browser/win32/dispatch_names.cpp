#include "browser/win32/dispatch_names.h"

namespace paginor::win32 {

std::optional<DISPID> DispatchNames::Id(IDispatch& element, ElementKind kind, const wchar_t* name) {
  const auto key = std::make_pair(kind, std::wstring(name));
  const auto it = ids_.find(key);
  if (it != ids_.end()) return it->second;
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  const HRESULT hr = element.GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  std::optional<DISPID> result;
  if (SUCCEEDED(hr)) result = id;
  // A broken connection says nothing about the name: ask again next time.
  if (SUCCEEDED(hr) || hr == DISP_E_UNKNOWNNAME) ids_[key] = result;
  return result;
}

}  // namespace paginor::win32
