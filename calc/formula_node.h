#pragma once
// A node of a parsed formula and the token codes that name its operation.

#include <cstdint>
#include <string>

#include "calc/extended.h"

namespace paginor::calc {

// Kind of a value: decided while evaluating, and for the whole result the choice
// between a bare number and a text in double quotes.
enum class ValueKind : std::uint8_t { kUndecided = 0, kNumber = 1, kText = 2 };

// Token codes; the built-in functions use the codes of the function table.
namespace code {
inline constexpr int kEnd = 0;
inline constexpr int kOpen = 1;
inline constexpr int kClose = 2;
inline constexpr int kPlus = 3;
inline constexpr int kMinus = 4;
inline constexpr int kTimes = 5;
inline constexpr int kDivide = 6;
inline constexpr int kNumber = 7;
inline constexpr int kQuoted = 8;
inline constexpr int kName = 9;
inline constexpr int kNegate = 10;
inline constexpr int kPower = 31;
inline constexpr int kDiv = 200;
inline constexpr int kMod = 201;
inline constexpr int kConcat = 202;
inline constexpr int kIn = 203;
inline constexpr int kAnd = 210;
inline constexpr int kOr = 211;
inline constexpr int kEqual = 220;
inline constexpr int kLess = 221;
inline constexpr int kLessEqual = 222;
inline constexpr int kGreater = 223;
inline constexpr int kGreaterEqual = 224;
inline constexpr int kNotEqual = 225;
inline constexpr int kLike = 230;
inline constexpr int kWildcard = 231;
inline constexpr int kComma = 250;
inline constexpr int kSequence = 251;
}  // namespace code

// Owned by the calculator's NodeRegistry; children are other entries of it.
struct FormulaNode {
  int number = 0;  // entry in NodeRegistry, from 1
  int code = 0;
  std::string text;
  FormulaNode* left = nullptr;
  FormulaNode* right = nullptr;
  ValueKind kind = ValueKind::kUndecided;
  // The exact number behind a numeric result: the next operation reads it instead of
  // the text rounded to 12 decimals, so that 2/3*3 is 2.
  bool hasNumber = false;
  Extended exactNumber = 0;
  // A comma that separates the arguments of a multi-argument function; any other
  // comma has no meaning and fails.
  bool separatesArguments = false;
};

}  // namespace paginor::calc
