// Parse: the three grammar levels (expression, term, factor) that build the tree of
// FormulaNode records, and NodeRegistry, which owns every node of the tree.

#include <memory>
#include <vector>

#include "calc/function_table.h"
#include "calc/uCalcul.h"

namespace paginor::calc {
namespace {

bool IsLeaf(int c) { return c == code::kNumber || c == code::kQuoted || c == code::kName; }

// "*", "/" and every code from 200 up bind at the level of a term.
bool IsTermOperator(int c) {
  return c == code::kTimes || c == code::kDivide || (c >= 200 && c <= 255);
}

bool IsSignContext(int c) {
  return c == code::kEnd || c == code::kOpen || c == code::kPlus || c == code::kMinus;
}

// Marks the commas that separate the arguments of a call, down the comma chain.
void MarkArgumentSeparators(FormulaNode* arguments) {
  std::vector<FormulaNode*> pending{arguments};
  while (!pending.empty()) {
    FormulaNode* node = pending.back();
    pending.pop_back();
    if (node == nullptr || node->code != code::kComma) continue;
    node->separatesArguments = true;
    pending.push_back(node->left);
    pending.push_back(node->right);
  }
}

}  // namespace

int TCalcul::ParseText(std::string_view text, bool setClockVariables) {
  ReleaseNodes();
  pendingAssignments_.clear();
  firstPending_ = 0;
  errorFlag_ = false;
  errorText_.clear();
  if (setClockVariables) SetClockVariables();
  source_ = text;
  context_->Spend(source_.size());
  token_ = Token{};
  previousCode_ = code::kEnd;
  currentCode_ = code::kEnd;
  scanPos_ = 0;
  parenDepth_ = 0;
  parseNesting_ = 0;
  FormulaNode* root = ParseExpression();
  if (parenDepth_ != 0 || errorFlag_ || root == nullptr) {
    ReleaseNodes();
    return -1;
  }
  root_ = root;
  root_->kind = resultKind_;
  return nodeCount_;
}

FormulaNode* TCalcul::ParseExpression() {
  FormulaNode* node = ParseTerm();
  for (;;) {
    const int c = token_.code;
    if (c == code::kPlus || c == code::kMinus) {
      FormulaNode* right = ParseTerm();
      node = NewNode(c, {}, node, right);
    } else if (c == code::kEnd) {
      return node;
    } else if (c == code::kClose) {
      --parenDepth_;
      return node;
    } else {
      // Also an operand right after an operand, such as 1 "a" or 1 x: no operator
      // joins them, so the formula is not understood.
      SetError("Invalid expression");
      return nullptr;
    }
  }
}

FormulaNode* TCalcul::ParseTerm() {
  NextToken();
  bool negate = false;
  if (IsSignContext(previousCode_)) {
    if (token_.code == code::kMinus) {
      negate = true;
      NextToken();
    } else if (token_.code == code::kPlus) {
      NextToken();
    }
  }
  FormulaNode* node = ParseFactor();
  while (IsTermOperator(token_.code)) {
    const int c = token_.code;
    NextToken();
    FormulaNode* right = ParseFactor();
    node = NewNode(c, {}, node, right);
  }
  return negate ? NewNode(code::kNegate, {}, node, nullptr) : node;
}

FormulaNode* TCalcul::ParseFactor() {
  FormulaNode* node = nullptr;
  const int c = token_.code;
  if (c == code::kOpen) {
    if (parseNesting_ >= kMaxParseNesting) {
      SetError({});
      return nullptr;
    }
    ++parseNesting_;
    ++parenDepth_;
    node = ParseExpression();
    --parseNesting_;
  } else if (IsLeaf(c)) {
    node = NewNode(c, std::move(token_.text), nullptr, nullptr);
  } else if (IsFunctionCode(c) || c == code::kPower) {
    node = ParseGroup(c, std::move(token_.text));
    if (node == nullptr) return nullptr;
  } else {
    SetError("? operand ");
    return nullptr;
  }
  NextToken();
  return ParsePowers(node);
}

// A function call; "^" in the place of an operand comes here too and fails.
FormulaNode* TCalcul::ParseGroup(int c, std::string text) {
  NextToken();
  if (token_.code != code::kOpen) {
    SetError({});
    return nullptr;
  }
  if (parseNesting_ >= kMaxParseNesting) {
    SetError({});
    return nullptr;
  }
  ++parseNesting_;
  ++parenDepth_;
  FormulaNode* arguments = ParseExpression();
  --parseNesting_;
  if (IsMultiArgument(c)) MarkArgumentSeparators(arguments);
  return NewNode(c, std::move(text), arguments, nullptr);
}

// The exponent of "^" is one number, quoted text or name, optionally in parentheses;
// so 2^3^2 is (2^3)^2.
FormulaNode* TCalcul::ParsePowers(FormulaNode* base) {
  FormulaNode* node = base;
  while (token_.code == code::kPower) {
    NextToken();
    const bool parenthesised = token_.code == code::kOpen;
    if (parenthesised) NextToken();
    if (!IsLeaf(token_.code)) {
      SetError("Invalid values");
      return node;
    }
    FormulaNode* exponent = NewNode(token_.code, std::move(token_.text), nullptr, nullptr);
    node = NewNode(code::kPower, {}, node, exponent);
    NextToken();
    if (parenthesised) {
      if (token_.code != code::kClose) {
        SetError({});
        return node;
      }
      NextToken();
    }
  }
  return node;
}

FormulaNode* TCalcul::NewNode(int c, std::string text, FormulaNode* left, FormulaNode* right) {
  context_->Spend(kNodeWork + text.size());
  // The registry grows by a block of 50 entries whenever a node does not fit.
  if (nodeCount_ == registryCapacity_) {
    nodeRegistry_.push_back(std::make_unique<FormulaNode[]>(kRegistryStep));
    registryCapacity_ += kRegistryStep;
  }
  FormulaNode& node = nodeRegistry_.back()[static_cast<std::size_t>(nodeCount_ % kRegistryStep)];
  node.number = ++nodeCount_;
  node.code = c;
  node.text = std::move(text);
  node.left = left;
  node.right = right;
  return &node;
}

void TCalcul::ReleaseNodes() {
  root_ = nullptr;
  nodeRegistry_.clear();
  nodeCount_ = 0;
  registryCapacity_ = 0;
}

}  // namespace paginor::calc
