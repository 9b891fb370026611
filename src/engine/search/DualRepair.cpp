#include "engine/search/DualRepair.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/BasisSolves.h"
#include "engine/EtaFile.h"
#include "engine/Tolerances.h"
#include "engine/search/RatioTest.h"
#include "engine/search/StepUpdate.h"

namespace vesk::engine {

namespace {

constexpr int kMaxPivots = 100;

// The leaving row: the basic column with the largest violation of a bound;
// 0 when none is listed.
int LeavingRow(const EngineModel& M) {
  int r = 0;
  double worst = 0;
  for (int i : M.infeasibleList) {
    const ColumnRecord& c = M.Col(i);
    const double x = M.basicValues[static_cast<size_t>(i)];
    const double v = c.status == ColumnStatus::kAbove ? x - c.upper : c.lower - x;
    if (v > worst) worst = v, r = i;
  }
  return r;
}

class Repair {
 public:
  explicit Repair(EngineModel& model) : M(model), y_(static_cast<size_t>(model.m) + 1) {}

  void Run() {
    for (int pivot = 0; pivot < kMaxPivots && M.infeasCount > 0; ++pivot)
      if (!Pivot()) return;
  }

 private:
  struct Candidate {
    int column;
    double size, ratio;
  };

  // One dual pivot; false when the repair stops.
  bool Pivot() {
    const int r = LeavingRow(M);
    if (r == 0) return false;
    const bool rise = M.Col(r).status == ColumnStatus::kBelow;
    const int q = EnteringColumn(r, rise);
    if (q <= 0) return false;
    ScatterColumn(M, q, M.pivotColumn);
    Ftran(M, M.pivotColumn, 1, M.etaFile.count);
    const double a = M.pivotColumn[static_cast<size_t>(r)];
    if (std::fabs(a) <= kRepairPivot) return false;
    const ColumnRecord& L = M.Col(r);
    Step step;
    step.kind = rise ? StepKind::kLeaveAtLower : StepKind::kLeaveAtUpper;
    step.leavingRow = r;
    step.leavingBound = rise ? L.lower : L.upper;
    step.leavingStatus = rise ? ColumnStatus::kAtLower : ColumnStatus::kAtUpper;
    step.pivotMagnitude = std::fabs(a);
    ++M.iterationCount;
    if (!ApplyStep(M, q, step) || !M.modelPresent || M.errorFlag) return false;
    // A dual step can make any basic column infeasible.
    CheckPrimalFeasibility(M);
    return true;
  }

  // The dual ratio test on row r: the qualifying column with the least
  // reduced cost per unit of its row entry (within the tolerance), the
  // largest entry among near ties. 0 when none qualifies, -1 when the repair
  // must stop (a free column, or a start that is not dual feasible).
  int EnteringColumn(int r, bool rise) {
    const int m = M.m, n = M.n;
    // Prices at the true costs of the basic columns (the simplex's own prices
    // weight infeasible ones), and row r of the inverse into the dual vector,
    // which the simplex that follows prices afresh.
    for (int i = 1; i <= m; ++i) y_[static_cast<size_t>(i)] = M.Col(i).cost;
    Btran(M, y_);
    BtranUnit(M, r);
    const double* row = M.duals.data();
    candidates_.clear();
    double least = 1e300;
    for (int j = m + 1; j <= n; ++j) {
      const ColumnRecord& c = M.Col(j);
      if (c.upper - c.lower <= kZeroRange || c.kind == kObjectiveLogical) continue;
      if (c.kind == kFreeStructural) return -1;
      double price = 0, alpha = 0;
      for (const auto& e : c.entries) {
        price += y_[static_cast<size_t>(e.row)] * e.value;
        alpha += row[e.row] * e.value;
      }
      const double d = c.status == ColumnStatus::kAtUpper ? c.cost - price : price - c.cost;
      if (d < -kRepairDual) return -1;
      // Moving column j off its bound by t moves x_r by -alpha t (at its
      // lower bound) or by +alpha t (at its upper bound).
      const double rate = c.status == ColumnStatus::kAtUpper ? alpha : -alpha;
      if ((rise ? rate : -rate) <= kRepairPivot) continue;
      const double size = std::fabs(alpha), dPlus = std::max(d, 0.0);
      least = std::min(least, (dPlus + kRepairDual) / size);
      candidates_.push_back({j, size, dPlus / size});
    }
    int q = 0;
    double bestAlpha = 0;
    for (const Candidate& k : candidates_)
      if (k.ratio <= least && k.size > bestAlpha) bestAlpha = k.size, q = k.column;
    return q;
  }

  EngineModel& M;
  std::vector<double> y_;
  std::vector<Candidate> candidates_;
};

}  // namespace

void DualRepair(EngineModel& model) {
  Repair repair(model);
  repair.Run();
}

}  // namespace vesk::engine
