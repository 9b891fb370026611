#include "core/problem/Problem.h"

#include <string>

#include "core/problem/Numbers.h"

namespace vesk::core {
namespace {

std::string Numbered(const char* prefix, int value) { return prefix + std::to_string(value); }

}  // namespace

void Problem::ResetResults() {
  ResultsAvailable = false;
  ++ResultsGeneration;
}

void WriteNormRow(Problem& p) {
  const int n = p.NumCriteria;
  p.CGrid.SetCell(1, 0, "Norm");
  p.CGrid.SetCell(1, 1, "0");
  for (int j = 1; j <= n; ++j) p.CGrid.SetCell(1, 1 + j, "1");
  p.CGrid.SetCell(1, n + 2, "=");
  p.CGrid.SetCell(1, n + 3, "1");
}

void LayoutTables(Problem& p, int n, int m, int K, bool withDefaults) {
  p.NumCriteria = n;
  p.NumActions = m;
  p.NumCategories = K;
  p.NumConstraints = 1;

  // FGrid: 1+n columns, 2+5(K-1) rows.
  p.FGrid = Grid(2 + 5 * (K - 1), 1 + n);
  for (int j = 1; j <= n; ++j) p.FGrid.SetCell(0, j, Numbered("g", j));
  for (int h = 1; h <= K - 1; ++h) {
    const int r = p.ProfileRow(h);
    p.FGrid.SetCell(r, 0, "g(b" + std::to_string(h) + ")");
    p.FGrid.SetCell(r + 1, 0, Numbered("q", h));
    p.FGrid.SetCell(r + 2, 0, Numbered("p", h));
    p.FGrid.SetCell(r + 3, 0, Numbered("u", h));
    p.FGrid.SetCell(r + 4, 0, Numbered("v", h));
  }
  const int last = p.DirectionRow();
  p.FGrid.SetCell(last, 0, "MAX/min?(1/-1)");
  if (withDefaults) {
    for (int r = 1; r < last; ++r)
      for (int j = 1; j <= n; ++j) p.FGrid.SetCell(r, j, "0");
    for (int j = 1; j <= n; ++j) p.FGrid.SetCell(last, j, "1");
  }

  // BGrid: 3 rows, 2+n columns.
  p.BGrid = Grid(3, 2 + n);
  p.BGrid.SetCell(1, 0, "LB - Lower Bound");
  p.BGrid.SetCell(2, 0, "UB - Upper Bound");
  p.BGrid.SetCell(0, 1, "lambda");
  p.BGrid.SetCell(1, 1, "0.5");
  p.BGrid.SetCell(2, 1, "1.0");
  for (int j = 1; j <= n; ++j) {
    p.BGrid.SetCell(0, 1 + j, Numbered("k", j));
    if (withDefaults) {
      p.BGrid.SetCell(1, 1 + j, "0");
      p.BGrid.SetCell(2, 1 + j, "0.5");
    }
  }

  // CGrid: n+4 columns, header and Norm row.
  p.CGrid = Grid(2, n + 4);
  p.CGrid.SetCell(0, 1, "lambda");
  for (int j = 1; j <= n; ++j) p.CGrid.SetCell(0, 1 + j, Numbered("k", j));
  p.CGrid.SetCell(0, n + 2, "<,=,>");
  p.CGrid.SetCell(0, n + 3, "RHS");
  WriteNormRow(p);

  // AGrid: 3+n columns, 1+m rows.
  p.AGrid = Grid(1 + m, 3 + n);
  p.AGrid.SetCell(0, 0, "Action");
  p.AGrid.SetCell(0, 1, "ELow");
  p.AGrid.SetCell(0, 2, "EHigh");
  for (int j = 1; j <= n; ++j) p.AGrid.SetCell(0, 2 + j, Numbered("g", j));
  if (withDefaults) {
    for (int i = 1; i <= m; ++i) {
      p.AGrid.SetCell(i, 0, std::to_string(i - 1));
      p.AGrid.SetCell(i, 1, "1");
      p.AGrid.SetCell(i, 2, std::to_string(K));
      for (int j = 1; j <= n; ++j) p.AGrid.SetCell(i, 2 + j, "0");
    }
  }
  p.TablesShown = true;
}

int ActionNamed(const Problem& p, std::string_view text) {
  if (auto number = ParseInt(text); number && *number >= 1 && *number <= p.NumActions) return *number;
  text = TrimBlanks(text);
  for (int i = 1; i <= p.NumActions; ++i)
    if (p.AGrid.CellOrEmpty(i, 0) == text) return i;
  return 0;
}

}  // namespace vesk::core
