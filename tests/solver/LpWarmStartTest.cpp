// Re-solves of one program with a new objective start from the basis of the
// last optimum; any other change to the program starts again from the crash
// basis. Either way the result must be the one a fresh solve gives.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "engine/ScratchEngineHost.h"
#include "SmallPrograms.h"
#include "solver/LP_Unit_LPSolver.h"

namespace vesk::solver {
namespace {

// Counts the crash bases the engine builds: a warm start builds none.
class CrashCountingHost : public vesk::engine::ScratchEngineHost {
 public:
  bool ConsoleEnabled() const override { return true; }
  void ConsoleWriteLine(std::string_view text) override {
    if (text == "CRASH BASIS") ++crashes;
  }
  int crashes = 0;
};

// A program of the sorting application: column 1 a cutting level in
// [0.5, 1], columns 2..n weights in [0, 1] summing to 1, and rows
//   sum k_j w_j - lambda >= 0  or  lambda - sum k_j w_j >= 0.0001
// drawn around a hidden feasible point.
struct Program {
  int columns = 0;
  std::vector<std::vector<double>> rows;  // coefficients of columns 1..n
  std::vector<double> rhs;
  std::vector<char> type;
  std::vector<double> lower, upper;
};

Program MakeProgram(int columns, int rowCount, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> unit(0, 1);
  Program p;
  p.columns = columns;
  std::vector<double> w(static_cast<size_t>(columns));
  double sum = 0;
  for (int j = 1; j < columns; ++j) sum += (w[static_cast<size_t>(j)] = unit(rng) + 0.05);
  for (int j = 1; j < columns; ++j) w[static_cast<size_t>(j)] /= sum;
  w[0] = 0.5 + 0.5 * unit(rng);
  std::vector<double> weightSum(static_cast<size_t>(columns), 1.0);
  weightSum[0] = 0;
  p.rows.push_back(weightSum);
  p.rhs.push_back(1);
  p.type.push_back('=');
  for (int r = 0; r < rowCount; ++r) {
    std::vector<double> k(static_cast<size_t>(columns));
    double s = 0;
    for (int j = 1; j < columns; ++j) {
      // Outranking-like coefficients: many exact 0 and 1, some fractions.
      const double u = unit(rng);
      k[static_cast<size_t>(j)] = u < 0.3 ? 0.0 : (u < 0.6 ? 1.0 : unit(rng));
      s += k[static_cast<size_t>(j)] * w[static_cast<size_t>(j)];
    }
    if (s >= w[0]) {
      k[0] = -1;
      p.rhs.push_back(0);
    } else {
      for (double& v : k) v = -v;
      k[0] = 1;
      p.rhs.push_back(std::min(0.0001, w[0] - s));
    }
    p.rows.push_back(k);
    p.type.push_back('>');
  }
  p.lower.assign(static_cast<size_t>(columns), 0.0);
  p.upper.assign(static_cast<size_t>(columns), 1.0);
  p.lower[0] = 0.5;
  return p;
}

void State(const Program& p) {
  ASSERT_EQ(LpSetSize(p.columns, static_cast<int>(p.rows.size())), 0);
  for (size_t i = 0; i < p.rows.size(); ++i) {
    const int row = static_cast<int>(i) + 1;
    for (int j = 1; j <= p.columns; ++j) LpSetCoefficient(row, j, p.rows[i][static_cast<size_t>(j - 1)]);
    LpSetRhs(row, p.rhs[i]);
    LpSetRowType(row, p.type[i]);
  }
  for (int j = 1; j <= p.columns; ++j) {
    LpSetLowerBound(j, p.lower[static_cast<size_t>(j - 1)]);
    LpSetUpperBound(j, p.upper[static_cast<size_t>(j - 1)]);
  }
}

void SetObjective(const std::vector<double>& c) {
  for (size_t j = 0; j < c.size(); ++j) LpSetObjective(static_cast<int>(j) + 1, c[j]);
}

struct Result {
  int code = -1;
  double objective = 0;
  std::vector<double> x;
};

Result Read(int code, int columns) {
  Result r{code, LpObjectiveValue(), {}};
  for (int j = 1; j <= columns; ++j) r.x.push_back(LpColumnValue(j));
  return r;
}

// The same program stated afresh with warm start off.
Result FreshSolve(const Program& p, const std::vector<double>& c) {
  LpSetWarmStart(false);
  LpRelease();
  State(p);
  SetObjective(c);
  const int code = LpSolve();
  LpSetWarmStart(true);
  return Read(code, p.columns);
}

// Rows and bounds of `p` hold at x.
void ExpectFeasible(const Program& p, const std::vector<double>& x, const std::string& what) {
  for (size_t i = 0; i < p.rows.size(); ++i) {
    double lhs = 0;
    for (size_t j = 0; j < x.size(); ++j) lhs += p.rows[i][j] * x[j];
    if (p.type[i] == '=') EXPECT_NEAR(lhs, p.rhs[i], 1e-9) << what << " row " << i + 1;
    else EXPECT_GE(lhs, p.rhs[i] - 1e-9) << what << " row " << i + 1;
  }
  for (size_t j = 0; j < x.size(); ++j) {
    EXPECT_GE(x[j], p.lower[j] - 1e-9) << what << " column " << j + 1;
    EXPECT_LE(x[j], p.upper[j] + 1e-9) << what << " column " << j + 1;
  }
}

// Objectives of the robust analysis (single columns raised and lowered) and
// dense ones, including one the previous optimum already solves.
std::vector<std::vector<double>> Objectives(int columns, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> coefficient(-1, 1);
  std::vector<std::vector<double>> list;
  for (int j = 0; j < columns; ++j)
    for (double sign : {1.0, -1.0}) {
      std::vector<double> c(static_cast<size_t>(columns), 0.0);
      c[static_cast<size_t>(j)] = sign;
      list.push_back(c);
    }
  for (int t = 0; t < 6; ++t) {
    std::vector<double> c(static_cast<size_t>(columns));
    for (double& v : c) v = coefficient(rng);
    list.push_back(c);
    list.push_back(c);  // the same objective again
  }
  list.push_back(std::vector<double>(static_cast<size_t>(columns), 0.0));
  return list;
}

class LpWarmStartTest : public ::testing::Test {
 protected:
  void SetUp() override { LpSetHost(&host_); }
  void TearDown() override {
    LpSetHost(nullptr);
    LpSetWarmStart(true);
    LpRelease();
  }
  CrashCountingHost host_;
};

TEST_F(LpWarmStartTest, NewObjectivesGiveTheOptimaOfFreshSolves) {
  struct Shape {
    int columns, rows;
    unsigned seed;
  };
  const Shape shapes[] = {{5, 12, 1}, {7, 30, 2}, {9, 40, 3}, {11, 25, 4}, {13, 48, 5}};
  for (const Shape& shape : shapes) {
    const Program p = MakeProgram(shape.columns, shape.rows, shape.seed);
    const auto objectives = Objectives(shape.columns, 100 + shape.seed);
    std::vector<Result> fresh;
    for (const auto& c : objectives) fresh.push_back(FreshSolve(p, c));

    LpRelease();
    State(p);
    int warmSolves = 0;
    for (size_t t = 0; t < objectives.size(); ++t) {
      const std::string what =
          std::to_string(shape.columns) + "x" + std::to_string(shape.rows) + " objective " + std::to_string(t);
      SetObjective(objectives[t]);
      const int crashesBefore = host_.crashes;
      const Result warm = Read(LpSolve(), shape.columns);
      ASSERT_EQ(fresh[t].code, 0) << what;
      ASSERT_EQ(warm.code, 0) << what;
      EXPECT_NEAR(warm.objective, fresh[t].objective, 1e-9) << what;
      ExpectFeasible(p, warm.x, what);
      // Every solve after the first starts from the kept basis.
      if (t > 0) {
        EXPECT_EQ(host_.crashes, crashesBefore) << what;
        ++warmSolves;
      }
    }
    EXPECT_EQ(warmSolves, static_cast<int>(objectives.size()) - 1);
  }
}

TEST_F(LpWarmStartTest, ValuesAreReadBackInsideTheirBounds) {
  // The engine's rounding leaves basic columns up to a few ulps outside their
  // bounds; a caller comparing a weight with 0 or a credibility with lambda
  // must see the bound itself, exactly.
  for (unsigned seed = 1; seed <= 12; ++seed) {
    const Program p = MakeProgram(5 + static_cast<int>(seed % 9), 20 + 3 * static_cast<int>(seed), seed);
    LpRelease();
    State(p);
    for (const auto& c : Objectives(p.columns, 200 + seed)) {
      SetObjective(c);
      ASSERT_EQ(LpSolve(), 0) << "seed " << seed;
      for (int j = 1; j <= p.columns; ++j) {
        EXPECT_GE(LpColumnValue(j), p.lower[static_cast<size_t>(j - 1)]) << "seed " << seed << " column " << j;
        EXPECT_LE(LpColumnValue(j), p.upper[static_cast<size_t>(j - 1)]) << "seed " << seed << " column " << j;
      }
    }
  }
}

TEST_F(LpWarmStartTest, AnyOtherChangeStartsFromTheCrashBasis) {
  const Program base = MakeProgram(8, 30, 7);
  // A dense objective whose optimum leans on the changed entries.
  std::vector<double> c = {1, 0.3, -0.2, 0.5, 0.1, -0.4, 0.7, 0.2};
  struct Change {
    const char* what;
    std::function<void(Program&)> onProgram;  // the same change, for the fresh solve
    std::function<void()> call;
  };
  const Change changes[] = {
      {"coefficient", [](Program& p) { p.rows[3][2] += 0.5; },
       [&] { LpSetCoefficient(4, 3, base.rows[3][2] + 0.5); }},
      {"rhs", [](Program& p) { p.rhs[5] = 0.3; }, [] { LpSetRhs(6, 0.3); }},
      {"lower bound", [](Program& p) { p.lower[0] = 0.7; }, [] { LpSetLowerBound(1, 0.7); }},
      {"upper bound", [](Program& p) { p.upper[6] = 0.05; }, [] { LpSetUpperBound(7, 0.05); }},
      {"row type", [](Program& p) { p.type[0] = '<'; }, [] { LpSetRowType(1, '<'); }},
  };
  for (const Change& change : changes) {
    Program changed = base;
    change.onProgram(changed);
    const Result fresh = FreshSolve(changed, c);

    LpRelease();
    State(base);
    SetObjective(c);
    ASSERT_EQ(LpSolve(), 0) << change.what;
    change.call();
    const int crashesBefore = host_.crashes;
    const Result after = Read(LpSolve(), base.columns);
    EXPECT_EQ(host_.crashes, crashesBefore + 1) << change.what;
    EXPECT_EQ(after.code, fresh.code) << change.what;
    if (fresh.code == 0) {
      EXPECT_NEAR(after.objective, fresh.objective, 1e-9) << change.what;
      ExpectFeasible(changed, after.x, change.what);
    }
  }

  // Setting a value the program already holds changes nothing.
  LpRelease();
  State(base);
  SetObjective(c);
  ASSERT_EQ(LpSolve(), 0);
  LpSetCoefficient(4, 3, base.rows[3][2]);
  LpSetRhs(6, base.rhs[5]);
  LpSetRowType(1, base.type[0]);
  LpSetUpperBound(7, base.upper[6]);
  const int crashesBefore = host_.crashes;
  ASSERT_EQ(LpSolve(), 0);
  EXPECT_EQ(host_.crashes, crashesBefore);

  // Switched off, every solve is a fresh one.
  LpSetWarmStart(false);
  c[1] = -c[1];
  SetObjective(c);
  ASSERT_EQ(LpSolve(), 0);
  EXPECT_EQ(host_.crashes, crashesBefore + 1);
}

TEST_F(LpWarmStartTest, IntegerProgramsAlwaysStartFromTheCrashBasis) {
  // max x + y + z with x <= 2, y <= 3 (integers), z binary, re-solved with
  // another objective: the integer path keeps its own start.
  ASSERT_EQ(test::StateSmallIntegerProgram(), 0);
  ASSERT_EQ(LpSolve(), 0);
  const int crashesBefore = host_.crashes;
  LpSetObjective(2, -1);
  ASSERT_EQ(LpSolve(), 0);
  EXPECT_GT(host_.crashes, crashesBefore);
  EXPECT_EQ(LpColumnValue(2), 0.0);
  EXPECT_EQ(LpObjectiveValue(), 3.0);
}

}  // namespace
}  // namespace vesk::solver
