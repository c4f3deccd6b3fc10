#include "engine/html/html_parse.h"

#include <gumbo.h>

#include "engine/html/gumbo_walk.h"
#include "engine/html/parsed_html.h"

namespace paginor {
namespace {

std::string Lowered(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

// The element's name as markup writes it: lower case, SVG names in their mixed case.
std::string ElementName(const GumboNode& element) {
  const GumboElement& e = element.v.element;
  if (e.tag != GUMBO_TAG_UNKNOWN && e.tag_namespace != GUMBO_NAMESPACE_SVG) {
    return gumbo_normalized_tagname(e.tag);
  }
  GumboStringPiece piece = e.original_tag;
  if (piece.data == nullptr || piece.length == 0) {
    return e.tag != GUMBO_TAG_UNKNOWN ? gumbo_normalized_tagname(e.tag) : "unknown";
  }
  gumbo_tag_from_original_text(&piece);
  if (e.tag_namespace == GUMBO_NAMESPACE_SVG) {
    if (const char* svgName = gumbo_normalize_svg_tagname(&piece)) return svgName;
  }
  return Lowered(std::string_view(piece.data, piece.length));
}

std::string AttributeName(const GumboAttribute& attribute) {
  const std::string_view name = attribute.name != nullptr ? attribute.name : "";
  switch (attribute.attr_namespace) {
    case GUMBO_ATTR_NAMESPACE_XLINK:
      return "xlink:" + std::string(name);
    case GUMBO_ATTR_NAMESPACE_XML:
      return "xml:" + std::string(name);
    case GUMBO_ATTR_NAMESPACE_XMLNS:
      return name == "xmlns" ? std::string(name) : "xmlns:" + std::string(name);
    default:
      return std::string(name);
  }
}

std::string_view TextOf(const GumboNode& node) {
  return node.v.text.text != nullptr ? std::string_view(node.v.text.text) : std::string_view();
}

void AddNode(HtmlTree& tree, const GumboNode& node) {
  switch (node.type) {
    case GUMBO_NODE_DOCUMENT:
      tree.OpenDocument();
      return;
    case GUMBO_NODE_ELEMENT:
    case GUMBO_NODE_TEMPLATE: {
      const GumboElement& e = node.v.element;
      tree.OpenElement(node.type == GUMBO_NODE_TEMPLATE ? NodeKind::Template : NodeKind::Element,
                       e.tag_namespace, e.tag, ElementName(node));
      for (unsigned int i = 0; i < e.attributes.length; ++i) {
        const auto* attribute = static_cast<const GumboAttribute*>(e.attributes.data[i]);
        tree.AddAttribute(AttributeName(*attribute),
                          attribute->value != nullptr ? attribute->value : "");
      }
      return;
    }
    case GUMBO_NODE_TEXT:
      tree.AddLeaf(NodeKind::Text, TextOf(node));
      return;
    case GUMBO_NODE_WHITESPACE:
      tree.AddLeaf(NodeKind::Whitespace, TextOf(node));
      return;
    case GUMBO_NODE_CDATA:
      tree.AddLeaf(NodeKind::CData, TextOf(node));
      return;
    case GUMBO_NODE_COMMENT:
      tree.AddLeaf(NodeKind::Comment, TextOf(node));
      return;
  }
}

}  // namespace

HtmlTree ParseHtmlHere(std::string_view html) {
  const ParsedHtml parsed(html);
  HtmlTree tree;
  WalkTree(
      *parsed.Document(),
      [&](const GumboNode& node) {
        AddNode(tree, node);
        return ChildrenOf(node) != nullptr;
      },
      [&](const GumboNode&) { tree.Close(); });
  return tree;
}

ParsedPage ParseHtml(std::string_view html, const IsolationLimits& limits) {
  IsolatedResult run = RunIsolated([html] { return ParseHtmlHere(html).ToBytes(); }, limits);
  switch (run.outcome) {
    case IsolatedOutcome::Finished:
      if (std::optional<HtmlTree> tree = HtmlTree::FromBytes(run.output)) return {std::move(tree), ""};
      return {std::nullopt, "the HTML parser fails on this page"};
    case IsolatedOutcome::Failed:
      return {std::nullopt, "the HTML parser fails on this page"};
    case IsolatedOutcome::OutOfTime:
      return {std::nullopt, "the HTML parser did not finish this page within " +
                                std::to_string(limits.cpu.count()) + " seconds of processor time"};
    case IsolatedOutcome::OutOfMemory:
    case IsolatedOutcome::OutputTooLarge:
      return {std::nullopt, "the page needs more than " +
                                std::to_string(limits.memoryBytes >> 20) + " MiB to be parsed"};
    case IsolatedOutcome::NotRun:
      break;
  }
  return {std::nullopt,
          "no process could be started to parse the page safely, so it is not parsed"};
}

}  // namespace paginor
