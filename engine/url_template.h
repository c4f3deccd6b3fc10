#pragma once
// URL templates: constant text, "*" wildcards that take what the current address holds
// there, and "计算[" expression "]" parts computed with "$" standing for a value.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/browser_model.h"
#include "engine/operation_log.h"
#include "engine/rule_set.h"

namespace paginor {

struct UrlExpansion {
  std::string address;    // empty: the template does not fit or cannot be evaluated
  bool wildcard = false;  // the template had a "*" and so was matched against the address
  std::string failure;    // why there is no address, in words
};

// The target address, or empty. value replaces "$" in computed parts: the page number,
// or "$" itself when a template only tests whether an address fits.
std::string ExpandUrlTemplate(std::string_view tmpl, std::string_view address,
                              std::string_view value);
UrlExpansion ExpandUrlTemplateDetailed(std::string_view tmpl, std::string_view address,
                                       std::string_view value);

struct UrlSegment {
  char kind = 'c';  // 'c' constant, '*' wildcard, 'j' computed
  std::string text;
  std::string output;
};

// Matches segments lo..hi against text and records each segment's output. Constants are
// found left to right at their first occurrence; a wildcard or computed part takes what
// lies between its neighbours. Iterative, so no template can exhaust the stack.
bool MatchSegments(std::string_view text, std::vector<UrlSegment>& segments, std::size_t lo,
                   std::size_t hi);

// How one "[网址=" line fared, for explanations.
struct TemplateTrial {
  enum class Verdict { NoBracket, WrongSite, Empty, Failed, Address };
  std::string line;
  Verdict verdict = Verdict::Failed;
  std::string detail;  // the address, or why there is none
};

// The 某页 set's "[网址=" site "]" template lines, tried in order for a page number when
// no link matched. Logs and navigates for the first that yields an address; true then.
// trials, when given, receives every template line tried.
bool RunUrlTemplateStage(Browser& acting, std::string_view docURL, std::string_view command,
                         const RuleSet& pageSet, OperationLog& log,
                         std::vector<TemplateTrial>* trials = nullptr);

}  // namespace paginor
