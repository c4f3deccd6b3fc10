#include "calc/run_context.h"

#include "calc/conversions.h"

namespace paginor::calc {

void RunContext::Reset() {
  clockTexts_.reset();
  evalDepth_ = 0;
  work_ = 0;
  exhausted_ = false;
}

void RunContext::Spend(std::size_t units) {
  if (!TrySpend(units)) Exhaust();
}

bool RunContext::TrySpend(std::size_t units) {
  work_ += units;
  if (work_ > kWorkBudget) exhausted_ = true;
  return !exhausted_;
}

void RunContext::Exhaust() {
  exhausted_ = true;
  throw CalcFault{};
}

void RunContext::EnterCalculator() {
  if (calculators_ >= kMaxNestedCalculators) Exhaust();
  ++calculators_;
}

bool RunContext::TryEnterNode() {
  if (evalDepth_ >= kMaxEvalDepth) exhausted_ = true;
  if (exhausted_) return false;
  ++evalDepth_;
  return true;
}

const ClockTexts& RunContext::ClockVariables() {
  if (clockTexts_) return *clockTexts_;
  const Extended now = clock_->Now();
  const auto date = DateToText(now);
  const auto stamp = StampToText(now);
  const auto time = TimeToText(now);
  if (!date || !stamp || !time) throw CalcFault{};
  const auto quoted = [](const std::string& text) { return "\"" + text + "\""; };
  clockTexts_ = ClockTexts{quoted(*date), quoted(*stamp), quoted(*time)};
  return *clockTexts_;
}

}  // namespace paginor::calc
