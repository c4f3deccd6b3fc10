#pragma once
// What one evaluation shares with every calculator nested inside it (assignments,
// "eval("): the clock, the nesting depth and a work budget. Hostile formulas nest
// evaluation without end or grow texts and trees without bound; these limits turn
// every such run into the recorded error "invalid formule" instead of a crash or hang.

#include <cstddef>
#include <optional>
#include <string>

#include "calc/clock.h"

namespace paginor::calc {

// Raised inside an evaluation for a fault without a message of its own (arithmetic,
// conversion, list index, invalid mask, exhausted limit); Calculate records it as
// "invalid formule".
struct CalcFault {};

// Calculators running inside one another at once.
inline constexpr int kMaxNestedCalculators = 50;
// Parenthesis and call nesting inside one formula.
inline constexpr int kMaxParseNesting = 200;
// Nodes under evaluation at once, summed over all nested calculators; this is what
// bounds the stack, as a chain like 1+1+...+1 nests without any parenthesis.
inline constexpr int kMaxEvalDepth = 1000;
// Longest text any operation may produce: far beyond any address a browser takes.
inline constexpr std::size_t kMaxTextBytes = std::size_t{64} << 10;
// Work of one run in units of roughly one byte copied or compared. A parsed or
// evaluated node costs kNodeWork, a nested calculator kCalculatorWork; the longest
// plain formula (4096 bytes, 4095 nodes, each parsed and evaluated once) takes half.
inline constexpr std::size_t kWorkBudget = std::size_t{16} << 20;
inline constexpr std::size_t kNodeWork = 1024;
inline constexpr std::size_t kCalculatorWork = 8 * kNodeWork;
// Looking at one line of the variables.
inline constexpr std::size_t kLineWork = 4;
// One step of matching a wildcard pattern.
inline constexpr std::size_t kMatchStepWork = 16;

// The values of the variables date, now and time, each in double quotes.
struct ClockTexts {
  std::string date;
  std::string now;
  std::string time;
};

class RunContext {
 public:
  explicit RunContext(const Clock& clock) : clock_(&clock) {}

  const Clock& clock() const { return *clock_; }
  // Read from the clock once per run, so that every nested calculator sees the same
  // moment; a clock outside the calendar is a fault.
  const ClockTexts& ClockVariables();
  bool exhausted() const { return exhausted_; }
  std::size_t Remaining() const { return work_ < kWorkBudget ? kWorkBudget - work_ : 0; }

  // A fresh run of the outermost calculator.
  void Reset();
  // Charges work; past the budget the run is over and this raises a fault.
  void Spend(std::size_t units);
  // The same without raising: false when the run is over.
  bool TrySpend(std::size_t units);
  // Marks the run as over for every calculator in it and raises a fault.
  [[noreturn]] void Exhaust();

  void EnterCalculator();
  void LeaveCalculator() { --calculators_; }
  // False, and the run is over, when the nesting is already at its limit.
  bool TryEnterNode();
  void LeaveNode() { --evalDepth_; }

 private:
  const Clock* clock_;
  std::optional<ClockTexts> clockTexts_;
  int calculators_ = 0;
  int evalDepth_ = 0;
  std::size_t work_ = 0;
  bool exhausted_ = false;
};

// Holds one level of node evaluation for the lifetime of a scope, when there was one
// left to take. Deep trees end this way rather than by a fault, so that the error
// does not unwind a thousand frames.
class EvalDepthGuard {
 public:
  explicit EvalDepthGuard(RunContext& context)
      : context_(context), entered_(context.TryEnterNode()) {}
  ~EvalDepthGuard() {
    if (entered_) context_.LeaveNode();
  }
  EvalDepthGuard(const EvalDepthGuard&) = delete;
  EvalDepthGuard& operator=(const EvalDepthGuard&) = delete;
  explicit operator bool() const { return entered_; }

 private:
  RunContext& context_;
  bool entered_;
};

}  // namespace paginor::calc
