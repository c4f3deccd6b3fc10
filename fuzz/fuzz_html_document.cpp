// Page bytes of any content: the page loads or is refused with a reason, and never
// takes this process down. Every link then answers with valid text, its markup, an
// address and a chain of parents up to the root. The tree the parsing process sends
// back survives the trip as bytes, and damaged bytes are refused or stay safe to read.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/html/html_page.h"
#include "engine/html/html_render.h"
#include "engine/text_codec.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

void ReadLink(paginor::LinkElement& link) {
  const std::optional<std::string> text = link.OuterText();
  const std::optional<std::string> html = link.OuterHtml();
  Check(text && paginor::IsValidUtf8(*text));
  Check(html && (html->starts_with("<a") || html->starts_with("<area")));
  Check(link.Href().has_value());
  int parents = 0;
  std::unique_ptr<paginor::LinkElement> element = link.ParentElement();
  for (; element != nullptr; element = element->ParentElement()) {
    if (++parents <= 2) Check(element->OuterText().has_value());  // rules read the nearest
  }
  Check(parents >= 2);  // body (or head) and html at least
}

// Any tree the bytes make is walked whole: render and serialize touch every range.
void ReadDamaged(std::string bytes, std::string_view input) {
  if (bytes.empty() || input.empty()) return;
  for (std::size_t i = 0; i + 1 < input.size() && i < 16; i += 2) {
    bytes[static_cast<unsigned char>(input[i]) * 7919u % bytes.size()] ^= input[i + 1];
  }
  const std::optional<paginor::HtmlTree> tree = paginor::HtmlTree::FromBytes(bytes);
  if (!tree || tree->Size() == 0) return;
  paginor::SerializeOuterHtml(*tree, 0);
  paginor::RenderOuterText(*tree, 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view html(reinterpret_cast<const char*>(data), size);
  paginor::IsolationLimits limits;
  limits.cpu = std::chrono::seconds(2);
  paginor::HtmlPage::Load load = paginor::HtmlPage::Parse("http://fuzz.example/dir/page.html",
                                                         html, nullptr, limits);
  paginor::HtmlTree::FromBytes(html);
  if (load.page == nullptr) {
    Check(!load.problem.empty());
    return 0;
  }
  const std::unique_ptr<paginor::Document> document = load.page->MakeDocument();
  Check(document->Url() == "http://fuzz.example/dir/page.html");
  const std::unique_ptr<paginor::LinkCollection> links = document->Links();
  const long count = links->Length().value_or(-1);
  Check(count >= 0);
  for (long i = 0; i < count && i < 64; ++i) ReadLink(*links->Item(i));
  Check(links->Item(count) == nullptr);

  const std::string bytes = load.page->Tree().ToBytes();
  const std::optional<paginor::HtmlTree> copy = paginor::HtmlTree::FromBytes(bytes);
  Check(copy && copy->ToBytes() == bytes);
  ReadDamaged(bytes, html);
  return 0;
}
