#include "core/sorting/InferenceProgramLoad.h"

#include <string>

#include "core/sorting/CellValues.h"
#include "core/sorting/InferenceProgram.h"
#include "solver/LP_Unit_LPSolver.h"

namespace vesk::core {

int LoadInferenceProgram(const Problem& p, SortingState& state, UserDialogs& dialogs) {
  using namespace vesk::solver;
  const int n = p.NumCriteria;
  Grid& ip = state.IPGrid;
  const int D = ip.RowCount() - 1;
  auto refuse = [&](const std::string& message) {
    dialogs.Error(message);
    return -1;
  };
  if (LpSetSize(n + 3, D + 1) != 0) return refuse("Error LP in size");

  for (int r = 1; r <= D; ++r) {
    const std::string row = std::to_string(r);
    const double s = ip.CellOrEmpty(r, 1) == "1" ? 1.0 : -1.0;
    if (LpSetCoefficient(r, 1, s) != 0) return refuse("Error in setting IP" + row + ",1+");
    if (LpSetCoefficient(r, 2, -s) != 0) return refuse("Error in setting IP" + row + ",1-");
    for (int col = 2; col <= n + 2; ++col) {
      if (ip.Cell(r, col).empty()) ip.SetCell(r, col, "0");
      const double value = static_cast<double>(CellReal(ip, r, col, "Infer. Prog."));
      if (LpSetCoefficient(r, col + 1, value) != 0)
        return refuse("Error in setting IP" + row + "," + std::to_string(col));
    }
    const std::string& sign = ip.CellOrEmpty(r, n + 3);
    const char type = sign.empty() ? '\0' : sign[0];
    if ((type != '<' && type != '>') || LpSetRowType(r, type) != 0) return refuse("Error in Ineq" + row);
    const double rhs = static_cast<double>(CellReal(ip, r, n + 4, "Infer. Prog."));
    if (LpSetRhs(r, rhs) != 0) return refuse("Error in b" + row);
  }

  const int norm = D + 1;
  if (LpSetCoefficient(norm, 1, 0) != 0) return refuse("Error in setting IP: Sum=1(+)");
  if (LpSetCoefficient(norm, 2, 0) != 0) return refuse("Error in setting IP: Sum=1(-)");
  if (LpSetCoefficient(norm, 3, 0) != 0) return refuse("Error in setting IP: Sum=1(L)");
  for (int j = 1; j <= n; ++j)
    if (LpSetCoefficient(norm, 3 + j, 1) != 0) return refuse("Error in setting IP: Sum=1(k)");
  if (LpSetRowType(norm, '=') != 0) return refuse("Error in setting IP: Sum=1(=)");
  if (LpSetRhs(norm, 1) != 0) return refuse("Error in setting IP: Sum=1(b)");

  if (LpSetLowerBound(1, 0) != 0) return refuse("Error in setting IP: LB1+");
  if (LpSetLowerBound(2, 0) != 0) return refuse("Error in setting IP: LB1-");
  if (LpSetUpperBound(1, kAlphaUpperBound) != 0) return refuse("Error in setting IP: UB1+");
  if (LpSetUpperBound(2, kAlphaUpperBound) != 0) return refuse("Error in setting IP: UB1-");
  for (int j = 3; j <= n + 3; ++j) {
    if (LpSetLowerBound(j, 0) != 0) return refuse("Error in setting IP: LB" + std::to_string(j));
    if (LpSetUpperBound(j, 1) != 0) return refuse("Error in in setting IP: UB" + std::to_string(j));
  }

  if (LpSetObjective(1, -1) != 0) return refuse("Error in setting IP: c(alpha+)");
  if (LpSetObjective(2, 1) != 0) return refuse("Error in setting IP: c(alpha-)");
  for (int j = 3; j <= n + 3; ++j)
    if (LpSetObjective(j, 0) != 0) return refuse("Error in setting IP: Cj");
  return 0;
}

double InferredValue(int i) { return solver::LpColumnValue(i + 3); }

}  // namespace vesk::core
