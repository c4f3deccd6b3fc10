#include "browser/win32/com_browser.h"

#include <initializer_list>
#include <optional>
#include <vector>

#include "browser/win32/dispatch_names.h"

namespace paginor::win32 {
namespace {

// What the links of one document share for one command: the DISPIDs already looked up,
// and which links are AREA elements.
struct LinkContext {
  explicit LinkContext(ComPtr<IHTMLElementCollection> c, std::optional<ElementKind> every = std::nullopt)
      : links(std::move(c)), everyKind(every) {}

  ElementKind KindOf(IDispatch& element) {
    if (everyKind) return *everyKind;
    if (!areasRead) ReadAreas();
    if (areas.empty()) return ElementKind::Anchor;
    // Asking a proxy for IUnknown is answered in this process: no call per link.
    ComPtr<IUnknown> identity;
    if (FAILED(element.QueryInterface(IID_PPV_ARGS(&identity)))) return ElementKind::Anchor;
    for (const ComPtr<IUnknown>& area : areas) {
      if (area.Get() == identity.Get()) return ElementKind::Area;
    }
    return ElementKind::Anchor;
  }

  // Pages rarely have image maps: a few calls once per command tell which links are
  // AREA elements, where reading each link's tag would cost a call per link.
  void ReadAreas() {
    areasRead = true;
    Variant tag;
    tag.SetString("AREA");
    ComPtr<IDispatch> dispatch;
    if (FAILED(links->tags(*tag, &dispatch)) || !dispatch) return;
    ComPtr<IHTMLElementCollection> found;
    if (FAILED(dispatch.As(&found))) return;
    long count = 0;
    if (FAILED(found->get_length(&count))) return;
    for (long i = 0; i < count && i < 100000; ++i) {
      Variant name;
      name.SetLong(i);
      Variant index;
      index.SetLong(0);
      ComPtr<IDispatch> item;
      ComPtr<IUnknown> identity;
      if (SUCCEEDED(found->item(*name, *index, &item)) && item &&
          SUCCEEDED(item.As(&identity))) {
        areas.push_back(identity);
      }
    }
  }

  ComPtr<IHTMLElementCollection> links;
  std::optional<ElementKind> everyKind;  // a collection of one kind, such as LINK elements
  DispatchNames names;
  bool areasRead = false;
  std::vector<ComPtr<IUnknown>> areas;
};

class ComLinkElement : public LinkElement {
 public:
  ComLinkElement(ComPtr<IDispatch> element, ElementKind kind, std::shared_ptr<LinkContext> context)
      : element_(std::move(element)), kind_(kind), context_(std::move(context)) {}

  std::optional<std::string> OuterText() override { return GetText(L"outerText"); }
  std::optional<std::string> OuterHtml() override { return GetText(L"outerHTML"); }
  std::optional<std::string> Href() override { return GetText(L"href"); }

  std::unique_ptr<LinkElement> ParentElement() override {
    Variant value;
    if (!Get(L"parentElement", value) || (*value).vt != VT_DISPATCH || !(*value).pdispVal) {
      return nullptr;
    }
    return std::make_unique<ComLinkElement>(ComPtr<IDispatch>((*value).pdispVal),
                                            ElementKind::Parent, context_);
  }

  bool Click() override {
    const std::optional<DISPID> id = Id(L"click");
    if (!id) return false;
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    return SUCCEEDED(element_->Invoke(*id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none,
                                      nullptr, nullptr, nullptr));
  }

  std::optional<std::string> Attribute(std::string_view name) override {
    Variant flags;
    flags.SetLong(2);  // the value as written, as text
    Variant attribute;
    attribute.SetString(name);
    Variant value;
    // Arguments travel last first.
    if (!Call(L"getAttribute", {*flags, *attribute}, value) || (*value).vt != VT_BSTR) {
      return std::nullopt;  // VT_NULL: the element has no such attribute
    }
    return value.Text();
  }

  std::optional<std::string> ImageText() override {
    Variant tag;
    tag.SetString("img");
    Variant found;
    if (!Call(L"getElementsByTagName", {*tag}, found) || (*found).vt != VT_DISPATCH || !(*found).pdispVal) {
      return std::nullopt;
    }
    ComPtr<IHTMLElementCollection> images;
    if (FAILED((*found).pdispVal->QueryInterface(IID_PPV_ARGS(&images)))) return std::nullopt;
    Variant first;
    first.SetLong(0);
    Variant unused;
    unused.SetLong(0);
    ComPtr<IDispatch> image;
    if (FAILED(images->item(*first, *unused, &image)) || !image) return std::nullopt;
    for (const wchar_t* name : {L"alt", L"title"}) {
      const std::optional<DISPID> id = context_->names.Id(*image.Get(), ElementKind::Image, name);
      Variant value;
      DISPPARAMS none = {nullptr, nullptr, 0, 0};
      if (id && SUCCEEDED(image->Invoke(*id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                                        value.Out(), nullptr, nullptr))) {
        std::optional<std::string> text = value.Text();
        if (text && !text->empty()) return text;
      }
    }
    return std::nullopt;
  }

  bool SetTarget(std::string_view target) override {
    const std::optional<DISPID> id = Id(L"target");
    if (!id) return false;
    Variant value;
    value.SetString(target);
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params = {value.Get(), &named, 1, 1};
    return SUCCEEDED(element_->Invoke(*id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT,
                                      &params, nullptr, nullptr, nullptr));
  }

 private:
  std::optional<DISPID> Id(const wchar_t* name) {
    return context_->names.Id(*element_.Get(), kind_, name);
  }

  bool Get(const wchar_t* name, Variant& value) {
    const std::optional<DISPID> id = Id(name);
    if (!id) return false;
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    return SUCCEEDED(element_->Invoke(*id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET,
                                      &none, value.Out(), nullptr, nullptr));
  }

  // A method call with the arguments in DISPPARAMS order (last argument first).
  bool Call(const wchar_t* name, std::initializer_list<VARIANT> arguments, Variant& result) {
    const std::optional<DISPID> id = Id(name);
    if (!id) return false;
    std::vector<VARIANTARG> args(arguments);
    DISPPARAMS params = {args.data(), nullptr, static_cast<UINT>(args.size()), 0};
    return SUCCEEDED(element_->Invoke(*id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                                      result.Out(), nullptr, nullptr));
  }

  std::optional<std::string> GetText(const wchar_t* name) {
    Variant value;
    if (!Get(name, value)) return std::nullopt;
    return value.Text();
  }

  ComPtr<IDispatch> element_;
  ElementKind kind_;
  std::shared_ptr<LinkContext> context_;
};

class ComLinkCollection : public LinkCollection {
 public:
  explicit ComLinkCollection(ComPtr<IHTMLElementCollection> links,
                             std::optional<ElementKind> every = std::nullopt)
      : context_(std::make_shared<LinkContext>(std::move(links), every)) {}

  std::optional<long> Length() override {
    long length = 0;
    if (FAILED(context_->links->get_length(&length))) return std::nullopt;
    return length;
  }

  std::unique_ptr<LinkElement> Item(long index) override {
    Variant name;
    name.SetLong(index);
    Variant unused;
    unused.SetLong(0);
    ComPtr<IDispatch> element;
    if (FAILED(context_->links->item(*name, *unused, &element)) || !element) return nullptr;
    const ElementKind kind = context_->KindOf(*element.Get());
    return std::make_unique<ComLinkElement>(std::move(element), kind, context_);
  }

 private:
  std::shared_ptr<LinkContext> context_;
};

class ComDocument : public Document {
 public:
  explicit ComDocument(ComPtr<IHTMLDocument2> document) : document_(std::move(document)) {}

  std::unique_ptr<LinkCollection> Links() override {
    ComPtr<IHTMLElementCollection> links;
    if (FAILED(document_->get_links(&links)) || !links) return nullptr;
    return std::make_unique<ComLinkCollection>(std::move(links));
  }

  std::optional<std::string> Url() override {
    Bstr url;
    if (FAILED(document_->get_URL(url.Out()))) return std::nullopt;
    return url.Utf8();
  }

  std::unique_ptr<LinkCollection> LinkTags() override {
    ComPtr<IHTMLElementCollection> all;
    if (FAILED(document_->get_all(&all)) || !all) return nullptr;
    Variant tag;
    tag.SetString("LINK");
    ComPtr<IDispatch> dispatch;
    ComPtr<IHTMLElementCollection> tags;
    if (FAILED(all->tags(*tag, &dispatch)) || !dispatch || FAILED(dispatch.As(&tags))) return nullptr;
    return std::make_unique<ComLinkCollection>(std::move(tags), ElementKind::LinkTag);
  }

 private:
  ComPtr<IHTMLDocument2> document_;
};

}  // namespace

std::unique_ptr<Document> MakeDocument(ComPtr<IHTMLDocument2> document) {
  if (!document) return nullptr;
  return std::make_unique<ComDocument>(std::move(document));
}

BrowserPtr MakeBrowser(ComPtr<IWebBrowser2> browser) {
  if (!browser) return nullptr;
  return std::make_shared<ComBrowser>(std::move(browser));
}

std::optional<std::string> ComBrowser::LocationUrl() {
  Bstr url;
  if (FAILED(browser_->get_LocationURL(url.Out()))) return std::nullopt;
  return url.Utf8();
}

bool ComBrowser::GoBack() { return SUCCEEDED(browser_->GoBack()); }
bool ComBrowser::GoForward() { return SUCCEEDED(browser_->GoForward()); }

ComPtr<IDispatch> ComBrowser::RawDocument() {
  ComPtr<IDispatch> document;
  if (FAILED(browser_->get_Document(&document))) return nullptr;
  return document;
}

std::unique_ptr<Document> ComBrowser::GetDocument() {
  const ComPtr<IDispatch> dispatch = RawDocument();
  ComPtr<IHTMLDocument2> document;
  if (!dispatch || FAILED(dispatch.As(&document))) return nullptr;
  return MakeDocument(std::move(document));
}

bool ComBrowser::Navigate(std::string_view url, std::string_view targetFrame) {
  Variant address;
  address.SetString(url);
  Variant flags;
  flags.SetLong(0);
  Variant target;
  target.SetString(targetFrame);
  Variant postData;
  Variant headers;
  return SUCCEEDED(
      browser_->Navigate2(address.Get(), flags.Get(), target.Get(), postData.Get(), headers.Get()));
}

}  // namespace paginor::win32
