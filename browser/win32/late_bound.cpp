#include "browser/win32/late_bound.h"

#include <optional>

namespace paginor::win32 {
namespace {

std::optional<DISPID> IdOf(IDispatch& object, const wchar_t* name) {
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  if (FAILED(object.GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return std::nullopt;
  return id;
}

}  // namespace

bool GetByName(IDispatch& object, const wchar_t* name, Variant& value) {
  const std::optional<DISPID> id = IdOf(object, name);
  if (!id) return false;
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  return SUCCEEDED(object.Invoke(*id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                                 value.Out(), nullptr, nullptr));
}

bool PutByName(IDispatch& object, const wchar_t* name, Variant& value) {
  const std::optional<DISPID> id = IdOf(object, name);
  if (!id) return false;
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params = {value.Get(), &named, 1, 1};
  return SUCCEEDED(object.Invoke(*id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params,
                                 nullptr, nullptr, nullptr));
}

bool CallByName(IDispatch& object, const wchar_t* name) {
  const std::optional<DISPID> id = IdOf(object, name);
  if (!id) return false;
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  return SUCCEEDED(object.Invoke(*id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, nullptr,
                                 nullptr, nullptr));
}

ComPtr<IDispatch> ObjectByName(IDispatch& object, const wchar_t* name) {
  Variant value;
  if (!GetByName(object, name, value) || (*value).vt != VT_DISPATCH || !(*value).pdispVal) return nullptr;
  return ComPtr<IDispatch>((*value).pdispVal);
}

}  // namespace paginor::win32
