#pragma once
// Owners for COM's strings and variants, UTF-8 at the edges, and the thread's apartment.

#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <optional>
#include <string>
#include <string_view>

namespace paginor::win32 {

using Microsoft::WRL::ComPtr;

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(std::string_view utf8);
  ~Bstr() { SysFreeString(b_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR Get() const { return b_; }
  // For an out parameter: frees what it held first.
  BSTR* Out() {
    SysFreeString(b_);
    b_ = nullptr;
    return &b_;
  }
  std::string Utf8() const { return paginor::win32::Utf8({b_, SysStringLen(b_)}); }

 private:
  BSTR b_ = nullptr;
};

class Variant {
 public:
  Variant() { VariantInit(&v_); }
  ~Variant() { VariantClear(&v_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  void SetLong(long n);
  void SetString(std::string_view utf8);
  VARIANT* Get() { return &v_; }
  const VARIANT& operator*() const { return v_; }
  VARIANT* Out() {
    VariantClear(&v_);
    return &v_;
  }
  // The value as text: a string as it is, null and empty as "", others converted.
  std::optional<std::string> Text() const;

 private:
  VARIANT v_;
};

// A single-threaded apartment for the lifetime of the object, when the thread has none.
class ComApartment {
 public:
  ComApartment() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComApartment() {
    if (SUCCEEDED(hr_)) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  bool ok() const { return SUCCEEDED(hr_); }

 private:
  HRESULT hr_;
};

}  // namespace paginor::win32
