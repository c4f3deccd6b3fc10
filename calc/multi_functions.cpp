// The functions of codes 60 to 72 take their arguments through ParamStack: the call
// pushes its code and a marker, every argument separator inserts its text below those
// two lines, and the call then pops its arguments back off.

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "calc/conversions.h"
#include "calc/function_table.h"
#include "calc/number_text.h"
#include "calc/text_search.h"
#include "calc/uCalcul.h"

namespace paginor::calc {
namespace {

constexpr std::string_view kMarker = "[!!!]";
constexpr std::size_t kMaxArguments = 5;

int CodeOf(std::string_view line) {
  int value = 0;
  const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), value);
  return (error == std::errc() && end == line.data() + line.size()) ? value : 0;
}

// IntToBase knows no sign; a negative number is written as "-" and its magnitude.
std::string SignedToBase(std::int32_t n, int base) {
  if (n >= 0) return IntToBase(n, base);
  const std::int64_t magnitude = -static_cast<std::int64_t>(n);
  const std::int64_t high = magnitude / base;
  std::string text = "-";
  if (high > 0) text += IntToBase(static_cast<std::int32_t>(high), base);
  text += "0123456789ABCDEF"[magnitude % base];
  return text;
}

// Whether digits that BaseToInt accepts stand for more than 2147483647; such values
// give an empty result instead of the number their 32-bit sum wraps around to.
bool ExceedsInt32(std::string_view digits, int base) {
  std::uint64_t value = 0;
  bool started = false;
  for (const char c : digits) {
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0) return false;  // BaseToInt rejects it anyway
    started = started || digit != 0;
    if (!started) continue;
    value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
    if (value > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) return true;
  }
  return false;
}

std::int64_t Length(const std::string& s) { return static_cast<std::int64_t>(s.size()); }

}  // namespace

void TCalcul::InsertBelowTop(std::string text) {
  if (paramStack_.size() < 2) throw CalcFault{};  // list index fault
  context_->Spend(text.size());
  paramStack_.insert(paramStack_.end() - 2, std::move(text));
}

std::string TCalcul::EvaluateMultiFunction(FormulaNode& node) {
  paramStack_.push_back(std::to_string(node.code));
  paramStack_.emplace_back(kMarker);
  std::string first = EvaluateNode(node.left);
  if (errorFlag_) return {};
  InsertBelowTop(std::move(first));
  const int c = CodeOf(paramStack_[paramStack_.size() - 2]);
  const FunctionInfo* info = IsMultiArgument(c) ? FunctionByCode(c) : nullptr;
  if (info == nullptr) {
    SetError("Internal error, function with params");
    return {};
  }
  paramStack_.resize(paramStack_.size() - 2);
  if (IsAggregate(c)) return EvaluateAggregate(c);
  std::vector<std::string> args;
  while (!paramStack_.empty() && paramStack_.back() != kMarker && args.size() < kMaxArguments) {
    args.emplace_back(TrimBlanks(paramStack_.back()));
    paramStack_.pop_back();
  }
  if (args.size() < static_cast<std::size_t>(info->minArgs)) {
    SetError("Not enough params");
    return {};
  }
  // A sixth argument would stay on the stack and be misread by an enclosing call.
  if (!paramStack_.empty() && paramStack_.back() != kMarker) throw CalcFault{};
  return ApplyMultiFunction(c, args);
}

// Each argument is read as a number rounded to double precision; the first one that
// is not a number stops the collection with its error.
std::string TCalcul::EvaluateAggregate(int c) {
  std::vector<double> values;
  while (!paramStack_.empty() && paramStack_.back() != kMarker) {
    const std::string arg(TrimBlanks(paramStack_.back()));
    paramStack_.pop_back();
    const Extended x = ToNumber(arg);
    if (errorFlag_) return {};
    values.push_back(static_cast<double>(x));
  }
  if (values.empty()) {
    SetError("Error, not enough params");
    return {};
  }
  double best = values.front();
  Extended sum = 0;
  for (const double v : values) {
    if (c == fn::kMaxVal && v > best) best = v;
    if (c == fn::kMinVal && !(v >= best)) best = v;
    sum += v;
  }
  if (c == fn::kSumVal) return NumberText(sum);
  if (c == fn::kAvgVal) return NumberText(sum / static_cast<Extended>(values.size()));
  return NumberText(best);
}

std::string TCalcul::ApplyMultiFunction(int c, const std::vector<std::string>& args) {
  switch (c) {
    case fn::kPos: {
      if (args[0].empty()) return "0";
      context_->Spend(args[1].size());
      const std::size_t at = FindText(args[1], args[0]);
      return std::to_string(at == std::string::npos ? 0 : at + 1);
    }
    case fn::kIff: {
      const std::int32_t condition = ToInteger(args[0]);
      if (errorFlag_) return {};
      return condition == 1 ? args[1] : args[2];
    }
    case fn::kNumBase: {
      const std::int32_t n = ToInteger(args[0]);
      const int base = std::clamp(ToInteger(args[1]), 2, 16);
      return errorFlag_ ? std::string() : SignedToBase(n, base);
    }
    case fn::kBaseNum: {
      const int base = std::clamp(ToInteger(args[1]), 2, 16);
      if (errorFlag_ || ExceedsInt32(args[0], base)) return {};
      const std::int32_t value = BaseToInt(args[0], base);
      return value < 1 ? std::string() : std::to_string(value);
    }
    default: return ApplyTextFunction(c, args);
  }
}

// copy(, copyto(, delete(, replace( and insert(: positions and counts are bytes, the
// first position 1.
std::string TCalcul::ApplyTextFunction(int c, const std::vector<std::string>& args) {
  std::string s = args[0];
  const std::int64_t length = Length(s);
  const auto optionalInteger = [&](std::size_t i, std::int64_t fallback) -> std::int64_t {
    return i < args.size() ? ToInteger(args[i]) : fallback;
  };
  switch (c) {
    case fn::kCopy: {
      const std::int64_t from = ToInteger(args[1]);
      const std::int64_t count = optionalInteger(2, length);
      if (errorFlag_ || length < from || count < 1) return {};
      const auto start = static_cast<std::size_t>(std::max<std::int64_t>(from, 1) - 1);
      return s.substr(start, static_cast<std::size_t>(count));
    }
    case fn::kCopyTo: {
      const std::int64_t from = ToInteger(args[1]);
      const std::int64_t to = optionalInteger(2, length);
      if (errorFlag_ || length < from || to < from) return {};
      const std::int64_t first = std::max<std::int64_t>(from, 1);
      const std::int64_t last = std::min(to, length);
      if (last < first) return {};
      return s.substr(static_cast<std::size_t>(first - 1),
                      static_cast<std::size_t>(last - first + 1));
    }
    case fn::kDelete: {
      const std::int64_t from = ToInteger(args[1]);
      const std::int64_t count = optionalInteger(2, length);
      if (errorFlag_) return {};
      if (length >= from && count > 0 && from >= 1) {
        s.erase(static_cast<std::size_t>(from - 1), static_cast<std::size_t>(count));
      }
      return s;
    }
    case fn::kReplace: {
      const bool all = optionalInteger(3, 1) == 1;
      const bool ignoreCase = optionalInteger(4, 1) == 1;
      if (errorFlag_) return {};
      context_->Spend(s.size() * (ignoreCase ? 8 : 1));
      auto replaced = ReplaceText(s, args[1], args[2], {all, ignoreCase, kMaxTextBytes});
      if (!replaced) context_->Exhaust();
      return std::move(*replaced);
    }
    case fn::kInsert: {
      if (s.empty()) return args[1];
      const std::int64_t at = std::clamp<std::int64_t>(ToInteger(args[2]), 1, length + 1);
      if (errorFlag_) return {};
      CheckText(s.size() + args[1].size());
      s.insert(static_cast<std::size_t>(at - 1), args[1]);
      return s;
    }
    default: break;
  }
  SetError("Internal error oper code ", std::to_string(c));
  return {};
}

}  // namespace paginor::calc
