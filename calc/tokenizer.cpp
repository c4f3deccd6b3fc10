// NextToken: reads the formula one token at a time and remembers the codes of the
// last two tokens, which decide whether a "-" is a sign or a negative literal.

#include <array>

#include "calc/function_table.h"
#include "calc/uCalcul.h"

namespace paginor::calc {
namespace {

struct WordOperator {
  std::string_view word;
  int code;
};
constexpr std::array<WordOperator, 7> kWordOperators{{
    {"div", code::kDiv},
    {"mod", code::kMod},
    {"in", code::kIn},
    {"and", code::kAnd},
    {"or", code::kOr},
    {"like", code::kLike},
    {"wildcard", code::kWildcard},
}};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsNameChar(char c) { return IsLetter(c) || IsDigit(c) || c == '_' || c == '.'; }
// Control characters up to CR, blanks and braces separate tokens and mean nothing.
bool IsSkipped(char c) {
  return static_cast<unsigned char>(c) <= 13 || c == ' ' || c == '{' || c == '}';
}

std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

}  // namespace

int TCalcul::NextToken() {
  while (scanPos_ < source_.size() && IsSkipped(source_[scanPos_])) ++scanPos_;
  if (scanPos_ >= source_.size()) {
    token_ = Token{};
    return code::kEnd;
  }
  token_ = ReadToken();
  previousCode_ = currentCode_;
  currentCode_ = token_.code;
  return token_.code;
}

TCalcul::Token TCalcul::Operator(int code, std::size_t length) {
  Token token{code, source_.substr(scanPos_, length)};
  scanPos_ += length;
  return token;
}

TCalcul::Token TCalcul::ReadToken() {
  const char c = source_[scanPos_];
  const char next = scanPos_ + 1 < source_.size() ? source_[scanPos_ + 1] : '\0';
  switch (c) {
    case '(': return Operator(code::kOpen, 1);
    case ')': return Operator(code::kClose, 1);
    case '+': return Operator(code::kPlus, 1);
    case '-':
      // A sign at the start or after "(" belongs to the number literal it precedes.
      if (IsDigit(next) && (currentCode_ == code::kEnd || currentCode_ == code::kOpen)) {
        return ReadNumber();
      }
      return Operator(code::kMinus, 1);
    case '*': return Operator(code::kTimes, 1);
    case '/': return Operator(code::kDivide, 1);
    case '^': return Operator(code::kPower, 1);
    case '|': return Operator(code::kConcat, next == '|' ? 2 : 1);
    case ',': return Operator(code::kComma, 1);
    case ';': return Operator(code::kSequence, 1);
    case '=': return Operator(code::kEqual, 1);
    case '<':
      if (next == '=') return Operator(code::kLessEqual, 2);
      if (next == '>') return Operator(code::kNotEqual, 2);
      return Operator(code::kLess, 1);
    case '>':
      if (next == '=') return Operator(code::kGreaterEqual, 2);
      return Operator(code::kGreater, 1);
    case '"': return ReadQuoted();
    case '[': return ReadSet();
    case '\'': return ReadQuotedName();
    default: break;
  }
  if (IsDigit(c)) return ReadNumber();
  if (IsLetter(c) || c == '_') return ReadName();
  // Any other character ends the formula and the rest is ignored, inside parentheses
  // too: (1 # 2) is then unbalanced and fails, instead of going on after the "#".
  Token end = Operator(code::kEnd, 1);
  scanPos_ = source_.size();
  return end;
}

TCalcul::Token TCalcul::ReadNumber() {
  const std::size_t start = scanPos_;
  const auto skipDigits = [this] {
    while (scanPos_ < source_.size() && IsDigit(source_[scanPos_])) ++scanPos_;
  };
  const auto requireDigit = [this] {
    if (scanPos_ >= source_.size() || !IsDigit(source_[scanPos_])) {
      SetError("Wrong number in ", source_);
    }
  };
  if (source_[scanPos_] == '-') ++scanPos_;
  skipDigits();
  if (scanPos_ < source_.size() && source_[scanPos_] == '.') {
    ++scanPos_;
    requireDigit();
    skipDigits();
  }
  if (scanPos_ < source_.size() && (source_[scanPos_] == 'e' || source_[scanPos_] == 'E')) {
    ++scanPos_;
    if (scanPos_ < source_.size() && (source_[scanPos_] == '+' || source_[scanPos_] == '-')) {
      ++scanPos_;
    }
    requireDigit();
    skipDigits();
  }
  return Token{code::kNumber, source_.substr(start, scanPos_ - start)};
}

TCalcul::Token TCalcul::ReadQuoted() {
  Token token{code::kQuoted, {}};
  ++scanPos_;
  for (;;) {
    const std::size_t close = source_.find('"', scanPos_);
    if (close == std::string::npos) {
      token.text.append(source_, scanPos_);
      scanPos_ = source_.size();
      SetError("String value end error");
      return token;
    }
    token.text.append(source_, scanPos_, close - scanPos_);
    scanPos_ = close + 1;
    // Two double quotes in a row stand for one inside the text.
    if (scanPos_ >= source_.size() || source_[scanPos_] != '"') return token;
    token.text += '"';
    ++scanPos_;
  }
}

TCalcul::Token TCalcul::ReadName() {
  const std::size_t start = scanPos_;
  while (scanPos_ < source_.size() && IsNameChar(source_[scanPos_])) ++scanPos_;
  const std::string name = source_.substr(start, scanPos_ - start);
  if (scanPos_ < source_.size() && source_[scanPos_] == '(') {
    if (const FunctionInfo* info = FindFunction(LowerAscii(name) + "(")) {
      return Token{info->code, name + "("};
    }
    SetError("Invalid function ", name, "(...)");
    return Token{code::kName, name + "("};
  }
  if (source_.compare(scanPos_, 2, ":=") == 0) return ReadAssignment(name);
  const std::string lower = LowerAscii(name);
  for (const WordOperator& op : kWordOperators) {
    if (lower == op.word) return Token{op.code, name};
  }
  return Token{code::kName, name};
}

// The expression of an assignment runs to the next ";" outside double quotes. It is
// computed when the name node "@@name" is evaluated.
TCalcul::Token TCalcul::ReadAssignment(std::string_view name) {
  const std::size_t start = scanPos_ + 2;
  std::size_t end = start;
  bool quoted = false;
  for (; end < source_.size(); ++end) {
    if (source_[end] == '"') {
      quoted = !quoted;
    } else if (source_[end] == ';' && !quoted) {
      break;
    }
  }
  context_->Spend(end - start);
  pendingAssignments_.push_back({std::string(name), source_.substr(start, end - start), false});
  scanPos_ = end;
  return Token{code::kName, "@@" + std::string(name)};
}

// A set runs from "[" to the first "]" followed by a blank or ";" (which goes with it),
// or else to the end of the text when that is "]".
TCalcul::Token TCalcul::ReadSet() {
  const std::size_t start = scanPos_;
  for (std::size_t close = source_.find(']', start + 1);
       close != std::string::npos && close + 1 < source_.size();
       close = source_.find(']', close + 1)) {
    if (source_[close + 1] == ' ' || source_[close + 1] == ';') {
      scanPos_ = close + 2;
      return Token{code::kName, source_.substr(start, close + 1 - start)};
    }
  }
  Token token{code::kName, source_.substr(start)};
  scanPos_ = source_.size();
  if (source_.size() - start < 2 || source_.back() != ']') SetError("Invalid set parameter [..]");
  return token;
}

// Names in single quotes are not supported: a formula can only reach variables with
// plain names, so a quoted one would always be unknown. It fails with the message the
// tokenizer has always given for it.
TCalcul::Token TCalcul::ReadQuotedName() {
  const std::size_t start = scanPos_ + 1;
  const std::size_t close = source_.find('\'', start);
  const std::size_t end = close == std::string::npos ? source_.size() : close;
  const std::string name = source_.substr(start, end - start);
  scanPos_ = close == std::string::npos ? source_.size() : close + 1;
  SetError("Invalid varaible name ", name);
  return Token{code::kName, "'" + name + "'"};
}

}  // namespace paginor::calc
