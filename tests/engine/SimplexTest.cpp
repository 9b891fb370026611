#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <fstream>
#include <random>

#include "EngineFixtures.h"

namespace vesk::engine::test {
namespace {

struct Expect {
  const char* label;
  Lp lp;
  const char* status;
  double objective;  // maximisation sense
  std::vector<std::pair<const char*, double>> values;
};

TEST(Simplex, SmallModelsReachTheirVerdicts) {
  const Expect cases[] = {
      {"two rows",
       {{{"R1", 'L'}, {"R2", 'L'}},
        {{"X", "OBJ", 1}, {"Y", "OBJ", 1}, {"X", "R1", 1}, {"Y", "R1", 2}, {"X", "R2", 3}, {"Y", "R2", 1}},
        {{"R1", 4}, {"R2", 6}},
        {}},
       "OPTIMAL SOLUTION", 2.8, {{"X", 1.6}, {"Y", 1.2}}},
      {"degenerate vertex: three rows through the optimum",
       {{{"R1", 'L'}, {"R2", 'L'}, {"R3", 'L'}, {"R4", 'L'}},
        {{"X", "OBJ", 1}, {"Y", "OBJ", 1}, {"X", "R1", 1}, {"Y", "R2", 1}, {"X", "R3", 1}, {"Y", "R3", 1},
         {"X", "R4", 1}, {"Y", "R4", -1}},
        {{"R1", 1}, {"R2", 1}, {"R3", 2}},
        {}},
       "OPTIMAL SOLUTION", 2, {{"X", 1}, {"Y", 1}}},
      {"bound flips only",
       {{{"R1", 'L'}},
        {{"X", "OBJ", 1}, {"Y", "OBJ", 2}, {"X", "R1", 1}, {"Y", "R1", 1}},
        {{"R1", 10}},
        {{"UP", "X", 3}, {"UP", "Y", 2}}},
       "OPTIMAL SOLUTION", 7, {{"X", 3}, {"Y", 2}}},
      {"E and G rows, minimisation stated negated",
       {{{"E1", 'E'}, {"G1", 'G'}},
        {{"X", "OBJ", -2}, {"Y", "OBJ", -3}, {"X", "E1", 1}, {"Y", "E1", 1}, {"X", "G1", 1}},
        {{"E1", 5}, {"G1", 2}},
        {}},
       "OPTIMAL SOLUTION", -10, {{"X", 5}, {"Y", 0}}},
      {"ranged L row: 2 <= x + y <= 4, minimised",
       {{{"R1", 'L'}},
        {{"X", "OBJ", -1}, {"Y", "OBJ", -1}, {"X", "R1", 1}, {"Y", "R1", 1}, {"RANGE", "R1", 2}},
        {{"R1", 4}},
        {}},
       "OPTIMAL SOLUTION", -2, {}},
      {"column without lower bound starts at its upper bound",
       {{{"G1", 'G'}}, {{"X", "OBJ", -1}, {"X", "G1", 1}}, {{"G1", -3}}, {{"LO", "X", -1e21}, {"UP", "X", 5}}},
       "OPTIMAL SOLUTION", 3, {{"X", -3}}},
      {"free column moving down",
       {{{"G1", 'G'}, {"L1", 'L'}},
        {{"X", "OBJ", -1}, {"X", "G1", 1}, {"X", "L1", 1}, {"Y", "OBJ", 0.5}, {"Y", "L1", 1}},
        {{"G1", -7}, {"L1", 4}},
        {{"FR", "X", 0}, {"UP", "Y", 100}}},
       "OPTIMAL SOLUTION", 7 + 5.5, {{"X", -7}, {"Y", 11}}},
      {"infeasible",
       {{{"G1", 'G'}}, {{"X", "OBJ", 1}, {"X", "G1", 1}, {"Y", "G1", 1}}, {{"G1", 5}}, {{"UP", "X", 1}, {"UP", "Y", 1}}},
       "PROBLEM IS INFEASIBLE", 0, {}},
      {"crossed bounds",
       {{{"R1", 'L'}}, {{"X", "OBJ", 1}, {"X", "R1", 1}}, {{"R1", 5}}, {{"LO", "X", 2}, {"UP", "X", 1}}},
       "PROBLEM IS INFEASIBLE", 0, {}},
      {"unbounded",
       {{{"R1", 'L'}}, {{"X", "OBJ", 1}, {"X", "R1", 1}, {"Y", "R1", -1}}, {{"R1", 1}}, {}},
       "UNBOUNDED SOLUTION", 0, {}},
  };
  for (const Expect& c : cases) {
    SCOPED_TRACE(c.label);
    RecordingHost host;
    auto model = Solve(host, c.lp);
    EXPECT_EQ(ContinuousStatus(*model), c.status);
    if (std::string(c.status) == "OPTIMAL SOLUTION") {
      EXPECT_NEAR(model->ObjectiveValue(), c.objective, 1e-9);
    }
    for (const auto& [name, v] : c.values) EXPECT_NEAR(model->ColumnValue(name), v, 1e-9) << name;
  }
}

TEST(Simplex, InfeasibleReportNamesCountAndSum) {
  RecordingHost host;
  auto model = Solve(host, {{{"G1", 'G'}}, {{"X", "G1", 1}}, {{"G1", 5}}, {{"UP", "X", 1}}});
  EXPECT_TRUE(host.Said("PROBLEM IS INFEASIBLE nINF=1 INF=4"));
  EXPECT_TRUE(host.Said("VECTOR") == false);
}

TEST(Simplex, UnboundedColumnQuestion) {
  const Lp lp{{{"R1", 'L'}}, {{"X", "OBJ", 1}, {"X", "R1", 1}, {"Y", "R1", -1}}, {{"R1", 1}}, {}};
  {
    RecordingHost host;  // Cancel: the run ends unbounded, without the report
    auto model = Solve(host, lp);
    EXPECT_EQ(ContinuousStatus(*model), "UNBOUNDED SOLUTION");
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].substr(host.boxes[0].find(" is")), " is unbounded ! CHANGE upper Bound ? (Y/N) ");
    EXPECT_TRUE(host.Said(" is unbounded !"));
    EXPECT_FALSE(host.Said("OPTIMAL SOLUTION"));
  }
  {
    RecordingHost host;  // OK with a new bound: the step is redone with it
    host.answer = EngineHost::Answer::Ok;
    host.hasNumber = true;
    host.number = 6;
    auto model = Solve(host, lp);
    EXPECT_EQ(ContinuousStatus(*model), "OPTIMAL SOLUTION");
    EXPECT_EQ(host.prompts.size(), 1u);
    EXPECT_NEAR(model->ObjectiveValue(), 7, 1e-9);  // X = 1 + Y with Y <= 6
  }
  {
    RecordingHost host;  // OK but no number: still unbounded, never an infinite step
    host.answer = EngineHost::Answer::Ok;
    auto model = Solve(host, lp);
    EXPECT_EQ(ContinuousStatus(*model), "UNBOUNDED SOLUTION");
  }
}

TEST(Simplex, IterationLimitIsUnfinishedAndLogged) {
  RecordingHost host;
  Lp lp{{{"R1", 'L'}, {"R2", 'L'}},
        {{"X", "OBJ", 1}, {"Y", "OBJ", 1}, {"X", "R1", 1}, {"Y", "R1", 2}, {"X", "R2", 3}, {"Y", "R2", 1}},
        {{"R1", 4}, {"R2", 6}},
        {}};
  auto model = State(host, lp);
  std::string error;
  ASSERT_TRUE(model->SetParameter("MAXITER", "0", error));
  ASSERT_TRUE(model->SetParameter("LOGFILE", "Y", error));
  PrepareForSolve(*model);
  SolveContinuous(*model);
  const std::string status = ContinuousStatus(*model);
  EXPECT_TRUE(IsUnfinishedStatus(status)) << status;
  EXPECT_EQ(status, "UNFINISHED: ITERATION LIMIT");
  EXPECT_EQ(model->IterationCount(), 1);
  EXPECT_FALSE(model->ErrorFlag());  // the driver clears it; the status keeps the reason
  std::ifstream log(host.WorkingFolder() / "LP.LOG");
  std::string line;
  ASSERT_TRUE(std::getline(log, line));
  EXPECT_EQ(line, "Solution cancelled");
}

TEST(Simplex, NoLogFileWithoutLogfileAndPerturbationLeavesNoTinyRhs) {
  RecordingHost host;
  auto model = Solve(host, {{{"R1", 'L'}, {"R2", 'G'}, {"R3", 'E'}},
                            {{"X", "OBJ", 1}, {"X", "R1", 1}, {"X", "R2", 1}, {"Y", "R3", 1}, {"Y", "R1", 1}},
                            {{"R1", 4}},
                            {}});
  EXPECT_EQ(ContinuousStatus(*model), "OPTIMAL SOLUTION");
  EXPECT_EQ(model->perturbMode, 0);
  ASSERT_EQ(model->Col(0).Count(), 1);  // the shifted zero entries were dropped again
  EXPECT_EQ(model->Col(0).entries[0].value, 4.0);
  EXPECT_FALSE(std::filesystem::exists(host.WorkingFolder() / "LP.LOG"));
}

// Small random programs with small integer data (many ties and degenerate
// vertices), checked against the best vertex found by enumeration.
TEST(Simplex, RandomProgramsMatchVertexEnumeration) {
  constexpr int N = 3;
  struct Face {
    std::array<double, N> a;
    double lo, hi;
  };
  std::mt19937 rng(12345);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  int optimal = 0, infeasible = 0;
  for (int trial = 0; trial < 300; ++trial) {
    Lp lp;
    std::vector<Face> faces;
    std::array<double, N> c{};
    for (int j = 0; j < N; ++j) {
      const std::string col = "X" + std::to_string(j);
      c[j] = pick(-3, 3);
      if (c[j] != 0) lp.entries.emplace_back(col, "OBJ", c[j]);
      const double lo = pick(-4, 1), hi = lo + pick(0, 5);
      std::array<double, N> e{};
      e[j] = 1;
      faces.push_back({e, lo, hi});
      switch (pick(0, 3)) {
        case 0:  // plain bounds
          lp.bounds.emplace_back("UP", col, hi);
          if (lo != 0) lp.bounds.emplace_back("LO", col, lo);
          break;
        case 1: {  // no lower bound; a G row gives it
          lp.bounds.emplace_back("LO", col, -1e21);
          lp.bounds.emplace_back("UP", col, hi);
          const std::string row = "B" + std::to_string(j);
          lp.rows.emplace_back(row, 'G');
          lp.entries.emplace_back(col, row, 1);
          lp.rhs.emplace_back(row, lo);
          break;
        }
        case 2: {  // free column boxed by an L row with a range
          lp.bounds.emplace_back("FR", col, 0);
          const std::string row = "B" + std::to_string(j);
          lp.rows.emplace_back(row, 'L');
          lp.entries.emplace_back(col, row, 1);
          lp.rhs.emplace_back(row, hi);
          if (hi - lo > 0) lp.entries.emplace_back("RANGE", row, hi - lo);
          else lp.rows.back().second = 'E';
          break;
        }
        default:
          lp.bounds.emplace_back("FX", col, lo);
          lp.bounds.emplace_back("UP", col, hi);
          lp.bounds.emplace_back("LO", col, lo);
          break;
      }
    }
    const int rows = pick(1, 4);
    for (int i = 0; i < rows; ++i) {
      const std::string row = "R" + std::to_string(i);
      Face f{{}, -1e30, 1e30};
      for (int j = 0; j < N; ++j) {
        f.a[j] = pick(-2, 3);
        if (f.a[j] != 0) lp.entries.emplace_back("X" + std::to_string(j), row, f.a[j]);
      }
      const double b = pick(-3, 6);
      const int type = pick(0, 2);
      lp.rows.emplace_back(row, type == 0 ? 'L' : (type == 1 ? 'G' : 'E'));
      if (b != 0) lp.rhs.emplace_back(row, b);
      if (type == 0) f.hi = b;
      if (type == 1) f.lo = b;
      if (type == 2) f.lo = f.hi = b;
      faces.push_back(f);
    }
    // Best vertex: every choice of N faces, each at its lower or upper side.
    std::vector<std::pair<std::array<double, N>, double>> planes;
    for (const Face& f : faces) {
      if (f.lo > -1e29) planes.emplace_back(f.a, f.lo);
      if (f.hi < 1e29 && f.hi != f.lo) planes.emplace_back(f.a, f.hi);
    }
    double best = -1e300;
    const size_t P = planes.size();
    for (size_t p = 0; p < P; ++p)
      for (size_t q = p + 1; q < P; ++q)
        for (size_t r = q + 1; r < P; ++r) {
          double M[N][N + 1];
          const size_t idx[N] = {p, q, r};
          for (int i = 0; i < N; ++i) {
            for (int j = 0; j < N; ++j) M[i][j] = planes[idx[i]].first[j];
            M[i][N] = planes[idx[i]].second;
          }
          bool singular = false;
          for (int k = 0; k < N && !singular; ++k) {
            int piv = k;
            for (int i = k + 1; i < N; ++i)
              if (std::fabs(M[i][k]) > std::fabs(M[piv][k])) piv = i;
            if (std::fabs(M[piv][k]) < 1e-12) singular = true;
            else {
              for (int j = 0; j <= N; ++j) std::swap(M[k][j], M[piv][j]);
              for (int i = 0; i < N; ++i)
                if (i != k) {
                  const double t = M[i][k] / M[k][k];
                  for (int j = 0; j <= N; ++j) M[i][j] -= t * M[k][j];
                }
            }
          }
          if (singular) continue;
          double x[N];
          for (int j = 0; j < N; ++j) x[j] = M[j][N] / M[j][j];
          bool feasible = true;
          for (const Face& f : faces) {
            double v = 0;
            for (int j = 0; j < N; ++j) v += f.a[j] * x[j];
            if (v < f.lo - 1e-9 || v > f.hi + 1e-9) feasible = false;
          }
          if (!feasible) continue;
          double z = 0;
          for (int j = 0; j < N; ++j) z += c[j] * x[j];
          best = std::max(best, z);
        }
    RecordingHost host;
    auto model = Solve(host, lp);
    const std::string status = ContinuousStatus(*model);
    SCOPED_TRACE("trial " + std::to_string(trial));
    if (best == -1e300) {
      ++infeasible;
      EXPECT_EQ(status, "PROBLEM IS INFEASIBLE");
    } else {
      ++optimal;
      ASSERT_EQ(status, "OPTIMAL SOLUTION");
      EXPECT_NEAR(model->ObjectiveValue(), best, 1e-7);
      double z = 0;
      for (int j = 0; j < N; ++j) z += c[j] * model->ColumnValue("X" + std::to_string(j));
      EXPECT_NEAR(z, best, 1e-7);
    }
  }
  EXPECT_GT(optimal, 100);
  EXPECT_GT(infeasible, 10);
}

}  // namespace
}  // namespace vesk::engine::test
