#pragma once
// The built-in functions: name with its "(", operation code, argument counts and the
// kind of their result.

#include <span>
#include <string_view>

#include "calc/formula_node.h"

namespace paginor::calc {

namespace fn {
inline constexpr int kCos = 11, kSin = 12, kTg = 13, kCtg = 14, kAbs = 15, kSign = 16;
inline constexpr int kSqrt = 17, kLn = 18, kExp = 19, kArcSin = 20, kArcCos = 21;
inline constexpr int kArcTg = 22, kArcCtg = 23, kSh = 24, kCh = 25, kTh = 26, kCth = 27;
inline constexpr int kHeaviside = 28, kExistVar = 29, kFreeVar = 30, kLastDay = 32;
inline constexpr int kFrac = 33, kTrunc = 34, kLength = 35, kTrimLeft = 38;
inline constexpr int kTrimRight = 39, kTrim = 41, kEval = 42, kChar = 43, kAscii = 44;
inline constexpr int kUpper = 45, kLower = 46, kNot = 47, kWeekday = 48, kMonth = 49;
inline constexpr int kYear = 50, kDay = 51, kHour = 52, kMinute = 53, kSec = 54;
inline constexpr int kStrToStamp = 55, kStampToDateStr = 56, kStampToTimeStr = 57;
inline constexpr int kStampToStr = 58, kCopy = 60, kCopyTo = 61, kPos = 62, kDelete = 63;
inline constexpr int kReplace = 64, kMaxVal = 65, kMinVal = 66, kSumVal = 67;
inline constexpr int kAvgVal = 68, kIff = 69, kInsert = 70, kNumBase = 71, kBaseNum = 72;
inline constexpr int kString = 196, kNumeric = 197, kLogic = 198;
}  // namespace fn

struct FunctionInfo {
  std::string_view name;  // in small letters, with its "("
  int code = 0;
  int minArgs = 1;
  int maxArgs = 1;  // 0: any number
  ValueKind kind = ValueKind::kUndecided;
};

std::span<const FunctionInfo> FunctionTable();
// By name in small letters with its "("; null when there is none.
const FunctionInfo* FindFunction(std::string_view name);
const FunctionInfo* FunctionByCode(int code);

bool IsFunctionCode(int code);
// Codes 60 to 72 take their arguments through ParamStack.
bool IsMultiArgument(int code);
bool IsAggregate(int code);

}  // namespace paginor::calc
