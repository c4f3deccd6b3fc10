// The hand-declared UI Automation interfaces against the slot order of
// UIAutomationClient.idl: each method the link list calls is called on an object whose
// vtable records the slot it was reached through. A missing or misplaced declaration
// sends the call to another slot. Also: this system's answer when UI Automation is asked.

#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <utility>

#include "browser/win32/com_util.h"
#include "browser/win32/ia2_interfaces.h"
#include "browser/win32/uia_interfaces.h"
#include "browser/win32/uia_win32.h"

namespace paginor::test {
namespace {

using namespace paginor::win32::uia;

struct Recorder {
  void* const* vtable;
  int slot = -1;
};

// The 64-bit convention leaves the arguments to the caller, so one thunk taking only
// the object serves every signature.
template <int K>
HRESULT STDMETHODCALLTYPE Record(Recorder* self) {
  self->slot = K;
  return E_NOTIMPL;
}

template <int... K>
constexpr std::array<void*, sizeof...(K)> Thunks(std::integer_sequence<int, K...>) {
  return {reinterpret_cast<void*>(&Record<K>)...};
}

const auto kVtable = Thunks(std::make_integer_sequence<int, 64>());

// One object for every call, made before any of them: the optimiser cannot move the
// writing of its vtable pointer past a call made through another type.
Recorder recorder{kVtable.data()};

template <class Interface>
int SlotOf(void (*call)(Interface&)) {
  recorder.slot = -1;
  void* volatile object = &recorder;
  call(*static_cast<Interface*>(object));
  return recorder.slot;
}

TEST(UiaSlots, EveryCalledMethodLandsInItsSlotOfTheIdl) {
#ifndef _WIN64
  GTEST_SKIP() << "the recording thunks rely on the 64-bit calling convention";
#endif
  // IUnknown takes slots 0 to 2; counted from the interface declarations in order.
  EXPECT_EQ(SlotOf<IUIAutomation>([](IUIAutomation& a) { a.ElementFromHandle(nullptr, nullptr); }), 6);
  EXPECT_EQ(SlotOf<IUIAutomation>([](IUIAutomation& a) { a.CreateCacheRequest(nullptr); }), 20);
  EXPECT_EQ(SlotOf<IUIAutomation>([](IUIAutomation& a) {
              VARIANT v;
              VariantInit(&v);
              a.CreatePropertyCondition(kControlTypePropertyId, v, nullptr);
            }),
            23);
  EXPECT_EQ(SlotOf<IUIAutomationCacheRequest>([](IUIAutomationCacheRequest& c) { c.AddProperty(0); }), 3);
  EXPECT_EQ(SlotOf<IUIAutomationCacheRequest>([](IUIAutomationCacheRequest& c) { c.AddPattern(0); }), 4);
  EXPECT_EQ(SlotOf<IUIAutomationElement>([](IUIAutomationElement& e) {
              e.FindAllBuildCache(TreeScope_Descendants, nullptr, nullptr, nullptr);
            }),
            8);
  EXPECT_EQ(SlotOf<IUIAutomationElement>([](IUIAutomationElement& e) { e.GetCachedPropertyValue(0, nullptr); }), 12);
  EXPECT_EQ(SlotOf<IUIAutomationElement>([](IUIAutomationElement& e) {
              e.GetCachedPatternAs(kInvokePatternId, kIID_IUIAutomationInvokePattern, nullptr);
            }),
            15);
  EXPECT_EQ(SlotOf<IUIAutomationElementArray>([](IUIAutomationElementArray& a) { a.get_Length(nullptr); }), 3);
  EXPECT_EQ(SlotOf<IUIAutomationElementArray>([](IUIAutomationElementArray& a) { a.GetElement(0, nullptr); }), 4);
  // IAccessible2 after IDispatch's 4 and IAccessible's 21 (Accessible2.idl).
  EXPECT_EQ(SlotOf<win32::ia2::IAccessible2>([](win32::ia2::IAccessible2& a) { a.get_states(nullptr); }), 35);
  EXPECT_EQ(SlotOf<win32::ia2::IAccessible2>([](win32::ia2::IAccessible2& a) { a.get_attributes(nullptr); }), 45);
  EXPECT_EQ(SlotOf<IUIAutomationInvokePattern>([](IUIAutomationInvokePattern& p) { p.Invoke(); }), 3);
}

// Wine 8 registers no UI Automation class: the link list must fall back, at once, and
// not ask again.
TEST(UiaSlots, WithoutUiAutomationTheSourceSaysSoAtOnceAndRemembersIt) {
  const win32::ComApartment apartment;
  win32::Win32Automation automation;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(automation.FromWindow(reinterpret_cast<WindowHandle>(GetDesktopWindow())), nullptr);
  EXPECT_TRUE(win32::Win32Automation::Refused());
  EXPECT_EQ(automation.FromWindow(reinterpret_cast<WindowHandle>(GetDesktopWindow())), nullptr);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

}  // namespace
}  // namespace paginor::test
