#pragma once
// TCalcul evaluates one formula of the URL-template language and delivers its result
// as text. Every error is recorded on the object (the first one of a run wins); no
// failure ever leaves it.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "calc/clock.h"
#include "calc/extended.h"
#include "calc/formula_node.h"
#include "calc/run_context.h"
#include "calc/variable_store.h"

namespace paginor::calc {

class TCalcul {
 public:
  // Without a clock the system clock feeds the variables date, now and time.
  explicit TCalcul(const Clock* clock = nullptr);
  ~TCalcul();
  TCalcul(const TCalcul&) = delete;
  TCalcul& operator=(const TCalcul&) = delete;

  // Replaces the variables by the lines of the text ("name=value" each).
  void SetVariablesText(std::string_view text);
  const std::vector<std::string>& Variables() const { return variables_.Lines(); }

  const std::string& Formula() const { return formula_; }
  void SetFormula(std::string_view formula) { formula_ = formula; }

  // Evaluates Formula. On success writes the result (a text result in double quotes)
  // and returns true; otherwise leaves `result` untouched and returns false.
  bool Calculate(std::string& result) noexcept;
  // Builds the tree of a formula: the node count, or -1 when the parse failed.
  int Parse(std::string_view text, bool setClockVariables) noexcept;

  bool ErrorFlag() const { return errorFlag_; }
  const std::string& ErrorText() const { return errorText_; }
  ValueKind ResultKind() const { return resultKind_; }

  // The nodes of the current tree and the entries NodeRegistry holds for them.
  int NodeCount() const { return nodeCount_; }
  int RegistryCapacity() const { return registryCapacity_; }

 private:
  struct Token {
    int code = code::kEnd;
    std::string text;
  };
  // An evaluated function argument: its text and, when it was computed, its number.
  struct Argument {
    std::string_view text;
    const FormulaNode* node = nullptr;
  };
  struct Outcome {
    std::string value;
    ValueKind kind = ValueKind::kUndecided;
  };
  // name:=expression, as the tokenizer found it; computed when its name node is.
  struct PendingAssignment {
    std::string name;
    std::string expression;
    bool taken = false;
  };

  // A calculator inside another one: it shares the clock, depth and work budget.
  explicit TCalcul(RunContext& shared);

  // calcul.cpp
  bool IsOutermost() const { return context_ == &ownContext_; }
  // Records message + detail + tail unless an error stands; an empty message records
  // "invalid formule".
  void SetError(std::string_view message, std::string_view detail = {}, std::string_view tail = {});
  void CalculateSteps(std::string& result);
  Outcome RunNested(std::string_view formula);
  void SetClockVariables();

  // tokenizer.cpp
  int NextToken();
  Token ReadToken();
  Token ReadNumber();
  Token ReadQuoted();
  Token ReadName();
  Token ReadAssignment(std::string_view name);
  Token ReadSet();
  Token ReadQuotedName();
  Token Operator(int code, std::size_t length);

  // parser.cpp
  int ParseText(std::string_view text, bool setClockVariables);
  FormulaNode* ParseExpression();
  FormulaNode* ParseTerm();
  FormulaNode* ParseFactor();
  FormulaNode* ParseGroup(int code, std::string text);
  FormulaNode* ParsePowers(FormulaNode* base);
  FormulaNode* NewNode(int code, std::string text, FormulaNode* left, FormulaNode* right);
  void ReleaseNodes();

  // evaluator.cpp
  std::string EvaluateNode(FormulaNode* node);
  std::string EvaluateOperation(FormulaNode& node);
  std::string EvaluateArithmetic(FormulaNode& node);
  std::string EvaluateDivide(FormulaNode& node);
  std::string EvaluatePower(FormulaNode& node);
  std::string EvaluateIntegerDivision(FormulaNode& node);
  std::string EvaluateLogic(FormulaNode& node);
  std::string EvaluateComparison(FormulaNode& node);
  std::string EvaluateConcat(FormulaNode& node);
  std::string EvaluateMatch(FormulaNode& node);
  std::string EvaluateComma(FormulaNode& node);
  Extended ToNumber(std::string_view text);
  std::int32_t ToInteger(std::string_view text);
  static std::int32_t IntegerFrom(Extended x);
  // Evaluates a node and reads its value as a number, exactly when it was computed.
  Extended NumberOf(FormulaNode* node);
  std::int32_t IntegerOf(FormulaNode* node);
  Extended NumberOf(const Argument& arg);
  std::int32_t IntegerOf(const Argument& arg);
  std::string NumberText(Extended x);
  void CheckText(std::size_t bytes);

  // names.cpp
  std::string EvaluateName(FormulaNode& node);
  std::string EvaluateAssignment(FormulaNode& node);
  std::string EvaluateIn(FormulaNode& node);

  // functions.cpp
  std::string EvaluateFunction(FormulaNode& node);
  std::string EvaluateNumericFunction(int code, const Argument& arg);
  std::string EvaluateTextFunction(int code, const Argument& arg);
  std::string EvaluateDateFunction(int code, const Argument& arg);
  std::string EvaluateVariableFunction(int code, std::string_view arg);
  std::string EvaluateEval(FormulaNode& node, std::string_view arg);

  // multi_functions.cpp
  std::string EvaluateMultiFunction(FormulaNode& node);
  void InsertBelowTop(std::string text);
  std::string EvaluateAggregate(int code);
  std::string ApplyMultiFunction(int code, const std::vector<std::string>& args);
  std::string ApplyTextFunction(int code, const std::vector<std::string>& args);

  // The fields of the evaluator, in their documented order.
  bool errorFlag_ = false;
  int parenDepth_ = 0;
  int previousCode_ = code::kEnd;
  int currentCode_ = code::kEnd;
  std::size_t scanPos_ = 0;  // from 0 into source_
  std::string formula_ = "0";
  FormulaNode* root_ = nullptr;
  // Entry n (from 1) is slot (n-1) % kRegistryStep of block (n-1) / kRegistryStep.
  static constexpr int kRegistryStep = 50;
  std::vector<std::unique_ptr<FormulaNode[]>> nodeRegistry_;
  int nodeCount_ = 0;
  int registryCapacity_ = 0;
  VariableStore variables_;
  std::vector<std::string> paramStack_;  // top = back
  // The assignments of the current parse. They are kept apart from the variables, so
  // that a nested calculator never takes its parent's (x:=x:=1 would evaluate its own
  // assignment without end) and no failed parse leaves one behind; and so that looking
  // up a variable does not wade through hundreds of them.
  std::vector<PendingAssignment> pendingAssignments_;
  std::size_t firstPending_ = 0;  // every assignment before it is taken
  ValueKind resultKind_ = ValueKind::kNumber;
  std::string errorText_;

  // The text being tokenized, the token last delivered and the nesting of the parse.
  std::string source_;
  Token token_;
  int parseNesting_ = 0;
  // The number NumberText wrote last, while it is the value of the node in hand.
  bool numberFresh_ = false;
  Extended freshNumber_ = 0;
  // Set by NumberOf for the node it evaluates next: the node's number is all that is
  // read, so NumberText need not write it as text.
  bool numberWanted_ = false;
  bool numberOnly_ = false;

  RunContext ownContext_;
  RunContext* context_;
};

}  // namespace paginor::calc
