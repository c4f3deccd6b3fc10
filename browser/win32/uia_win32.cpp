#include "browser/win32/uia_win32.h"

#include <algorithm>
#include <atomic>
#include <utility>

#include "browser/accessible_browser.h"
#include "browser/win32/com_util.h"
#include "browser/win32/uia_interfaces.h"

namespace paginor::win32 {
namespace {

// Refused for the program's life: a system without the class does not gain it, and
// every command would pay for the failed creation again.
std::atomic<bool> refused{false};

// What every search of one window shares: the automation object, one cache request
// for every property and pattern the link list reads, and the conditions.
struct Session {
  ComPtr<uia::IUIAutomation> automation;
  ComPtr<uia::IUIAutomationCacheRequest> cache;
  ComPtr<uia::IUIAutomationCondition> documents;
  ComPtr<uia::IUIAutomationCondition> links;
};

ComPtr<uia::IUIAutomationCondition> ControlTypeIs(uia::IUIAutomation& automation, long controlType) {
  Variant type;
  type.SetLong(controlType);
  ComPtr<uia::IUIAutomationCondition> condition;
  if (FAILED(automation.CreatePropertyCondition(uia::kControlTypePropertyId, *type, condition.GetAddressOf()))) {
    return nullptr;
  }
  return condition;
}

std::shared_ptr<Session> OpenSession() {
  if (refused) return nullptr;
  auto session = std::make_shared<Session>();
  const HRESULT hr = CoCreateInstance(uia::kCLSID_CUIAutomation, nullptr, CLSCTX_INPROC_SERVER,
                                      uia::kIID_IUIAutomation,
                                      reinterpret_cast<void**>(session->automation.GetAddressOf()));
  if (FAILED(hr) || !session->automation) {
    refused = true;
    return nullptr;
  }
  uia::IUIAutomation& automation = *session->automation.Get();
  if (FAILED(automation.CreateCacheRequest(session->cache.GetAddressOf())) || !session->cache) return nullptr;
  for (const uia::PROPERTYID id : {uia::kNamePropertyId, uia::kValueValuePropertyId, uia::kIsOffscreenPropertyId,
                                   uia::kRuntimeIdPropertyId}) {
    if (FAILED(session->cache->AddProperty(id))) return nullptr;
  }
  if (FAILED(session->cache->AddPattern(uia::kInvokePatternId))) return nullptr;
  session->documents = ControlTypeIs(automation, paginor::uia::kDocument);
  session->links = ControlTypeIs(automation, paginor::uia::kHyperlink);
  if (!session->documents || !session->links) return nullptr;
  return session;
}

std::string CachedText(uia::IUIAutomationElement& element, uia::PROPERTYID id) {
  Variant value;
  if (FAILED(element.GetCachedPropertyValue(id, value.Out()))) return {};
  return value.Text().value_or("");
}

std::vector<int> CachedRuntimeId(uia::IUIAutomationElement& element) {
  Variant value;
  if (FAILED(element.GetCachedPropertyValue(uia::kRuntimeIdPropertyId, value.Out()))) return {};
  if ((*value).vt != (VT_ARRAY | VT_I4) || !(*value).parray) return {};
  SAFEARRAY* array = (*value).parray;
  LONG lower = 0;
  LONG upper = -1;
  if (FAILED(SafeArrayGetLBound(array, 1, &lower)) || FAILED(SafeArrayGetUBound(array, 1, &upper))) return {};
  std::vector<int> id;
  for (LONG i = lower; i <= upper; ++i) {
    int part = 0;
    if (FAILED(SafeArrayGetElement(array, &i, &part))) return {};
    id.push_back(part);
  }
  return id;
}

AutomationProperties CachedProperties(uia::IUIAutomationElement& element) {
  AutomationProperties properties;
  properties.name = CachedText(element, uia::kNamePropertyId);
  properties.value = CachedText(element, uia::kValueValuePropertyId);
  Variant offscreen;
  properties.offscreen = SUCCEEDED(element.GetCachedPropertyValue(uia::kIsOffscreenPropertyId, offscreen.Out())) &&
                         (*offscreen).vt == VT_BOOL && (*offscreen).boolVal != VARIANT_FALSE;
  properties.runtimeId = CachedRuntimeId(element);
  return properties;
}

class Element : public AutomationElement {
 public:
  Element(std::shared_ptr<Session> session, ComPtr<uia::IUIAutomationElement> element, AutomationProperties properties)
      : session_(std::move(session)), element_(std::move(element)), properties_(std::move(properties)) {}

  const AutomationProperties& Properties() const override { return properties_; }

  std::optional<std::vector<AutomationPtr>> FindAll(long controlType) override {
    uia::IUIAutomationCondition* condition =
        controlType == paginor::uia::kDocument ? session_->documents.Get() : session_->links.Get();
    ComPtr<uia::IUIAutomationElementArray> found;
    if (FAILED(element_->FindAllBuildCache(uia::TreeScope_Descendants, condition, session_->cache.Get(),
                                           found.GetAddressOf()))) {
      return std::nullopt;
    }
    std::vector<AutomationPtr> elements;
    if (!found) return elements;  // nothing matched
    int length = 0;
    if (FAILED(found->get_Length(&length))) return std::nullopt;
    length = std::min(length, static_cast<int>(kMaxAccessibleNodes));
    elements.reserve(static_cast<std::size_t>(std::max(length, 0)));
    for (int i = 0; i < length; ++i) {
      ComPtr<uia::IUIAutomationElement> element;
      if (FAILED(found->GetElement(i, element.GetAddressOf())) || !element) return std::nullopt;
      AutomationProperties properties = CachedProperties(*element.Get());
      elements.push_back(std::make_shared<Element>(session_, std::move(element), std::move(properties)));
    }
    return elements;
  }

  bool Invoke() override {
    ComPtr<uia::IUIAutomationInvokePattern> invoke;
    if (FAILED(element_->GetCachedPatternAs(uia::kInvokePatternId, uia::kIID_IUIAutomationInvokePattern,
                                            reinterpret_cast<void**>(invoke.GetAddressOf()))) ||
        !invoke) {
      return false;
    }
    return SUCCEEDED(invoke->Invoke());
  }

 private:
  std::shared_ptr<Session> session_;
  ComPtr<uia::IUIAutomationElement> element_;
  AutomationProperties properties_;
};

}  // namespace

AutomationPtr Win32Automation::FromWindow(WindowHandle window) {
  const std::shared_ptr<Session> session = OpenSession();
  if (!session) return nullptr;
  ComPtr<uia::IUIAutomationElement> element;
  if (FAILED(session->automation->ElementFromHandle(reinterpret_cast<uia::UIA_HWND>(window), element.GetAddressOf())) ||
      !element) {
    return nullptr;
  }
  return std::make_shared<Element>(session, std::move(element), AutomationProperties{});
}

bool Win32Automation::Refused() { return refused; }

}  // namespace paginor::win32
