#pragma once
// The outcome of a robust-assignment command as plain values, for the callers
// that hand it on as data (the command line's JSON, the scripting module), so
// that they report the same things in the same way.
#include <optional>
#include <vector>

#include "core/problem/Problem.h"
#include "core/sorting/SortingState.h"

namespace vesk::core {

struct RobustSummary {
  bool ran = false;  // the command ran to its end; nothing below is set otherwise
  bool consistent = true;
  double alpha = 0.0;                   // the inference program's optimal alpha
  std::vector<double> inferredParams;   // lambda, k_1..k_n
  std::vector<int> inferredCategory;    // per action
  // Set when the command ran and the information is consistent.
  std::optional<std::vector<int>> worst, best;
  std::optional<std::vector<std::vector<int>>> holes;  // per action, the hole categories
  std::optional<std::vector<int>> variabilityOrder;    // 0-based actions, widest range first
  std::optional<double> index;                         // and only with at least one action
  std::vector<int> violatedRows;                       // 1-based IPGrid data rows
};

// The summary of the command that left `state`; `ran` is what the command
// returned.
RobustSummary SummarizeRobust(const Problem& problem, const SortingState& state, bool ran);

}  // namespace vesk::core
