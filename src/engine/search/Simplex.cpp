// The simplex driver: one run is a sequence of pricing passes. A pass scans the
// nonbasic columns block by block and pivots in the candidates whose reduced
// cost is still close to the recent best ones. After a pass the stages below
// decide, in order, whether the run stalls, has pivoted (another pass), has
// candidates to retry or a threshold to relax, and finally whether its verdict
// holds on a fresh inverse and without perturbation; the verdict is reported
// last.
#include "engine/search/Simplex.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "engine/BasisSolves.h"
#include "engine/EngineChecks.h"
#include "engine/EtaFile.h"
#include "engine/Tolerances.h"
#include "engine/search/Perturbation.h"
#include "engine/search/Pricing.h"
#include "engine/search/RatioTest.h"
#include "engine/search/SimplexReporter.h"
#include "engine/search/SolverConsole.h"
#include "engine/search/StepUpdate.h"

namespace vesk::engine {

namespace {

// What a stage decides about the run.
enum class Next {
  kGoOn,     // the next stage decides
  kNewPass,  // start another pricing pass
  kReport,   // the verdict stands: report it
  kEnd,      // the run ends without a report (its outcome is set)
};

class SimplexRun {
 public:
  explicit SimplexRun(EngineModel& model) : M(model), report_(model) {}

  SimplexOutcome Run(bool storeSolution);

 private:
  void Start();
  Next PricePass();
  Next TryCandidate(int p);
  Next ControlStalls();
  Next CheckQuietInfeasibility();
  Next AfterPass();
  Next RetryRejected();
  Next RelaxThreshold();
  Next ConfirmVerdict();
  Next WidenFreeColumns();
  SimplexOutcome ReportVerdict(bool storeSolution);

  bool NoWayOutOfInfeasibility() const;
  bool Refresh();
  void Transform(int q);
  Step RatioTestAsking(int q);
  bool AskForBound(int q);
  void CheckLimits();
  void AcceptCandidate(double dj, const ColumnRecord& c);
  bool TakeStep(int q, const Step& step);
  Next End(SimplexOutcome outcome) {
    outcome_ = outcome;
    return Next::kEnd;
  }

  EngineModel& M;
  SimplexReporter report_;
  std::vector<int> rejected_;    // candidates set aside in this pass for a small pivot
  bool rejectedPresent_ = false;  // some column is ineligible since the last reset
  int pivotsSinceReset_ = 0;      // pivots since the eligible flags were last reset
  bool pivoted_ = false;          // this pass made a pivot
  bool troubled_ = false;         // the run stalls beyond repair
  // A limit or cancel met on the way; the run stops after the next step.
  StopReason pendingStop_ = StopReason::kNone;
  SimplexOutcome outcome_ = SimplexOutcome::kNotRun;
};

SimplexOutcome SimplexRun::Run(bool storeSolution) {
  Start();
  for (;;) {
    if (!M.modelPresent) return SimplexOutcome::kModelCleared;
    Next next = PricePass();
    if (next == Next::kGoOn) next = ControlStalls();
    if (next == Next::kGoOn && M.quiet) next = CheckQuietInfeasibility();
    if (next == Next::kGoOn) next = AfterPass();
    if (next == Next::kGoOn) next = RetryRejected();
    if (next == Next::kGoOn) next = RelaxThreshold();
    if (next == Next::kGoOn) next = ConfirmVerdict();
    if (next == Next::kGoOn) next = WidenFreeColumns();
    switch (next) {
      case Next::kNewPass:
        continue;
      case Next::kEnd:
        return outcome_;
      case Next::kGoOn:
      case Next::kReport:
        return ReportVerdict(storeSolution);
    }
  }
}

void SimplexRun::Start() {
  CheckBasis(M);
  ComputePrices(M);
  M.acceptThreshold = -1e8;
  M.stallPeriods = 0;
  M.perturbSwitches = 0;
  M.lastProgressIteration = M.iterationCount;
}

// ---- the pricing pass ----------------------------------------------------------

// No column of the first block can reduce the weighted infeasibility any more.
bool SimplexRun::NoWayOutOfInfeasibility() const {
  const int m = M.m;
  return M.candidateCount < M.pricing && m + 1 <= M.n && M.Col(m + 1).reducedCost > -100 && M.infeasCount > 0 &&
         M.perturbMode == 0;
}

Next SimplexRun::PricePass() {
  const int m = M.m;
  const int n = M.n;
  pivoted_ = false;
  rejected_.clear();
  for (int s = m + 1; s <= n;) {
    const int next = ScanBlock(M, s);
    report_.Candidates();
    if (s == m + 1 && NoWayOutOfInfeasibility()) {
      // Infeasible: confirmed on a fresh inverse before it is reported.
      if (M.freshSolution) return Next::kReport;
      return Refresh() ? Next::kNewPass : End(SimplexOutcome::kModelCleared);
    }
    for (int t = 0; t < M.candidateCount; ++t) {
      const Next after = TryCandidate(s + t);
      if (after != Next::kGoOn) return after;
    }
    s = next;
  }
  return Next::kGoOn;
}

// Pivots candidate p in when its reduced cost still passes the acceptance
// threshold and its pivot element is not too small (else it is set aside).
Next SimplexRun::TryCandidate(int p) {
  ColumnRecord& c = M.Col(p);
  if (c.upper - c.lower <= kZeroRange) return Next::kGoOn;
  const double dj = PriceColumn(M, p);
  if (dj < M.djMin && dj < 0.95 * M.acceptThreshold) {
    Transform(p);
    const Step step = RatioTestAsking(p);
    ++M.iterationCount;
    CheckLimits();
    if (step.kind == StepKind::kUnbounded) return End(SimplexOutcome::kUnbounded);
    if (step.pivotMagnitude < kRejectedPivot) {
      c.eligible = false;
      rejected_.push_back(p);
      rejectedPresent_ = true;
      report_.Rejected();
    } else {
      AcceptCandidate(dj, c);
      if (!TakeStep(p, step)) return End(SimplexOutcome::kModelCleared);
      pivoted_ = true;
      rejected_.clear();
    }
  }
  if (M.iterationCount % 10 == 0) {
    M.host.ProcessPendingEvents();
    if (M.host.CancelRequested()) pendingStop_ = StopReason::kTimeLimit;
  }
  if (M.errorFlag) {
    report_.Cancelled();
    return End(SimplexOutcome::kStopped);
  }
  return Next::kGoOn;
}

void SimplexRun::CheckLimits() {
  if (M.iterationCount > M.maxIter) pendingStop_ = StopReason::kIterationLimit;
  else if (M.host.ClockSeconds() - M.startTime + M.accumulatedTime > static_cast<double>(M.maxTime))
    pendingStop_ = StopReason::kTimeLimit;
}

// The accepted reduced cost (per entry of its column) joins the ten that set
// the acceptance threshold; every 50 pivots the columns set aside become
// eligible again.
void SimplexRun::AcceptCandidate(double dj, const ColumnRecord& c) {
  for (int i = 1; i <= 9; ++i) M.djHistory[i] = M.djHistory[i + 1];
  M.djHistory[10] = dj / std::max(1, c.Count());
  if (++pivotsSinceReset_ > 50) {
    if (rejectedPresent_)
      for (int j = 1; j <= M.n; ++j) M.Col(j).eligible = true;
    pivotsSinceReset_ = 0;
    rejectedPresent_ = false;
  }
  double threshold = 0;
  for (int i = 1; i <= 10; ++i) threshold += 0.95 * M.djHistory[i] / 10;
  M.acceptThreshold = threshold;
}

// The step, then the stop a limit asked for on the way.
bool SimplexRun::TakeStep(int q, const Step& step) {
  if (!ApplyStep(M, q, step)) return false;
  if (pendingStop_ != StopReason::kNone) {
    M.errorFlag = true;
    M.stopReason = pendingStop_;
  }
  return true;
}

void SimplexRun::Transform(int q) {
  ScatterColumn(M, q, M.pivotColumn);
  Ftran(M, M.pivotColumn, 1, M.etaFile.count);
}

// The ratio test; a column that can move without limit is offered to the host
// for a new bound, and the test is repeated with it.
Step SimplexRun::RatioTestAsking(int q) {
  for (;;) {
    const Step step = RatioTest(M, q);
    if (step.kind != StepKind::kUnbounded || !AskForBound(q)) return step;
  }
}

// Asks whether the infinite bound the column moves to should be changed, and
// reads the new one. Cancel, no number, or a number that would cross the
// other bound leave it infinite.
bool SimplexRun::AskForBound(int q) {
  ColumnRecord& e = M.Col(q);
  const bool lowerSide = e.status == ColumnStatus::kAtUpper;  // it moves down
  report_.UnboundedColumn(e);
  const std::string question =
      e.name + (lowerSide ? " is unbounded ! CHANGE lower Bound ? (Y/N) " : " is unbounded ! CHANGE upper Bound ? (Y/N) ");
  if (M.host.MessageBox(question) != EngineHost::Answer::Ok) return false;
  const std::string prompt = (lowerSide ? "Enter Lo-Bound of Variable " : "Enter Up-Bound of Variable ") + e.name;
  if (lowerSide) ConsoleNamed(M, "Prompt", prompt);
  double v = 0;
  if (!M.host.ReadNumber(prompt, v) || !std::isfinite(v) || std::fabs(v) > kInfiniteBound) return false;
  if (lowerSide && v <= e.upper) {
    e.lower = v;
    return true;
  }
  if (!lowerSide && v >= e.lower) {
    e.upper = v;
    return true;
  }
  return false;
}

// ---- after a pass ------------------------------------------------------------------

// The basic values and the duals from scratch, on a fresh inverse when pivots
// were made since the last one. False when the reinversion cleared the model.
bool SimplexRun::Refresh() {
  if (M.pivotsSinceInversion > 0) return ReinvertBetweenSteps(M);
  ComputeBasicSolution(M);
  ComputePrices(M);
  return true;
}

// A run that makes no progress for three periods of 30 iterations switches the
// perturbation (on, with a short candidate list, or off again); after more
// than ten switches it gives up.
Next SimplexRun::ControlStalls() {
  if (M.iterationCount - M.lastProgressIteration > 30) {
    ++M.stallPeriods;
    M.lastProgressIteration = M.iterationCount;
  }
  if (M.stallPeriods <= 2) return Next::kGoOn;
  if (M.perturbSwitches > 10) {
    report_.NumericalProblems();
    troubled_ = true;
    M.stopReason = StopReason::kNumericalTrouble;
    return Next::kReport;
  }
  ++M.perturbSwitches;
  if (M.perturbMode < 2) {
    SetPerturbation(M, 2);
    M.pricing = 32;
  } else {
    SetPerturbation(M, 0);
  }
  M.stallPeriods = 0;
  return Next::kGoOn;
}

// In quiet mode (a node of the search) a few candidates that cannot remove a
// real infeasibility end the run as infeasible, once no perturbation hides it.
Next SimplexRun::CheckQuietInfeasibility() {
  const int m = M.m;
  ScanBlock(M, m + 1);
  if (M.candidateCount > 0 && M.candidateCount < 10 && M.infeasSum > kQuietInfeasibility && m + 1 <= M.n &&
      M.Col(m + 1).reducedCost > -100) {
    if (M.perturbMode != 0) {
      SetPerturbation(M, 0);
      return Next::kNewPass;
    }
    return Next::kReport;
  }
  return Next::kGoOn;
}

Next SimplexRun::AfterPass() {
  if (pivoted_ && !M.errorFlag) return Next::kNewPass;
  if (M.errorFlag) return End(SimplexOutcome::kStopped);
  return Next::kGoOn;
}

// The candidates set aside for a small pivot: the one with the largest pivot
// element is pivoted in; when all are zero, the inverse is refreshed, or the
// run gives up when it is already fresh.
Next SimplexRun::RetryRejected() {
  if (rejected_.empty()) return Next::kGoOn;
  int bestP = 0;
  double bestA = 0;
  for (int p : rejected_) {
    Transform(p);
    const Step step = RatioTestAsking(p);
    if (step.kind == StepKind::kUnbounded) return End(SimplexOutcome::kUnbounded);
    if (step.pivotMagnitude > bestA) {
      bestA = step.pivotMagnitude;
      bestP = p;
      report_.BestPivot(M.Col(p), bestA);
    }
  }
  // A pivot this small would wreck the inverse; it counts as none.
  if (bestA > kRetryPivot) {
    PriceColumn(M, bestP);
    Transform(bestP);
    const Step step = RatioTestAsking(bestP);
    ++M.iterationCount;
    if (step.kind == StepKind::kUnbounded) return End(SimplexOutcome::kUnbounded);
    if (!TakeStep(bestP, step)) return End(SimplexOutcome::kModelCleared);
    return Next::kNewPass;
  }
  if (M.pivotsSinceInversion > 3) {
    if (!ReinvertBetweenSteps(M)) return End(SimplexOutcome::kModelCleared);
    return Next::kNewPass;
  }
  report_.IterationStopped();
  M.stopReason = StopReason::kNumericalTrouble;
  return End(SimplexOutcome::kNumericalTrouble);
}

// Candidates exist but none passed the threshold: it is relaxed to accept any
// candidate better than about half of the best reduced cost.
Next SimplexRun::RelaxThreshold() {
  if (!(M.acceptThreshold < M.djMin || M.candidateCount > 0)) return Next::kGoOn;
  M.acceptThreshold = rejectedPresent_ ? M.djMin : std::min(M.bestEligibleDj / 1.9, M.djMin);
  for (int i = 1; i <= 10; ++i) M.djHistory[i] = M.acceptThreshold;
  return Next::kNewPass;
}

// No candidate at all: the verdict stands once the perturbation is removed
// and the basic values and duals are fresh.
Next SimplexRun::ConfirmVerdict() {
  if (M.perturbMode != 0) {
    SetPerturbation(M, 0);
    return Next::kNewPass;
  }
  if (M.freshSolution) return Next::kGoOn;
  return Refresh() ? Next::kNewPass : End(SimplexOutcome::kModelCleared);
}

// Free columns at a working lower bound that still want to fall get a lower
// working bound, and the run goes on.
Next SimplexRun::WidenFreeColumns() {
  if (!M.freeColumns) return Next::kGoOn;
  bool widened = false;
  for (int j = M.m + 1; j <= M.n; ++j) {
    ColumnRecord& c = M.Col(j);
    if (c.kind != kFreeStructural || c.status != ColumnStatus::kAtLower) continue;
    ComputeDj(M, j);
    if (c.reducedCost > kReducedCostZero) {
      c.lower = c.lower == 0 ? -100 : -100 * std::fabs(c.lower);
      widened = true;
    }
  }
  if (!widened) return Next::kGoOn;
  ComputeBasicSolution(M);
  ComputePrices(M);
  return Next::kNewPass;
}

SimplexOutcome SimplexRun::ReportVerdict(bool storeSolution) {
  report_.RunEnding();
  CheckPrimalFeasibility(M);
  ComputePrices(M);
  CheckBasis(M);
  report_.Verdict();
  if (storeSolution) StoreSolution(M);
  if (troubled_) return SimplexOutcome::kNumericalTrouble;
  return M.infeasCount > 0 ? SimplexOutcome::kInfeasible : SimplexOutcome::kOptimal;
}

}  // namespace

SimplexOutcome Simplex(EngineModel& M, bool storeSolution) {
  if (!M.modelPresent || !M.prepared) return SimplexOutcome::kNotRun;
  SimplexRun run(M);
  return run.Run(storeSolution);
}

}  // namespace vesk::engine
