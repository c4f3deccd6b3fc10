// Name nodes: sets, variables and the assignments the tokenizer stored, and the set
// membership operator "in".

#include <string>
#include <utility>

#include "calc/number_text.h"
#include "calc/text_search.h"
#include "calc/uCalcul.h"

namespace paginor::calc {
namespace {

constexpr std::string_view kAssignmentPrefix = "@@";

bool CanStartName(std::string_view text) {
  if (text.empty()) return false;
  const char c = text.front();
  return c == '\'' || (c >= 'A' && c <= 'z') || text.starts_with(kAssignmentPrefix);
}

std::string_view UnquotedValue(std::string_view value) {
  if (value.size() >= 2 && value.back() == '"') value.remove_suffix(1);
  value.remove_prefix(1);
  return value;
}

// Drops a suffix when its first occurrence is at the very end.
void DropTrailing(std::string& text, std::string_view suffix) {
  const std::size_t at = text.find(suffix);
  if (at != std::string::npos && at + suffix.size() == text.size()) text.resize(at);
}

std::string ReplaceEach(std::string_view text, std::string_view old, std::string_view by) {
  auto replaced = ReplaceText(text, old, by, {true, false, text.size()});
  return replaced ? std::move(*replaced) : std::string(text);
}

}  // namespace

std::string TCalcul::EvaluateName(FormulaNode& node) {
  const std::string& name = node.text;
  if (name.starts_with('[')) return std::string(TrimBlanks(name));
  if (!CanStartName(name)) {
    SetError("Unknown variable:", name, ", invalid character in name");
    return {};
  }
  if (name.starts_with(kAssignmentPrefix)) return EvaluateAssignment(node);
  context_->Spend(variables_.Lines().size() * kLineWork);
  const auto line = variables_.Find(name);
  if (!line) {
    SetError("Unknown variable:", name);
    return {};
  }
  const std::string_view stored = variables_.Lines()[*line];
  const std::string_view value = TrimLeftBlanks(VariableStore::ValueOf(stored));
  if (value.starts_with('"')) {
    node.kind = ValueKind::kText;
    return std::string(UnquotedValue(value));
  }
  node.kind = value.empty() ? ValueKind::kText : ValueKind::kNumber;
  return std::string(value);
}

// Takes the first assignment of that name not yet taken, computes its expression in a
// nested calculator and sets the variable to the result; a failed expression gives
// an empty value and no error.
std::string TCalcul::EvaluateAssignment(FormulaNode& node) {
  const std::string_view name = std::string_view(node.text).substr(kAssignmentPrefix.size());
  PendingAssignment* assignment = nullptr;
  for (std::size_t i = firstPending_; i < pendingAssignments_.size() && !assignment; ++i) {
    PendingAssignment& candidate = pendingAssignments_[i];
    context_->Spend(kLineWork);
    if (!candidate.taken && SameVariableName(candidate.name, name)) assignment = &candidate;
  }
  if (assignment == nullptr) {
    SetError("Unknown variable:", node.text);
    return {};
  }
  assignment->taken = true;
  while (firstPending_ < pendingAssignments_.size() && pendingAssignments_[firstPending_].taken) {
    ++firstPending_;
  }
  const std::string assigned = assignment->name;
  Outcome inner = RunNested(TrimBlanks(assignment->expression));
  node.kind = inner.kind;
  variables_.Set(assigned, inner.value);
  return std::move(inner.value);
}

// v in [a,b,...]: the set's items are compared as texts after blanks, double quotes
// and the endings ".0" and ".00" are set aside, so "b" in ["a","b"] and 2 in [1, 2.0]
// are both 1.
std::string TCalcul::EvaluateIn(FormulaNode& node) {
  std::string value = EvaluateNode(node.left);
  std::string set(TrimBlanks(EvaluateNode(node.right)));
  if (errorFlag_) return {};
  if (set.size() < 2 || set.front() != '[' || set.back() != ']') {
    SetError("Invalid parameter for operation in [..]");
    return {};
  }
  context_->Spend(set.size() * 8);
  set.front() = ',';
  set.back() = ',';
  DropTrailing(value, ".0");
  DropTrailing(value, ".00");
  for (const auto& [old, by] : {std::pair<std::string_view, std::string_view>{" ,", ","},
                                {", ", ","},
                                {",\"", ","},
                                {"\",", ","},
                                {".0,", ","},
                                {".00,", ","}}) {
    set = ReplaceEach(set, old, by);
  }
  const std::string item = "," + value + ",";
  return FindText(set, item) != std::string::npos ? "1" : "0";
}

}  // namespace paginor::calc
