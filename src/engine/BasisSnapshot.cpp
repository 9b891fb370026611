#include "engine/BasisSnapshot.h"

#include <cmath>

#include "engine/BasisSolves.h"
#include "engine/EngineChecks.h"
#include "engine/Reinvert.h"
#include "engine/Tolerances.h"

namespace vesk::engine {

ColumnRecord* ColumnAtSlot(EngineModel& M, int32_t slot) {
  const uint32_t serial = M.columnTable.Get(slot);
  if (serial == 0 || serial > M.columnStore.size()) return nullptr;
  return M.columnStore[serial - 1].get();
}

void SaveBasisSnapshot(EngineModel& M, BasisSnapshot& s) {
  s.inversionCount = M.inversionCount;
  s.pivotsSinceInversion = M.pivotsSinceInversion;
  s.etaCount = M.etaFile.count;
  s.basicCount = M.m;
  s.objective = M.objectiveValue;
  s.slots.clear();
  for (int i = 1; i <= M.m; ++i) s.slots.push_back(M.Col(i).hashSlot);
  for (int j = M.m + 1; j <= M.n; ++j)
    if (M.Col(j).status == ColumnStatus::kAtUpper) s.slots.push_back(M.Col(j).hashSlot);
  s.slots.shrink_to_fit();
}

bool RestoreBasisSnapshot(EngineModel& M, const BasisSnapshot& s) {
  const int m = M.m, n = M.n;
  if (s.basicCount != m) return Reinvert(M);
  // New order: the listed basis, then every other column in its present order.
  std::vector<ColumnRecord*> order;
  order.reserve(static_cast<size_t>(n));
  std::vector<char> listed(M.columnStore.size() + 1, 0);  // by serial
  for (int i = 0; i < m; ++i) {
    const int32_t slot = s.slots[static_cast<size_t>(i)];
    ColumnRecord* c = ColumnAtSlot(M, slot);
    listed[M.columnTable.Get(slot)] = 1;
    order.push_back(c);
  }
  for (int j = 1; j <= n; ++j) {
    ColumnRecord* c = M.column[static_cast<size_t>(j + 1)];
    if (!listed[M.columnTable.Get(c->hashSlot)]) order.push_back(c);
  }
  for (int j = 1; j <= n; ++j) {
    ColumnRecord* c = order[static_cast<size_t>(j - 1)];
    M.column[static_cast<size_t>(j + 1)] = c;
    c->number = j;
    c->status = j <= m ? ColumnStatus::kWithin : ColumnStatus::kAtLower;
  }
  for (size_t k = static_cast<size_t>(m); k < s.slots.size(); ++k) {
    ColumnRecord* c = ColumnAtSlot(M, s.slots[k]);
    if (c && c->number > m) c->status = ColumnStatus::kAtUpper;
  }
  for (int j = 1; j <= m; ++j)
    if (M.Col(j).kind == kFreeStructural) {
      M.Col(j).lower = -kEngineInfinity;
      M.Col(j).upper = kEngineInfinity;
    }
  if (M.inversionCount == s.inversionCount && M.etaFile.count >= s.etaCount) {
    M.etaFile.CutBack(s.etaCount);  // also restores the nonzero count
    M.pivotsSinceInversion = s.pivotsSinceInversion;
    ComputeBasicSolution(M);
    if (M.infeasCount == 0 && std::fabs(M.objectiveValue - s.objective) <= kSnapshotObjective) {
      ComputePrices(M);
      CheckEtaFile(M);
      CheckBasis(M);
      return true;
    }
  }
  return Reinvert(M);
}

void FreeBasisSnapshot(BasisSnapshot& s) {
  s.slots.clear();
  s.slots.shrink_to_fit();
  s.basicCount = 0;
}

}  // namespace vesk::engine
