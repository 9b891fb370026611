// Matrix compression and bound tightening (TIGHT): singleton rows become
// bounds, fixed columns leave the rows, integer bounds are rounded inward,
// row activity bounds tighten column bounds, and the CMP log records it all.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "EngineFixtures.h"
#include "engine/BoundTightening.h"

namespace vesk::engine::test {
namespace {

const ColumnRecord& Column(EngineModel& m, const char* name) { return m.Col(m.FindColumnNumber(name)); }

double Rhs(EngineModel& m, const char* row) {
  const int i = m.FindRow(row);
  for (const auto& e : m.Col(0).entries)
    if (e.row == i) return e.value;
  return 0;
}

std::string Log(RecordingHost& host) {
  std::ifstream in(host.WorkingFolder() / "CMP");
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(BoundTightening, NothingToDoLeavesNoLogFile) {
  RecordingHost host;
  auto m = State(host, {{{"C1", 'L'}},
                        {{"X", "OBJ", 1}, {"Y", "OBJ", 1}, {"X", "C1", 1}, {"Y", "C1", 1}},
                        {{"C1", 4}},
                        {{"UP", "X", 4}, {"UP", "Y", 4}}});
  CompressMatrix(*m);
  EXPECT_FALSE(std::filesystem::exists(host.WorkingFolder() / "CMP"));
  EXPECT_EQ(Column(*m, "X").upper, 4);
  EXPECT_EQ(m->m, 2);
}

TEST(BoundTightening, EqualitySingletonBecomesFixedBoundsAndIsSubstitutedOut) {
  RecordingHost host;
  const Lp lp{{{"E1", 'E'}, {"R2", 'L'}},
              {{"X1", "OBJ", 1}, {"X2", "OBJ", 2}, {"X3", "OBJ", 1}, {"X3", "E1", 2}, {"X1", "R2", 1},
               {"X2", "R2", 1}, {"X3", "R2", 1}},
              {{"E1", 6}, {"R2", 10}},
              {{"UP", "X1", 100}, {"UP", "X2", 100}}};
  auto m = State(host, lp);
  CompressMatrix(*m);
  EXPECT_EQ(Column(*m, "X3").lower, 3);
  EXPECT_EQ(Column(*m, "X3").upper, 3);
  // The row is gone and both name tables still find everything else.
  EXPECT_EQ(m->m, 2);
  EXPECT_EQ(m->FindRow("E1"), 0);
  ASSERT_GT(m->FindRow("R2"), 0);
  ASSERT_GT(m->FindRow("OBJ"), 0);
  EXPECT_EQ(m->FindRow("OBJ"), m->m);
  EXPECT_DOUBLE_EQ(Rhs(*m, "R2"), 7);
  for (const auto& e : Column(*m, "X3").entries) EXPECT_NE(e.row, m->FindRow("R2"));
  const std::string log = Log(host);
  EXPECT_NE(log.find("REPLACE ROW E1 By a UP Bound on Column X3 3"), std::string::npos) << log;
  EXPECT_NE(log.find("REPLACE ROW E1 By a LO Bound on Column X3 3"), std::string::npos) << log;
  EXPECT_NE(log.find("COLUMN X3 has a fixed bound of 3"), std::string::npos) << log;
  EXPECT_NE(log.find("X1 UP BOUND reduced from 100 to 7"), std::string::npos) << log;

  // The reduced model solves to the optimum of the stated one: x2 = 7, x3 = 3.
  RecordingHost plainHost, tightHost;
  auto plain = Solve(plainHost, lp);
  auto tight = State(tightHost, lp);
  std::string error;
  ASSERT_TRUE(tight->SetParameter("TIGHT", "Y", error)) << error;
  PrepareForSolve(*tight);
  SolveContinuous(*tight);
  ASSERT_EQ(ContinuousStatus(*tight), "OPTIMAL SOLUTION");
  EXPECT_NEAR(tight->ObjectiveValue(), 17, 1e-9);
  EXPECT_NEAR(plain->ObjectiveValue(), 17, 1e-9);
  EXPECT_NEAR(tight->ColumnValue("X3"), 3, 1e-9);
}

TEST(BoundTightening, IntegerBoundsAreRoundedInward) {
  RecordingHost host;
  auto m = State(host, {{{"C1", 'L'}},
                        {{"X", "OBJ", 1}, {"X", "C1", 1}, {"Y", "C1", 1}},
                        {{"C1", 100}},
                        {{"UI", "X", 7.8}, {"LO", "X", 0.5}, {"UP", "Y", 1}}});
  CompressMatrix(*m);
  EXPECT_EQ(Column(*m, "X").lower, 1);
  EXPECT_EQ(Column(*m, "X").upper, 7);
  const std::string log = Log(host);
  EXPECT_NE(log.find("REPLACE UP Bound on Column X from 7.8 by 7"), std::string::npos) << log;
  EXPECT_NE(log.find("REPLACE LO Bound on Column X from 0.5 by 1"), std::string::npos) << log;
}

TEST(BoundTightening, ResidualOfTheOtherEntriesBoundsAColumn) {
  RecordingHost host;
  auto m = State(host, {{{"C1", 'L'}, {"C2", 'L'}},
                        {{"X1", "OBJ", 1}, {"X1", "C1", 1}, {"X2", "C1", 1}, {"X1", "C2", 1}, {"X2", "C2", 2}},
                        {{"C1", 4}, {"C2", 100}},
                        {{"LO", "X2", 1}}});
  CompressMatrix(*m);
  EXPECT_EQ(Column(*m, "X1").upper, 3);
  EXPECT_EQ(Column(*m, "X2").upper, 4);
}

TEST(BoundTightening, RangedSingletonRowKeepsBothSides) {
  struct Case {
    char type;
    double a, b, range, lower, upper;
  };
  // L: b - R <= a x <= b; G: b <= a x <= b + R.
  for (const Case& c : {Case{'L', 1, 5, 3, 2, 5}, Case{'G', 3, 6, 3, 2, 3}, Case{'L', -2, -2, 4, 1, 3}}) {
    RecordingHost host;
    auto m = State(host, {{{"S", c.type}, {"C2", 'L'}},
                          {{"X", "OBJ", 1}, {"X", "S", c.a}, {"RANGE", "S", c.range}, {"X", "C2", 1}, {"Y", "C2", 1}},
                          {{"S", c.b}, {"C2", 100}},
                          {{"UP", "Y", 1}}});
    CompressMatrix(*m);
    EXPECT_EQ(m->FindRow("S"), 0) << c.type;
    EXPECT_DOUBLE_EQ(Column(*m, "X").lower, c.lower) << c.type;
    EXPECT_DOUBLE_EQ(Column(*m, "X").upper, c.upper) << c.type;
  }
}

TEST(BoundTightening, ChainThatWouldMoveABoundForeverStops) {
  // x <= y and y <= x - 1 move each other's bounds by 1 per sweep from 1e9.
  RecordingHost host;
  const Lp lp{{{"C1", 'L'}, {"C2", 'L'}},
              {{"X", "OBJ", 1}, {"X", "C1", 1}, {"Y", "C1", -1}, {"Y", "C2", 1}, {"X", "C2", -1}},
              {{"C2", -1}},
              {{"UP", "X", 1e9}, {"UP", "Y", 1e9}}};
  auto m = State(host, lp);
  std::string error;
  ASSERT_TRUE(m->SetParameter("TIGHT", "Y", error)) << error;
  PrepareForSolve(*m);
  SolveContinuous(*m);
  EXPECT_EQ(ContinuousStatus(*m), "PROBLEM IS INFEASIBLE");
  EXPECT_GT(Column(*m, "X").upper, 1e8);
}

}  // namespace
}  // namespace vesk::engine::test
