#include <gtest/gtest.h>

#include "RobustFixtures.h"
#include "core/problem/ScriptedDialogs.h"
#include "core/sorting/InferenceProgram.h"
#include "core/sorting/InferenceProgramLoad.h"
#include "solver/LP_Unit_LPSolver.h"

namespace vesk::core {
namespace {

using test::AddConstraint;
using test::StepProblem;
using test::ThreeActions;

std::vector<std::string> Row(const Grid& g, int r) {
  std::vector<std::string> cells;
  for (int c = 0; c < g.ColCount(); ++c) cells.push_back(g.Cell(r, c));
  return cells;
}

TEST(ExampleConstraints, RowsPerExampleAndShrinkingTable) {
  Problem p = ThreeActions();
  p.AGrid.SetCell(1, 1, "2");
  p.AGrid.SetCell(1, 2, "2");  // "A" exactly in 2: two rows
  p.AGrid.SetCell(3, 2, "2");  // "C" at most 2: one row
  SortingState s;
  ScriptedDialogs dialogs;
  BuildExampleConstraints(p, s, dialogs);
  EXPECT_TRUE(dialogs.messages.empty());
  ASSERT_EQ(s.NumExampleConstraints, 3);
  ASSERT_EQ(s.ICGrid.RowCount(), 4);
  EXPECT_EQ(Row(s.ICGrid, 0), (std::vector<std::string>{"", "lambda", "k1", "k2", "<,=,>", "RHS"}));
  // w(A, b_1) = (1, 0); w(A, b_2) = (0, 0) written without a minus sign.
  EXPECT_EQ(Row(s.ICGrid, 1), (std::vector<std::string>{"C(A)>=2", "-1", "1", "0", ">=", "0"}));
  EXPECT_EQ(Row(s.ICGrid, 2), (std::vector<std::string>{"C(A)<=2", "1", "0", "0", ">=", "0.0001"}));
  EXPECT_EQ(Row(s.ICGrid, 3), (std::vector<std::string>{"C(C)<=2", "1", "0", "0", ">=", "0.0001"}));

  // Without examples only the pre-filled row remains.
  for (int a = 1; a <= 3; ++a) {
    p.AGrid.SetCell(a, 1, "1");
    p.AGrid.SetCell(a, 2, "3");
  }
  BuildExampleConstraints(p, s, dialogs);
  EXPECT_EQ(s.NumExampleConstraints, 0);
  ASSERT_EQ(s.ICGrid.RowCount(), 2);
  EXPECT_EQ(Row(s.ICGrid, 1), (std::vector<std::string>{"", "0", "0", "0", ">=", "0"}));
}

TEST(ExampleConstraints, SymmetricRowsWarnAndGenerationGoesOn) {
  // Both profiles at 50: every action has the same coefficients on b_1 and b_2.
  Problem p = StepProblem(2, 3, {50, 50}, {{"twin", {"60", "40"}, 2, 2}, {"next", {"60", "60"}, 2, 3}});
  SortingState s;
  ScriptedDialogs dialogs;
  BuildExampleConstraints(p, s, dialogs);
  EXPECT_EQ(dialogs.Texts(MessageKind::Warning),
            (std::vector<std::string>{"Symmetric constraints due to assignment example of twin. Infeasible problem."}));
  EXPECT_EQ(s.NumExampleConstraints, 3);
}

TEST(InferenceGrid, ExamplesConstraintsAndBoundRows) {
  Problem p = ThreeActions();
  p.AGrid.SetCell(1, 1, "2");
  AddConstraint(p, {"0", "1", "-1"}, "=", "0");
  AddConstraint(p, {"", "1", ""}, "<=", "0.8");
  p.BGrid.SetCell(2, 2, "0.5");  // k1 at most 0.5; lambda at least 0.5
  SortingState s;
  ScriptedDialogs dialogs;
  BuildExampleConstraints(p, s, dialogs);
  BuildInferenceGrid(p, s);
  ASSERT_EQ(s.IPGrid.RowCount(), 7);
  EXPECT_EQ(Row(s.IPGrid, 0), (std::vector<std::string>{"Descr", "alpha", "lambda", "k1", "k2", "<,=,>", "RHS", "Error"}));
  EXPECT_EQ(Row(s.IPGrid, 1), (std::vector<std::string>{"C(A)>=2", "1", "-1", "1", "0", ">=", "0", ""}));
  EXPECT_EQ(Row(s.IPGrid, 2), (std::vector<std::string>{"ad1", "1", "0", "1", "-1", ">=", "0", ""}));
  EXPECT_EQ(Row(s.IPGrid, 3), (std::vector<std::string>{"ad1", "-1", "0", "1", "-1", "<=", "0", ""}));
  EXPECT_EQ(Row(s.IPGrid, 4), (std::vector<std::string>{"ad2", "-1", "", "1", "", "<=", "0.8", ""}));
  EXPECT_EQ(Row(s.IPGrid, 5), (std::vector<std::string>{"LB lambda", "1", "1", "0", "0", ">=", "0.5", ""}));
  EXPECT_EQ(Row(s.IPGrid, 6), (std::vector<std::string>{"UB k1", "-1", "0", "1", "0", "<=", "0.5", ""}));

  // Loading rewrites the empty coefficients of ad2 as "0".
  ASSERT_EQ(LoadInferenceProgram(p, s, dialogs), 0);
  EXPECT_EQ(s.IPGrid.Cell(4, 2), "0");
  EXPECT_EQ(s.IPGrid.Cell(4, 4), "0");
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST(InferenceGrid, RefusedRowsNameTheirRow) {
  struct Case {
    int row, column;
    const char* text;
    const char* message;
  } cases[] = {
      {1, 5, "=", "Error in Ineq1"},  // only '<' or '>' in this table
      {1, 5, "", "Error in Ineq1"},
      {1, 6, "-0.5", "Error in b1"},
  };
  for (const auto& c : cases) {
    Problem p = ThreeActions();
    SortingState s;
    ScriptedDialogs dialogs;
    BuildExampleConstraints(p, s, dialogs);
    BuildInferenceGrid(p, s);  // one row: LB lambda
    s.IPGrid.SetCell(c.row, c.column, c.text);
    EXPECT_EQ(LoadInferenceProgram(p, s, dialogs), -1) << c.message;
    EXPECT_EQ(dialogs.Texts(MessageKind::Error), (std::vector<std::string>{c.message}));
  }
}

TEST(InferenceErrors, ErrorColumnAndMarksOnlyUpTo255Rows) {
  Problem p = ThreeActions();
  SortingState s;
  s.InferredParams = {0.6, 0.3, 0.7};
  for (int rows : {3, 300}) {
    s.IPGrid = Grid(rows + 1, 8);
    s.ViolatedRows.clear();
    for (int r = 1; r <= rows; ++r) {
      // Alternating: lambda >= 0.7 (error 0.1) and k1 <= 0.5 (error -0.2).
      const bool odd = r % 2 == 1;
      s.IPGrid.SetCell(r, 2, odd ? "1" : "0");
      s.IPGrid.SetCell(r, 3, odd ? "0" : "1");
      s.IPGrid.SetCell(r, 5, odd ? ">=" : "<=");
      s.IPGrid.SetCell(r, 6, odd ? "0.7" : "0.5");
    }
    WriteInferenceErrors(p, s);
    if (rows == 3) {
      EXPECT_EQ(s.IPGrid.Cell(1, 7), "0.1");
      EXPECT_EQ(s.IPGrid.Cell(2, 7), "-0.2");
      EXPECT_EQ(s.ViolatedRows, (std::set<int>{0, 2}));
    } else {
      EXPECT_EQ(s.IPGrid.Cell(1, 7), "");
      EXPECT_TRUE(s.ViolatedRows.empty());
    }
  }
}

}  // namespace
}  // namespace vesk::core
