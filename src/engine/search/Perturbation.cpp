#include "engine/search/Perturbation.h"

#include <cmath>

#include "engine/BasisSolves.h"
#include "engine/Random.h"
#include "engine/Tolerances.h"
#include "engine/search/SolverConsole.h"

namespace vesk::engine {

namespace {

// The dense right-hand side of a perturbed model must fit in 524,287 bytes of
// 12 bytes per row.
bool DenseRhsFits(const EngineModel& M) { return 12LL * M.m <= 524287; }

// Moves every row by sign * epsilon (G rows the other way): the right-hand
// side and the basic values. Adding makes the right-hand-side column dense;
// removing drops the entries that fall below the dropped-entry tolerance.
void ShiftRows(EngineModel& M, double sign) {
  const int m = M.m;
  ColumnRecord& rhs = M.Col(0);
  std::vector<double> b(static_cast<size_t>(m) + 1, 0.0);
  for (const auto& e : rhs.entries) b[e.row] += e.value;
  rhs.entries.clear();
  for (int i = 1; i <= m; ++i) {
    const double shift = sign * (M.Row(i).type == kRowG ? -kPerturbation : kPerturbation);
    b[i] += shift;
    if (i < static_cast<int>(M.basicValues.size())) M.basicValues[i] += shift;
    if (sign > 0 || std::fabs(b[i]) >= kDroppedEntry) rhs.entries.push_back({i, b[i]});
  }
  rhs.maxRow = m;
}

// The zero ranges of the E-row artificials, widened at random or closed again.
void SetArtificialRanges(EngineModel& M, bool widen) {
  for (int j = 1; j <= M.n; ++j) {
    ColumnRecord& c = M.Col(j);
    if (c.kind != kArtificial) continue;
    if (widen) {
      c.upper = 3 * kPerturbation * Random();
      c.lower = -3 * kPerturbation * Random();
    } else {
      c.lower = c.upper = 0;
    }
  }
}

}  // namespace

void SetPerturbation(EngineModel& M, int mode) {
  const bool remove = mode == 0;
  if (remove && M.perturbMode == 0) return;
  const bool shift = remove || M.perturbMode == 0;
  if (!remove && shift && !DenseRhsFits(M)) {
    ConsoleLine(M, "Field size too small");
    return;
  }
  if (shift) ShiftRows(M, remove ? -1.0 : 1.0);
  if (mode == 1 && shift) ConsoleLine(M, "EPS 1");
  if (mode == 2) ConsoleLine(M, "EPS 2");
  if (mode == 2 || remove) SetArtificialRanges(M, !remove);
  M.perturbMode = mode;
  if (M.inversionCount > 0) {
    ComputeBasicSolution(M);
    M.objectiveValue = -M.basicValues[static_cast<size_t>(M.m)];
    ComputePrices(M);
  }
  if (remove) ConsoleLine(M, "REMOVE EPS");
}

}  // namespace vesk::engine
