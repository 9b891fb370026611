// The branch-and-bound search: start, branching with pseudo-costs, child
// evaluation from the parent's basis, the dive, the waiting list and node
// selection, the restart, new incumbents and the end of the search.
#include "engine/search/BranchAndBound.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/BasisSnapshot.h"
#include "engine/BasisSolves.h"
#include "engine/EngineFiles.h"
#include "engine/Paraunit.h"
#include "engine/Reinvert.h"
#include "engine/Tolerances.h"
#include "engine/search/DualRepair.h"
#include "engine/search/NodeFile.h"
#include "engine/search/Simplex.h"
#include "engine/search/SolverConsole.h"

namespace vesk::engine {

namespace {

constexpr float kUnknownPseudoCost = 1e10f;
constexpr double kInfeasibleBound = 1e30;

double Near(double x) { return std::nearbyint(x); }

// One branching decision: side 0 raises the lower bound, side 1 lowers the
// upper bound; the old bound is kept for undoing.
struct BoundChange {
  int32_t slot;
  double newBound;
  int8_t side;
  double oldBound;
  ColumnRecord* column;
};

struct PathNode {
  int fractionalCount = 0;
  int count = 1;
  double branchValue = 0;
  double bound = 0;
  BasisSnapshot snapshot;
  int32_t reserved[2] = {0, 0};
  int32_t change = 0;
  bool up = false;
};

struct Choice {
  int row = 0;
  ColumnRecord* column = nullptr;
  double x = 0;
  double pcUp = 0, pcDown = 0;  // as used for this decision
  int fractional = 0;
};

class Search {
 public:
  explicit Search(EngineModel& m)
      : M(m), maximize_(m.maximize), file_(m, waitingLimit_, [this] { return HeapFigure(); }) {}

  void Run();

 private:
  // ---- helpers over the model ----------------------------------------------
  bool Better(double a, double b) const { return maximize_ ? a > b : a < b; }
  double Cutoff() const { return maximize_ ? lowerCutoff_ : upperCutoff_; }
  bool CannotBeat(double bound) const { return maximize_ ? bound < lowerCutoff_ : bound > upperCutoff_; }
  double InfeasibleValue() const { return maximize_ ? -kInfeasibleBound : kInfeasibleBound; }
  double Elapsed() const { return M.host.ClockSeconds() - M.startTime + M.accumulatedTime; }

  long long HeapFigure() const {
    return M.host.HeapBytes() + waitingBytes_ + static_cast<long long>(store_.capacity() * sizeof(BoundChange)) +
           static_cast<long long>(path_.capacity() * sizeof(PathNode));
  }
  bool MemoryShort() const { return static_cast<double>(HeapFigure()) > M.maxMemoryMB * 1e6; }

  bool Start();
  void SetIntegralGap();
  void End();
  void Dive();
  void PushChildren(const Choice& ch);
  bool SolveChildren(const Choice& ch, double parentValue, size_t ancestors, bool kept[2]);
  bool AssessChild(const Choice& ch, double parentValue, PathNode& node);
  bool DescendToBetterChild(size_t ancestors, const bool kept[2]);
  bool DiveGoesOn(double parentValue, double startValue, size_t ancestors);
  bool AfterDive();  // false: the search is over
  bool SelectNode();

  Choice Branch();
  void EstimatePseudoCosts(int row, float& pcUp, float& pcDown);
  bool EvaluateNodeLp();  // false: the search must stop
  bool NodeIntegral() const;
  bool StopRequested();
  void FixByReducedCost();

  void ApplyChange(int32_t k);
  void UndoChange(int32_t k);
  void ResetToRootBounds();
  bool Restore(const BasisSnapshot& s);

  void AddWaiting(size_t pathIndex, size_t ancestors);
  void DropAllNodes();
  void CutWaiting();

  void IntegerSolutionFound();
  bool IncumbentFeasible(double& objective);
  void ProgressLog(const std::string& tail);

  EngineModel& M;
  bool maximize_;
  long long waitingLimit_ = kUnlimitedWaitingNodes;
  NodeFile file_;

  std::vector<BoundChange> store_;
  std::vector<PathNode> path_;
  WaitingList waiting_;
  long long waitingBytes_ = 0;
  std::vector<int32_t> diveChanges_;  // the changes of the node the dive started from
  BasisSnapshot startSnapshot_;       // that node's basis (empty when it is the root)
  BasisSnapshot rootSnapshot_;
  struct RootBound {
    ColumnRecord* column;
    double lower, upper;
  };
  std::vector<RootBound> rootBounds_;
  std::vector<std::pair<ColumnRecord*, double>> incumbent_;

  double upperCutoff_ = 1e30, lowerCutoff_ = -1e30;
  // Gap by which a node must beat the incumbent (0: INTEGER-CRIT alone).
  double integralGap_ = 0;
  double rootValue_ = 0;
  double incumbentObjective_ = 0;
  double bestWaitingAtSelection_ = 0;
  double avgStep_ = 1.0;
  double diveStartValue_ = 0, lastValue_ = 0;
  long long diveDepth_ = 0;
  int steps_ = 0;
  long long longLimit_ = 70, shortLimit_ = 7, diveLimit_ = 70;
  bool shortDive_ = false;
  long long shortSwitchNodes_ = 0, shortSwitchDepth_ = 0;
  long long incumbentNodes_ = 0;
  long long lastLoggedNodes_ = 0;
  long long firstEstimates_ = 0;
  long long lastRestartNodes_ = 0;
  int selection_ = 0;
  long long referenceHeap_ = 0;
  std::vector<double> dj_;  // reduced costs of the nonbasic positions, for the estimates
};

// ---- bounds -------------------------------------------------------------------

void Search::ApplyChange(int32_t k) {
  BoundChange& b = store_[static_cast<size_t>(k)];
  if (b.side == 0) b.column->lower = b.newBound;
  else b.column->upper = b.newBound;
}

void Search::UndoChange(int32_t k) {
  BoundChange& b = store_[static_cast<size_t>(k)];
  if (b.side == 0) b.column->lower = b.oldBound;
  else b.column->upper = b.oldBound;
}

void Search::ResetToRootBounds() {
  for (const RootBound& r : rootBounds_) {
    r.column->lower = r.lower;
    r.column->upper = r.upper;
  }
}

bool Search::Restore(const BasisSnapshot& s) {
  if (!RestoreBasisSnapshot(M, s)) return false;
  return M.modelPresent;
}

// ---- start and end ------------------------------------------------------------

bool Search::Start() {
  const long long depth = M.parameters.IntegerValue(M.host, "SUCH-TIEFE");
  longLimit_ = 10 * depth;
  shortLimit_ = depth;
  diveLimit_ = longLimit_;
  referenceHeap_ = std::max<long long>(1, M.host.HeapBytes());
  SaveBasisSnapshot(M, rootSnapshot_);
  M.nodeCount = 0;
  ConsoleField(M, kFieldNodes, "NONINT  VECTOR      NEW     OLD       PS");

  for (int j = 1; j <= M.n; ++j) {
    ColumnRecord& c = M.Col(j);
    if (!c.isInteger) continue;
    if (c.upper > kInfiniteBound) {
      M.host.MessageBox("INTEGER VARIABLE " + c.name + " HAS NO UPPER BOUND");
      return false;
    }
    if (c.upper != std::floor(c.upper)) c.upper = std::floor(c.upper);
    if (c.lower < -kInfiniteBound) {
      M.host.MessageBox("INTEGER VARIABLE " + c.name + " HAS NO LOWER BOUND");
      return false;
    }
    if (c.lower != std::floor(c.lower)) c.lower = std::floor(c.lower) + 1;
  }
  for (int j = 1; j <= M.n; ++j) M.Col(j).upper = std::min(M.Col(j).upper, 1e19);
  for (int j = 1; j <= M.n; ++j) {
    ColumnRecord& c = M.Col(j);
    if (c.isInteger) rootBounds_.push_back({&c, c.lower, c.upper});
  }
  // Rounding the integer bounds inward may have moved the root off its basis.
  ComputeBasicSolution(M);
  if (M.infeasCount > 0) {
    M.quiet = true;
    const SimplexOutcome outcome = Simplex(M, false);
    M.quiet = false;
    if (M.errorFlag || outcome == SimplexOutcome::kNumericalTrouble) return false;
    if (M.infeasCount > 0) return true;  // no integral point: nothing to search
  }

  SetIntegralGap();
  if (M.pse) LoadPseudoCosts(M);
  M.quiet = true;
  rootValue_ = M.objectiveValue;
  // The cutoffs start from the limits alone; the root value is the other side.
  if (maximize_) {
    lowerCutoff_ = std::max(M.loLimit, lowerCutoff_);
    upperCutoff_ = rootValue_;
  } else {
    upperCutoff_ = std::min(M.upLimit, upperCutoff_);
    lowerCutoff_ = rootValue_;
  }
  avgStep_ = 1.0;
  return true;
}

// With whole objective coefficients on the integer columns and none on the
// continuous ones, the objectives of any two integral points differ by a whole
// number, so a node has to beat the incumbent by 1 to hold a better one. A
// point counts as integral within INTEGER-CRIT, so its LP value may lie below
// its whole objective by up to sum |c_j| * INTEGER-CRIT; that and a margin for
// the LP's own rounding are given away.
void Search::SetIntegralGap() {
  integralGap_ = 0;
  double slack = 0;
  bool anyCost = false;
  for (int j = 1; j <= M.n; ++j) {
    const ColumnRecord& c = M.Col(j);
    if (c.kind != kStructural && c.kind != kFreeStructural) continue;
    if (c.cost == 0) continue;
    if (!c.isInteger || c.cost != std::floor(c.cost) || std::fabs(c.cost) > 1e9) return;
    anyCost = true;
    slack += std::fabs(c.cost) * M.integerCrit;
  }
  if (anyCost && slack < 0.5) integralGap_ = 1 - slack;
}

void Search::End() {
  ConsoleField(M, kFieldNodes,
               "OPEN " + std::to_string(static_cast<long long>(waiting_.size()) + file_.Count()));
  const std::string elapsed = "ELAPSED TIME " + ElapsedText(Elapsed()) + " s";
  if (ConsoleLineCount(M) > 1) ConsoleLine(M, "");
  if (M.integerFound) {
    ConsoleLine(M, "INTEGER SOLUTION FOUND: Searched nodes " + std::to_string(M.nodeCount));
  } else {
    ConsoleLine(M, "INTEGERproblem is infeasible");
    ConsoleLine(M, "Iteration finished: Searched nodes " + std::to_string(M.nodeCount));
  }
  ConsoleLine(M, elapsed);
  if (M.errorFlag) M.host.MessageBox("OPTIMIZATION Cancelled");
  file_.Discard();
  if (M.pse) SavePseudoCosts(M);
  M.quiet = false;
  FreeBasisSnapshot(rootSnapshot_);
  FreeBasisSnapshot(startSnapshot_);
  waiting_.clear();
  waitingBytes_ = 0;
  path_.clear();
  if (M.modelPresent) {
    ResetToRootBounds();
    ComputeBasicSolution(M);
  }
  if (M.logFile) {
    WriteLog(M, "Iteration finished: Searched nodes " + std::to_string(M.nodeCount) + " time=" +
                    ShortNumber(Elapsed()));
    if (M.integerFound) WriteLog(M, "INT SOLUTION FOUND");
  }
  if (M.integerFound) {
    // The columns' values are the incumbent's, in full precision.
    for (const auto& [c, v] : incumbent_) c->value = v;
    M.objectiveValue = incumbentObjective_;
  }
}

// ---- branching ------------------------------------------------------------------

// Dual ratio test on row r: the least objective loss per unit that any single
// nonbasic column can buy when it moves x_r down or up.
void Search::EstimatePseudoCosts(int r, float& pcUp, float& pcDown) {
  const int m = M.m, n = M.n;
  if (dj_.empty()) {
    ComputePrices(M);
    dj_.assign(static_cast<size_t>(n) + 1, 0.0);
    for (int j = m + 1; j <= n; ++j) {
      ComputeDj(M, j);
      dj_[static_cast<size_t>(j)] = M.Col(j).reducedCost;
    }
  }
  BtranUnit(M, r);
  double up = 1e10, down = 1e10;
  const double* y = M.duals.data();
  for (int j = m + 1; j <= n; ++j) {
    if (j % 10 == 0) M.host.ProcessPendingEvents();
    const ColumnRecord& c = M.Col(j);
    if (c.upper - c.lower <= kZeroRange || c.kind == kObjectiveLogical) continue;
    double alpha = 0;
    for (const auto& e : c.entries) alpha += y[e.row] * e.value;
    if (c.status == ColumnStatus::kAtUpper) alpha = -alpha;  // the column moves down from its upper bound
    if (std::fabs(alpha) <= kPivotColumnZero) continue;
    // Moving the column off its bound by t changes x_r by -alpha t at the
    // cost dj t.
    const double ratio = std::max(std::fabs(dj_[static_cast<size_t>(j)] / alpha), kPseudoCostFloor);
    if (alpha > 0) down = std::min(ratio, down);
    else up = std::min(ratio, up);
  }
  pcUp = static_cast<float>(up);
  pcDown = static_cast<float>(down);
}

Choice Search::Branch() {
  const int m = M.m;
  dj_.clear();
  Choice result;
  double bestA = -1, bestB = -1, bestC = -1;
  int rowA = 0, rowB = 0, rowC = 0;
  float upA = 0, downA = 0, upB = 0, downB = 0, upC = 0, downC = 0;
  const double gap = maximize_ ? M.objectiveValue - lowerCutoff_ : upperCutoff_ - M.objectiveValue;
  bool estimated = false;
  for (int i = 1; i <= m - 1; ++i) {
    const ColumnRecord& c = M.Col(i);
    if (!c.isInteger) continue;
    const double x = M.basicValues[static_cast<size_t>(i)];
    if (std::fabs(Near(x) - x) <= M.integerCrit) continue;
    ++result.fractional;
    float pcUp = c.upPseudoCost, pcDown = c.downPseudoCost;
    if (M.assessPse && pcUp == kUnknownPseudoCost && pcDown == kUnknownPseudoCost) {
      EstimatePseudoCosts(i, pcUp, pcDown);
      estimated = true;
    }
    const double fl = std::floor(x);
    const double down = (x - fl) * pcDown, up = (fl + 1 - x) * pcUp;
    const double lo = std::min(down, up), hi = std::max(down, up);
    if (lo >= kPseudoCostFloor) {
      if (lo * hi > bestA) bestA = lo * hi, rowA = i, upA = pcUp, downA = pcDown;
    } else if (hi > bestB) {
      bestB = hi, rowB = i, upB = pcUp, downB = pcDown;
    }
    if (hi > gap && lo > bestC) bestC = lo, rowC = i, upC = pcUp, downC = pcDown;
  }
  if (estimated) ComputePrices(M);
  if (result.fractional == 0) return result;
  if (rowC > 0 && bestC > 0) result.row = rowC, result.pcUp = upC, result.pcDown = downC;
  else if (rowA > 0 && bestA > 0) result.row = rowA, result.pcUp = upA, result.pcDown = downA;
  else if (rowB > 0) result.row = rowB, result.pcUp = upB, result.pcDown = downB;
  else if (rowA > 0) result.row = rowA, result.pcUp = upA, result.pcDown = downA;
  else result.row = rowC, result.pcUp = upC, result.pcDown = downC;
  result.column = &M.Col(result.row);
  result.x = M.basicValues[static_cast<size_t>(result.row)];
  return result;
}

// Reduced-cost fixing at the current node, once a cutoff exists: moving a
// nonbasic integer column t units off its bound costs at least dj * t, so a
// column whose dj exceeds the room left between the node's LP value and the
// cutoff cannot move a whole unit in any better point below this node. Its
// range is narrowed for the rest of the dive only; every bound of an integer
// column goes back to the root's when the dive ends, so waiting nodes stay as
// they were parked (their bounds and bases remain valid without the fixings).
void Search::FixByReducedCost() {
  if (M.infeasCount > 0 || std::fabs(Cutoff()) >= 1e29) return;
  const double z = M.objectiveValue;
  const double room = maximize_ ? z - lowerCutoff_ : upperCutoff_ - z;
  if (!(room >= 0)) return;
  const double margin = kCutoffMargin * std::max(1.0, std::fabs(z));
  bool priced = false;
  for (int j = M.m + 1; j <= M.n; ++j) {
    ColumnRecord& c = M.Col(j);
    if (!c.isInteger || c.upper - c.lower < 0.5) continue;
    if (!priced) {
      ComputePrices(M);
      priced = true;
    }
    ComputeDj(M, j);
    const double dj = c.reducedCost;
    if (!(dj > margin)) continue;
    const double steps = std::floor((room + margin) / dj);
    if (steps >= c.upper - c.lower) continue;
    if (c.status == ColumnStatus::kAtUpper) c.lower = c.upper - steps;
    else c.upper = c.lower + steps;
  }
}

bool Search::NodeIntegral() const {
  for (int i = 1; i <= M.m - 1; ++i) {
    const ColumnRecord& c = M.Col(i);
    if (!c.isInteger) continue;
    const double x = M.basicValues[static_cast<size_t>(i)];
    if (std::fabs(Near(x) - x) > M.integerCrit) return false;
  }
  return true;
}

bool Search::StopRequested() {
  if (!M.modelPresent) return true;
  if (M.errorFlag) return true;
  if (Elapsed() > static_cast<double>(M.maxTime) || M.host.CancelRequested()) {
    M.errorFlag = true;
    M.stopReason = StopReason::kTimeLimit;
    return true;
  }
  return false;
}

// Solves the LP of the node whose bounds are in place, from the basis in
// place. A run that gives up on numerics is retried once on a fresh inverse.
bool Search::EvaluateNodeLp() {
  ComputeBasicSolution(M);
  if (M.infeasCount > 0 && !M.errorFlag) DualRepair(M);
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (M.errorFlag) return false;
    const SimplexOutcome outcome = Simplex(M, false);
    if (!M.modelPresent) return false;
    if (M.errorFlag) return false;
    // A ray at a node of a bounded relaxation is a numerical artefact too.
    if (outcome != SimplexOutcome::kNumericalTrouble && outcome != SimplexOutcome::kUnbounded) return true;
    if (M.stopReason == StopReason::kNumericalTrouble) M.stopReason = StopReason::kNone;
    if (!Reinvert(M) || !M.modelPresent) return false;
  }
  // The node's LP cannot be solved reliably: stop unfinished.
  M.errorFlag = true;
  M.stopReason = StopReason::kNumericalTrouble;
  return false;
}

// ---- incumbents ------------------------------------------------------------------

// Checks the node's point (integer columns rounded) against the bounds and
// rows of the model, and computes its objective.
bool Search::IncumbentFeasible(double& objective) {
  const int m = M.m, n = M.n;
  std::vector<double> activity(static_cast<size_t>(m) + 1, 0.0), scale(static_cast<size_t>(m) + 1, 0.0);
  objective = 0;
  for (int j = 1; j <= n; ++j) {
    const ColumnRecord& c = M.Col(j);
    if (c.kind != kStructural && c.kind != kFreeStructural) continue;
    // Rows are checked at the solution as found: an integer column counts as
    // integral within INTEGER-CRIT, and that tolerance is the model's, so the
    // rows must hold for the value the search accepted, not for a rounded one
    // (a binary of 1e-8 under a coefficient of 999 moves a row by 1e-5).
    const double x = c.value;
    if (c.isInteger) {
      const double whole = Near(x);
      if (std::fabs(whole - x) > M.integerCrit + kIncumbentIntegrality) return false;
      if (whole < c.lower - kIncumbentBound || whole > c.upper + kIncumbentBound) return false;
      objective += c.cost * whole;
    } else {
      if (c.kind != kFreeStructural &&
          (x < c.lower - BoundTolerance(c.lower) * kIncumbentColumnFactor ||
           x > c.upper + BoundTolerance(c.upper) * kIncumbentColumnFactor))
        return false;
      objective += c.cost * x;
    }
    for (const auto& e : c.entries) {
      activity[static_cast<size_t>(e.row)] += e.value * x;
      scale[static_cast<size_t>(e.row)] += std::fabs(e.value * x);
    }
  }
  std::vector<double> rhs(static_cast<size_t>(m) + 1, 0.0);
  for (const auto& e : M.Col(0).entries) rhs[static_cast<size_t>(e.row)] = e.value;
  if (M.perturbMode != 0)
    for (int i = 1; i <= m; ++i) rhs[static_cast<size_t>(i)] -= M.Row(i).type == kRowG ? -kPerturbation : kPerturbation;
  for (int j = 1; j <= n; ++j) {
    const ColumnRecord& c = M.Col(j);
    if (c.kind < kSlack || c.kind > kArtificial || c.entries.empty()) continue;
    const int i = c.entries[0].row;
    if (i >= m) continue;
    const double b = rhs[static_cast<size_t>(i)], a = activity[static_cast<size_t>(i)];
    const double logical = (b - a) / c.entries[0].value;
    const double lo = c.kind == kArtificial ? 0.0 : c.lower, up = c.kind == kArtificial ? 0.0 : c.upper;
    const double tol = kIncumbentRow * std::max({1.0, std::fabs(b), scale[static_cast<size_t>(i)]});
    if (logical < lo - tol || logical > up + tol) return false;
  }
  return true;
}

void Search::ProgressLog(const std::string& tail) {
  if (!M.logFile) return;
  WriteLog(M, "Searched " + std::to_string(M.nodeCount) + " Open " +
                  std::to_string(static_cast<long long>(waiting_.size()) + file_.Count()) + " time=" +
                  ShortNumber(Elapsed()) + " " + ShortNumber(lowerCutoff_) + " " +
                  ShortNumber(bestWaitingAtSelection_) + " " + ShortNumber(upperCutoff_) + tail);
}

void Search::IntegerSolutionFound() {
  for (int i = 1; i <= M.m; ++i) M.Col(i).value = M.basicValues[static_cast<size_t>(i)];
  StoreSolution(M);
  double objective = 0;
  if (!IncumbentFeasible(objective)) {
    ConsoleLine(M, "INTEGER SOLUTION REJECTED: A ROW OR BOUND IS VIOLATED");
    return;
  }
  if (M.integerFound && !Better(objective, incumbentObjective_)) return;
  // The margin for the LP's rounding scales with the objective.
  const double gap = integralGap_ > 0 ? integralGap_ - kCutoffMargin * std::max(1.0, std::fabs(objective)) : 0.0;
  const double step = std::max(M.integerCrit, gap);
  if (maximize_) lowerCutoff_ = std::max(objective + step, lowerCutoff_);
  else upperCutoff_ = std::min(objective - step, upperCutoff_);
  incumbentObjective_ = objective;
  incumbentNodes_ = M.nodeCount;
  M.integerFound = true;
  incumbent_.clear();
  for (int j = 1; j <= M.n; ++j) {
    ColumnRecord& c = M.Col(j);
    c.integerValue = static_cast<float>(c.isInteger ? Near(c.value) : c.value);
    c.integerReducedCost = static_cast<float>(c.reducedCost);
    incumbent_.push_back({&c, c.value});
  }
  for (int j = M.m + 1; j <= M.n; ++j)
    if (M.Col(j).upper - M.Col(j).lower < kZeroRange) M.Col(j).status = ColumnStatus::kAtLower;
  ComputePrices(M);
  for (int j = M.m + 1; j <= M.n; ++j) ComputeDj(M, j);
  ConsoleField(M, kFieldNodes, "INT. SOL. FOUND");
  ProgressLog(" INT SOLUTION FOUND " + ShortNumber(objective));
  CutWaiting();
  ConsoleLine(M, "INTEGER SOLUTION FOUND");
}

// ---- waiting list --------------------------------------------------------------

void Search::CutWaiting() {
  long long removed = 0;
  while (!waiting_.empty() && CannotBeat(waiting_.back().bound)) {
    waitingBytes_ -= waiting_.back().Bytes();
    waiting_.pop_back();
    ++removed;
  }
  const long long onFile = file_.CutNodes(waiting_, Cutoff());
  if (removed > 0 && onFile == 0) {
    ConsoleField(M, kFieldNodes, std::to_string(removed));
    ConsoleLine(M, std::to_string(removed) + " NODES CUT");
    if (M.logFile) WriteLog(M, std::to_string(removed) + " NODES CUT");
  }
}

// The path node at `pathIndex` becomes a waiting node; `ancestors` path nodes
// below it lead from the dive's start to its parent.
void Search::AddWaiting(size_t pathIndex, size_t ancestors) {
  PathNode& p = path_[pathIndex];
  WaitingNode w;
  w.fractionalCount = p.fractionalCount;
  w.branchValue = p.branchValue;
  w.bound = p.bound;
  w.snapshot = std::move(p.snapshot);
  w.snapshot.objective = p.bound;
  w.changes.reserve(diveChanges_.size() + ancestors + 1);
  w.changes = diveChanges_;
  for (size_t i = 0; i < ancestors; ++i) w.changes.push_back(path_[i].change);
  w.changes.push_back(p.change);
  path_.erase(path_.begin() + static_cast<std::ptrdiff_t>(pathIndex));
  waitingBytes_ += w.Bytes();
  InsertWaitingNode(waiting_, std::move(w), maximize_);
  while (waiting_.size() >= 2 &&
         (static_cast<long long>(waiting_.size()) > waitingLimit_ ||
          (!file_.Empty() && Better(file_.BestBound(), waiting_.back().bound)))) {
    if (ConsoleLineCount(M) > 1) ConsoleLine(M, "");
    waitingBytes_ -= waiting_.back().Bytes();
    file_.SpillNode(waiting_);
  }
}

void Search::DropAllNodes() {
  path_.clear();
  waiting_.clear();
  waitingBytes_ = 0;
  file_.Discard();
  waitingLimit_ = kUnlimitedWaitingNodes;
}

// ---- the dive --------------------------------------------------------------------

void Search::Dive() {
  const double startValue = M.objectiveValue;
  diveStartValue_ = lastValue_ = startValue;
  diveDepth_ = 0;
  for (;;) {
    if (StopRequested()) return;
    if (M.integerFound && CannotBeat(M.objectiveValue)) return;
    FixByReducedCost();
    const double parentValue = M.objectiveValue;
    const Choice ch = Branch();
    if (ch.column == nullptr) {  // integral node
      IntegerSolutionFound();
      return;
    }
    const size_t ancestors = path_.size();
    PushChildren(ch);
    bool kept[2] = {false, false};
    if (!SolveChildren(ch, parentValue, ancestors, kept)) return;
    // Remove the cut children from the path (second first).
    for (int k = 1; k >= 0; --k)
      if (!kept[k]) path_.erase(path_.begin() + static_cast<std::ptrdiff_t>(ancestors + static_cast<size_t>(k)));
    if (!kept[0] && !kept[1]) return;
    if (!DescendToBetterChild(ancestors, kept)) return;
    if (!DiveGoesOn(parentValue, startValue, ancestors)) return;
  }
}

// Both children of the branching column go on the path, the one that looks
// cheaper by its pseudo-cost first.
void Search::PushChildren(const Choice& ch) {
  const double x = ch.x, fl = std::floor(x);
  const bool downFirst = (fl + 1 - x) * ch.pcUp <= (x - fl) * ch.pcDown;
  for (int k = 0; k < 2; ++k) {
    const bool up = downFirst ? k == 1 : k == 0;
    BoundChange b;
    b.slot = ch.column->hashSlot;
    b.column = ch.column;
    b.side = up ? 0 : 1;
    b.newBound = up ? fl + 1 : fl;
    b.oldBound = up ? ch.column->lower : ch.column->upper;
    store_.push_back(b);
    PathNode node;
    node.fractionalCount = ch.fractional;
    node.branchValue = x;
    node.bound = rootValue_;
    node.change = static_cast<int32_t>(store_.size() - 1);
    node.up = up;
    path_.push_back(std::move(node));
    ++M.nodeCount;
  }
}

// Solves both children (path positions ancestors and ancestors + 1) from the
// parent's basis; a child that is not cut keeps its own basis. The bounds and
// basis left in place are the second child's when it is kept, else the
// parent's. Returns false when the dive must stop.
bool Search::SolveChildren(const Choice& ch, double parentValue, size_t ancestors, bool kept[2]) {
  BasisSnapshot parentSnapshot;
  SaveBasisSnapshot(M, parentSnapshot);
  for (int k = 0; k < 2; ++k) {
    PathNode& node = path_[ancestors + static_cast<size_t>(k)];
    ApplyChange(node.change);
    if (!EvaluateNodeLp()) {
      UndoChange(node.change);
      return false;
    }
    const bool cut = AssessChild(ch, parentValue, node);
    if (!cut) {
      SaveBasisSnapshot(M, node.snapshot);
      kept[k] = true;
    }
    if (k == 0 || cut) {
      UndoChange(node.change);
      if (!Restore(parentSnapshot)) return false;
    }
  }
  FreeBasisSnapshot(parentSnapshot);
  return true;
}

// A solved child: its LP value becomes its bound and teaches the pseudo-cost
// of its side; an integral child is an incumbent. Returns true when nothing
// below the child can be better (it is cut).
bool Search::AssessChild(const Choice& ch, double parentValue, PathNode& node) {
  const bool feasible = M.infeasCount == 0;
  const double value = feasible ? M.objectiveValue : InfeasibleValue();
  node.bound = value;
  bool cut = !feasible || CannotBeat(value);
  ColumnRecord& c = *ch.column;
  float& pc = node.up ? c.upPseudoCost : c.downPseudoCost;
  if (feasible) {
    if (M.pse) {
      const double delta = store_[static_cast<size_t>(node.change)].newBound - ch.x;
      double e = std::max(std::fabs((value - parentValue) / delta), 0.0);
      if (pc != kUnknownPseudoCost) e = std::max((0.01 * pc + e) / 1.01, 0.0);
      else ++firstEstimates_;
      pc = static_cast<float>(e);
    }
  } else {
    pc = static_cast<float>(std::min(std::max(100.1 * static_cast<double>(pc), 1000.0), 1e14));
  }
  // Memory pressure: the waiting list in memory is limited.
  if (MemoryShort()) {
    const long long limit = std::max<long long>(5, static_cast<long long>(waiting_.size()) - 10);
    if (limit < waitingLimit_) {
      waitingLimit_ = limit;
      ConsoleLine(M, "Standard_time=" + std::to_string(referenceHeap_) + " neu " + std::to_string(HeapFigure()));
    }
  }
  if (ConsoleOn(M) && M.iterLog != 0) {
    char buf[96];
    std::snprintf(buf, sizeof buf, " %s %g %g", node.up ? "L" : "U", store_[static_cast<size_t>(node.change)].newBound,
                  value);
    ConsoleLine(M, std::to_string(ch.fractional) + " " + c.name + buf +
                       (!feasible ? " INFEASIBLE" : (cut ? "  CUTOFF" : "")));
  }
  if (!cut && NodeIntegral()) {
    IntegerSolutionFound();
    cut = true;  // nothing below an integral node can be better
  }
  return cut;
}

// With both children kept, the better one stays on top of the path and the
// other waits; the dive goes on from the top child's bounds and basis.
// Returns false when its basis cannot be restored.
bool Search::DescendToBetterChild(size_t ancestors, const bool kept[2]) {
  if (kept[0] && kept[1]) {
    PathNode& other = path_[ancestors];
    PathNode& top = path_[ancestors + 1];
    const double b = top.bound;
    const bool otherWaits = maximize_ ? other.bound - M.integerCrit < b : b < other.bound + M.integerCrit;
    if (otherWaits) {
      AddWaiting(ancestors, ancestors);
    } else {
      UndoChange(top.change);
      AddWaiting(ancestors + 1, ancestors);
      PathNode& now = path_[ancestors];
      ApplyChange(now.change);
      if (!Restore(now.snapshot)) return false;
    }
  } else if (kept[0]) {
    PathNode& now = path_[ancestors];
    ApplyChange(now.change);
    if (!Restore(now.snapshot)) return false;
  }
  return true;
}

// The dive goes on while it is no deeper than the dive limit and its bound
// has not moved further from the start than the limit's worth of average
// steps; otherwise its top node waits.
bool Search::DiveGoesOn(double parentValue, double startValue, size_t ancestors) {
  PathNode& top = path_.back();
  steps_ = std::min(1000, steps_ + 1);
  avgStep_ = ((steps_ - 1) * avgStep_ + std::fabs(top.bound - parentValue)) / steps_;
  // The parent's own snapshot is no longer needed.
  if (ancestors > 0) FreeBasisSnapshot(path_[ancestors - 1].snapshot);
  else FreeBasisSnapshot(startSnapshot_);
  lastValue_ = top.bound;
  const long long depth = static_cast<long long>(path_.size());
  diveDepth_ = std::max(diveDepth_, depth);
  if (!(depth <= diveLimit_ && std::fabs(top.bound - startValue) <= static_cast<double>(diveLimit_) * avgStep_)) {
    AddWaiting(path_.size() - 1, path_.size() - 1);
    return false;
  }
  return true;
}

bool Search::AfterDive() {
  // Dive-limit switch.
  const long long depthReached = diveDepth_;
  if (!shortDive_) {
    if (std::fabs(lastValue_ - diveStartValue_) > kDiveMove) {
      shortDive_ = true;
      diveLimit_ = shortLimit_;
      shortSwitchNodes_ = M.nodeCount;
      shortSwitchDepth_ = depthReached;
    }
  } else if (M.nodeCount - shortSwitchNodes_ > 5 * shortSwitchDepth_) {
    shortDive_ = false;
    diveLimit_ = longLimit_;
  }
  // Leave the path: back to the root's bounds.
  ResetToRootBounds();
  path_.clear();
  FreeBasisSnapshot(startSnapshot_);
  diveChanges_.clear();

  if (M.logFile && M.nodeCount - lastLoggedNodes_ > 10000) {
    lastLoggedNodes_ = M.nodeCount;
    ProgressLog("");
  }
  if (StopRequested()) {
    DropAllNodes();
    return false;
  }
  // Restart from the root with what was learned.
  if (M.restart && firstEstimates_ > 20 && M.nodeCount - lastRestartNodes_ > 3000) {
    if (M.pse) SavePseudoCosts(M);
    firstEstimates_ = 0;
    lastRestartNodes_ = M.nodeCount;
    DropAllNodes();
    store_.clear();
    if (!Restore(rootSnapshot_)) return false;
    ComputeBasicSolution(M);
    if (!EvaluateNodeLp()) return false;
    ConsoleLine(M, "RESTART");
    return true;
  }
  if (waiting_.size() < 2 && !file_.Empty()) {
    const size_t before = waiting_.size();
    file_.ReadBatch(waiting_);
    auto it = waiting_.end();
    for (size_t k = before; k < waiting_.size(); ++k) waitingBytes_ += (--it)->Bytes();
  }
  if (waiting_.empty()) return false;
  return SelectNode();
}

bool Search::SelectNode() {
  for (;;) {
    if (waiting_.empty() && !file_.Empty()) {
      const size_t before = waiting_.size();
      file_.ReadBatch(waiting_);
      auto it = waiting_.end();
      for (size_t k = before; k < waiting_.size(); ++k) waitingBytes_ += (--it)->Bytes();
    }
    if (waiting_.empty()) return false;
    const double headBound = waiting_.front().bound;
    bestWaitingAtSelection_ = headBound;
    long long ties = 0;
    for (auto it = std::next(waiting_.begin()); it != waiting_.end() && std::fabs(it->bound - headBound) <= 0.001;
         ++it)
      ++ties;
    ++selection_;
    WaitingList::iterator chosen;
    const char* rule = nullptr;
    if (MemoryShort() || !file_.Empty()) {
      const size_t before = waiting_.size();
      file_.ReadWorst(waiting_);
      if (waiting_.size() > before) waitingBytes_ += waiting_.back().Bytes();
      chosen = std::prev(waiting_.end());
      rule = "Worst";
    } else {
      const long long count = static_cast<long long>(waiting_.size());
      if (ties > static_cast<long long>(Near(0.9 * static_cast<double>(count)))) M.strat1 = 100, M.strat2 = 100;
      else M.strat1 = 0, M.strat2 = 100;
      if (selection_ > M.strat2) {
        rule = "Strat-3";
        chosen = waiting_.begin();
        for (auto it = waiting_.begin(); it != waiting_.end(); ++it)
          if (it->fractionalCount < chosen->fractionalCount) chosen = it;
      } else if (ties == 0) {
        chosen = waiting_.begin();
      } else {
        const bool shallow = selection_ > M.strat1;
        rule = shallow ? "Strat-2" : "Strat-1";
        chosen = waiting_.begin();
        auto it = waiting_.begin();
        for (long long k = 0; k < ties && it != waiting_.end(); ++k, ++it)
          if (shallow ? it->Depth() < chosen->Depth() : it->Depth() > chosen->Depth()) chosen = it;
      }
    }
    if (selection_ > 100) selection_ = 0;
    if (rule != nullptr) ConsoleLine(M, rule);
    WaitingNode node = std::move(*chosen);
    waitingBytes_ -= node.Bytes();
    waiting_.erase(chosen);
    if (CannotBeat(node.bound)) continue;  // an incumbent came since it was parked
    for (int32_t k : node.changes) ApplyChange(k);
    if (!Restore(node.snapshot)) return false;
    // The restored basis is the node's optimum; a fresh pricing pass confirms it.
    if (!EvaluateNodeLp()) return false;
    if (M.infeasCount > 0 || CannotBeat(M.objectiveValue)) {
      ResetToRootBounds();
      continue;
    }
    diveChanges_ = std::move(node.changes);
    startSnapshot_ = std::move(node.snapshot);
    if (!file_.Empty() && static_cast<long long>(waiting_.size()) < waitingLimit_ / 2) {
      const size_t before = waiting_.size();
      file_.ReadBatch(waiting_);
      auto it = waiting_.end();
      for (size_t k = before; k < waiting_.size(); ++k) waitingBytes_ += (--it)->Bytes();
    }
    return true;
  }
}

void Search::Run() {
  if (!Start()) {
    if (!M.errorFlag) {
      M.errorFlag = true;
      M.stopReason = StopReason::kModelError;
    }
    M.quiet = false;
    FreeBasisSnapshot(rootSnapshot_);
    return;
  }
  if (M.infeasCount == 0) {
    for (;;) {
      Dive();
      if (!AfterDive()) break;
    }
  }
  End();
}

}  // namespace

void BranchAndBound(EngineModel& model) {
  if (!model.modelPresent || !model.prepared) return;
  Search search(model);
  search.Run();
}

}  // namespace vesk::engine
