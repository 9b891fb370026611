#include "core/sorting/RobustSummary.h"

#include "core/sorting/RobustAssignments.h"

namespace vesk::core {

RobustSummary SummarizeRobust(const Problem& p, const SortingState& s, bool ran) {
  RobustSummary out;
  out.ran = ran;
  for (int r : s.ViolatedRows) out.violatedRows.push_back(r + 1);
  if (!ran) return out;
  out.consistent = s.Consistent;
  out.alpha = s.InconsistencyMeasure;
  out.inferredParams = s.InferredParams;
  out.inferredCategory = s.InferredCategory;
  if (!s.Consistent) return out;
  out.worst = s.WorstCategory;
  out.best = s.BestCategory;
  out.holes = HoleCategories(s, p.NumCategories);
  out.variabilityOrder = s.VariabilityOrder;
  if (p.NumActions > 0) out.index = static_cast<double>(RobustnessIndex(s.WorstCategory, s.BestCategory));
  return out;
}

}  // namespace vesk::core
