#include "engine/html/html_render.h"

#include <gumbo.h>

#include <algorithm>
#include <array>
#include <string_view>

namespace paginor {
namespace {

constexpr std::string_view kNoBreakSpace = "\xC2\xA0";

constexpr std::array kVoidTags = {
    GUMBO_TAG_AREA,   GUMBO_TAG_BASE,   GUMBO_TAG_BASEFONT, GUMBO_TAG_BGSOUND, GUMBO_TAG_BR,
    GUMBO_TAG_COL,    GUMBO_TAG_EMBED,  GUMBO_TAG_FRAME,    GUMBO_TAG_HR,      GUMBO_TAG_IMG,
    GUMBO_TAG_INPUT,  GUMBO_TAG_KEYGEN, GUMBO_TAG_LINK,     GUMBO_TAG_META,    GUMBO_TAG_PARAM,
    GUMBO_TAG_SOURCE, GUMBO_TAG_TRACK,  GUMBO_TAG_WBR};

constexpr std::array kRawTextTags = {GUMBO_TAG_SCRIPT,   GUMBO_TAG_STYLE,   GUMBO_TAG_XMP,
                                     GUMBO_TAG_IFRAME,   GUMBO_TAG_NOEMBED, GUMBO_TAG_NOFRAMES,
                                     GUMBO_TAG_PLAINTEXT};

// Content a reader never sees as text.
constexpr std::array kUnrenderedTags = {GUMBO_TAG_SCRIPT,  GUMBO_TAG_STYLE,    GUMBO_TAG_TEMPLATE,
                                        GUMBO_TAG_HEAD,    GUMBO_TAG_NOSCRIPT, GUMBO_TAG_IFRAME,
                                        GUMBO_TAG_NOEMBED, GUMBO_TAG_NOFRAMES, GUMBO_TAG_OBJECT};

constexpr std::array kBlockTags = {
    GUMBO_TAG_ADDRESS,    GUMBO_TAG_ARTICLE, GUMBO_TAG_ASIDE,   GUMBO_TAG_BLOCKQUOTE,
    GUMBO_TAG_CENTER,     GUMBO_TAG_DD,      GUMBO_TAG_DETAILS, GUMBO_TAG_DIR,
    GUMBO_TAG_DIV,        GUMBO_TAG_DL,      GUMBO_TAG_DT,      GUMBO_TAG_FIELDSET,
    GUMBO_TAG_FIGCAPTION, GUMBO_TAG_FIGURE,  GUMBO_TAG_FOOTER,  GUMBO_TAG_FORM,
    GUMBO_TAG_H1,         GUMBO_TAG_H2,      GUMBO_TAG_H3,      GUMBO_TAG_H4,
    GUMBO_TAG_H5,         GUMBO_TAG_H6,      GUMBO_TAG_HEADER,  GUMBO_TAG_HGROUP,
    GUMBO_TAG_HR,         GUMBO_TAG_LI,      GUMBO_TAG_LISTING, GUMBO_TAG_MAIN,
    GUMBO_TAG_MENU,       GUMBO_TAG_NAV,     GUMBO_TAG_OL,      GUMBO_TAG_P,
    GUMBO_TAG_PRE,        GUMBO_TAG_SECTION, GUMBO_TAG_SUMMARY, GUMBO_TAG_TABLE,
    GUMBO_TAG_TR,         GUMBO_TAG_UL,      GUMBO_TAG_CAPTION, GUMBO_TAG_LEGEND,
    GUMBO_TAG_PLAINTEXT,  GUMBO_TAG_XMP};

bool HasHtmlTag(const HtmlTree& tree, NodeIndex node, const auto& tags) {
  const HtmlNode& n = tree.Node(node);
  return tree.IsElement(node) && n.ns == GUMBO_NAMESPACE_HTML &&
         std::find(tags.begin(), tags.end(), n.tag) != tags.end();
}

bool IsTextNode(const HtmlTree& tree, NodeIndex node) {
  const NodeKind kind = tree.Node(node).kind;
  return kind == NodeKind::Text || kind == NodeKind::Whitespace || kind == NodeKind::CData;
}

// Collapses whitespace the way a browser lays out inline text.
class TextBuilder {
 public:
  void Text(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
      const char c = text[i];
      if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f') {
        space_ = true;
      } else if (text.substr(i, 2) == kNoBreakSpace) {
        // Kept as MSHTML's innerText keeps it (wine-mirror/wine dlls/mshtml/tests/dom.c
        // reads "&nbsp;" back as U+00A0): it neither collapses nor breaks a word.
        Visible(kNoBreakSpace);
        ++i;
      } else {
        Visible(text.substr(i, 1));  // bytes of a UTF-8 sequence are never whitespace
      }
    }
  }
  void LineBreak() { ++breaks_; }
  void BlockEdge() { breaks_ = std::max(breaks_, 1); }
  void Separator() { space_ = true; }
  std::string Take() { return std::move(out_); }

 private:
  void Visible(std::string_view bytes) {
    if (!out_.empty()) {
      if (breaks_ > 0) {
        for (int i = 0; i < breaks_; ++i) out_ += "\r\n";
      } else if (space_) {
        out_ += ' ';
      }
    }
    breaks_ = 0;
    space_ = false;
    out_ += bytes;
  }

  std::string out_;
  bool space_ = false;
  int breaks_ = 0;
};

void AppendEscaped(std::string& out, std::string_view text, bool inAttribute) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '&') {
      out += "&amp;";
    } else if (text.substr(i, 2) == kNoBreakSpace) {
      out += "&nbsp;";
      ++i;
    } else if (inAttribute && c == '"') {
      out += "&quot;";
    } else if (!inAttribute && c == '<') {
      out += "&lt;";
    } else if (!inAttribute && c == '>') {
      out += "&gt;";
    } else {
      out += c;
    }
  }
}

void AppendStartTag(std::string& out, const HtmlTree& tree, NodeIndex element) {
  out += '<';
  out += tree.Text(element);
  for (std::size_t i = 0; i < tree.AttributeCount(element); ++i) {
    out += ' ';
    out += tree.AttributeName(element, i);
    out += "=\"";
    AppendEscaped(out, tree.AttributeValue(element, i), true);
    out += '"';
  }
  out += '>';
}

void AppendLeaf(std::string& out, const HtmlTree& tree, NodeIndex node) {
  switch (tree.Node(node).kind) {
    case NodeKind::Comment:
      out += "<!--";
      out += tree.Text(node);
      out += "-->";
      return;
    case NodeKind::CData:
      out += "<![CDATA[";
      out += tree.Text(node);
      out += "]]>";
      return;
    case NodeKind::Text:
    case NodeKind::Whitespace: {
      const NodeIndex parent = tree.Node(node).parent;
      if (parent != kNoNode && HasHtmlTag(tree, parent, kRawTextTags)) {
        out += tree.Text(node);
      } else {
        AppendEscaped(out, tree.Text(node), false);
      }
      return;
    }
    default:
      return;
  }
}

}  // namespace

std::string RenderOuterText(const HtmlTree& tree, NodeIndex element) {
  TextBuilder text;
  WalkTree(
      tree, element,
      [&](NodeIndex node) {
        if (IsTextNode(tree, node)) {
          text.Text(tree.Text(node));
          return false;
        }
        if (!tree.IsElement(node) || HasHtmlTag(tree, node, kUnrenderedTags)) return false;
        if (tree.IsHtmlElement(node, GUMBO_TAG_BR)) {
          text.LineBreak();
        } else if (tree.IsHtmlElement(node, GUMBO_TAG_TD) || tree.IsHtmlElement(node, GUMBO_TAG_TH)) {
          text.Separator();
        } else if (HasHtmlTag(tree, node, kBlockTags)) {
          text.BlockEdge();
        }
        return true;
      },
      [&](NodeIndex node) {
        if (HasHtmlTag(tree, node, kBlockTags)) text.BlockEdge();
      });
  return text.Take();
}

std::string SerializeOuterHtml(const HtmlTree& tree, NodeIndex element) {
  std::string out;
  WalkTree(
      tree, element,
      [&](NodeIndex node) {
        if (!tree.IsElement(node)) {
          AppendLeaf(out, tree, node);
          return false;
        }
        AppendStartTag(out, tree, node);
        return !HasHtmlTag(tree, node, kVoidTags);
      },
      [&](NodeIndex node) {
        out += "</";
        out += tree.Text(node);
        out += '>';
      });
  return out;
}

}  // namespace paginor
