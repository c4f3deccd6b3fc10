// The one-argument built-in functions: each evaluates its single argument node.

#include <cmath>
#include <string>

#include "calc/conversions.h"
#include "calc/function_table.h"
#include "calc/number_text.h"
#include "calc/text_case.h"
#include "calc/uCalcul.h"
#include "calc/utf8.h"

namespace paginor::calc {
namespace {

constexpr Extended kPi = 3.141592653589793238462643383279502884L;
// From 2^63 on an angle holds no fraction of a turn any more: sin, cos and tg give 0.
constexpr Extended kTrigLimit = 9223372036854775808.0L;

bool IsTextFunction(int c) {
  return c == fn::kTrimLeft || c == fn::kTrimRight || c == fn::kTrim || c == fn::kChar ||
         c == fn::kUpper || c == fn::kLower || c == fn::kString;
}

bool IsDateFunction(int c) {
  return c == fn::kLastDay || (c >= fn::kWeekday && c <= fn::kStampToStr);
}

template <typename T>
T Require(const std::optional<T>& value) {
  if (!value) throw CalcFault{};
  return *value;
}

Extended Trig(Extended (*f)(Extended), Extended x) { return std::fabs(x) >= kTrigLimit ? 0 : f(x); }

Extended Cos(Extended x) { return std::cos(x); }
Extended Sin(Extended x) { return std::sin(x); }
Extended Tan(Extended x) { return std::tan(x); }

// The code of the first character when it is one of 0 to 255, so that ascii(char(n))
// is n; otherwise the code of its first byte.
std::string FirstCode(std::string_view text) {
  if (text.empty()) return {};
  std::size_t length = 0;
  const char32_t first = DecodeUtf8At(text, 0, length);
  if (first <= 0xFF) return std::to_string(static_cast<unsigned>(first));
  return std::to_string(static_cast<unsigned char>(text.front()));
}

// Monday 1 to Sunday 7; day 0, 1899-12-30, was a Saturday.
int Weekday(const DateTimeParts& parts) {
  const Extended day = Require(PartsToStamp({parts.year, parts.month, parts.day, 0, 0, 0, 0}));
  const auto n = static_cast<long long>(std::trunc(day));
  return static_cast<int>(((n % 7) + 7 + 5) % 7) + 1;
}

}  // namespace

std::string TCalcul::EvaluateFunction(FormulaNode& node) {
  if (IsMultiArgument(node.code)) return EvaluateMultiFunction(node);
  const std::string text = EvaluateNode(node.left);
  if (errorFlag_) return {};
  const Argument arg{text, node.left};
  const int c = node.code;
  if (c == fn::kEval) return EvaluateEval(node, text);
  if (c == fn::kExistVar || c == fn::kFreeVar) return EvaluateVariableFunction(c, text);
  if (IsTextFunction(c)) return EvaluateTextFunction(c, arg);
  if (IsDateFunction(c)) return EvaluateDateFunction(c, arg);
  return EvaluateNumericFunction(c, arg);
}

std::string TCalcul::EvaluateNumericFunction(int c, const Argument& arg) {
  if (c == fn::kLength) return std::to_string(arg.text.size());
  if (c == fn::kAscii) return FirstCode(arg.text);
  if (c == fn::kLogic) {
    const std::int32_t n = IntegerOf(arg);
    return errorFlag_ ? std::string() : (n < 1 ? "0" : "1");
  }
  std::string numeric;
  Argument number = arg;
  if (c == fn::kNumeric) {
    for (const char ch : arg.text) {
      if (ch != ' ') numeric += ch;
    }
    number.text = numeric;
  }
  const Extended x = NumberOf(number);
  if (errorFlag_) return {};
  switch (c) {
    case fn::kCos: return NumberText(Trig(Cos, x));
    case fn::kSin: return NumberText(Trig(Sin, x));
    case fn::kTg: return NumberText(Trig(Tan, x));
    case fn::kCtg: {
      const Extended tangent = Trig(Tan, x);
      if (tangent == 0) throw CalcFault{};
      return NumberText(1 / tangent);
    }
    case fn::kAbs: return NumberText(std::fabs(x));
    case fn::kSign: return x < -1e-7L ? "-1" : (x > 1e-8L ? "1" : "0");
    case fn::kSqrt:
      if (x < 0) throw CalcFault{};
      return NumberText(std::sqrt(x));
    case fn::kLn:
      if (x <= 0) throw CalcFault{};
      return NumberText(std::log(x));
    case fn::kExp: return NumberText(std::exp(x));
    case fn::kArcSin:
      if (std::fabs(x) > 1) throw CalcFault{};
      return NumberText(std::atan2(x, std::sqrt(1 - x * x)));
    case fn::kArcCos:
      if (std::fabs(x) > 1) throw CalcFault{};
      return NumberText(std::atan2(std::sqrt(1 - x * x), x));
    case fn::kArcTg: return NumberText(std::atan(x));
    case fn::kArcCtg: return NumberText(kPi / 2 - std::atan(x));
    case fn::kSh: return NumberText((std::exp(x) - std::exp(-x)) / 2);
    case fn::kCh: return NumberText((std::exp(x) + std::exp(-x)) / 2);
    case fn::kTh: return NumberText((std::exp(x) - std::exp(-x)) / (std::exp(x) + std::exp(-x)));
    case fn::kCth: return NumberText((std::exp(x) + std::exp(-x)) / (std::exp(x) - std::exp(-x)));
    case fn::kHeaviside: return x >= 0 ? "1" : "0";
    case fn::kFrac: return NumberText(x - std::trunc(x));
    case fn::kTrunc: return NumberText(std::trunc(x));
    case fn::kNot: return x >= 1 ? "0" : "1";
    case fn::kNumeric: return NumberText(x);
    default: break;
  }
  SetError("Internal error oper code ", std::to_string(c));
  return {};
}

// char( takes the low 8 bits of the integer; codes 128 to 255 give the Unicode
// character of that code (Latin-1), so char(233) is "é".
std::string TCalcul::EvaluateTextFunction(int c, const Argument& arg) {
  switch (c) {
    case fn::kTrimLeft: return std::string(TrimLeftBlanks(arg.text));
    case fn::kTrimRight: return std::string(TrimRightBlanks(arg.text));
    case fn::kTrim: return std::string(TrimBlanks(arg.text));
    case fn::kUpper: return UpperText(arg.text);
    case fn::kLower: return LowerText(arg.text);
    case fn::kChar: {
      const std::int32_t n = IntegerOf(arg);
      std::string text;
      if (!errorFlag_) AppendUtf8(text, static_cast<char32_t>(n & 0xFF));
      return text;
    }
    default: return std::string(arg.text);  // string(
  }
}

std::string TCalcul::EvaluateDateFunction(int c, const Argument& arg) {
  if (c == fn::kLastDay) {
    const std::int32_t stamp = IntegerOf(arg);
    if (errorFlag_) return {};
    return std::to_string(Require(DaysInMonth(static_cast<Extended>(stamp))));
  }
  if (c >= fn::kStampToDateStr) {
    const Extended stamp = NumberOf(arg);
    if (errorFlag_) return {};
    if (c == fn::kStampToDateStr) return Require(DateToText(stamp));
    if (c == fn::kStampToTimeStr) return Require(TimeToText(stamp));
    return Require(StampToText(stamp));
  }
  const Extended stamp = Require(TextToStamp(arg.text));
  if (c == fn::kStrToStamp) return NumberText(static_cast<double>(stamp));
  const DateTimeParts parts = Require(StampToParts(stamp));
  switch (c) {
    case fn::kWeekday: return std::to_string(Weekday(parts));
    case fn::kMonth: return std::to_string(parts.month);
    case fn::kYear: return std::to_string(parts.year);
    case fn::kDay: return std::to_string(parts.day);
    case fn::kHour: return std::to_string(parts.hour);
    case fn::kMinute: return std::to_string(parts.minute);
    default: return std::to_string(parts.second);
  }
}

std::string TCalcul::EvaluateVariableFunction(int c, std::string_view arg) {
  context_->Spend(variables_.Lines().size() * kLineWork);
  if (c == fn::kExistVar) return variables_.Find(arg) ? "1" : "0";
  return variables_.RemoveFirst(arg) ? "1" : "0";
}

// The argument, without an enclosing "[" "]", is calculated with a copy of the
// variables; a failure gives an empty value and no error.
std::string TCalcul::EvaluateEval(FormulaNode& node, std::string_view arg) {
  std::string_view text = TrimBlanks(arg);
  if (text.size() >= 2 && text.front() == '[' && text.back() == ']') {
    text = TrimBlanks(text.substr(1, text.size() - 2));
  }
  Outcome inner = RunNested(text);
  node.kind = inner.kind;
  return std::move(inner.value);
}

}  // namespace paginor::calc
