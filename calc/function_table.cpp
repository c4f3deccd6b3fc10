#include "calc/function_table.h"

#include <array>

namespace paginor::calc {
namespace {

constexpr ValueKind kNum = ValueKind::kNumber;
constexpr ValueKind kTxt = ValueKind::kText;
constexpr ValueKind kKeep = ValueKind::kUndecided;  // decided by the value itself

constexpr std::array<FunctionInfo, 61> kTable{{
    {"cos(", fn::kCos, 1, 1, kNum},
    {"sin(", fn::kSin, 1, 1, kNum},
    {"tg(", fn::kTg, 1, 1, kNum},
    {"ctg(", fn::kCtg, 1, 1, kNum},
    {"abs(", fn::kAbs, 1, 1, kNum},
    {"sign(", fn::kSign, 1, 1, kNum},
    {"sqrt(", fn::kSqrt, 1, 1, kNum},
    {"ln(", fn::kLn, 1, 1, kNum},
    {"exp(", fn::kExp, 1, 1, kNum},
    {"arcsin(", fn::kArcSin, 1, 1, kNum},
    {"arccos(", fn::kArcCos, 1, 1, kNum},
    {"arctg(", fn::kArcTg, 1, 1, kNum},
    {"arcctg(", fn::kArcCtg, 1, 1, kNum},
    {"sh(", fn::kSh, 1, 1, kNum},
    {"ch(", fn::kCh, 1, 1, kNum},
    {"th(", fn::kTh, 1, 1, kNum},
    {"cth(", fn::kCth, 1, 1, kNum},
    {"heaviside(", fn::kHeaviside, 1, 1, kNum},
    {"h(", fn::kHeaviside, 1, 1, kNum},
    {"existvar(", fn::kExistVar, 1, 1, kNum},
    {"freevar(", fn::kFreeVar, 1, 1, kNum},
    {"lastday(", fn::kLastDay, 1, 1, kNum},
    {"frac(", fn::kFrac, 1, 1, kNum},
    {"trunc(", fn::kTrunc, 1, 1, kNum},
    {"length(", fn::kLength, 1, 1, kNum},
    {"trimleft(", fn::kTrimLeft, 1, 1, kTxt},
    {"trimright(", fn::kTrimRight, 1, 1, kTxt},
    {"trim(", fn::kTrim, 1, 1, kTxt},
    {"eval(", fn::kEval, 1, 1, kKeep},
    {"char(", fn::kChar, 1, 1, kTxt},
    {"ascii(", fn::kAscii, 1, 1, kNum},
    {"upper(", fn::kUpper, 1, 1, kTxt},
    {"lower(", fn::kLower, 1, 1, kTxt},
    {"not(", fn::kNot, 1, 1, kNum},
    {"weekday(", fn::kWeekday, 1, 1, kNum},
    {"month(", fn::kMonth, 1, 1, kNum},
    {"year(", fn::kYear, 1, 1, kNum},
    {"day(", fn::kDay, 1, 1, kNum},
    {"hour(", fn::kHour, 1, 1, kNum},
    {"minute(", fn::kMinute, 1, 1, kNum},
    {"sec(", fn::kSec, 1, 1, kNum},
    {"strtostamp(", fn::kStrToStamp, 1, 1, kNum},
    {"stamptodatestr(", fn::kStampToDateStr, 1, 1, kTxt},
    {"stamptotimestr(", fn::kStampToTimeStr, 1, 1, kTxt},
    {"stamptostr(", fn::kStampToStr, 1, 1, kTxt},
    {"string(", fn::kString, 1, 1, kTxt},
    {"numeric(", fn::kNumeric, 1, 1, kNum},
    {"logic(", fn::kLogic, 1, 1, kNum},
    {"copy(", fn::kCopy, 2, 5, kTxt},
    {"copyto(", fn::kCopyTo, 2, 5, kTxt},
    {"pos(", fn::kPos, 2, 5, kNum},
    {"delete(", fn::kDelete, 2, 5, kKeep},
    {"replace(", fn::kReplace, 3, 5, kTxt},
    {"maxval(", fn::kMaxVal, 1, 0, kNum},
    {"minval(", fn::kMinVal, 1, 0, kNum},
    {"sumval(", fn::kSumVal, 1, 0, kNum},
    {"avgval(", fn::kAvgVal, 1, 0, kNum},
    {"iff(", fn::kIff, 3, 5, kTxt},
    {"insert(", fn::kInsert, 3, 5, kTxt},
    {"numbase(", fn::kNumBase, 2, 5, kTxt},
    {"basenum(", fn::kBaseNum, 2, 5, kNum},
}};

}  // namespace

std::span<const FunctionInfo> FunctionTable() { return kTable; }

const FunctionInfo* FindFunction(std::string_view name) {
  for (const FunctionInfo& info : kTable) {
    if (info.name == name) return &info;
  }
  return nullptr;
}

const FunctionInfo* FunctionByCode(int code) {
  for (const FunctionInfo& info : kTable) {
    if (info.code == code) return &info;
  }
  return nullptr;
}

bool IsFunctionCode(int code) { return FunctionByCode(code) != nullptr; }

bool IsMultiArgument(int code) { return code >= fn::kCopy && code <= fn::kBaseNum; }

bool IsAggregate(int code) { return code >= fn::kMaxVal && code <= fn::kAvgVal; }

}  // namespace paginor::calc
