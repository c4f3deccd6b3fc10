// EvaluateNode: evaluation of the parsed tree. Every value is a text; operations read
// their operands as numbers where they need numbers and write numbers back as text.

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "calc/function_table.h"
#include "calc/number_text.h"
#include "calc/text_case.h"
#include "calc/uCalcul.h"
#include "calc/wildcard.h"

namespace paginor::calc {
namespace {

bool IsNumberCode(int c) {
  return (c >= 3 && c <= 6) || (c >= 10 && c <= 35) || c == 44 || (c >= 47 && c <= 55) || c == 62 ||
         (c >= 65 && c <= 68) || c == 72 || c == 197 || c == 198 || c == 200 || c == 201 ||
         c == 203 || c == 210 || c == 211 || (c >= 220 && c <= 225) ||
         // "like" and "wildcard" answer 1 or 0 like every other comparison.
         c == code::kLike || c == code::kWildcard;
}

bool IsTextCode(int c) {
  return c == 38 || c == 39 || c == 41 || c == 43 || c == 45 || c == 46 || (c >= 56 && c <= 58) ||
         c == 60 || c == 61 || c == 64 || (c >= 69 && c <= 71) || c == 196 || c == 202;
}

std::string Flag(bool value) { return value ? "1" : "0"; }

// base^exponent. Integral exponents go by repeated squaring, so even 2147483647 takes
// a few dozen multiplications; 0^0 is 1 and 0 to a positive power is 0.
Extended Power(Extended base, Extended exponent) {
  if (exponent == 0) return 1;
  if (base == 0 && exponent > 0) return 0;
  if (std::trunc(exponent) == exponent && std::fabs(exponent) <= 2147483647.0L) {
    auto n = static_cast<std::int64_t>(std::fabs(exponent));
    Extended result = 1;
    Extended factor = base;
    while (n > 0) {
      if ((n & 1) != 0) result *= factor;
      n >>= 1;
      if (n > 0) factor *= factor;
      if (!std::isfinite(result) || !std::isfinite(factor)) throw CalcFault{};
    }
    if (exponent > 0) return result;
    if (result == 0) throw CalcFault{};
    return 1 / result;
  }
  if (base <= 0) throw CalcFault{};  // no real logarithm
  return std::exp(exponent * std::log(base));
}

}  // namespace

std::string TCalcul::EvaluateNode(FormulaNode* node) {
  const bool numberOnly = std::exchange(numberWanted_, false);
  if (node != nullptr) node->hasNumber = false;
  if (errorFlag_) return {};
  if (node == nullptr) {
    SetError("Invalid formula (..)");
    return {};
  }
  const EvalDepthGuard depth(*context_);
  if (!depth || !context_->TrySpend(kNodeWork)) {
    SetError({});
    return {};
  }
  if (IsNumberCode(node->code)) {
    node->kind = ValueKind::kNumber;
  } else if (IsTextCode(node->code)) {
    node->kind = ValueKind::kText;
  }
  numberFresh_ = false;
  const bool outerNumberOnly = std::exchange(numberOnly_, numberOnly);
  std::string result = EvaluateOperation(*node);
  numberOnly_ = outerNumberOnly;
  // Every operand was evaluated before the operation wrote its own number last.
  node->hasNumber = numberFresh_;
  node->exactNumber = freshNumber_;
  numberFresh_ = false;
  CheckText(result.size());
  return result;
}

std::string TCalcul::EvaluateOperation(FormulaNode& node) {
  switch (node.code) {
    case code::kPlus:
    case code::kMinus:
    case code::kTimes: return EvaluateArithmetic(node);
    case code::kDivide: return EvaluateDivide(node);
    case code::kNegate: {
      const Extended x = NumberOf(node.left);
      return errorFlag_ ? std::string() : NumberText(-x);
    }
    case code::kPower: return EvaluatePower(node);
    case code::kNumber:
    case code::kQuoted: return node.text;
    case code::kName: return EvaluateName(node);
    case code::kDiv:
    case code::kMod: return EvaluateIntegerDivision(node);
    case code::kConcat: return EvaluateConcat(node);
    case code::kIn: return EvaluateIn(node);
    case code::kAnd:
    case code::kOr: return EvaluateLogic(node);
    case code::kEqual:
    case code::kNotEqual: {
      const std::string a = EvaluateNode(node.left);
      const std::string b = EvaluateNode(node.right);
      return errorFlag_ ? std::string() : Flag((a == b) == (node.code == code::kEqual));
    }
    case code::kLess:
    case code::kLessEqual:
    case code::kGreater:
    case code::kGreaterEqual: return EvaluateComparison(node);
    case code::kLike:
    case code::kWildcard: return EvaluateMatch(node);
    case code::kComma: return EvaluateComma(node);
    case code::kSequence: {
      std::string result = EvaluateNode(node.left);
      result = EvaluateNode(node.right);
      return result;
    }
    default: break;
  }
  if (IsFunctionCode(node.code)) return EvaluateFunction(node);
  SetError("Internal error oper code ", std::to_string(node.code));
  return {};
}

std::string TCalcul::EvaluateArithmetic(FormulaNode& node) {
  const Extended a = NumberOf(node.left);
  const Extended b = NumberOf(node.right);
  if (errorFlag_) return {};
  if (node.code == code::kPlus) return NumberText(a + b);
  if (node.code == code::kMinus) return NumberText(a - b);
  return NumberText(a * b);
}

// The divisor comes first; one this close to 0 gives 0 without the dividend.
std::string TCalcul::EvaluateDivide(FormulaNode& node) {
  const Extended divisor = NumberOf(node.right);
  if (errorFlag_) return {};
  if (std::fabs(divisor) < 1e-8L) return "0";
  const Extended dividend = NumberOf(node.left);
  if (errorFlag_) return {};
  return NumberText(dividend / divisor);
}

std::string TCalcul::EvaluatePower(FormulaNode& node) {
  const Extended base = NumberOf(node.left);
  const Extended exponent = NumberOf(node.right);
  if (errorFlag_) return {};
  return NumberText(Power(base, exponent));
}

// Computed in 64 bits, so -2147483648 div -1 is 2147483648 rather than an overflow.
std::string TCalcul::EvaluateIntegerDivision(FormulaNode& node) {
  if (node.code == code::kDiv) {
    const std::int64_t divisor = IntegerOf(node.right);
    if (errorFlag_) return {};
    if (divisor == 0) return "0";
    const std::int64_t dividend = IntegerOf(node.left);
    if (errorFlag_) return {};
    return std::to_string(dividend / divisor);
  }
  const std::int64_t dividend = IntegerOf(node.left);
  const std::int64_t divisor = IntegerOf(node.right);
  if (errorFlag_) return {};
  if (divisor == 0) throw CalcFault{};
  return std::to_string(dividend % divisor);
}

// The right operand is evaluated only when the left one does not decide.
std::string TCalcul::EvaluateLogic(FormulaNode& node) {
  const Extended a = NumberOf(node.left);
  if (errorFlag_) return {};
  const bool isAnd = node.code == code::kAnd;
  if ((a >= 1) != isAnd) return Flag(!isAnd);
  const Extended b = NumberOf(node.right);
  if (errorFlag_) return {};
  return Flag(b >= 1);
}

// Numbers (in double precision) compare as numbers; when either operand is not a
// number both compare as texts by collation. Each operand is evaluated once, so an
// assignment or freevar( in it takes effect once and nested comparisons stay linear.
std::string TCalcul::EvaluateComparison(FormulaNode& node) {
  const std::string a = EvaluateNode(node.left);
  const std::string b = EvaluateNode(node.right);
  if (errorFlag_) return {};
  const auto numberOf = [](const FormulaNode* operand, std::string_view text) {
    return operand->hasNumber ? std::optional<Extended>(operand->exactNumber) : ParseNumber(text);
  };
  const auto x = numberOf(node.left, a);
  const auto y = numberOf(node.right, b);
  int order = 0;
  if (x && y) {
    const auto dx = static_cast<double>(*x);
    const auto dy = static_cast<double>(*y);
    order = dx < dy ? -1 : (dx > dy ? 1 : 0);
  } else {
    context_->Spend(a.size() + b.size());
    order = CollateText(a, b);
  }
  switch (node.code) {
    case code::kLess: return Flag(order < 0);
    case code::kLessEqual: return Flag(order <= 0);
    case code::kGreater: return Flag(order > 0);
    default: return Flag(order >= 0);
  }
}

std::string TCalcul::EvaluateConcat(FormulaNode& node) {
  const std::string right = EvaluateNode(node.right);
  std::string left = EvaluateNode(node.left);
  if (errorFlag_) return {};
  CheckText(left.size() + right.size());
  return left.append(right);
}

// "like" reads "%" as "*" and "_" as "?"; the pattern is evaluated first.
std::string TCalcul::EvaluateMatch(FormulaNode& node) {
  std::string pattern = EvaluateNode(node.right);
  const std::string text = EvaluateNode(node.left);
  if (errorFlag_) return {};
  if (node.code == code::kLike) {
    for (char& c : pattern) {
      if (c == '%') c = '*';
      if (c == '_') c = '?';
    }
  }
  const WildcardOutcome outcome =
      MatchWildcard(text, pattern, context_->Remaining() / kMatchStepWork);
  context_->Spend(outcome.steps * kMatchStepWork + text.size() + pattern.size());
  if (outcome.result == WildcardResult::kTooComplex) context_->Exhaust();
  if (outcome.result == WildcardResult::kMalformed) throw CalcFault{};
  return Flag(outcome.result == WildcardResult::kMatch);
}

// An argument separator: the right operand goes onto ParamStack below the calling
// function's two lines, the left one (the rest of the list) is this node's value.
std::string TCalcul::EvaluateComma(FormulaNode& node) {
  if (!node.separatesArguments) throw CalcFault{};
  std::string right = EvaluateNode(node.right);
  if (errorFlag_) return {};
  InsertBelowTop(std::move(right));
  return EvaluateNode(node.left);
}

Extended TCalcul::ToNumber(std::string_view text) {
  if (const auto value = ParseNumber(text)) return *value;
  SetError("Error, convert to numeric value:", text);
  return 0;
}

// Nudged by 1e-7 away from zero before truncation, so 2.9999999 is 3; larger
// magnitudes keep the low 32 bits.
std::int32_t TCalcul::ToInteger(std::string_view text) {
  if (errorFlag_) return 0;
  return IntegerFrom(ToNumber(text));
}

std::int32_t TCalcul::IntegerFrom(Extended x) {
  if (x > 0) x += 1e-7L;
  if (x < 0) x -= 1e-7L;
  x = std::trunc(x);
  if (std::fabs(x) >= 9223372036854775808.0L) throw CalcFault{};
  const auto wide = static_cast<std::int64_t>(x);
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(wide));
}

Extended TCalcul::NumberOf(FormulaNode* node) {
  numberWanted_ = true;
  const std::string text = EvaluateNode(node);
  return NumberOf(Argument{text, node});
}

std::int32_t TCalcul::IntegerOf(FormulaNode* node) {
  numberWanted_ = true;
  const std::string text = EvaluateNode(node);
  return IntegerOf(Argument{text, node});
}

Extended TCalcul::NumberOf(const Argument& arg) {
  if (errorFlag_) return 0;
  if (arg.node != nullptr && arg.node->hasNumber) return arg.node->exactNumber;
  return ToNumber(arg.text);
}

std::int32_t TCalcul::IntegerOf(const Argument& arg) {
  if (errorFlag_) return 0;
  if (arg.node != nullptr && arg.node->hasNumber) return IntegerFrom(arg.node->exactNumber);
  return ToInteger(arg.text);
}

std::string TCalcul::NumberText(Extended x) {
  if (!std::isfinite(x)) throw CalcFault{};  // overflow
  freshNumber_ = x;
  numberFresh_ = true;
  return numberOnly_ ? std::string() : FormatNumber(x);
}

void TCalcul::CheckText(std::size_t bytes) {
  if (errorFlag_) return;  // the value is void anyway
  if (bytes > kMaxTextBytes) context_->Exhaust();
  context_->Spend(bytes);
}

}  // namespace paginor::calc
