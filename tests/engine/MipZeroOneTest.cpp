// The zero-one programs of the inconsistency analysis: a few hundred
// at-least rows over (lambda, k) each relaxed by its own binary with
// coefficient 999, the normalisation row, and exclusion cuts; the engine
// maximises minus the number of dropped rows.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "EngineFixtures.h"

namespace vesk::engine::test {
namespace {

// Rows a.x + 999 y_r >= b over x = (lambda, k_1..k_n). A planted vector
// satisfies every row but one of each contradicting pair, so exactly
// `pairs` rows must be dropped.
struct ZeroOne {
  int criteria = 5;
  std::vector<std::vector<double>> a;  // over lambda, k
  std::vector<double> b;
  std::vector<std::vector<int>> cuts;  // sets of rows, at most |S| - 1 of them dropped
};

ZeroOne Make(int rows, int pairs, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> u(0, 1);
  ZeroOne z;
  const int n = z.criteria;
  std::vector<double> k(static_cast<size_t>(n));
  double sum = 0;
  for (double& v : k) sum += (v = 0.2 + u(rng));
  for (double& v : k) v /= sum;
  const double lambda = 0.55 + 0.3 * u(rng);
  while (static_cast<int>(z.a.size()) < rows - 2 * pairs) {
    std::vector<double> w(static_cast<size_t>(n));
    double sigma = 0;
    for (int j = 0; j < n; ++j) sigma += k[static_cast<size_t>(j)] * (w[static_cast<size_t>(j)] = u(rng));
    if (std::fabs(sigma - lambda) < 0.002) continue;
    const double s = sigma > lambda ? 1 : -1;  // the side the planted vector is on
    std::vector<double> row{-s};
    for (double v : w) row.push_back(s * v);
    z.a.push_back(row);
    z.b.push_back(0.0001 + 0.00001);
  }
  for (int p = 0; p < pairs; ++p) {
    const std::vector<double> row = z.a[static_cast<size_t>(p * 7)];
    std::vector<double> opposite;
    for (double v : row) opposite.push_back(-v);
    z.a.push_back(opposite);
    z.b.push_back(0.0001 + 0.00001);
    z.a.push_back(row);  // a copy keeps the shape: the pair is (copy, opposite)
    z.b.push_back(0.0001 + 0.00001);
  }
  return z;
}

struct Result {
  std::string status;
  double objective = 0;
  std::vector<double> x;
  std::vector<int> dropped;  // rows whose binary is 1
};

Result SolveZeroOne(const ZeroOne& z) {
  ScratchEngineHost host;
  EngineModel e(host);
  e.ClearModel();
  e.SetModelName("MIPSolver");
  e.DefineRow("OBJ", 'N');
  const int R = static_cast<int>(z.a.size()), V = z.criteria + 1;
  auto row = [](int i) { return "Const" + std::to_string(i); };
  auto var = [](int j) { return "Var" + std::to_string(j); };
  for (int i = 1; i <= R; ++i) e.DefineRow(row(i), 'G');
  e.DefineRow(row(R + 1), 'E');
  for (size_t c = 0; c < z.cuts.size(); ++c) e.DefineRow(row(R + 2 + static_cast<int>(c)), 'L');
  for (int j = 1; j <= V; ++j) {
    for (int i = 1; i <= R; ++i) e.SetCoefficient(var(j), row(i), z.a[static_cast<size_t>(i - 1)][static_cast<size_t>(j - 1)]);
    if (j > 1) e.SetCoefficient(var(j), row(R + 1), 1);
    e.SetBound("UP", var(j), 1e21);
  }
  for (int r = 1; r <= R; ++r) {
    e.SetCoefficient(var(V + r), "OBJ", -1);
    e.SetCoefficient(var(V + r), row(r), 999);
    for (size_t c = 0; c < z.cuts.size(); ++c)
      for (int s : z.cuts[c])
        if (s == r) e.SetCoefficient(var(V + r), row(R + 2 + static_cast<int>(c)), 1);
    e.SetBound("BV", var(V + r), 1);
  }
  for (int i = 1; i <= R; ++i) e.SetRhs(row(i), z.b[static_cast<size_t>(i - 1)]);
  e.SetRhs(row(R + 1), 1);
  for (size_t c = 0; c < z.cuts.size(); ++c)
    e.SetRhs(row(R + 2 + static_cast<int>(c)), static_cast<double>(z.cuts[c].size()) - 1);
  e.SetModelPresent(true);
  e.SetObjectiveRowName("OBJ");
  PrepareForSolve(e);
  SolveInteger(e);
  Result out;
  out.status = IntegerStatus(e);
  out.objective = e.ObjectiveValue();
  for (int j = 1; j <= V; ++j) out.x.push_back(e.ColumnValue(var(j)));
  for (int r = 1; r <= R; ++r)
    if (e.IntegerColumnValue(var(V + r)) == 1) out.dropped.push_back(r);
  return out;
}

// The kept rows hold at the returned (lambda, k), and k sums to 1.
void ExpectConsistent(const ZeroOne& z, const Result& r) {
  std::set<int> dropped(r.dropped.begin(), r.dropped.end());
  double sum = 0;
  for (size_t j = 1; j < r.x.size(); ++j) sum += r.x[j];
  EXPECT_NEAR(sum, 1, 1e-7);
  for (size_t i = 0; i < z.a.size(); ++i) {
    if (dropped.count(static_cast<int>(i) + 1)) continue;
    double act = 0;
    for (size_t j = 0; j < r.x.size(); ++j) act += z.a[i][j] * r.x[j];
    EXPECT_GE(act, z.b[i] - 1e-7) << "row " << i + 1;
  }
}

TEST(MipZeroOne, DropsExactlyTheContradictions) {
  const ZeroOne z = Make(300, 3, 11);
  const Result r = SolveZeroOne(z);
  ASSERT_EQ(r.status, "OPTIMAL SOLUTION");
  EXPECT_NEAR(r.objective, -3, 1e-9);
  ASSERT_EQ(r.dropped.size(), 3u);
  ExpectConsistent(z, r);
}

TEST(MipZeroOne, ExclusionCutGivesAnotherSetNeverSmaller) {
  ZeroOne z = Make(100, 3, 11);
  const Result first = SolveZeroOne(z);
  ASSERT_EQ(first.status, "OPTIMAL SOLUTION");
  EXPECT_NEAR(first.objective, -3, 1e-9);
  z.cuts.push_back(first.dropped);
  const Result second = SolveZeroOne(z);
  ASSERT_EQ(second.status, "OPTIMAL SOLUTION");
  EXPECT_LE(second.objective, -3 + 1e-9);
  EXPECT_NE(second.dropped, first.dropped);
  ExpectConsistent(z, second);
  // The cut holds: not every row of the first set is dropped again.
  std::set<int> again(second.dropped.begin(), second.dropped.end());
  int repeated = 0;
  for (int r : first.dropped) repeated += static_cast<int>(again.count(r));
  EXPECT_LT(repeated, 3);
}

TEST(MipZeroOne, ConsistentInformationDropsNothing) {
  const Result r = SolveZeroOne(Make(200, 0, 5));
  ASSERT_EQ(r.status, "OPTIMAL SOLUTION");
  EXPECT_NEAR(r.objective, 0, 1e-9);
  EXPECT_TRUE(r.dropped.empty());
}

}  // namespace
}  // namespace vesk::engine::test
