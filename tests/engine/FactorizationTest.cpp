#include <gtest/gtest.h>

#include <cmath>

#include "EngineFixtures.h"
#include "engine/BasisSolves.h"
#include "engine/EtaFile.h"
#include "engine/Reinvert.h"

namespace vesk::engine::test {
namespace {

// B^-1 applied to each basic column must give its unit vector.
void ExpectExactInverse(EngineModel& model) {
  std::vector<double> v(static_cast<size_t>(model.m) + 1);
  for (int k = 1; k <= model.m; ++k) {
    ScatterColumn(model, k, v);
    Ftran(model, v, 1, model.etaFile.count);
    for (int i = 1; i <= model.m; ++i) EXPECT_NEAR(v[i], i == k ? 1.0 : 0.0, 1e-12) << "column " << k << " row " << i;
  }
}

// Puts the named column basic at the position of the named basic column.
void MakeBasic(EngineModel& model, const std::string& in, const std::string& out) {
  const int a = model.FindColumnNumber(in), b = model.FindColumnNumber(out);
  ASSERT_GT(a, model.m);
  ASSERT_LE(b, model.m);
  model.SwapColumns(a, b);
  model.Col(b).status = ColumnStatus::kWithin;
  model.Col(a).status = ColumnStatus::kAtLower;
}

// y = e_r B^-1 must meet every basic column k in delta_rk.
void ExpectExactRowsOfInverse(EngineModel& model) {
  for (int r = 1; r <= model.m; ++r) {
    BtranUnit(model, r);
    for (int k = 1; k <= model.m; ++k) {
      double s = 0;
      for (const auto& e : model.Col(k).entries) s += model.duals[static_cast<size_t>(e.row)] * e.value;
      EXPECT_NEAR(s, r == k ? 1.0 : 0.0, 1e-12) << "row " << r << " column " << k;
    }
  }
}

TEST(EtaFile, PivotEtasKeepTheInverseExactThroughRowExchangesAndCutBack) {
  RecordingHost host;
  // Dense columns, so that the pivot etas are held densely; X3 has a zero row.
  auto model = State(host, {{{"R1", 'L'}, {"R2", 'L'}, {"R3", 'L'}, {"R4", 'L'}},
                            {{"X1", "OBJ", 1}, {"X1", "R1", 4}, {"X1", "R2", 1}, {"X1", "R3", 2}, {"X1", "R4", 1},
                             {"X2", "OBJ", 2}, {"X2", "R1", 1}, {"X2", "R2", 3}, {"X2", "R3", -1}, {"X2", "R4", 2},
                             {"X3", "R1", 2}, {"X3", "R2", 1}, {"X3", "R3", 5}},
                            {},
                            {}});
  PrepareForSolve(*model);
  EtaFile& F = model->etaFile;
  std::vector<long long> nonzerosAfter;
  std::vector<std::string> left;  // the logicals the pivots replaced
  const char* entering[] = {"X1", "X2", "X3"};
  for (int k = 0; k < 3; ++k) {
    const int q = model->FindColumnNumber(entering[k]);
    const int r = k + 1;
    ScatterColumn(*model, q, model->pivotColumn);
    Ftran(*model, model->pivotColumn, 1, F.count);
    ASSERT_GT(std::fabs(model->pivotColumn[static_cast<size_t>(r)]), 1e-6);
    AppendEta(*model, model->pivotColumn, r, 1, model->m);
    left.push_back(model->Col(r).name);
    model->SwapColumns(r, q);
    nonzerosAfter.push_back(F.nonzeros);
    ExpectExactInverse(*model);
    ExpectExactRowsOfInverse(*model);
  }
  int dense = 0;
  for (int k = 1; k <= F.count; ++k) dense += F.denseStart[k] > F.denseStart[k - 1];
  EXPECT_EQ(dense, 3);

  F.CutBack(F.count - 1);
  EXPECT_EQ(F.nonzeros, nonzerosAfter[1]);
  EXPECT_EQ(F.dense.size(), static_cast<size_t>(F.denseStart.back()));
  model->SwapColumns(3, model->FindColumnNumber(left[2]));  // the basis of the etas kept
  ExpectExactInverse(*model);

  model->SwapRows(1, 3);  // renumbers the entries of every column and eta
  model->SwapColumns(1, 3);
  ExpectExactInverse(*model);
  ExpectExactRowsOfInverse(*model);
}

TEST(Reinvert, LogicalBasisNeedsEtasOnlyForSurplusColumns) {
  RecordingHost host;
  auto model = State(host, {{{"L1", 'L'}, {"G1", 'G'}, {"E1", 'E'}, {"G2", 'G'}},
                            {{"X", "L1", 1}, {"X", "G1", 1}, {"X", "E1", 1}, {"X", "G2", 1}},
                            {},
                            {}});
  PrepareForSolve(*model);
  EXPECT_EQ(model->etaFile.count, 2);
  EXPECT_EQ(model->etaFile.nonzeros, 2);
  ExpectExactInverse(*model);
}

TEST(Reinvert, TriangularAndKernelColumnsGiveAnExactInverse) {
  RecordingHost host;
  // A lower-triangular part (X1), an upper-triangular part (X4) and a 2x2
  // kernel (X2, X3) that needs numerical pivoting.
  auto model = State(host, {{{"R1", 'L'}, {"R2", 'L'}, {"R3", 'L'}, {"R4", 'L'}},
                            {{"X1", "R1", 2}, {"X1", "R2", 1}, {"X1", "R4", 3},
                             {"X2", "R2", 1e-3}, {"X2", "R3", 4}, {"X2", "R4", 1},
                             {"X3", "R2", 5}, {"X3", "R3", 1}, {"X3", "R4", -1},
                             {"X4", "R3", 1}, {"X4", "R4", 2}, {"X4", "R2", 1}},
                            {},
                            {}});
  PrepareForSolve(*model);
  MakeBasic(*model, "X1", "R1");
  MakeBasic(*model, "X2", "R2");
  MakeBasic(*model, "X3", "R3");
  MakeBasic(*model, "X4", "R4");
  ASSERT_TRUE(Reinvert(*model));
  EXPECT_FALSE(host.Said("MATRIX SINGULAR"));
  for (int k = 1; k <= 4; ++k) EXPECT_EQ(model->Col(k).name[0], 'X');
  ExpectExactInverse(*model);
}

TEST(Reinvert, DependentKernelColumnIsReplacedByTheLogicalOfItsRow) {
  RecordingHost host;
  auto model = State(host, {{{"R1", 'L'}, {"R2", 'L'}, {"R3", 'L'}},
                            {{"X", "R1", 1}, {"X", "R2", 2}, {"Y", "R1", 2}, {"Y", "R2", 4}, {"Z", "R3", 1}},
                            {},
                            {}});
  PrepareForSolve(*model);
  MakeBasic(*model, "X", "R1");
  MakeBasic(*model, "Y", "R2");
  ASSERT_TRUE(Reinvert(*model));
  EXPECT_TRUE(host.Said("MATRIX SINGULAR 1"));
  const bool xBasic = model->FindColumnNumber("X") <= model->m;
  const bool yBasic = model->FindColumnNumber("Y") <= model->m;
  EXPECT_NE(xBasic, yBasic);  // exactly one of the dependent pair stays
  const bool logicalIn = model->FindColumnNumber("R1") <= model->m || model->FindColumnNumber("R2") <= model->m;
  EXPECT_TRUE(logicalIn);
  ExpectExactInverse(*model);
}

TEST(Reinvert, SingletonConflictBringsInTheFirstNonbasicColumn) {
  RecordingHost host;
  auto model = State(host, {{{"R1", 'L'}, {"R2", 'L'}},
                            {{"X", "R1", 3}, {"W", "R1", 1}, {"W", "R2", 1}},
                            {},
                            {}});
  PrepareForSolve(*model);
  // X (a singleton of row R1) replaces the logical of R2: rows R1 holds two
  // singletons and R2 none.
  MakeBasic(*model, "X", "R2");
  const std::string firstNonbasic = model->Col(model->m + 1).name;
  ASSERT_TRUE(Reinvert(*model));
  const bool xBasic = model->FindColumnNumber("X") <= model->m;
  const bool r1Basic = model->FindColumnNumber("R1") <= model->m;
  EXPECT_NE(xBasic, r1Basic);
  EXPECT_LE(model->FindColumnNumber(firstNonbasic), model->m);
  ExpectExactInverse(*model);
}

TEST(BasisSolves, ImprovingFreeColumnIsPricedFirst) {
  struct Case {
    double cost;
    double dj;
  };
  for (const Case c : {Case{0.5, -1e20}, Case{1e-12, -1e-12}, Case{-0.5, 0.5}}) {
    RecordingHost host;
    auto model = State(host, {{{"R1", 'L'}}, {{"F", "OBJ", c.cost}, {"X", "R1", 1}}, {}, {{"FR", "F", 0}}});
    PrepareForSolve(*model);
    ComputePrices(*model);
    const int f = model->FindColumnNumber("F");
    ASSERT_GT(f, model->m);
    ComputeDj(*model, f);
    EXPECT_DOUBLE_EQ(model->Col(f).reducedCost, c.dj) << c.cost;
  }
}

TEST(BasisSolves, FeasibilityToleranceGrowsWithTheBound) {
  struct Case {
    double lower, value;
    bool feasible;
  };
  const Case cases[] = {{0, -5e-10, true}, {0, -2e-9, false}, {1e6, 1e6 - 5e-4, true}, {1e6, 1e6 - 2e-3, false}};
  for (const Case& c : cases) {
    RecordingHost host;
    auto model = State(host, {{{"R1", 'L'}}, {{"X", "R1", 1}}, {}, {{"LO", "X", c.lower}}});
    PrepareForSolve(*model);
    MakeBasic(*model, "X", "R1");
    ASSERT_TRUE(Reinvert(*model));
    const int x = model->FindColumnNumber("X");
    model->basicValues[x] = c.value;
    CheckPrimalFeasibility(*model);
    EXPECT_EQ(model->infeasCount == 0, c.feasible) << c.lower << " " << c.value;
    EXPECT_EQ(model->Col(x).status, c.feasible ? ColumnStatus::kWithin : ColumnStatus::kBelow);
  }
}

}  // namespace
}  // namespace vesk::engine::test
