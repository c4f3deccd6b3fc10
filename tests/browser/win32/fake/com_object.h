#pragma once
// Reference counting and QueryInterface for the fake browser's objects: a class names
// the interfaces it serves in Find, and is created only through Make.

#include <windows.h>
#include <wrl/client.h>

#include <utility>

namespace paginor::fake {

using Microsoft::WRL::ComPtr;

template <typename Derived, typename... Interfaces>
class ComObject : public Interfaces... {
 public:
  template <typename... Args>
  static ComPtr<Derived> Make(Args&&... args) {
    ComPtr<Derived> object;
    object.Attach(new Derived(std::forward<Args>(args)...));
    return object;
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = static_cast<Derived*>(this)->Find(riid);
    if (!*out) return E_NOINTERFACE;
    static_cast<IUnknown*>(*out)->AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete static_cast<Derived*>(this);
    return static_cast<ULONG>(left);
  }

 protected:
  ComObject() = default;
  virtual ~ComObject() = default;

 private:
  LONG refs_ = 1;
};

}  // namespace paginor::fake
