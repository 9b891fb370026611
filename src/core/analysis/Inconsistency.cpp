#include "core/analysis/Inconsistency.h"

#include <algorithm>
#include <charconv>

#include "core/problem/Errors.h"
#include "core/problem/Numbers.h"
#include "core/sorting/CellValues.h"
#include "core/sorting/ConstraintList.h"
#include "core/sorting/RobustAssignments.h"
#include "solver/LP_Unit_LPSolver.h"

namespace vesk::core {
namespace {

double CellValue(const Grid& grid, int row, int column) {
  return static_cast<double>(CellRealOrZero(grid, row, column, "IGrid"));
}

void StartSuggestionGrid(Grid& grid) {
  grid = Grid(2, 3);
  grid.SetCell(0, 0, " # ");
  grid.SetCell(0, 1, " Quant.");
  grid.SetCell(0, 2, " Constraints to remove");
}

std::string JoinConstraints(const std::vector<int>& constraints) {
  std::string text;
  for (std::size_t i = 0; i < constraints.size(); ++i) {
    if (i > 0) text += " + ";
    text += std::to_string(constraints[i]);
  }
  return text;
}

bool IGridFits(const Problem& problem, const SortingState& state) {
  return state.Generation == problem.ResultsGeneration && problem.NumCriteria > 0 &&
         state.IGrid.ColCount() == problem.NumCriteria + 5;
}

}  // namespace

std::string FormatG(double value) {
  if (value == 0.0) value = 0.0;
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
  return std::string(buffer, result.ptr);
}

SuggestionWork ReadSuggestionWork(const Problem& problem, const Grid& IGrid) {
  const int n = problem.NumCriteria;
  SuggestionWork work;
  work.V = n + 1;
  work.R = std::max(0, IGrid.RowCount() - 1);
  const int width = work.V + work.R;
  for (int r = 1; r <= work.R; ++r) {
    std::vector<double> row(static_cast<std::size_t>(width), 0.0);
    for (int v = 0; v < work.V; ++v) row[v] = CellValue(IGrid, r, IGridCoefficientColumn(v));
    row[work.V + r - 1] = kSuggestionBigM;
    work.A.push_back(std::move(row));
    work.b.push_back(CellValue(IGrid, r, IGridRhsColumn(n)) + kSuggestionShift);
  }
  std::vector<double> norm(static_cast<std::size_t>(width), 0.0);
  for (int j = 1; j <= n; ++j) norm[j] = 1.0;
  work.A.push_back(std::move(norm));
  work.b.push_back(1.0);
  return work;
}

SuggestionProgram BuildSuggestionProgram(const SuggestionWork& work) {
  SuggestionProgram p;
  p.columns = work.V + work.R;
  p.rows = static_cast<int>(work.A.size());
  p.columnTypes.assign(static_cast<std::size_t>(p.columns), 'C');
  p.objective.assign(static_cast<std::size_t>(p.columns), 0.0);
  for (int c = work.V; c < p.columns; ++c) {
    p.columnTypes[c] = 'B';
    p.objective[c] = -1.0;
  }
  for (int i = 0; i < p.rows; ++i) {
    std::vector<double> row = work.A[i];
    double rhs = work.b[i];
    char type;
    if (i < work.R) {
      if (rhs >= 0) {
        type = '>';
      } else {
        type = '<';
        rhs = -rhs;
        for (auto& a : row) a = -a;
      }
    } else if (i == work.R) {
      type = '=';
    } else {
      type = '<';
    }
    p.matrix.push_back(std::move(row));
    p.rhs.push_back(rhs);
    p.rowTypes.push_back(type);
  }
  return p;
}

int StateSuggestionProgram(const SuggestionProgram& p) {
  namespace lp = vesk::solver;
  if (lp::LpSetSize(p.columns, p.rows) != 0) return -1;
  for (int c = 0; c < p.columns; ++c) {
    if (lp::LpSetColumnType(c + 1, p.columnTypes[c]) != 0) return -1;
    if (lp::LpSetObjective(c + 1, p.objective[c]) != 0) return -1;
  }
  for (int i = 0; i < p.rows; ++i) {
    if (lp::LpSetRowType(i + 1, p.rowTypes[i]) != 0) return -1;
    if (lp::LpSetRhs(i + 1, p.rhs[i]) != 0) return -1;
    const auto& row = p.matrix[i];
    for (int c = 0; c < p.columns; ++c)
      if (row[c] != 0.0 && lp::LpSetCoefficient(i + 1, c + 1, row[c]) != 0) return -1;
  }
  return 0;
}

void AddSuggestionCut(SuggestionWork& work, const std::vector<int>& constraints, int count) {
  std::vector<double> cut(static_cast<std::size_t>(work.V + work.R), 0.0);
  for (int r : constraints) cut[work.V + r - 1] = 1.0;
  work.A.push_back(std::move(cut));
  work.b.push_back(static_cast<double>(count - 1));
}

void InconsistencyAnalysis::SetMaxSuggestions(int value) {
  MaxSuggestions = std::clamp(value, kMinSuggestions, kMaxSuggestions);
}

bool InconsistencyCommandEnabled(const Problem& problem, const SortingState& state) {
  return state.InconsistencyEnabled && problem.ResultsAvailable && IGridFits(problem, state);
}

void OpenInconsistencyWindow(InconsistencyAnalysis& analysis) {
  analysis.SuggestionGridShown = false;
  analysis.NewSolutionFound = false;
  analysis.NewSolution.clear();
}

namespace {
bool RunSuggestions(const Problem& problem, const SortingState& state, InconsistencyAnalysis& analysis,
                    UserDialogs& dialogs, bool& cancelled) {
  StartSuggestionGrid(analysis.SuggestionGrid);
  analysis.SuggestionGridShown = true;
  analysis.Suggestions.clear();
  analysis.End = SuggestionEnd::NotRun;
  analysis.NewSolutionFound = false;
  analysis.NewSolution.clear();

  SuggestionWork work;
  try {
    work = ReadSuggestionWork(problem, state.IGrid);
  } catch (const ConversionError& e) {
    dialogs.Error(e.what());
    analysis.End = SuggestionEnd::SolverError;
    return false;
  }
  namespace lp = vesk::solver;
  int t = 1;
  while (true) {
    if (dialogs.CancelRequested()) {
      cancelled = true;
      return false;
    }
    if (StateSuggestionProgram(BuildSuggestionProgram(work)) != 0) {
      dialogs.Error("Error in Solver");
      analysis.End = SuggestionEnd::SolverError;
      return false;
    }
    const int status = lp::LpSolve();
    if (status == 3) {
      dialogs.Information(kNoMoreAlternatives);
      analysis.End = SuggestionEnd::NoMoreAlternatives;
      return true;
    }
    if (status != 0 && dialogs.CancelRequested()) {
      cancelled = true;
      return false;
    }
    if (status != 0) {
      // -1, and 2, which a program with bounded zero-one objective cannot
      // reach honestly: the run cannot go on.
      dialogs.Error("Error accessing LPSolver");
      analysis.End = SuggestionEnd::SolverError;
      return false;
    }
    const double count = -lp::LpObjectiveValue();
    Suggestion s;
    s.number = t;
    s.count = count;
    if (count > 0) {
      for (int r = 1; r <= work.R; ++r)
        if (lp::LpColumnValue(work.V + r) == 1.0) s.constraints.push_back(r);
      AddSuggestionCut(work, s.constraints, static_cast<int>(count + 0.5));
    }
    if (t > 1) analysis.SuggestionGrid.Resize(t + 1, 3);
    analysis.SuggestionGrid.SetCell(t, 0, std::to_string(t));
    analysis.SuggestionGrid.SetCell(t, 1, FormatGeneral(count));
    analysis.SuggestionGrid.SetCell(t, 2, count <= 0 ? std::string(kNoNeedToDrop) : JoinConstraints(s.constraints));
    analysis.Suggestions.push_back(s);
    if (count <= 0) {
      analysis.NewSolutionFound = true;
      analysis.NewSolution.clear();
      for (int v = 1; v <= work.V; ++v) analysis.NewSolution.push_back(lp::LpColumnValue(v));
      analysis.End = SuggestionEnd::NoNeed;
      return true;
    }
    ++t;
    if (analysis.MaxSuggestions < t) {
      analysis.End = SuggestionEnd::MaxReached;
      return true;
    }
  }
}
}  // namespace

bool BSuggestClick(const Problem& problem, const SortingState& state, InconsistencyAnalysis& analysis,
                   UserDialogs& dialogs) {
  if (!IGridFits(problem, state)) return false;
  // A cancelled run leaves the window as it was before the button was pressed.
  const InconsistencyAnalysis before = analysis;
  bool cancelled = false;
  bool done;
  {
    BusyCursor busy(dialogs);
    done = RunSuggestions(problem, state, analysis, dialogs, cancelled);
  }
  if (!cancelled) return done;
  analysis = before;
  dialogs.Information(kComputationCancelled);
  return false;
}

bool AcceptNewSolution(Problem& problem, SortingState& state, InconsistencyAnalysis& analysis,
                       UserDialogs& dialogs) {
  const int n = problem.NumCriteria;
  if (!analysis.NewSolutionFound || static_cast<int>(analysis.NewSolution.size()) != n + 1) return false;
  if (!IGridFits(problem, state)) return false;
  analysis.NewSolutionFound = false;
  if (!dialogs.Confirm(kAcceptQuestion)) return false;
  state.InferredParams = analysis.NewSolution;
  if (state.DGrid.RowCount() < 3 || state.DGrid.ColCount() < n + 1)
    state.DGrid.Resize(std::max(3, state.DGrid.RowCount()), std::max(n + 1, state.DGrid.ColCount()));
  for (int i = 0; i <= n; ++i) state.DGrid.SetCell(2, i, FormatG(state.InferredParams[i]));
  state.KeepParameters = true;
  CalcRangeItemClick(problem, state, dialogs);
  return true;
}

bool InconsistencyItemClick(Problem& problem, SortingState& state, InconsistencyAnalysis& analysis,
                            UserDialogs& dialogs, const std::function<void()>& showModal) {
  if (!InconsistencyCommandEnabled(problem, state)) return false;
  OpenInconsistencyWindow(analysis);
  if (showModal) showModal();
  return AcceptNewSolution(problem, state, analysis, dialogs);
}

}  // namespace vesk::core
