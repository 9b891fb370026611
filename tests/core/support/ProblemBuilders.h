#pragma once
// Small problems for the tests of the editing commands.
#include <string>
#include <tuple>

#include "core/problem/Grid.h"
#include "core/problem/Problem.h"

namespace vesk::core::test {

// prefix followed by the decimal value ("ad2").
inline std::string Numbered(std::string prefix, long long value) {
  prefix += std::to_string(value);
  return prefix;
}

// A problem as New leaves it (New's defaults), not modified, no results.
inline Problem MakeProblem(int n, int m, int K) {
  Problem p;
  LayoutTables(p, n, m, K, /*withDefaults=*/true);
  p.DataModified = false;
  return p;
}

// Everything an edit may change, for "left exactly as it was" checks.
inline auto Contents(const Problem& p) {
  return std::make_tuple(p.AGrid, p.FGrid, p.BGrid, p.CGrid, p.NumCriteria, p.NumActions, p.NumCategories,
                  p.NumConstraints, p.DataModified, p.ResultsGeneration, p.Caption);
}

// Sets every data cell of profile block h (rows g(b_h) .. v_h, columns 1..n)
// to "<h><row><column>", so that moved blocks can be recognised.
inline void MarkProfile(Problem& p, int h) {
  for (int r = 0; r < 5; ++r)
    for (int j = 1; j <= p.NumCriteria; ++j)
      p.FGrid.SetCell(p.ProfileRow(h) + r, j, std::to_string(h) + std::to_string(r) + std::to_string(j));
}

inline void SetExample(Problem& p, int action, int low, int high) {
  p.AGrid.SetCell(action, 1, std::to_string(low));
  p.AGrid.SetCell(action, 2, std::to_string(high));
}

inline std::string Example(const Problem& p, int action) {
  return "[" + p.AGrid.Cell(action, 1) + "," + p.AGrid.Cell(action, 2) + "]";
}

}  // namespace vesk::core::test
