#include "core/sorting/InferenceProgram.h"

#include <vector>

#include "core/problem/Errors.h"
#include "core/problem/Numbers.h"
#include "core/sorting/CellValues.h"

namespace vesk::core {
namespace {

// Appends a row to `grid` and returns its index.
int AppendRow(Grid& grid) {
  grid.Resize(grid.RowCount() + 1, grid.ColCount());
  return grid.RowCount() - 1;
}

std::string ExampleDescription(const char* relation, const std::string& name, int category) {
  std::string text = "C(";
  text += name;
  text += ')';
  text += relation;
  text += std::to_string(category);
  return text;
}

}  // namespace

std::string ParameterName(int j) {
  if (j == 0) return "lambda";
  std::string name = "k";
  name += std::to_string(j);
  return name;
}

bool CheckConstraintSigns(const Problem& p, UserDialogs& dialogs) {
  bool ok = true;
  for (int r = 2; r < p.CGrid.RowCount(); ++r) {
    const std::string& sign = p.CGrid.CellOrEmpty(r, p.SignColumn());
    if (!sign.empty() && (sign[0] == '<' || sign[0] == '=' || sign[0] == '>')) continue;
    const std::string& label = p.CGrid.CellOrEmpty(r, 0);
    dialogs.Error("Constraint " + label + " (row " + std::to_string(r - 1) + ") has no sign: choose <, = or >");
    ok = false;
  }
  return ok;
}

void BuildExampleConstraints(const Problem& problem, SortingState& state, UserDialogs& dialogs) {
  BuildExampleConstraints(SortingData::FromProblem(problem), state, dialogs);
}

void BuildExampleConstraints(const SortingData& d, SortingState& state, UserDialogs& dialogs) {
  const int n = d.n;
  Grid ic(2, n + 4);
  for (int c = 0; c <= n; ++c) ic.SetCell(0, 1 + c, ParameterName(c));
  ic.SetCell(0, n + 2, "<,=,>");
  ic.SetCell(0, n + 3, "RHS");
  for (int c = 1; c <= n + 1; ++c) ic.SetCell(1, c, "0");
  ic.SetCell(1, n + 2, ">=");
  ic.SetCell(1, n + 3, "0");

  int count = 0;
  auto nextRow = [&]() {
    ++count;
    if (count + 1 > ic.RowCount()) AppendRow(ic);
    return count;
  };
  for (int a = 1; a <= d.m; ++a) {
    const std::string& name = d.names[a - 1];
    const int low = d.eLow[a - 1];
    const int high = d.eHigh[a - 1];
    std::vector<long double> below, above;
    if (ExampleHasLowerRow(low)) {
      below = OutrankingCoefficients(d, a, low - 1);
      const int r = nextRow();
      ic.SetCell(r, 0, ExampleDescription(">=", name, low));
      ic.SetCell(r, 1, "-1");
      for (int j = 1; j <= n; ++j) ic.SetCell(r, 1 + j, FormatGeneral(static_cast<double>(below[j - 1])));
      ic.SetCell(r, n + 2, ">=");
      ic.SetCell(r, n + 3, "0");
    }
    if (ExampleHasUpperRow(high, d.K)) {
      above = OutrankingCoefficients(d, a, high);
      const int r = nextRow();
      ic.SetCell(r, 0, ExampleDescription("<=", name, high));
      ic.SetCell(r, 1, "1");
      for (int j = 1; j <= n; ++j) ic.SetCell(r, 1 + j, FormatGeneral(static_cast<double>(-above[j - 1])));
      ic.SetCell(r, n + 2, ">=");
      ic.SetCell(r, n + 3, FormatGeneral(kOutrankingMargin));
    }
    if (!below.empty() && !above.empty() && below == above)
      dialogs.Warning("Symmetric constraints due to assignment example of " + name + ". Infeasible problem.");
  }
  state.ICGrid = std::move(ic);
  state.NumExampleConstraints = count;
}

void BuildInferenceGrid(const Problem& p, SortingState& state) {
  const int n = p.NumCriteria;
  const Grid& ic = state.ICGrid;
  Grid ip(2, n + 6);
  ip.SetCell(0, 0, "Descr");
  ip.SetCell(0, 1, "alpha");
  for (int c = 0; c <= n; ++c) ip.SetCell(0, 2 + c, ParameterName(c));
  ip.SetCell(0, n + 3, "<,=,>");
  ip.SetCell(0, n + 4, "RHS");
  ip.SetCell(0, n + 5, "Error");

  int last = 0;  // last written data row
  auto row = [&](const std::string& description, const char* alpha, const char* sign) {
    last = AppendRow(ip) - 1;  // the table always keeps one empty row at its end
    ip.SetCell(last, 0, description);
    ip.SetCell(last, 1, alpha);
    ip.SetCell(last, n + 3, sign);
    return last;
  };

  for (int e = 1; e <= state.NumExampleConstraints; ++e) {
    const int r = row(ic.CellOrEmpty(e, 0), "1", ">=");
    for (int c = 1; c <= n + 1; ++c) ip.SetCell(r, c + 1, ic.CellOrEmpty(e, c));
    ip.SetCell(r, n + 4, ic.CellOrEmpty(e, n + 3));
  }

  for (int cr = 2; cr < p.CGrid.RowCount(); ++cr) {
    const std::string& sign = p.CGrid.CellOrEmpty(cr, p.SignColumn());
    const char s = sign.empty() ? '\0' : sign[0];
    auto copy = [&](const char* alpha, const char* rowSign) {
      const int r = row(p.CGrid.CellOrEmpty(cr, 0), alpha, rowSign);
      for (int c = 1; c <= n + 1; ++c) ip.SetCell(r, c + 1, p.CGrid.CellOrEmpty(cr, c));
      ip.SetCell(r, n + 4, p.CGrid.CellOrEmpty(cr, p.RhsColumn()));
    };
    if (s == '<') copy("-1", "<=");
    else if (s == '>') copy("1", ">=");
    else if (s == '=') {
      copy("1", ">=");
      copy("-1", "<=");
    }
  }

  for (int col = 1; col <= n + 1; ++col) {
    const double lower = static_cast<double>(CellReal(p.BGrid, 1, col, "Bounds"));
    const double upper = static_cast<double>(CellReal(p.BGrid, 2, col, "Bounds"));
    const std::string& header = p.BGrid.CellOrEmpty(0, col);
    auto boundRow = [&](const std::string& kind, const char* alpha, const char* sign, double value) {
      const int r = row(kind + header, alpha, sign);
      for (int c = 1; c <= n + 1; ++c) ip.SetCell(r, c + 1, c == col ? "1" : "0");
      ip.SetCell(r, n + 4, FormatGeneral(value));
    };
    if (lower > 0) boundRow("LB ", "1", ">=", lower);
    if (upper < 1) boundRow("UB ", "-1", "<=", upper);
  }

  ip.Resize(ip.RowCount() - 1, ip.ColCount());  // the trailing empty row
  state.IPGrid = std::move(ip);
}

void WriteInferenceErrors(const Problem& p, SortingState& state) {
  const int n = p.NumCriteria;
  Grid& ip = state.IPGrid;
  const int D = ip.RowCount() - 1;
  if (D < 1 || D > kMaxMarkedRows) return;
  for (int r = 1; r <= D; ++r) {
    long double value = 0.0L;
    for (int c = 0; c <= n; ++c)
      value += CellRealOrZero(ip, r, 2 + c, "Infer. Prog.") * static_cast<long double>(state.InferredParams[c]);
    const long double rhs = CellReal(ip, r, n + 4, "Infer. Prog.");
    const bool atMost = !ip.CellOrEmpty(r, n + 3).empty() && ip.CellOrEmpty(r, n + 3)[0] == '<';
    const long double error = atMost ? value - rhs : rhs - value;
    ip.SetCell(r, n + 5, Format5g(static_cast<double>(error)));
    if (error > 0) state.ViolatedRows.insert(r - 1);
  }
}

}  // namespace vesk::core
