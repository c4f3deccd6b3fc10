// The two forms of an explanation: text for people, JSON for tools. Both list the same
// things; unmatched links are counted rather than listed unless all are asked for.

#include <map>
#include <sstream>

#include "engine/explain.h"

namespace paginor {
namespace {

std::string_view RuleVerdictName(RuleVerdict verdict) {
  switch (verdict) {
    case RuleVerdict::Blank: return "blank";
    case RuleVerdict::Comment: return "comment";
    case RuleVerdict::TemplateLine: return "URL template, not a link rule";
    case RuleVerdict::Malformed: return "[特别= without a site";
    case RuleVerdict::NeverHits: return "\"*\" alone never hits";
    case RuleVerdict::NoMatch: return "no match";
    case RuleVerdict::WrongSite: return "wrong site";
    case RuleVerdict::ParentUnreadable: return "could not read the link's parent";
    case RuleVerdict::HtmlUnreadable: return "could not read the link's HTML";
    case RuleVerdict::Hit: return "hit";
  }
  return "?";
}

std::string_view MatchKindName(MatchKind kind) {
  switch (kind) {
    case MatchKind::None: return "nothing";
    case MatchKind::Keyword: return "keyword";
    case MatchKind::CodeRule: return "[代码] rule";
    case MatchKind::PlainRule: return "rule";
    case MatchKind::SpecialRule: return "[特别=] rule";
    case MatchKind::PageNumberRule: return "page-number rule";
    case MatchKind::ReadFailed: return "could not be read";
  }
  return "?";
}

std::string_view TemplateVerdictName(TemplateTrial::Verdict verdict) {
  switch (verdict) {
    case TemplateTrial::Verdict::NoBracket: return "malformed";
    case TemplateTrial::Verdict::WrongSite: return "wrong site";
    case TemplateTrial::Verdict::Empty: return "empty";
    case TemplateTrial::Verdict::Failed: return "failed";
    case TemplateTrial::Verdict::Address: return "address";
  }
  return "?";
}

std::string_view PositionVerdictName(PositionTrial::Verdict verdict) {
  switch (verdict) {
    case PositionTrial::Verdict::Comment: return "comment";
    case PositionTrial::Verdict::Malformed: return "fewer than three commas";
    case PositionTrial::Verdict::OtherAction: return "another action";
    case PositionTrial::Verdict::NoPattern: return "no address pattern";
    case PositionTrial::Verdict::BadCoordinates: return "unusable coordinates";
    case PositionTrial::Verdict::Misfit: return "the address does not fit the pattern";
    case PositionTrial::Verdict::Chosen: return "chosen";
  }
  return "?";
}

std::string_view SourceName(SmartCandidate::Source source) {
  switch (source) {
    case SmartCandidate::Source::RelLinkTag: return "<link> element";
    case SmartCandidate::Source::RelLink: return "rel link";
    case SmartCandidate::Source::Words: return "link";
    case SmartCandidate::Source::Address: return "address";
  }
  return "?";
}

std::string_view ActionName(SmartDecision::Action action) {
  switch (action) {
    case SmartDecision::Action::None: return "nothing";
    case SmartDecision::Action::ClickLink: return "click";
    case SmartDecision::Action::Navigate: return "navigate";
  }
  return "?";
}

bool Listed(const LinkTrace& link, ExplainFormat format) {
  return format.all || link.kind != MatchKind::None;
}

// Per rule line: its verdict when no link can hit it, else how it fared over the links.
struct RuleSummary {
  std::optional<RuleVerdict> fixed;
  std::map<RuleVerdict, long> counts;
};

std::vector<RuleSummary> SummariseRules(const Explanation& e) {
  std::vector<RuleSummary> rules(e.setLines.size());
  for (const RuleTrial& trial : e.setVerdicts) {
    if (trial.line < rules.size()) rules[trial.line].fixed = trial.verdict;
  }
  for (const LinkTrace& link : e.links) {
    for (const RuleTrial& trial : link.seen.rules) {
      if (trial.line < rules.size()) ++rules[trial.line].counts[trial.verdict];
    }
  }
  return rules;
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::string LinkLine(const LinkTrace& link) {
  std::string line = "link " + std::to_string(link.index) + " " + Quoted(link.seen.text);
  if (!link.address.empty()) line += " " + link.address;
  line += ": ";
  if (link.kind == MatchKind::ReadFailed) return line + "could not be read";
  line += link.seen.keyword ? "keyword hit" : "keyword no";
  if (link.kind != MatchKind::None && link.kind != MatchKind::Keyword) {
    line += ", " + std::string(MatchKindName(link.kind)) + " hit";
  }
  return line;
}

void TextLinkStage(std::ostringstream& out, const Explanation& e, ExplainFormat format) {
  out << "\nlinks: the keywords, then the " << e.setName << " set (" << e.setLines.size()
      << " lines), on " << e.linkCount << " links\n";
  const std::vector<RuleSummary> rules = SummariseRules(e);
  for (std::size_t i = 0; i < rules.size(); ++i) {
    out << "  line " << i + 1 << " " << Quoted(e.setLines[i]) << ": ";
    if (rules[i].fixed) {
      out << RuleVerdictName(*rules[i].fixed) << '\n';
      continue;
    }
    if (rules[i].counts.empty()) {
      out << "not tried\n";
      continue;
    }
    bool first = true;
    for (const auto& [verdict, count] : rules[i].counts) {
      out << (first ? "" : ", ") << RuleVerdictName(verdict) << " on " << count
          << (count == 1 ? " link" : " links");
      first = false;
    }
    out << '\n';
  }
  long unlisted = 0;
  for (const LinkTrace& link : e.links) {
    if (!Listed(link, format)) {
      ++unlisted;
      continue;
    }
    out << "  " << LinkLine(link) << '\n';
    for (const RuleTrial& trial : link.seen.rules) {
      const std::string& text = trial.line < e.setLines.size() ? e.setLines[trial.line] : "";
      out << "    line " << trial.line + 1 << " " << Quoted(text) << ": "
          << RuleVerdictName(trial.verdict) << '\n';
    }
  }
  if (unlisted > 0) {
    out << "  " << unlisted << (unlisted == 1 ? " link" : " links")
        << " matched nothing (--all lists them)\n";
  }
  const long examined = static_cast<long>(e.links.size());
  if (e.linkStageEnded) {
    out << "  the link stage ended at a link that could not be read\n";
  } else if (examined < e.linkCount) {
    out << "  the first matching link ends the stage: " << e.linkCount - examined
        << " later links not examined\n";
  }
}

void TextSmartStage(std::ostringstream& out, const Explanation& e) {
  out << "\nsmart fallback: rel links, page words and arrows, the address\n";
  for (const SmartCandidate& c : e.smart.candidates) {
    out << "  " << SourceName(c.source);
    if (c.index >= 0) out << " " << c.index;
    if (!c.text.empty()) out << " " << Quoted(c.text);
    if (!c.address.empty()) out << " " << c.address;
    out << ": ";
    if (c.source == SmartCandidate::Source::Words) out << "score " << c.score << ", ";
    out << c.reason;
    if (!c.block.empty()) out << "; " << c.block;
    if (!c.continuity.empty()) out << "; address: " << c.continuity;
    out << (c.excluded ? " (cannot win)" : "") << '\n';
  }
  for (const std::string& note : e.smart.notes) out << "  " << note << '\n';
  if (e.smart.action == SmartDecision::Action::ClickLink) {
    out << "  chosen: link " << e.smart.linkIndex << '\n';
  } else if (e.smart.action == SmartDecision::Action::Navigate) {
    out << "  chosen: " << e.smart.address << '\n';
  }
}

bool SmartCommand(const Explanation& e) { return IsSmartCommand(e.command); }

}  // namespace

std::string ExplanationText(const Explanation& e, ExplainFormat format) {
  std::ostringstream out;
  out << "command: " << e.command << " (" << DisplayName(e.command) << "), from the "
      << (e.origin == Origin::Keyboard ? "keyboard" : "mouse") << '\n';
  for (const std::string& note : e.notes) out << "  " << note << '\n';
  if (!e.docURL.empty()) out << "page: " << e.docURL << " (" << e.linkCount << " links)\n";

  if (e.linkStage) TextLinkStage(out, e, format);
  if (e.templateStage) {
    out << "\nURL templates of the 某页 set:\n";
    if (e.templates.empty()) out << "  no \"[网址=\" line\n";
    for (const TemplateTrial& t : e.templates) {
      out << "  " << Quoted(t.line) << ": " << TemplateVerdictName(t.verdict) << ", " << t.detail
          << '\n';
    }
  }
  if (e.positionStage) {
    out << "\nfixed positions:\n";
    if (e.positions.empty()) out << "  no line\n";
    for (const PositionTrial& p : e.positions) {
      out << "  " << Quoted(p.line) << ": " << PositionVerdictName(p.verdict) << '\n';
    }
  }
  if (e.smartStage) {
    TextSmartStage(out, e);
  } else if (!e.smartEnabled && SmartCommand(e) && e.actions.empty() && !e.docURL.empty()) {
    out << "\nsmart fallback: off (--smart turns it on)\n";
  }

  out << "\noperation log:\n";
  for (const std::string& line : e.log) out << "  " << line << '\n';
  out << "action:";
  if (e.actions.empty()) out << " nothing";
  out << '\n';
  for (const std::string& action : e.actions) out << "  " << action << '\n';
  return out.str();
}

namespace {

// A small writer: the explanation is flat enough not to need a library.
class Json {
 public:
  std::string str() const { return out_; }
  Json& Begin(char bracket) {
    Comma();
    out_ += bracket;
    first_ = true;
    return *this;
  }
  Json& End(char bracket) {
    out_ += bracket;
    first_ = false;
    return *this;
  }
  Json& Key(std::string_view key) {
    Comma();
    String(key);
    out_ += ':';
    first_ = true;  // the value follows without a comma
    return *this;
  }
  Json& Value(std::string_view text) {
    Comma();
    String(text);
    return *this;
  }
  Json& Value(long number) {
    Comma();
    out_ += std::to_string(number);
    return *this;
  }
  Json& Value(bool flag) {
    Comma();
    out_ += flag ? "true" : "false";
    return *this;
  }
  Json& Null() {
    Comma();
    out_ += "null";
    return *this;
  }
  template <typename T>
  Json& Field(std::string_view key, T value) {
    return Key(key).Value(value);
  }
  Json& Strings(std::string_view key, const std::vector<std::string>& list) {
    Key(key).Begin('[');
    for (const std::string& item : list) Value(std::string_view(item));
    return End(']');
  }

 private:
  void Comma() {
    if (!first_) out_ += ',';
    first_ = false;
  }
  // Page texts may hold bytes that are not UTF-8; each such byte becomes U+FFFD, so the
  // document stays valid JSON.
  void String(std::string_view text) {
    out_ += '"';
    for (std::size_t i = 0; i < text.size();) {
      const auto u = static_cast<unsigned char>(text[i]);
      if (u >= 0x80) {
        const std::size_t width = Utf8Width(text.substr(i));
        if (width == 0) {
          out_ += "\xEF\xBF\xBD";
          ++i;
        } else {
          out_ += text.substr(i, width);
          i += width;
        }
        continue;
      }
      if (text[i] == '"' || text[i] == '\\') {
        out_ += '\\';
        out_ += text[i];
      } else if (u < 0x20) {
        constexpr char kHex[] = "0123456789abcdef";
        out_ += "\\u00";
        out_ += kHex[u >> 4];
        out_ += kHex[u & 15];
      } else {
        out_ += text[i];
      }
      ++i;
    }
    out_ += '"';
  }

  // The length of the well-formed UTF-8 sequence text begins with, or 0.
  static std::size_t Utf8Width(std::string_view text) {
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = b(0);
    std::size_t width = 0;
    unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
      width = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      width = 3;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      width = 4;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      return 0;
    }
    if (text.size() < width || b(1) < low || b(1) > high) return 0;
    for (std::size_t k = 2; k < width; ++k) {
      if (b(k) < 0x80 || b(k) > 0xBF) return 0;
    }
    return width;
  }

  std::string out_;
  bool first_ = true;
};

void JsonLinkStage(Json& j, const Explanation& e, ExplainFormat format) {
  j.Key("links").Begin('{');
  j.Field("set", std::string_view(e.setName));
  j.Key("rules").Begin('[');
  const std::vector<RuleSummary> rules = SummariseRules(e);
  for (std::size_t i = 0; i < rules.size(); ++i) {
    j.Begin('{').Field("line", static_cast<long>(i + 1)).Field("text", std::string_view(e.setLines[i]));
    if (rules[i].fixed) {
      j.Field("verdict", RuleVerdictName(*rules[i].fixed));
    } else {
      j.Key("verdicts").Begin('{');
      for (const auto& [verdict, count] : rules[i].counts) j.Field(RuleVerdictName(verdict), count);
      j.End('}');
    }
    j.End('}');
  }
  j.End(']');
  j.Key("links").Begin('[');
  long unlisted = 0;
  for (const LinkTrace& link : e.links) {
    if (!Listed(link, format)) {
      ++unlisted;
      continue;
    }
    j.Begin('{').Field("index", link.index).Field("text", std::string_view(link.seen.text));
    j.Field("address", std::string_view(link.address)).Field("keyword", link.seen.keyword);
    j.Field("result", MatchKindName(link.kind));
    j.Key("rules").Begin('[');
    for (const RuleTrial& trial : link.seen.rules) {
      j.Begin('{').Field("line", static_cast<long>(trial.line + 1));
      j.Field("verdict", RuleVerdictName(trial.verdict)).End('}');
    }
    j.End(']').End('}');
  }
  j.End(']');
  j.Field("examined", static_cast<long>(e.links.size())).Field("unlisted", unlisted);
  j.Field("ended", e.linkStageEnded);
  j.End('}');
}

void JsonSmartStage(Json& j, const Explanation& e) {
  j.Key("smart").Begin('{');
  j.Key("candidates").Begin('[');
  for (const SmartCandidate& c : e.smart.candidates) {
    j.Begin('{').Field("source", SourceName(c.source)).Field("index", c.index);
    j.Field("text", std::string_view(c.text)).Field("address", std::string_view(c.address));
    j.Field("score", static_cast<long>(c.score)).Field("reason", std::string_view(c.reason));
    j.Field("block", std::string_view(c.block)).Field("continuity", std::string_view(c.continuity));
    j.Field("excluded", c.excluded).End('}');
  }
  j.End(']');
  j.Strings("notes", e.smart.notes);
  j.Key("decision").Begin('{').Field("action", ActionName(e.smart.action));
  j.Field("link", e.smart.linkIndex).Field("address", std::string_view(e.smart.address));
  j.End('}');
  j.End('}');
}

}  // namespace

std::string ExplanationJson(const Explanation& e, ExplainFormat format) {
  Json j;
  j.Begin('{');
  j.Field("command", std::string_view(e.command));
  j.Field("display", std::string_view(DisplayName(e.command)));
  j.Field("origin", std::string_view(e.origin == Origin::Keyboard ? "keyboard" : "mouse"));
  j.Strings("notes", e.notes);
  j.Field("page", std::string_view(e.docURL)).Field("linkCount", e.linkCount);
  if (e.linkStage) {
    JsonLinkStage(j, e, format);
  } else {
    j.Key("links").Null();
  }
  j.Key("templates");
  if (e.templateStage) {
    j.Begin('[');
    for (const TemplateTrial& t : e.templates) {
      j.Begin('{').Field("line", std::string_view(t.line)).Field("verdict", TemplateVerdictName(t.verdict));
      j.Field("detail", std::string_view(t.detail)).End('}');
    }
    j.End(']');
  } else {
    j.Null();
  }
  j.Key("positions");
  if (e.positionStage) {
    j.Begin('[');
    for (const PositionTrial& p : e.positions) {
      j.Begin('{').Field("line", std::string_view(p.line));
      j.Field("verdict", PositionVerdictName(p.verdict)).End('}');
    }
    j.End(']');
  } else {
    j.Null();
  }
  j.Field("smartEnabled", e.smartEnabled);
  if (e.smartStage) {
    JsonSmartStage(j, e);
  } else {
    j.Key("smart").Null();
  }
  j.Strings("log", e.log).Strings("actions", e.actions);
  j.End('}');
  return j.str() + "\n";
}

}  // namespace paginor
