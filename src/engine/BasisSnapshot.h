#pragma once
// Basis snapshots: the basic columns of a solved node in row order and the
// nonbasic columns standing at their upper bound, kept by name-table slot, so
// that a node can be resumed from its own optimal basis instead of re-solved.
#include <cstdint>
#include <vector>

#include "engine/EngineModel.h"

namespace vesk::engine {

struct BasisSnapshot {
  int inversionCount = 0;
  int pivotsSinceInversion = 0;
  int etaCount = 0;
  int basicCount = 0;            // the first basicCount slots are the basis, in row order
  std::vector<int32_t> slots;    // then the nonbasic columns at their upper bound
  double objective = 0;          // the LP value the basis gives

  bool Empty() const { return slots.empty(); }
  long long Bytes() const { return static_cast<long long>(sizeof(BasisSnapshot) + 4 * slots.capacity()); }
};

// The column record listed under a name-table slot.
ColumnRecord* ColumnAtSlot(EngineModel& model, int32_t slot);

void SaveBasisSnapshot(EngineModel& model, BasisSnapshot& snapshot);

// Puts the listed columns back into positions 1..m (within their bounds), every other
// column at its lower bound except the listed upper ones. When no inversion
// happened since the save and the eta file has not shrunk, the eta file is cut
// back to its saved length and the basic values recomputed (with a Reinvert
// when they come out infeasible or off the saved objective by more than 1e-4);
// otherwise the basis is reinverted. Returns false when a reinversion cleared
// the model.
bool RestoreBasisSnapshot(EngineModel& model, const BasisSnapshot& snapshot);

void FreeBasisSnapshot(BasisSnapshot& snapshot);

}  // namespace vesk::engine
