#include <gtest/gtest.h>

#include <set>

#include "EngineFixtures.h"
#include "engine/NameTable.h"

namespace vesk::engine::test {
namespace {

TEST(ModelStore, ZeroValuesStoreNothingAndTinyValuesRemoveEntries) {
  RecordingHost host;
  auto model = State(host, {{{"R1", 'L'}}, {}, {}, {}});
  model->SetCoefficient("X", "R1", 0.0);
  model->SetRhs("R1", 0.0);
  EXPECT_EQ(model->FindColumnNumber("X"), 0);  // a zero never creates a column
  EXPECT_TRUE(model->Col(0).entries.empty());

  model->SetCoefficient("X", "R1", 2.0);
  model->SetCoefficient("Y", "R1", 2.0);
  const int x = model->FindColumnNumber("X");
  const int y = model->FindColumnNumber("Y");
  model->SetCoefficient("X", "R1", 5e-12);  // below 1e-11: the entry goes
  model->SetCoefficient("Y", "R1", 1e-11);  // at 1e-11: it stays
  EXPECT_TRUE(model->Col(x).entries.empty());
  ASSERT_EQ(model->Col(y).Count(), 1);
  EXPECT_DOUBLE_EQ(model->Col(y).entries[0].value, 1e-11);
}

TEST(ModelStore, BoundTypes) {
  RecordingHost host;
  auto model = State(host, {{{"R1", 'L'}}, {}, {},
                            {{"UI", "I", 500000}, {"MI", "M", 7}, {"BV", "B", 0}, {"FX", "F", 2.5},
                             {"FR", "G", 0}, {"LO", "L", -4}, {"UP", "L", 9}, {"XX", "L", 1}}});
  const auto& i = model->Col(model->FindColumnNumber("I"));
  EXPECT_DOUBLE_EQ(i.upper, 300000);
  EXPECT_TRUE(i.isInteger);
  EXPECT_FLOAT_EQ(i.upPseudoCost, 1e10f);
  const auto& mi = model->Col(model->FindColumnNumber("M"));
  EXPECT_DOUBLE_EQ(mi.lower, -1e21);
  EXPECT_DOUBLE_EQ(mi.upper, 0);  // MI leaves the upper bound at 0
  const auto& b = model->Col(model->FindColumnNumber("B"));
  EXPECT_TRUE(b.isInteger);
  EXPECT_DOUBLE_EQ(b.upper, 1);
  const auto& f = model->Col(model->FindColumnNumber("F"));
  EXPECT_DOUBLE_EQ(f.lower, 2.5);
  EXPECT_DOUBLE_EQ(f.upper, 2.5);
  EXPECT_EQ(model->Col(model->FindColumnNumber("G")).kind, kFreeStructural);
  EXPECT_TRUE(model->freeColumns);
  const auto& l = model->Col(model->FindColumnNumber("L"));
  EXPECT_DOUBLE_EQ(l.lower, -4);
  EXPECT_DOUBLE_EQ(l.upper, 9);
  EXPECT_TRUE(host.Asked("Unknown Bound Type XX at column L"));
}

TEST(ModelStore, DuplicateRowClearsTheModelAndUndefinedRowIsFatal) {
  RecordingHost host;
  auto model = State(host, {{{"R1", 'L'}, {"R2", 'G'}}, {{"X", "R1", 1}}, {}, {}});
  EXPECT_FALSE(model->DefineRow("R2", 'E'));
  EXPECT_TRUE(host.Asked("ROW R2 ALREADY DEFINED"));
  EXPECT_TRUE(model->ErrorFlag());
  EXPECT_EQ(model->m, 0);
  EXPECT_EQ(model->n, 0);  // only RANGE and RHS remain

  EXPECT_THROW(model->SetCoefficient("X", "NOWHERE", 1.0), EngineFatalError);
  EXPECT_TRUE(host.Asked("Row not defined"));
}

TEST(ModelStore, NamesAreCutTo25Characters) {
  RecordingHost host;
  auto model = State(host, {{{"R1", 'L'}}, {}, {}, {}});
  model->SetCoefficient("ABCDEFGHIJKLMNOPQRSTUVWXYZ-long", "R1", 1);
  EXPECT_EQ(model->FindColumnNumber("ABCDEFGHIJKLMNOPQRSTUVWXY"), 1);
  EXPECT_EQ(model->Col(1).name.size(), 25u);
}

TEST(NameTable, HashAndProbeRule) {
  // "AB": 65 << 1 + 66 << 3 = 658, home slot 659; next slot (650 + 659 + 66) mod 131070 + 1.
  EXPECT_EQ(NameHashSum("AB"), 658u);
  EXPECT_EQ(HomeSlot("AB"), 659);
  EXPECT_EQ(NextSlot("AB", 659), 1376);
}

TEST(NameTable, NamesWhoseProbeCycleIsShortAreAllFound) {
  // First characters 140 and 129 give the probe step 1530, whose cycle through
  // the 131070 slots has only 257 slots; 400 such names must still fit.
  RecordingHost host;
  auto model = State(host, {{{"R1", 'L'}}, {}, {}, {}});
  std::set<int> numbers;
  for (int k = 0; k < 400; ++k) {
    const std::string name = std::string("\x8c\x81") + std::to_string(k);
    model->SetCoefficient(name, "R1", 1.0);
  }
  for (int k = 0; k < 400; ++k) numbers.insert(model->FindColumnNumber(std::string("\x8c\x81") + std::to_string(k)));
  EXPECT_EQ(numbers.size(), 400u);
  EXPECT_EQ(*numbers.begin(), 1);
}

TEST(PrepareModel, LogicalColumnsRowOrderAndRenamedRows) {
  RecordingHost host;
  // Row "X" has the name of a column; the objective is defined first and a
  // second N row sits between the constraints.
  auto model = State(host, {{{"X", 'L'}, {"FREE", 'N'}, {"R2", 'G'}, {"R3", 'E'}},
                            {{"X", "X", 1}, {"X", "R2", 2}, {"Y", "R3", 1}, {"Y", "OBJ", 1}},
                            {{"R2", 1}},
                            {}});
  PrepareForSolve(*model);
  const int m = model->m;
  ASSERT_EQ(m, 5);
  EXPECT_EQ(model->Row(m).name, "OBJ");
  EXPECT_EQ(model->Row(m - 1).name, "FREE");  // N rows at the bottom
  const std::string renamed = "\xff" "X";
  EXPECT_GT(model->FindRow(renamed), 0);
  const int logical = model->FindColumnNumber(renamed);
  ASSERT_GT(logical, 0);
  EXPECT_EQ(model->Col(logical).kind, kSlack);
  // After the first inversion the logical of row i stands at position i.
  for (int i = 1; i <= m; ++i) EXPECT_EQ(model->Col(i).name, model->Row(i).name) << i;
  EXPECT_EQ(model->Col(model->FindColumnNumber("R2")).kind, kSurplus);
  EXPECT_DOUBLE_EQ(model->Col(model->FindColumnNumber("R3")).upper, 0);
}

TEST(PrepareModel, RangesBecomeLogicalUpperBounds) {
  RecordingHost host;
  auto model = State(host, {{{"R1", 'L'}, {"R2", 'G'}}, {{"X", "R1", 1}, {"X", "R2", 1}, {"RANGE", "R1", 3}},
                            {{"R1", 4}},
                            {}});
  PrepareForSolve(*model);
  EXPECT_DOUBLE_EQ(model->Col(model->FindColumnNumber("R1")).upper, 3);
  EXPECT_DOUBLE_EQ(model->Col(model->FindColumnNumber("R2")).upper, 1e21);
}

}  // namespace
}  // namespace vesk::engine::test
