#include "engine/url_template.h"

#include "calc/evaluate_formula.h"
#include "calc/number_text.h"
#include "engine/replace_all.h"

namespace paginor {
namespace {

constexpr std::string_view kComputeOpen = "计算[";
constexpr std::string_view kTemplatePrefix = "[网址=";
// "**" and "$$" wait behind these while the template is taken apart.
constexpr std::string_view kStarPlaceholder = "(不可能1!)";
constexpr std::string_view kDollarPlaceholder = "(不可能2!)";

// Constants hold their escapes undone, so that a literal "*" or "$" is matched against
// the address as itself.
void FlushConstant(std::string& acc, std::vector<UrlSegment>& segments) {
  if (acc.empty()) return;
  ReplaceAll(acc, kStarPlaceholder, "*");
  ReplaceAll(acc, kDollarPlaceholder, "$");
  segments.push_back({'c', std::move(acc), {}});
  acc.clear();
}

// False when a computed part has no "]" or does not evaluate; failure says which.
bool Segment(std::string_view rest, std::string_view value, std::vector<UrlSegment>& segments,
             std::string& failure) {
  std::string acc;
  while (!rest.empty()) {
    if (rest.front() == '*') {
      FlushConstant(acc, segments);
      segments.push_back({'*', {}, {}});
      rest.remove_prefix(1);
    } else if (rest.starts_with(kComputeOpen)) {
      FlushConstant(acc, segments);
      rest.remove_prefix(kComputeOpen.size());
      const auto close = rest.find(']');
      if (close == std::string_view::npos) {
        failure = "no \"]\" closes \"计算[\"";
        return false;
      }
      std::string expression(rest.substr(0, close));
      ReplaceAll(expression, "$", value);
      std::string error;
      std::string computed = calc::EvaluateFormula(expression, error);
      if (computed.empty()) {
        failure = "the formula \"" + expression + "\" gives no result: " +
                  std::string(calc::TrimBlanks(error));
        return false;
      }
      segments.push_back({'j', std::move(computed), {}});
      rest.remove_prefix(close + 1);
    } else {
      acc.push_back(rest.front());
      rest.remove_prefix(1);
    }
  }
  FlushConstant(acc, segments);
  return true;
}

// With a wildcard the template must begin with a constant, and a wildcard may touch
// neither another wildcard nor a computed part.
bool KindsAllowed(const std::vector<UrlSegment>& segments) {
  char previous = '*';
  for (const UrlSegment& s : segments) {
    const bool wildPair = (previous == '*' && s.kind != 'c') || (s.kind == '*' && previous == 'j');
    if (wildPair) return false;
    previous = s.kind;
  }
  return true;
}

bool SingleSegment(std::string_view text, UrlSegment& segment) {
  switch (segment.kind) {
    case 'c':
      if (text != segment.text) return false;
      segment.output = segment.text;
      return true;
    case 'j':
      segment.output = segment.text;
      return true;
    default:
      segment.output = std::string(text);
      return true;
  }
}

void GuardedLog(OperationLog& log, const std::string& line) {
  try {
    log.Append(line);
  } catch (...) {
    // The log failing must not stop the navigation.
  }
}

}  // namespace

bool MatchSegments(std::string_view text, std::vector<UrlSegment>& segments, std::size_t lo,
                   std::size_t hi) {
  // Each pass takes the first constant of lo..hi; what lies left of it holds no constant
  // and so never recurses further, and the right side continues the loop.
  while (lo < hi) {
    std::size_t b = lo;
    for (std::size_t i = lo; i <= hi; ++i) {
      if (segments[i].kind == 'c') {
        b = i;
        break;
      }
    }
    UrlSegment& anchor = segments[b];
    const auto at = text.find(anchor.text);
    if (anchor.text.empty() || at == std::string_view::npos) return false;
    anchor.output = anchor.text;
    const std::string_view before = text.substr(0, at);
    const std::string_view after = text.substr(at + anchor.text.size());
    if (b == hi) {
      text = before;
      hi = b - 1;
      continue;
    }
    if (b != lo && !MatchSegments(before, segments, lo, b - 1)) return false;
    text = after;
    lo = b + 1;
  }
  return SingleSegment(text, segments[lo]);
}

UrlExpansion ExpandUrlTemplateDetailed(std::string_view tmpl, std::string_view address,
                                       std::string_view value) {
  std::string escaped(tmpl);
  ReplaceAll(escaped, "**", kStarPlaceholder);
  ReplaceAll(escaped, "$$", kDollarPlaceholder);
  std::vector<UrlSegment> segments;
  UrlExpansion result;
  if (!Segment(escaped, value, segments, result.failure)) return result;

  for (const UrlSegment& s : segments) result.wildcard = result.wildcard || s.kind == '*';
  if (result.wildcard) {
    if (!KindsAllowed(segments)) {
      result.failure = "a \"*\" begins the template or touches another \"*\" or a computed part";
      return result;
    }
    if (!MatchSegments(address, segments, 0, segments.size() - 1)) {
      result.failure = "the address does not fit the template";
      return result;
    }
    for (const UrlSegment& s : segments) result.address += s.output;
  } else {
    for (const UrlSegment& s : segments) result.address += s.text;
  }
  return result;
}

std::string ExpandUrlTemplate(std::string_view tmpl, std::string_view address,
                              std::string_view value) {
  return ExpandUrlTemplateDetailed(tmpl, address, value).address;
}

bool RunUrlTemplateStage(Browser& acting, std::string_view docURL, std::string_view command,
                         const RuleSet& pageSet, OperationLog& log,
                         std::vector<TemplateTrial>* trials) {
  using Verdict = TemplateTrial::Verdict;
  const auto tell = [&](const std::string& line, Verdict verdict, std::string detail) {
    if (trials != nullptr) trials->push_back({line, verdict, std::move(detail)});
  };
  for (const std::string& line : pageSet) {
    std::string_view rest = line;
    if (!rest.starts_with(kTemplatePrefix)) continue;
    rest.remove_prefix(kTemplatePrefix.size());
    const auto close = rest.find(']');
    if (close == std::string_view::npos) {
      tell(line, Verdict::NoBracket, "no \"]\" ends the site");
      continue;
    }
    const std::string_view site = rest.substr(0, close);
    if (site.empty() || !docURL.starts_with(site)) {
      tell(line, Verdict::WrongSite, site.empty() ? "the site is empty" : "the page is not on this site");
      continue;
    }
    const std::string_view tmpl = rest.substr(close + 1);
    if (tmpl.empty()) {
      tell(line, Verdict::Empty, "no template after the site");
      continue;
    }
    const UrlExpansion expansion = ExpandUrlTemplateDetailed(tmpl, docURL, command);
    const std::string& address = expansion.address;
    if (address.empty()) {
      tell(line, Verdict::Failed, expansion.failure.empty() ? "the template expands to nothing"
                                                            : expansion.failure);
      continue;
    }
    tell(line, Verdict::Address, address);
    GuardedLog(log, "    执行指令" + line + ",转到网址: " + address);
    try {
      acting.Navigate(address, "_self");
    } catch (...) {
      // Found either way: the browser may have gone away mid-call.
    }
    return true;
  }
  return false;
}

}  // namespace paginor
