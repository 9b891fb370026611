// The constraint list (IGrid): every constraint of the information in
// at-least form, and which of its cells the window shows empty.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RobustFixtures.h"
#include "core/problem/Problem.h"
#include "core/sorting/ConstraintList.h"
#include "core/sorting/SortingState.h"

namespace vesk::core {
namespace {

using test::AddConstraint;
using Strings = std::vector<std::string>;

Strings Row(const Grid& g, int r) {
  Strings out;
  for (int c = 0; c < g.ColCount(); ++c) out.push_back(g.Cell(r, c));
  return out;
}

TEST(ConstraintList, EveryRowInAtLeastForm) {
  Problem p;
  LayoutTables(p, 2, 1, 3, /*withDefaults=*/true);  // lambda [0.5, 1], k in [0, 0.5]
  p.BGrid.SetCell(1, 3, "0.1");
  AddConstraint(p, {"0", "1", "-1"}, ">=", "0.1");
  AddConstraint(p, {"", "2", "0.25"}, "<=", "0.75");
  AddConstraint(p, {"0", "1", "-1"}, "=", "0");
  SortingState s;
  s.ICGrid = Grid(3, 6);
  s.ICGrid.SetCell(1, 0, "C(a)>=2");
  for (int c = 1; c <= 3; ++c) s.ICGrid.SetCell(1, c, c == 1 ? "-1" : "0.5");
  s.ICGrid.SetCell(1, 4, ">=");
  s.ICGrid.SetCell(1, 5, "0");
  s.ICGrid.SetCell(2, 0, "stale row beyond the count");
  s.NumExampleConstraints = 1;
  BuildConstraintList(p, s);
  const std::vector<Strings> expected = {
      {"No.", "Descr", "lambda", "k1", "k2", ">=", "RHS"},
      {"1", "C(a)>=2", "-1", "0.5", "0.5", ">=", "0"},
      {"2", "ad1", "0", "1", "-1", ">=", "0.1"},
      {"3", "ad2", "0", "-2", "-0.25", ">=", "-0.75"},
      {"4", "ad3", "0", "-1", "1", ">=", "0"},
      {"5", "ad3", "0", "1", "-1", ">=", "0"},
      {"6", "LB lambda", "1", "0", "0", ">=", "0.5"},
      {"7", "UB k1", "0", "-1", "0", ">=", "-0.5"},
      {"8", "LB k2", "0", "0", "1", ">=", "0.1"},
      {"9", "UB k2", "0", "0", "-1", ">=", "-0.5"},
  };
  ASSERT_EQ(s.IGrid.RowCount(), static_cast<int>(expected.size()));
  for (int r = 0; r < s.IGrid.RowCount(); ++r) EXPECT_EQ(Row(s.IGrid, r), expected[r]) << "row " << r;
  // The window shows the zeros of the coefficients empty, never those of RHS.
  EXPECT_TRUE(IGridCellBlank(s.IGrid, 2, 2));
  EXPECT_FALSE(IGridCellBlank(s.IGrid, 6, 1));
  EXPECT_FALSE(IGridCellBlank(s.IGrid, 2, 1));
}

}  // namespace
}  // namespace vesk::core
