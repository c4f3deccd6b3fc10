// The calculator object: creation, variables, the calling sequence of Calculate, error
// recording and the calculators nested inside a run.

#include <new>
#include <utility>

#include "calc/bracketing.h"
#include "calc/number_text.h"
#include "calc/uCalcul.h"

namespace paginor::calc {
namespace {

// Trailing blanks and ";" mean nothing; nor do line breaks and other control characters.
bool IsFormulaTail(char c) { return static_cast<unsigned char>(c) <= ' ' || c == ';'; }

// A single double quote counts as both ends.
bool EnclosedInQuotes(std::string_view text) {
  const std::string_view trimmed = TrimBlanks(text);
  return !trimmed.empty() && trimmed.front() == '"' && trimmed.back() == '"';
}

std::string Quoted(std::string_view text) {
  std::string quoted;
  quoted.reserve(text.size() + 2);
  quoted.append("\"").append(text).append("\"");
  return quoted;
}

}  // namespace

TCalcul::TCalcul(const Clock* clock)
    : ownContext_(clock != nullptr ? *clock : SystemClock()), context_(&ownContext_) {
  context_->EnterCalculator();
}

TCalcul::TCalcul(RunContext& shared) : ownContext_(shared.clock()), context_(&shared) {
  context_->EnterCalculator();
}

TCalcul::~TCalcul() { context_->LeaveCalculator(); }

void TCalcul::SetVariablesText(std::string_view text) { variables_.SetText(text); }

void TCalcul::SetError(std::string_view message, std::string_view detail, std::string_view tail) {
  if (errorFlag_) return;
  if (message.empty()) {
    errorText_ = "invalid formule";
  } else {
    errorText_.assign(message).append(detail).append(tail);
  }
  errorFlag_ = true;
}

bool TCalcul::Calculate(std::string& result) noexcept {
  std::string value;
  try {
    if (IsOutermost()) ownContext_.Reset();
    CalculateSteps(value);
  } catch (...) {
    // CalcFault, and also an allocation failure: nothing may leave the evaluator.
    try {
      SetError({});
    } catch (...) {
      errorFlag_ = true;
    }
  }
  if (errorFlag_) return false;
  result = std::move(value);
  return true;
}

void TCalcul::CalculateSteps(std::string& result) {
  paramStack_.clear();
  resultKind_ = formula_.find('"') != std::string::npos ? ValueKind::kText : ValueKind::kNumber;
  while (!formula_.empty() && IsFormulaTail(formula_.back())) formula_.pop_back();
  const std::string text = BracketArguments(formula_);
  ParseText(text, true);
  std::string value = EvaluateNode(root_);
  if (errorFlag_) return;
  resultKind_ = root_->kind;
  if (resultKind_ == ValueKind::kText && !EnclosedInQuotes(value)) value = Quoted(value);
  result = std::move(value);
}

int TCalcul::Parse(std::string_view text, bool setClockVariables) noexcept {
  try {
    if (IsOutermost()) ownContext_.Reset();
    return ParseText(text, setClockVariables);
  } catch (...) {
    try {
      ReleaseNodes();
      SetError({});
    } catch (...) {
      errorFlag_ = true;
    }
    return -1;
  }
}

TCalcul::Outcome TCalcul::RunNested(std::string_view formula) {
  context_->Spend(formula.size() + kCalculatorWork);
  TCalcul inner(*context_);
  for (const std::string& line : variables_.Lines()) context_->Spend(kLineWork + line.size());
  inner.variables_ = variables_;
  inner.formula_ = formula;
  Outcome outcome;
  inner.Calculate(outcome.value);
  outcome.kind = inner.resultKind_;
  // A limit reached inside ends the whole run, not only the inner calculation.
  if (context_->exhausted()) {
    SetError({});
    outcome.value.clear();
  }
  return outcome;
}

void TCalcul::SetClockVariables() {
  const ClockTexts& clock = context_->ClockVariables();
  variables_.Set("date", clock.date);
  variables_.Set("now", clock.now);
  variables_.Set("time", clock.time);
}

}  // namespace paginor::calc
