#include "core/sorting/ConstraintList.h"

#include <string>
#include <vector>

#include "core/sorting/CellValues.h"
#include "core/problem/Numbers.h"

namespace vesk::core {
namespace {

std::string Negated(const Grid& grid, int row, int column) {
  return FormatGeneral(-static_cast<double>(CellRealOrZero(grid, row, column, "CGrid")));
}

struct ListRow {
  std::string description;
  std::vector<std::string> coefficients;  // n+1: lambda, k_1..k_n
  std::string rhs;
};

}  // namespace

void BuildConstraintList(const Problem& problem, SortingState& state) {
  const int n = problem.NumCriteria;
  const int variables = n + 1;
  std::vector<ListRow> rows;

  // Example constraints are already in at-least form.
  const Grid& ic = state.ICGrid;
  for (int r = 1; r <= state.NumExampleConstraints && r < ic.RowCount(); ++r) {
    ListRow row{ic.CellOrEmpty(r, 0), {}, ic.CellOrEmpty(r, n + 3)};
    for (int v = 0; v < variables; ++v) row.coefficients.push_back(ic.CellOrEmpty(r, 1 + v));
    rows.push_back(std::move(row));
  }

  // Added constraints (CGrid rows 2..).
  const Grid& cg = problem.CGrid;
  for (int r = 2; r < cg.RowCount(); ++r) {
    const std::string& sign = cg.CellOrEmpty(r, problem.SignColumn());
    const char s = sign.empty() ? '\0' : sign.front();
    if (s != '<' && s != '>' && s != '=') continue;
    ListRow asWritten{cg.CellOrEmpty(r, 0), {}, cg.CellOrEmpty(r, problem.RhsColumn())};
    for (int v = 0; v < variables; ++v) asWritten.coefficients.push_back(cg.CellOrEmpty(r, 1 + v));
    if (s == '>') {
      rows.push_back(std::move(asWritten));
      continue;
    }
    ListRow negated{asWritten.description, {}, Negated(cg, r, problem.RhsColumn())};
    for (int v = 0; v < variables; ++v) negated.coefficients.push_back(Negated(cg, r, 1 + v));
    rows.push_back(std::move(negated));
    if (s == '=') rows.push_back(std::move(asWritten));
  }

  // Bounds tighter than [0, 1].
  const Grid& bg = problem.BGrid;
  for (int v = 0; v < variables; ++v) {
    const int col = 1 + v;
    const std::string& header = bg.CellOrEmpty(0, col);
    const double lb = static_cast<double>(CellReal(bg, 1, col, "BGrid"));
    const double ub = static_cast<double>(CellReal(bg, 2, col, "BGrid"));
    if (lb > 0) {
      ListRow row{"LB " + header, std::vector<std::string>(variables, "0"), FormatGeneral(lb)};
      row.coefficients[v] = "1";
      rows.push_back(std::move(row));
    }
    if (ub < 1) {
      ListRow row{"UB " + header, std::vector<std::string>(variables, "0"), FormatGeneral(-ub)};
      row.coefficients[v] = "-1";
      rows.push_back(std::move(row));
    }
  }

  Grid& ig = state.IGrid;
  ig = Grid(1 + static_cast<int>(rows.size()), n + 5);
  ig.SetCell(0, 0, "No.");
  ig.SetCell(0, 1, "Descr");
  ig.SetCell(0, 2, "lambda");
  for (int j = 1; j <= n; ++j) ig.SetCell(0, 2 + j, "k" + std::to_string(j));
  ig.SetCell(0, IGridSignColumn(n), ">=");
  ig.SetCell(0, IGridRhsColumn(n), "RHS");
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const int r = static_cast<int>(i) + 1;
    ig.SetCell(r, 0, std::to_string(r));
    ig.SetCell(r, 1, rows[i].description);
    for (int v = 0; v < variables; ++v) ig.SetCell(r, IGridCoefficientColumn(v), rows[i].coefficients[v]);
    ig.SetCell(r, IGridSignColumn(n), ">=");
    ig.SetCell(r, IGridRhsColumn(n), rows[i].rhs);
  }
}

bool IGridCellBlank(const Grid& IGrid, int column, int row) {
  return IGrid.CellOrEmpty(row, column) == "0" && column != IGrid.ColCount() - 1;
}

}  // namespace vesk::core
