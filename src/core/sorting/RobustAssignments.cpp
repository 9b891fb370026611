#include "core/sorting/RobustAssignments.h"

#include <charconv>
#include <cmath>
#include <optional>

#include "core/problem/Errors.h"
#include "core/problem/InputChecks.h"
#include "core/problem/Numbers.h"
#include "core/sorting/ConstraintList.h"
#include "core/sorting/InferenceProgram.h"
#include "solver/LP_Unit_LPSolver.h"

namespace vesk::core {
namespace {

constexpr double kMoveTolerance = 0.00001;  // robust moves: strictly beyond +-this

// Thrown at a progress point once the person asked to stop.
struct Cancelled {};

// Removes the busy cursor and the progress panel and clears KeepParameters on
// every way out of the command.
class CommandExit {
 public:
  CommandExit(SortingState& state, UserDialogs& dialogs) : state_(state), dialogs_(dialogs) {}
  ~CommandExit() {
    dialogs_.SetBusy(false);
    dialogs_.ShowProgress(false);
    state_.KeepParameters = false;
  }

 private:
  SortingState& state_;
  UserDialogs& dialogs_;
};

// What the searches share within one command.
struct SearchContext {
  SearchContext(const SortingData& d, SortingState& s, UserDialogs& u) : data(d), state(s), dialogs(u) {}
  const SortingData& data;
  SortingState& state;
  UserDialogs& dialogs;
  bool spaceInfeasible = false;  // a parameter-space solve found no vector
  // Decisions already made in this command, per direction: the coefficients
  // w of the credibility and whether the action moved. Only the objective
  // changes between solves, and every weight is >= 0 (bounds in [0, 1]), so
  // sigma grows with w on the whole space: an upward move found for w' also
  // holds for every w >= w', a refusal for w' also for every w <= w'; a
  // downward move for w' holds for every w <= w', a refusal for every w >= w'.
  // Actions share or dominate each other's coefficients often.
  struct Decision {
    std::vector<double> w;
    bool moved;
  };
  std::vector<Decision> up, down;
  long long solves = 0;
};

void NoteInfeasibleSpace(SearchContext& ctx) {
  if (ctx.spaceInfeasible) return;
  ctx.spaceInfeasible = true;
  ctx.dialogs.Warning(kNoExactVector);
}

bool AllAtMost(const std::vector<double>& x, const std::vector<double>& y) {
  for (std::size_t j = 0; j < x.size(); ++j)
    if (x[j] > y[j]) return false;
  return true;
}

// The decision implied by an earlier one, or nothing.
std::optional<bool> KnownDecision(const SearchContext& ctx, bool upward, const std::vector<double>& w) {
  for (const auto& d : upward ? ctx.up : ctx.down) {
    // Upward: a move for w' <= w, a refusal for w' >= w. Downward: the mirror.
    if (d.moved == upward ? AllAtMost(d.w, w) : AllAtMost(w, d.w)) return d.moved;
  }
  return std::nullopt;
}

enum class Step { Move, Stay, Refused };

// Whether action a moves across profile `profile`: upward when
// max (sigma(a, profile) - lambda) > 0.00001 over the parameter space,
// downward when min (sigma(a, profile) - lambda) < -0.00001. An infeasible
// space never moves. Refused: a setter was refused (message shown). Throws
// ProgramError for a program the solver does not finish or finds unbounded.
Step Decide(SearchContext& ctx, int a, int profile, bool upward) {
  const int n = ctx.data.n;
  const std::vector<long double> coefficients = OutrankingCoefficients(ctx.data, a, profile);
  std::vector<double> w(static_cast<std::size_t>(n));
  for (int j = 0; j < n; ++j) w[j] = static_cast<double>(coefficients[j]);
  if (const auto known = KnownDecision(ctx, upward, w)) return *known ? Step::Move : Step::Stay;

  // Upward maximises sigma - lambda, downward lambda - sigma.
  const double sign = upward ? 1.0 : -1.0;
  if (solver::LpSetObjective(1, -sign) != 0) {
    ctx.dialogs.Error("Error in c(lambda)");
    return Step::Refused;
  }
  for (int j = 1; j <= n; ++j) {
    if (solver::LpSetObjective(1 + j, sign * w[j - 1]) != 0) {
      ctx.dialogs.Error("Error in c" + std::to_string(j));
      return Step::Refused;
    }
  }
  ++ctx.solves;
  const int status = solver::LpSolve();
  if (status == -1) throw ProgramError("Main", "Error in LP input");
  if (status == 2) throw ProgramError("Main", "Error in LP input: unlimited solution");
  if (status == 3) {
    NoteInfeasibleSpace(ctx);
    return Step::Stay;
  }
  const double value = solver::LpObjectiveValue();
  const bool moved = upward ? value > kMoveTolerance : -value < -kMoveTolerance;
  (upward ? ctx.up : ctx.down).push_back({std::move(w), moved});
  return moved ? Step::Move : Step::Stay;
}

// Best category of action a: moves up while the action can outrank b_(h-1)
// with room to spare.
bool UpwardSearch(SearchContext& ctx, int a) {
  const int K = ctx.data.K;
  int h = ctx.state.InferredCategory[a - 1] + 1;
  while (h <= K && !ctx.spaceInfeasible) {
    const Step step = Decide(ctx, a, h - 1, true);
    if (step == Step::Refused) return false;
    if (step == Step::Move) ++h;
    else break;
  }
  ctx.state.BestCategory[a - 1] = h - 1;
  return true;
}

// Worst category of action a: moves down while the action can fail to
// outrank b_(h-1) with room to spare.
bool DownwardSearch(SearchContext& ctx, int a) {
  int h = ctx.state.InferredCategory[a - 1];
  while (h >= 2 && !ctx.spaceInfeasible) {
    const Step step = Decide(ctx, a, h - 1, false);
    if (step == Step::Refused) return false;
    if (step == Step::Move) --h;
    else break;
  }
  ctx.state.WorstCategory[a - 1] = h;
  return true;
}

std::string CategoryHeader(int h) {
  std::string text = "C";
  text += std::to_string(h);
  return text;
}

// Step 2's fresh output tables.
void ResetOutputTables(const Problem& p, SortingState& s) {
  const int n = p.NumCriteria, m = p.NumActions, K = p.NumCategories;
  s.RGrid = Grid(m + 1, K + 1);
  for (int h = 1; h <= K; ++h) s.RGrid.SetCell(0, h, CategoryHeader(h));
  for (int a = 1; a <= m; ++a) s.RGrid.SetCell(a, 0, p.AGrid.CellOrEmpty(a, 0));
  Grid d(3, n + 1);
  for (int c = 0; c <= n; ++c) {
    d.SetCell(0, c, ParameterName(c));
    if (s.DGrid.Contains(2, c)) d.SetCell(2, c, s.DGrid.Cell(2, c));
  }
  s.DGrid = std::move(d);
}

// Solves the loaded inference program and reads InferredParams, DGrid row 2 and
// alpha*. False when the command ends here (message shown).
bool SolveInference(const Problem& p, SortingState& s, UserDialogs& dialogs) {
  const int status = solver::LpSolve();
  if (status == 3) {
    dialogs.Warning("Problem is infeasible for every alpha value");
    return false;
  }
  if (status != 0) {
    dialogs.Error("Unexpected Error in Inference Program: " + std::to_string(status));
    return false;
  }
  const int n = p.NumCriteria;
  s.InferredParams.assign(static_cast<std::size_t>(n + 1), 0.0);
  for (int i = 0; i <= n; ++i) {
    s.InferredParams[i] = InferredValue(i);
    s.DGrid.SetCell(2, i, Format5g(s.InferredParams[i]));
  }
  s.InconsistencyMeasure = -solver::LpObjectiveValue();
  return true;
}

void ShowOutputTabs(Problem& p, SortingState& s, bool indices) {
  s.OutputShown = true;
  s.InferredConstraintsTabShown = s.NumExampleConstraints >= 1;
  s.IndicesTabShown = indices;
  p.ResultsAvailable = true;  // also enables the report button
  s.Generation = p.ResultsGeneration;
}

void ShowInconsistentOutcome(Problem& p, SortingState& s, UserDialogs& dialogs, bool warn) {
  if (warn) {
    if (s.InconsistencyMeasure > kNegligibleInconsistency) dialogs.Warning("Inconsistent information!");
    else dialogs.Warning("Information is inconsistent, but the error is negligible!");
  }
  s.InconsistencyEnabled = true;
  ShowOutputTabs(p, s, false);
  s.VariabilityOrderEnabled = false;
  s.ShowVariabilityOrder = false;
  WriteInferenceErrors(p, s);
}

// Steps 5 to 9 after the searches.
void ShowRanges(Problem& p, SortingState& s, const SortingData& d) {
  const int m = p.NumActions, K = p.NumCategories;
  s.VariabilityOrder = SortByVariability(s.WorstCategory, s.BestCategory, K);
  s.ORGrid = Grid(m + 1, K + 1);
  for (int h = 1; h <= K; ++h) s.ORGrid.SetCell(0, h, CategoryHeader(h));
  for (int pos = 0; pos < m; ++pos) s.ORGrid.SetCell(pos + 1, 0, s.RGrid.CellOrEmpty(s.VariabilityOrder[pos] + 1, 0));
  if (m > 0) ShowRobustnessIndex(s, RobustnessIndex(s.WorstCategory, s.BestCategory));
  for (int pos = 0; pos < m; ++pos) {
    const int i = s.VariabilityOrder[pos];
    const int worst = s.WorstCategory[i], best = s.BestCategory[i];
    for (int h = 1; h <= K; ++h) {
      const bool hole = h > worst && h < best && IsCategoryHole(d, i + 1, h);
      s.ORGrid.SetCell(pos + 1, h, hole ? "X" : "");
      s.RGrid.SetCell(i + 1, h, hole ? "X" : "");
    }
  }
  ShowOutputTabs(p, s, true);
}

bool RunCommand(Problem& p, SortingState& s, UserDialogs& dialogs) {
  // Accepted parameters belong to the problem they were found for.
  const bool keep = s.KeepParameters && s.Generation == p.ResultsGeneration &&
                    s.InferredParams.size() == static_cast<std::size_t>(p.NumCriteria + 1) &&
                    s.InferredCategory.size() == static_cast<std::size_t>(p.NumActions);
  const int m = p.NumActions;
  SortingData data;
  if (!keep) {
    if (p.NumCriteria == 0) {
      dialogs.Error("You must read data first");
      return false;
    }
    if (!CheckBounds(p, dialogs)) return false;
    if (!CheckConstraintRHS(p, dialogs)) return false;
    if (!CheckConstraintSigns(p, dialogs)) return false;
    // Everything is built aside and takes the place of the earlier results
    // only once every cell has been read: a cell that does not convert leaves
    // no partial result.
    data = SortingData::FromProblem(p);
    SortingState work = s;
    work.Consistent = true;
    work.InferredCategory.assign(static_cast<std::size_t>(m), 0);
    work.WorstCategory.assign(static_cast<std::size_t>(m), 0);
    work.BestCategory.assign(static_cast<std::size_t>(m), 0);
    work.VariabilityOrder.assign(static_cast<std::size_t>(m), 0);
    work.InferredParams.assign(static_cast<std::size_t>(p.NumCriteria + 1), 0.0);
    BuildExampleConstraints(data, work, dialogs);
    BuildConstraintList(p, work);
    BuildInferenceGrid(p, work);
    ResetOutputTables(p, work);
    // Without any row the program still holds the weight sum, so that every
    // action gets an inferred category to start its searches from.
    if (LoadInferenceProgram(p, work, dialogs) != 0) return false;
    s = std::move(work);
    s.Generation = p.ResultsGeneration;
    p.ResultsAvailable = false;
    if (!SolveInference(p, s, dialogs)) return false;
  } else {
    data = SortingData::FromProblem(p);
  }

  for (int a = 1; a <= m; ++a) s.InferredCategory[a - 1] = AssignCategory(data, a, s.InferredParams);
  if (!keep && s.InconsistencyMeasure > kConsistencyTolerance) s.Consistent = false;
  if (!s.Consistent) {
    // After an accepted vector the inconsistency is already known: no warning again.
    ShowInconsistentOutcome(p, s, dialogs, !keep);
    return true;
  }

  s.InconsistencyEnabled = false;
  s.VariabilityOrderEnabled = true;
  if (LoadParameterSpace(p, s, dialogs) != 0) return false;
  dialogs.SetProgress(0);
  dialogs.ShowProgress(true);
  SearchContext ctx(data, s, dialogs);
  for (int a = 1; a <= m; ++a) {
    if (a % 5 == 0) dialogs.SetProgress(a * 100 / m);
    if (dialogs.CancelRequested()) throw Cancelled{};
    if (!UpwardSearch(ctx, a)) return false;
    if (!DownwardSearch(ctx, a)) return false;
  }
  s.ParameterSpaceSolves = ctx.solves;
  ShowRanges(p, s, data);
  return true;
}

}  // namespace

std::vector<int> SortByVariability(const std::vector<int>& worst, const std::vector<int>& best, int K) {
  std::vector<int> order;
  order.reserve(worst.size());
  for (int w = K - 1; w >= 0; --w)
    for (std::size_t i = 0; i < worst.size(); ++i)
      if (best[i] - worst[i] == w) order.push_back(static_cast<int>(i));
  if (order.size() != worst.size()) throw ProgramError("Main", "problem in sorting by variability");
  return order;
}

long double RobustnessIndex(const std::vector<int>& worst, const std::vector<int>& best) {
  // The mean of the logarithms: the product itself overflows for large problems.
  long double logSum = 0.0L;
  for (std::size_t i = 0; i < worst.size(); ++i) logSum += std::log(static_cast<long double>(best[i] - worst[i] + 1));
  return std::exp(logSum / static_cast<long double>(worst.size()));
}

std::string FormatFixed(double value, int decimals) {
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  std::string text(buffer, result.ptr);
  if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  return text;
}

void ShowRobustnessIndex(SortingState& s, long double index) {
  const double g = static_cast<double>(index);
  if (s.IndexText != "0") {
    const double old = ParseReal(s.IndexText).value_or(0.0);
    s.VariationText = "variation = " + FormatFixed(g - old, 3) + " (" +
                      (old != 0.0 ? FormatFixed((g - old) * 100 / old, 1) : std::string("0.0")) + "%)";
  } else {
    s.VariationText.clear();
  }
  s.IndexText = FormatFixed(g, 3);
}

std::vector<std::vector<int>> HoleCategories(const SortingState& s, int K) {
  std::vector<std::vector<int>> holes(s.WorstCategory.size());
  for (std::size_t i = 0; i < holes.size(); ++i)
    for (int h = 1; h <= K; ++h)
      if (s.RGrid.CellOrEmpty(static_cast<int>(i) + 1, h) == "X") holes[i].push_back(h);
  return holes;
}

bool CalcRangeItemClick(Problem& p, SortingState& s, UserDialogs& dialogs) {
  // A cancelled command leaves the problem and the earlier results as they were.
  const Problem problemBefore = p;
  const SortingState stateBefore = s;
  bool cancelled = false;
  {
    CommandExit exit(s, dialogs);
    dialogs.SetBusy(true);
    s.ViolatedRows.clear();
    try {
      return RunCommand(p, s, dialogs);
    } catch (const Cancelled&) {
      cancelled = true;
    } catch (const ConversionError& e) {
      dialogs.Error(e.what());
    } catch (const ProgramError& e) {
      // A solve the engine left unfinished because of the request is no error.
      if (dialogs.CancelRequested()) cancelled = true;
      else dialogs.Error(std::string(e.what()) + " (unit " + e.Unit() + ")");
    }
  }
  if (cancelled) {
    p = problemBefore;
    s = stateBefore;
    s.KeepParameters = false;
    dialogs.Information(kComputationCancelled);
  }
  return false;
}

}  // namespace vesk::core
