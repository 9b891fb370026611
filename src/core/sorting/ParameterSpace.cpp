#include "core/sorting/ParameterSpace.h"

#include <string>

#include "core/sorting/CellValues.h"
#include "solver/LP_Unit_LPSolver.h"

namespace vesk::core {
namespace {

// Coefficients, type and right-hand side of one row of CGrid or ICGrid into
// program row `lpRow`. Returns false after the message of a refused call.
bool LoadRow(Grid& grid, int gridRow, int lpRow, int n, const char* table, const char* ineqMessage,
             UserDialogs& dialogs) {
  using namespace vesk::solver;
  const std::string row = std::to_string(lpRow);
  for (int col = 1; col <= n + 1; ++col) {
    if (grid.Cell(gridRow, col).empty()) grid.SetCell(gridRow, col, "0");
    const double value = static_cast<double>(CellReal(grid, gridRow, col, table));
    if (LpSetCoefficient(lpRow, col, value) != 0) {
      dialogs.Error("Error in A" + row + "," + std::to_string(col));
      return false;
    }
  }
  const std::string& sign = grid.CellOrEmpty(gridRow, n + 2);
  const char type = sign.empty() ? '\0' : sign[0];
  if ((type != '<' && type != '=' && type != '>') || LpSetRowType(lpRow, type) != 0) {
    dialogs.Error(ineqMessage + row);
    return false;
  }
  const double rhs = static_cast<double>(CellReal(grid, gridRow, n + 3, table));
  if (LpSetRhs(lpRow, rhs) != 0) {
    dialogs.Error("Error in b" + row);
    return false;
  }
  return true;
}

}  // namespace

int LoadParameterSpace(Problem& p, SortingState& state, UserDialogs& dialogs) {
  using namespace vesk::solver;
  const int n = p.NumCriteria;
  const int constraints = p.NumConstraints;
  const int examples = state.NumExampleConstraints;
  if (LpSetSize(n + 1, constraints + examples) != 0) {
    dialogs.Error("Error LP in size");
    return -1;
  }
  for (int r = 1; r <= constraints; ++r)
    if (!LoadRow(p.CGrid, r, r, n, "Constraints", "Error in Ineq", dialogs)) return -1;
  for (int e = 1; e <= examples; ++e)
    if (!LoadRow(state.ICGrid, e, constraints + e, n, "Inferred constraints", "Error in Inf Ineq", dialogs))
      return -1;
  for (int col = 1; col <= n + 1; ++col) {
    const double lower = static_cast<double>(CellReal(p.BGrid, 1, col, "Bounds"));
    const double upper = static_cast<double>(CellReal(p.BGrid, 2, col, "Bounds"));
    const std::string column = std::to_string(col);
    if (lower > upper) {
      dialogs.Error("LB>UB in column " + column);
      return -1;
    }
    if (LpSetLowerBound(col, lower) != 0) {
      dialogs.Error("Error in LB" + column);
      return -1;
    }
    if (LpSetUpperBound(col, upper) != 0) {
      dialogs.Error("Error in UB" + column);
      return -1;
    }
  }
  return 0;
}

}  // namespace vesk::core
