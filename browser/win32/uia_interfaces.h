#pragma once
// The UI Automation client interfaces that MinGW-w64's headers lack, declared by hand
// for the few calls the link list makes. A vtable is an order, not a set of names: every
// slot up to the last one called is declared, in the order of UIAutomationClient.idl (as
// Wine's include/uiautomationclient.idl carries it, which the Windows SDK's header
// matches). Slots never called keep loose signatures; tests/browser/win32/uia_slots_test
// checks the slot each called method lands in.

#include <windows.h>
#include <oaidl.h>

namespace paginor::win32::uia {

using PROPERTYID = int;
using PATTERNID = int;
using UIA_HWND = void*;

enum TreeScope { TreeScope_Element = 0x1, TreeScope_Children = 0x2, TreeScope_Descendants = 0x4 };

inline constexpr PATTERNID kInvokePatternId = 10000;
inline constexpr PROPERTYID kRuntimeIdPropertyId = 30000;
inline constexpr PROPERTYID kControlTypePropertyId = 30003;
inline constexpr PROPERTYID kNamePropertyId = 30005;
inline constexpr PROPERTYID kIsOffscreenPropertyId = 30022;
inline constexpr PROPERTYID kValueValuePropertyId = 30045;

// ff48dba4-60ef-4201-aa87-54103eef594e
inline constexpr CLSID kCLSID_CUIAutomation = {
    0xff48dba4, 0x60ef, 0x4201, {0xaa, 0x87, 0x54, 0x10, 0x3e, 0xef, 0x59, 0x4e}};
// 30cbe57d-d9d0-452a-ab13-7ac5ac4825ee
inline constexpr IID kIID_IUIAutomation = {
    0x30cbe57d, 0xd9d0, 0x452a, {0xab, 0x13, 0x7a, 0xc5, 0xac, 0x48, 0x25, 0xee}};
// fb377fbe-8ea6-46d5-9c73-6499642d3059
inline constexpr IID kIID_IUIAutomationInvokePattern = {
    0xfb377fbe, 0x8ea6, 0x46d5, {0x9c, 0x73, 0x64, 0x99, 0x64, 0x2d, 0x30, 0x59}};

// 352ffba8-0973-437c-a61f-f64cafd81df9: no methods of its own.
struct IUIAutomationCondition : public IUnknown {};

// b32a92b5-bc25-4078-9c08-d7ee95c48e03
struct IUIAutomationCacheRequest : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE AddProperty(PROPERTYID propertyId) = 0;  // 3
  virtual HRESULT STDMETHODCALLTYPE AddPattern(PATTERNID patternId) = 0;     // 4
};

struct IUIAutomationElementArray;

// d22108aa-8ac5-49a5-837b-37bbb3d7591e
struct IUIAutomationElement : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetFocus() = 0;                                    // 3
  virtual HRESULT STDMETHODCALLTYPE GetRuntimeId(SAFEARRAY** runtimeId) = 0;          // 4
  virtual HRESULT STDMETHODCALLTYPE FindFirst(TreeScope, IUIAutomationCondition*, IUIAutomationElement**) = 0;
  virtual HRESULT STDMETHODCALLTYPE FindAll(TreeScope, IUIAutomationCondition*, IUIAutomationElementArray**) = 0;
  virtual HRESULT STDMETHODCALLTYPE FindFirstBuildCache(TreeScope, IUIAutomationCondition*,
                                                        IUIAutomationCacheRequest*, IUIAutomationElement**) = 0;
  virtual HRESULT STDMETHODCALLTYPE FindAllBuildCache(TreeScope scope, IUIAutomationCondition* condition,
                                                      IUIAutomationCacheRequest* cacheRequest,
                                                      IUIAutomationElementArray** found) = 0;  // 8
  virtual HRESULT STDMETHODCALLTYPE BuildUpdatedCache(IUIAutomationCacheRequest*, IUIAutomationElement**) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCurrentPropertyValue(PROPERTYID, VARIANT*) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCurrentPropertyValueEx(PROPERTYID, BOOL, VARIANT*) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCachedPropertyValue(PROPERTYID propertyId, VARIANT* value) = 0;  // 12
  virtual HRESULT STDMETHODCALLTYPE GetCachedPropertyValueEx(PROPERTYID, BOOL, VARIANT*) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCurrentPatternAs(PATTERNID, REFIID, void**) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCachedPatternAs(PATTERNID patternId, REFIID riid,
                                                       void** patternObject) = 0;  // 15
};

// 14314595-b4bc-4055-95f2-58f2e42c9855
struct IUIAutomationElementArray : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_Length(int* length) = 0;                              // 3
  virtual HRESULT STDMETHODCALLTYPE GetElement(int index, IUIAutomationElement** element) = 0;  // 4
};

// fb377fbe-8ea6-46d5-9c73-6499642d3059
struct IUIAutomationInvokePattern : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke() = 0;  // 3
};

// 30cbe57d-d9d0-452a-ab13-7ac5ac4825ee
struct IUIAutomation : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE CompareElements(IUIAutomationElement*, IUIAutomationElement*, BOOL*) = 0;
  virtual HRESULT STDMETHODCALLTYPE CompareRuntimeIds(SAFEARRAY*, SAFEARRAY*, BOOL*) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetRootElement(IUIAutomationElement**) = 0;
  virtual HRESULT STDMETHODCALLTYPE ElementFromHandle(UIA_HWND hwnd, IUIAutomationElement** element) = 0;  // 6
  virtual HRESULT STDMETHODCALLTYPE ElementFromPoint(POINT, IUIAutomationElement**) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetFocusedElement(IUIAutomationElement**) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetRootElementBuildCache(IUIAutomationCacheRequest*, IUIAutomationElement**) = 0;
  virtual HRESULT STDMETHODCALLTYPE ElementFromHandleBuildCache(UIA_HWND, IUIAutomationCacheRequest*,
                                                                IUIAutomationElement**) = 0;
  virtual HRESULT STDMETHODCALLTYPE ElementFromPointBuildCache(POINT, IUIAutomationCacheRequest*,
                                                               IUIAutomationElement**) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetFocusedElementBuildCache(IUIAutomationCacheRequest*,
                                                                IUIAutomationElement**) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateTreeWalker(IUIAutomationCondition*, IUnknown**) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ControlViewWalker(IUnknown**) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ContentViewWalker(IUnknown**) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_RawViewWalker(IUnknown**) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_RawViewCondition(IUIAutomationCondition**) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ControlViewCondition(IUIAutomationCondition**) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ContentViewCondition(IUIAutomationCondition**) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateCacheRequest(IUIAutomationCacheRequest** cacheRequest) = 0;  // 20
  virtual HRESULT STDMETHODCALLTYPE CreateTrueCondition(IUIAutomationCondition**) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateFalseCondition(IUIAutomationCondition**) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreatePropertyCondition(PROPERTYID propertyId, VARIANT value,
                                                            IUIAutomationCondition** condition) = 0;  // 23
};

}  // namespace paginor::win32::uia
