#include "engine/html/html_render.h"

#include <gumbo.h>

#include <algorithm>
#include <array>
#include <string_view>

#include "engine/html/gumbo_walk.h"

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

bool HasHtmlTag(const GumboNode& node, const auto& tags) {
  return IsElement(node) && node.v.element.tag_namespace == GUMBO_NAMESPACE_HTML &&
         std::find(tags.begin(), tags.end(), node.v.element.tag) != tags.end();
}

std::string Lowered(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

std::string_view TextOf(const GumboNode& node) {
  return node.v.text.text != nullptr ? std::string_view(node.v.text.text) : std::string_view();
}

bool IsTextNode(const GumboNode& node) {
  return node.type == GUMBO_NODE_TEXT || node.type == GUMBO_NODE_WHITESPACE ||
         node.type == GUMBO_NODE_CDATA;
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
        Visible(" ");
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

void AppendStartTag(std::string& out, const GumboNode& element) {
  out += '<';
  out += ElementName(element);
  const GumboVector& attributes = element.v.element.attributes;
  for (unsigned int i = 0; i < attributes.length; ++i) {
    const auto* attribute = static_cast<const GumboAttribute*>(attributes.data[i]);
    out += ' ';
    out += AttributeName(*attribute);
    out += "=\"";
    AppendEscaped(out, attribute->value != nullptr ? attribute->value : "", true);
    out += '"';
  }
  out += '>';
}

void AppendLeaf(std::string& out, const GumboNode& node) {
  switch (node.type) {
    case GUMBO_NODE_COMMENT:
      out += "<!--";
      out += TextOf(node);
      out += "-->";
      return;
    case GUMBO_NODE_CDATA:
      out += "<![CDATA[";
      out += TextOf(node);
      out += "]]>";
      return;
    case GUMBO_NODE_TEXT:
    case GUMBO_NODE_WHITESPACE: {
      const GumboNode* parent = node.parent;
      if (parent != nullptr && HasHtmlTag(*parent, kRawTextTags)) {
        out += TextOf(node);
      } else {
        AppendEscaped(out, TextOf(node), false);
      }
      return;
    }
    default:
      return;
  }
}

}  // namespace

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

std::string RenderOuterText(const GumboNode& element) {
  TextBuilder text;
  WalkTree(
      element,
      [&](const GumboNode& node) {
        if (IsTextNode(node)) {
          text.Text(TextOf(node));
          return false;
        }
        if (!IsElement(node) || HasHtmlTag(node, kUnrenderedTags)) return false;
        if (IsHtmlElement(node, GUMBO_TAG_BR)) {
          text.LineBreak();
        } else if (IsHtmlElement(node, GUMBO_TAG_TD) || IsHtmlElement(node, GUMBO_TAG_TH)) {
          text.Separator();
        } else if (HasHtmlTag(node, kBlockTags)) {
          text.BlockEdge();
        }
        return true;
      },
      [&](const GumboNode& node) {
        if (HasHtmlTag(node, kBlockTags)) text.BlockEdge();
      });
  return text.Take();
}

std::string SerializeOuterHtml(const GumboNode& element) {
  std::string out;
  WalkTree(
      element,
      [&](const GumboNode& node) {
        if (!IsElement(node)) {
          AppendLeaf(out, node);
          return false;
        }
        AppendStartTag(out, node);
        return !HasHtmlTag(node, kVoidTags);
      },
      [&](const GumboNode& node) {
        out += "</";
        out += ElementName(node);
        out += '>';
      });
  return out;
}

}  // namespace paginor
