#include "engine/search/Pricing.h"

#include <algorithm>

#include "engine/BasisSolves.h"
#include "engine/Tolerances.h"

namespace vesk::engine {

double PriceColumn(EngineModel& M, int j) {
  ComputeDj(M, j);
  ColumnRecord& c = M.Col(j);
  if (c.kind == kFreeStructural && c.reducedCost > kReducedCostZero) {
    if (c.status != ColumnStatus::kAtUpper) {
      c.upper = c.lower;
      c.lower = -kEngineInfinity;
      c.status = ColumnStatus::kAtUpper;
    } else {
      c.lower = c.upper;
      c.upper = kEngineInfinity;
      c.status = ColumnStatus::kAtLower;
    }
    ComputeDj(M, j);
  }
  return c.reducedCost;
}

int ScanBlock(EngineModel& M, int s) {
  M.candidateCount = 0;
  M.bestEligibleDj = 0;
  int j = s;
  const int n = M.n;
  for (; j <= n && M.candidateCount < M.pricing; ++j) {
    ColumnRecord& c = M.Col(j);
    if (c.upper - c.lower <= kZeroRange) continue;
    const double dj = PriceColumn(M, j);
    if (c.eligible) M.bestEligibleDj = std::min(M.bestEligibleDj, dj);
    if (dj < M.djMin) {
      M.SwapColumns(j, s + M.candidateCount);
      ++M.candidateCount;
    }
  }
  M.acceptThreshold = 0;
  if (M.candidateCount > 0) {
    auto first = M.column.begin() + s + 1;
    std::stable_sort(first, first + M.candidateCount, [](const ColumnRecord* a, const ColumnRecord* b) {
      return a->reducedCost < b->reducedCost;
    });
    for (int t = 0; t < M.candidateCount; ++t) M.Col(s + t).number = s + t;
    const int k = std::min(M.candidateCount, 10);
    for (int i = 1; i <= k; ++i) {
      const ColumnRecord& c = M.Col(s + i - 1);
      if (c.eligible) M.djHistory[i] = c.reducedCost;
      M.acceptThreshold += M.djHistory[i] / k;
    }
  }
  return j;
}

}  // namespace vesk::engine
