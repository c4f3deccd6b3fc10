// A fresh evaluation of typical URL-template formulas, as the template stage runs them.

#include <benchmark/benchmark.h>

#include <string>

#include "calc/evaluate_formula.h"

namespace {

void EvaluateTemplateFormula(benchmark::State& state, const char* formula) {
  for (auto _ : state) {
    std::string result = paginor::calc::EvaluateFormula(formula);
    benchmark::DoNotOptimize(result);
  }
}

BENCHMARK_CAPTURE(EvaluateTemplateFormula, arithmetic, "7*20-20");
BENCHMARK_CAPTURE(EvaluateTemplateFormula, iff, "iff(7>1,(7-1)*20,0)");
BENCHMARK_CAPTURE(EvaluateTemplateFormula, copy, "copy(\"abcdef\",2,3)");

}  // namespace
