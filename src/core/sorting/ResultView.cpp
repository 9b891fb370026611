#include "core/sorting/ResultView.h"

#include "core/problem/Errors.h"
#include "core/problem/Numbers.h"
#include "core/sorting/InferenceProgram.h"
#include "core/sorting/Outranking.h"
#include "solver/LP_Unit_LPSolver.h"

namespace vesk::core {
namespace {

// Puts IPGrid back as it was, whatever happened in between.
class RestoreGrid {
 public:
  explicit RestoreGrid(Grid& grid) : grid_(grid), saved_(grid) {}
  ~RestoreGrid() { grid_ = std::move(saved_); }

 private:
  Grid& grid_;
  Grid saved_;
};

void ClearSelectedVector(SortingState& s) {
  s.SelectedParams.clear();
  for (int c = 0; c < s.DGrid.ColCount(); ++c)
    if (s.DGrid.Contains(1, c)) s.DGrid.SetCell(1, c, "");
}

bool CurrentResults(const Problem& p, const SortingState& s) {
  return p.ResultsAvailable && s.Generation == p.ResultsGeneration &&
         s.WorstCategory.size() == static_cast<std::size_t>(p.NumActions) &&
         s.VariabilityOrder.size() == static_cast<std::size_t>(p.NumActions);
}

// The assignment example of AGrid row a, or [1, K] when a cell does not parse
// (painting never fails on a cell being typed).
std::pair<int, int> Example(const Problem& p, int a) {
  const auto low = ParseInt(p.AGrid.CellOrEmpty(a, 1));
  const auto high = ParseInt(p.AGrid.CellOrEmpty(a, 2));
  return {low.value_or(1), high.value_or(p.NumCategories)};
}

}  // namespace

bool ShowAssignmentSolution(const Problem& p, SortingState& s, UserDialogs& dialogs, int a, int h) {
  const int n = p.NumCriteria, K = p.NumCategories;
  RestoreGrid restore(s.IPGrid);
  try {
    const SortingData d = SortingData::FromProblem(p);
    Grid& ip = s.IPGrid;
    auto addRow = [&](const char* lambda, const std::vector<long double>& w, double sign, double rhs) {
      const int r = ip.RowCount();
      ip.Resize(r + 1, ip.ColCount());
      ip.SetCell(r, 1, "1");
      ip.SetCell(r, 2, lambda);
      for (int j = 1; j <= n; ++j) ip.SetCell(r, 2 + j, FormatGeneral(sign * static_cast<double>(w[j - 1])));
      ip.SetCell(r, n + 3, ">=");
      ip.SetCell(r, n + 4, FormatGeneral(rhs));
    };
    if (h > 1) addRow("-1", OutrankingCoefficients(d, a, h - 1), 1.0, 0.0);
    if (h < K) addRow("1", OutrankingCoefficients(d, a, h), -1.0, kOutrankingMargin);
    if (LoadInferenceProgram(p, s, dialogs) != 0) return false;
    const int status = solver::LpSolve();
    if (status != 0) {
      dialogs.Error("Unexpected Error in Inference Program: " + std::to_string(status));
      return false;
    }
    const double alpha = -solver::LpObjectiveValue();
    ClearSelectedVector(s);
    if (alpha > kConsistencyTolerance) {
      dialogs.Information(kNoExactAssignmentVector + Format5g(alpha) + ")");
      return false;
    }
    s.SelectedParams.assign(static_cast<std::size_t>(n + 1), 0.0);
    s.SelectedAlpha = alpha;
    for (int i = 0; i <= n; ++i) {
      s.SelectedParams[i] = InferredValue(i);
      if (s.DGrid.Contains(1, i)) s.DGrid.SetCell(1, i, Format5g(s.SelectedParams[i]));
    }
    return true;
  } catch (const ConversionError& e) {
    dialogs.Error(e.what());
  }
  return false;
}

std::optional<int> ResultRowAction(const SortingState& s, bool ordered, int row) {
  const int m = static_cast<int>(s.WorstCategory.size());
  if (row < 1 || row > m) return std::nullopt;
  if (!ordered) return row;
  if (static_cast<int>(s.VariabilityOrder.size()) != m) return std::nullopt;
  const int i = s.VariabilityOrder[row - 1];
  if (i < 0 || i >= m) return std::nullopt;
  return i + 1;
}

std::optional<int> SelectionAction(const Problem& p, const SortingState& s, bool ordered, int column, int row) {
  if (!s.Consistent || !CurrentResults(p, s)) return std::nullopt;
  const auto a = ResultRowAction(s, ordered, row);
  if (!a) return std::nullopt;
  if (column < s.WorstCategory[*a - 1] || column > s.BestCategory[*a - 1]) return std::nullopt;
  const Grid& grid = ordered ? s.ORGrid : s.RGrid;
  if (!grid.CellOrEmpty(row, column).empty()) return std::nullopt;
  return a;
}

std::optional<std::string> AssignmentRefusal(const Problem& p, const SortingState& s, int a, int h) {
  if (!CurrentResults(p, s) || a < 1 || a > p.NumActions)
    return std::string("No robust assignments of the current problem: compute them first");
  const std::string name = p.AGrid.Cell(a, 0);
  if (!s.Consistent) return std::string("The information is inconsistent: no assignment can be selected");
  if (h < 1 || h > p.NumCategories) return "Category " + std::to_string(h) + " does not exist";
  const int worst = s.WorstCategory[a - 1], best = s.BestCategory[a - 1];
  if (h < worst || h > best)
    return "Category " + std::to_string(h) + " is outside the range [" + std::to_string(worst) + ", " +
           std::to_string(best) + "] of action " + name;
  if (!SelectionAction(p, s, false, h, a)) return "Category " + std::to_string(h) + " is a hole for action " + name;
  return std::nullopt;
}

void ResultCellSelected(const Problem& p, SortingState& s, UserDialogs& dialogs, bool ordered, int column, int row) {
  if (const auto a = SelectionAction(p, s, ordered, column, row)) ShowAssignmentSolution(p, s, dialogs, *a, column);
  else ClearSelectedVector(s);
}

void ShowByInputOrder(SortingState& s) {
  s.ShowVariabilityOrder = false;
  ClearSelectedVector(s);
}

void ShowByVariabilityOrder(SortingState& s) {
  if (!s.VariabilityOrderEnabled) return;
  s.ShowVariabilityOrder = true;
  ClearSelectedVector(s);
}

ResultPaint ResultCellPaint(const Problem& p, const SortingState& s, bool ordered, int column, int row) {
  const auto a = ResultRowAction(s, ordered, row);
  if (!a || *a > p.NumActions || column < 0 || column > p.NumCategories) return ResultPaint::Default;
  const auto [low, high] = Example(p, *a);
  if (column == 0) return (low > 1 || high < p.NumCategories) ? ResultPaint::Aqua : ResultPaint::Default;
  const int i = *a - 1;
  const int inferred = i < static_cast<int>(s.InferredCategory.size()) ? s.InferredCategory[i] : 0;
  if (!s.Consistent) {
    if (column != inferred) return ResultPaint::White;
    return (low <= column && column <= high) ? ResultPaint::Green : ResultPaint::Red;
  }
  if (column < s.WorstCategory[i] || column > s.BestCategory[i]) return ResultPaint::White;
  if (column == inferred) return ResultPaint::Green;
  const Grid& grid = ordered ? s.ORGrid : s.RGrid;
  if (!grid.CellOrEmpty(row, column).empty()) return ResultPaint::Hatched;
  return ResultPaint::Lime;
}

std::string ResultCellCopyText(const Problem& p, const SortingState& s, bool ordered, int column, int row) {
  const Grid& grid = ordered ? s.ORGrid : s.RGrid;
  if (column == 0) return grid.CellOrEmpty(row, 0);
  switch (ResultCellPaint(p, s, ordered, column, row)) {
    case ResultPaint::Green:
    case ResultPaint::Red:
    case ResultPaint::Lime: return std::to_string(column);
    case ResultPaint::Default: return grid.CellOrEmpty(row, column);
    default: return {};
  }
}

bool IPGridRowRed(const SortingState& s, int row) {
  return row >= 1 && row - 1 <= kMaxMarkedRows && s.ViolatedRows.count(row - 1) > 0;
}

bool IPGridCellBlank(const SortingState& s, int column, int row) {
  return s.IPGrid.CellOrEmpty(row, column) == "0" && column != s.IPGrid.ColCount() - 2;
}

}  // namespace vesk::core
