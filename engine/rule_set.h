#pragma once
// The five definition sets: ordered rule lines, stored exactly as typed or read.

#include <array>
#include <string>
#include <vector>

#include "engine/command.h"

namespace paginor {

using RuleSet = std::vector<std::string>;

struct DefinitionSets {
  std::array<RuleSet, kSetCount> sets;

  RuleSet& operator[](SetIndex i) { return sets[static_cast<int>(i)]; }
  const RuleSet& operator[](SetIndex i) const { return sets[static_cast<int>(i)]; }
  bool operator==(const DefinitionSets&) const = default;
};

}  // namespace paginor
