// The branch-and-bound search on small hand-built integer programs: the edge
// cases of the search's start and end, and random programs checked against
// an exhaustive enumeration under several search settings.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "EngineFixtures.h"

namespace vesk::engine::test {
namespace {

// "R" + std::to_string(i) makes GCC 12 warn falsely (-Wrestrict) when inlined.
std::string Named(const char* prefix, int index) {
  std::string name(prefix);
  name += std::to_string(index);
  return name;
}


using Params = std::vector<std::pair<std::string, std::string>>;

std::unique_ptr<EngineModel> SolveMip(EngineHost& host, const Lp& lp, const Params& params = {}) {
  auto model = State(host, lp);
  for (const auto& [name, value] : params) {
    std::string error;
    EXPECT_TRUE(model->SetParameter(name, value, error)) << error;
  }
  PrepareForSolve(*model);
  SolveInteger(*model);
  return model;
}

TEST(BranchAndBound, IntegralRootIsTheIncumbentAtNodeZero) {
  // max x + y, x + y <= 4, x <= 3: the relaxation's vertex is integral.
  RecordingHost host;
  Lp lp{{{"C1", 'L'}},
        {{"X", "OBJ", 1}, {"Y", "OBJ", 1}, {"X", "C1", 1}, {"Y", "C1", 1}},
        {{"C1", 4}},
        {{"UI", "X", 3}, {"UI", "Y", 10}}};
  auto m = SolveMip(host, lp);
  EXPECT_EQ(IntegerStatus(*m), "OPTIMAL SOLUTION");
  EXPECT_EQ(m->NodeCount(), 0);
  EXPECT_DOUBLE_EQ(m->ObjectiveValue(), 4);
  EXPECT_DOUBLE_EQ(m->IntegerColumnValue("X") + m->IntegerColumnValue("Y"), 4);
  EXPECT_TRUE(host.Said("INTEGER SOLUTION FOUND: Searched nodes 0"));
}

TEST(BranchAndBound, BothChildrenInfeasibleAtTheRoot) {
  // 2x = 1 has no integral solution: x <= 0 and x >= 1 are both infeasible.
  RecordingHost host;
  Lp lp{{{"C1", 'E'}}, {{"X", "OBJ", 1}, {"X", "C1", 2}}, {{"C1", 1}}, {{"UI", "X", 5}}};
  auto m = SolveMip(host, lp);
  EXPECT_EQ(IntegerStatus(*m), "INTEGER-PROBLEM-INFEASIBLE");
  EXPECT_EQ(m->NodeCount(), 2);
  EXPECT_TRUE(host.Said("INTEGERproblem is infeasible"));
  EXPECT_TRUE(host.Said("Iteration finished: Searched nodes 2"));
}

TEST(BranchAndBound, IntegerColumnWithoutUpperBoundStopsBeforeAnyNode) {
  RecordingHost host;
  Lp lp{{{"C1", 'L'}},
        {{"X", "OBJ", 1}, {"X", "C1", 2}},
        {{"C1", 3}},
        {{"UI", "X", 5}, {"UP", "X", 1e30}}};
  auto m = SolveMip(host, lp);
  EXPECT_TRUE(host.Asked("INTEGER VARIABLE X HAS NO UPPER BOUND"));
  EXPECT_EQ(m->NodeCount(), 0);
  // Not a verdict on the program: the search did not run.
  EXPECT_TRUE(IsUnfinishedStatus(IntegerStatus(*m))) << IntegerStatus(*m);
}

TEST(BranchAndBound, UnboundedRelaxationIsReportedUnboundedWithoutNodes) {
  // max x + y with x - y <= 1: y grows without limit.
  RecordingHost host;
  Lp lp{{{"C1", 'L'}},
        {{"X", "OBJ", 1}, {"Y", "OBJ", 1}, {"X", "C1", 1}, {"Y", "C1", -1}},
        {{"C1", 1}},
        {{"UI", "X", 10}}};
  auto m = SolveMip(host, lp);
  EXPECT_EQ(IntegerStatus(*m), "UNBOUNDED SOLUTION");
  EXPECT_EQ(m->NodeCount(), 0);
}

TEST(BranchAndBound, NegativeOptimumIsNotCutOff) {
  // A minimisation of x + y with x + y >= 2.5, stated as the maximisation of
  // -x - y: every solution has a negative objective.
  RecordingHost host;
  Lp lp{{{"C1", 'G'}},
        {{"X", "OBJ", -1}, {"Y", "OBJ", -1}, {"X", "C1", 1}, {"Y", "C1", 1}},
        {{"C1", 2.5}},
        {{"UI", "X", 10}, {"UI", "Y", 10}}};
  auto m = SolveMip(host, lp);
  ASSERT_EQ(IntegerStatus(*m), "OPTIMAL SOLUTION");
  EXPECT_DOUBLE_EQ(m->ObjectiveValue(), -3);
  EXPECT_GT(m->NodeCount(), 0);
}

TEST(BranchAndBound, ContinuousColumnsReadBackTheIncumbentsValues) {
  // max 3x + z, x + z <= 2.5, z <= 1, x integer: x = 2, z = 0.5.
  RecordingHost host;
  Lp lp{{{"C1", 'L'}},
        {{"X", "OBJ", 3}, {"Z", "OBJ", 1}, {"X", "C1", 1}, {"Z", "C1", 1}},
        {{"C1", 2.5}},
        {{"UI", "X", 10}, {"UP", "Z", 1}}};
  auto m = SolveMip(host, lp);
  ASSERT_EQ(IntegerStatus(*m), "OPTIMAL SOLUTION");
  EXPECT_DOUBLE_EQ(m->IntegerColumnValue("X"), 2);
  EXPECT_NEAR(m->ColumnValue("Z"), 0.5, 1e-7);
  EXPECT_NEAR(m->ObjectiveValue(), 6.5, 1e-7);
}

// ---- random programs against enumeration --------------------------------------

struct RandomProgram {
  Lp lp;
  std::vector<int> upper;
  std::vector<std::vector<int>> a;  // rows x columns
  std::vector<int> b;
  std::vector<char> type;
  std::vector<int> c;
};

RandomProgram MakeProgram(unsigned seed) {
  std::mt19937 rng(seed);
  auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  RandomProgram p;
  const int n = uniform(3, 6), m = uniform(2, 4);
  for (int j = 0; j < n; ++j) {
    p.upper.push_back(uniform(1, 4));
    p.c.push_back(uniform(-4, 9));
  }
  for (int i = 0; i < m; ++i) {
    std::vector<int> row;
    int sum = 0;
    for (int j = 0; j < n; ++j) {
      row.push_back(uniform(-2, 6));
      sum += std::max(0, row.back()) * p.upper[static_cast<size_t>(j)];
    }
    const int kind = uniform(0, 9);
    p.type.push_back(kind < 7 ? 'L' : (kind < 9 ? 'G' : 'E'));
    p.b.push_back(p.type.back() == 'G' ? uniform(1, std::max(1, sum / 3)) : uniform(1, std::max(1, sum / 2)));
    p.a.push_back(row);
  }
  for (int i = 0; i < m; ++i) p.lp.rows.push_back({Named("R", i), p.type[static_cast<size_t>(i)]});
  for (int j = 0; j < n; ++j) {
    const std::string col = Named("X", j);
    p.lp.entries.push_back({col, "OBJ", p.c[static_cast<size_t>(j)]});
    for (int i = 0; i < m; ++i) p.lp.entries.push_back({col, Named("R", i), p.a[static_cast<size_t>(i)][static_cast<size_t>(j)]});
    p.lp.bounds.push_back({"UI", col, p.upper[static_cast<size_t>(j)]});
  }
  for (int i = 0; i < m; ++i) p.lp.rhs.push_back({Named("R", i), p.b[static_cast<size_t>(i)]});
  return p;
}

bool Feasible(const RandomProgram& p, const std::vector<int>& x) {
  for (size_t i = 0; i < p.a.size(); ++i) {
    int act = 0;
    for (size_t j = 0; j < x.size(); ++j) act += p.a[i][j] * x[j];
    if (p.type[i] == 'L' && act > p.b[i]) return false;
    if (p.type[i] == 'G' && act < p.b[i]) return false;
    if (p.type[i] == 'E' && act != p.b[i]) return false;
  }
  return true;
}

// Best objective by enumeration; false when no point is feasible.
bool Enumerate(const RandomProgram& p, int& best) {
  const size_t n = p.upper.size();
  std::vector<int> x(n, 0);
  bool any = false;
  for (;;) {
    if (Feasible(p, x)) {
      int v = 0;
      for (size_t j = 0; j < n; ++j) v += p.c[j] * x[j];
      if (!any || v > best) best = v;
      any = true;
    }
    size_t j = 0;
    while (j < n && x[j] == p.upper[j]) x[j++] = 0;
    if (j == n) break;
    ++x[j];
  }
  return any;
}

struct Setting {
  const char* name;
  Params params;
};

void PrintTo(const Setting& s, std::ostream* os) { *os << s.name; }

class RandomPrograms : public ::testing::TestWithParam<Setting> {};

TEST_P(RandomPrograms, MatchEnumeration) {
  int solved = 0, infeasible = 0;
  for (unsigned seed = 1; seed <= 60; ++seed) {
    const RandomProgram p = MakeProgram(seed);
    int best = 0;
    const bool any = Enumerate(p, best);
    ScratchEngineHost host;
    auto m = SolveMip(host, p.lp, GetParam().params);
    const std::string status = IntegerStatus(*m);
    if (!any) {
      EXPECT_EQ(status, "INTEGER-PROBLEM-INFEASIBLE") << "seed " << seed;
      ++infeasible;
      continue;
    }
    ASSERT_EQ(status, "OPTIMAL SOLUTION") << "seed " << seed;
    EXPECT_NEAR(m->ObjectiveValue(), best, 1e-6) << "seed " << seed;
    std::vector<int> x;
    for (size_t j = 0; j < p.upper.size(); ++j)
      x.push_back(static_cast<int>(m->IntegerColumnValue(Named("X", j))));
    EXPECT_TRUE(Feasible(p, x)) << "seed " << seed;
    ++solved;
  }
  // The generator gives both kinds of program.
  EXPECT_GT(solved, 20);
  EXPECT_GT(infeasible, 0);
}

// A starting cutoff from LO-LIMIT just below the optimum prunes (and fixes
// columns by their reduced costs) before any incumbent exists; the optimum
// itself must survive that.
TEST(BranchAndBound, LimitJustBelowTheOptimumKeepsIt) {
  int checked = 0;
  for (unsigned seed = 1; seed <= 60; ++seed) {
    const RandomProgram p = MakeProgram(seed);
    int best = 0;
    if (!Enumerate(p, best)) continue;
    ScratchEngineHost host;
    auto m = SolveMip(host, p.lp, {{"LO-LIMIT", std::to_string(best - 0.5)}});
    ASSERT_EQ(IntegerStatus(*m), "OPTIMAL SOLUTION") << "seed " << seed;
    EXPECT_NEAR(m->ObjectiveValue(), best, 1e-6) << "seed " << seed;
    ++checked;
  }
  EXPECT_GT(checked, 20);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, RandomPrograms,
    ::testing::Values(Setting{"Default", {}}, Setting{"SpillingForced", {{"MAXMEMORY[MB]", "0"}}},
                      Setting{"NoPseudoCosts", {{"PSE", "N"}, {"ASSESS-PSE", "N"}}},
                      Setting{"ShallowDives", {{"SUCH-TIEFE", "1"}, {"RESTART", "N"}}},
                      Setting{"Tightened", {{"TIGHT", "Y"}}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vesk::engine::test

namespace vesk::engine::test {
namespace {

// Two knapsack rows over 30 binaries: a search with a long waiting list.
Lp Knapsack() {
  std::mt19937 rng(7);
  auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  Lp lp{{{"W1", 'L'}, {"W2", 'L'}}, {}, {{"W1", 180}, {"W2", 170}}, {}};
  for (int j = 0; j < 30; ++j) {
    const std::string col = Named("Y", j);
    lp.entries.push_back({col, "OBJ", uniform(10, 60)});
    lp.entries.push_back({col, "W1", uniform(5, 30)});
    lp.entries.push_back({col, "W2", uniform(5, 30)});
    lp.bounds.push_back({"BV", col, 1});
  }
  return lp;
}

TEST(BranchAndBound, SpillingToTheNodeFileGivesTheSameOptimum) {
  RecordingHost plainHost, spillHost;
  auto plain = SolveMip(plainHost, Knapsack());
  auto spilled = SolveMip(spillHost, Knapsack(), {{"MAXMEMORY[MB]", "0"}});
  ASSERT_EQ(IntegerStatus(*plain), "OPTIMAL SOLUTION");
  ASSERT_EQ(IntegerStatus(*spilled), "OPTIMAL SOLUTION");
  EXPECT_FALSE(plainHost.Said("OPEN"));
  EXPECT_TRUE(spillHost.Said("OPEN"));  // the file was used
  EXPECT_DOUBLE_EQ(spilled->ObjectiveValue(), plain->ObjectiveValue());
  // Nothing of the node file is left behind.
  EXPECT_FALSE(std::filesystem::exists(spillHost.WorkingFolder() / "FIL"));
}

TEST(BranchAndBound, IterationLimitWithAnIncumbentIsNotProven) {
  ScratchEngineHost fullHost;
  auto full = SolveMip(fullHost, Knapsack());
  ASSERT_EQ(IntegerStatus(*full), "OPTIMAL SOLUTION");
  ASSERT_GT(full->IterationCount(), 60);
  RecordingHost host;
  auto stopped = SolveMip(host, Knapsack(), {{"MAXITER", std::to_string(full->IterationCount() / 2)}});
  EXPECT_TRUE(IsUnfinishedStatus(IntegerStatus(*stopped))) << IntegerStatus(*stopped);
  EXPECT_TRUE(host.Asked("OPTIMIZATION Cancelled"));
  // An incumbent found before the stop is kept, never better than the optimum.
  if (stopped->integerFound) {
    EXPECT_LE(stopped->ObjectiveValue(), full->ObjectiveValue() + 1e-9);
  }
}

}  // namespace
}  // namespace vesk::engine::test
