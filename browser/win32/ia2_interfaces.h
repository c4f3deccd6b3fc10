#pragma once
// The IAccessible2 interface, which MinGW-w64's headers lack, declared by hand for the
// two reads the program makes. A vtable is an order, not a set of names: every slot up to
// the last one called is declared in the order of the published IDL
// (IAccessible2/api/Accessible2.idl, as ia2_api_all.idl carries it). Slots never
// called keep loose signatures; tests/browser/win32/uia_slots_test checks the slot each
// called method lands in (get_states 35, get_attributes 45).

#include <windows.h>
#include <oleacc.h>

namespace paginor::win32::ia2 {

// E89F726E-C4F4-4c19-BB19-B647D7FA8478
inline constexpr IID kIID_IAccessible2 = {
    0xe89f726e, 0xc4f4, 0x4c19, {0xbb, 0x19, 0xb6, 0x47, 0xd7, 0xfa, 0x84, 0x78}};

struct IAccessible2 : public IAccessible {
  virtual HRESULT STDMETHODCALLTYPE get_nRelations(long*) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_relation(long, IUnknown**) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_relations(long, IUnknown**, long*) = 0;
  virtual HRESULT STDMETHODCALLTYPE role(long*) = 0;
  virtual HRESULT STDMETHODCALLTYPE scrollTo(int) = 0;
  virtual HRESULT STDMETHODCALLTYPE scrollToPoint(int, long, long) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_groupPosition(long*, long*, long*) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_states(long* states) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_extendedRole(BSTR*) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_localizedExtendedRole(BSTR*) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_nExtendedStates(long*) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_extendedStates(long, BSTR**, long*) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_localizedExtendedStates(long, BSTR**, long*) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_uniqueID(long*) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_windowHandle(HWND*) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_indexInParent(long*) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_locale(void*) = 0;
  // "name:value;" pairs; Chromium and Firefox put the element's tag in "tag".
  virtual HRESULT STDMETHODCALLTYPE get_attributes(BSTR* attributes) = 0;
};

}  // namespace paginor::win32::ia2
