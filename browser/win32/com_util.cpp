#include "browser/win32/com_util.h"

#include <climits>

namespace paginor::win32 {

std::wstring Wide(std::string_view utf8) {
  if (utf8.empty() || utf8.size() > INT_MAX) return {};
  const int size = static_cast<int>(utf8.size());
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, out.data(), n);
  return out;
}

std::string Utf8(std::wstring_view wide) {
  if (wide.empty() || wide.size() > INT_MAX) return {};
  const int size = static_cast<int>(wide.size());
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, out.data(), n, nullptr, nullptr);
  return out;
}

Bstr::Bstr(std::string_view utf8) {
  const std::wstring w = Wide(utf8);
  b_ = SysAllocStringLen(w.data(), static_cast<UINT>(w.size()));
}

void Variant::SetLong(long n) {
  VARIANT* p = Out();
  p->vt = VT_I4;
  p->lVal = n;
}

void Variant::SetString(std::string_view utf8) {
  VARIANT* p = Out();
  const std::wstring w = Wide(utf8);
  p->bstrVal = SysAllocStringLen(w.data(), static_cast<UINT>(w.size()));
  if (p->bstrVal) p->vt = VT_BSTR;
}

std::optional<std::string> Variant::Text() const {
  if (v_.vt == VT_BSTR) return paginor::win32::Utf8({v_.bstrVal, SysStringLen(v_.bstrVal)});
  if (v_.vt == VT_EMPTY || v_.vt == VT_NULL) return std::string();
  VARIANT copy;
  VariantInit(&copy);
  if (FAILED(VariantChangeType(&copy, const_cast<VARIANT*>(&v_), 0, VT_BSTR))) return std::nullopt;
  std::string text = paginor::win32::Utf8({copy.bstrVal, SysStringLen(copy.bstrVal)});
  VariantClear(&copy);
  return text;
}

}  // namespace paginor::win32
