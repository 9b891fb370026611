// Volume of the admissible parameter region: elimination of the equalities,
// the sampling and its stopping rule, the command's checks, and the example
// problems (exact counts with a given seed, values within a few standard
// errors).
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <filesystem>
#include <functional>
#include <fstream>
#include <string>
#include <vector>

#include "RobustFixtures.h"
#include "TestPaths.h"
#include "core/analysis/Volume.h"
#include "core/problem/Errors.h"
#include "core/problem/Problem.h"
#include "core/problem/ProblemFile.h"
#include "core/problem/ScriptedDialogs.h"
#include "core/sorting/SortingState.h"
#include "engine/Random.h"

namespace vesk::core {
namespace {

using test::AddConstraint;

// n criteria, one action without example, two categories; bounds lambda
// [lamLow, 1], every k in [0, kHigh].
Problem MakeVolumeProblem(int n, const std::string& lamLow, const std::string& kHigh) {
  Problem p;
  LayoutTables(p, n, 1, 2, /*withDefaults=*/true);
  p.BGrid.SetCell(1, 1, lamLow);
  p.BGrid.SetCell(2, 1, "1");
  for (int j = 1; j <= n; ++j) {
    p.BGrid.SetCell(1, 1 + j, "0");
    p.BGrid.SetCell(2, 1 + j, kHigh);
  }
  return p;
}

// ICGrid as the example constraints leave it when there is no example.
Grid EmptyExampleGrid(int n) {
  Grid g(2, n + 4);
  for (int c = 1; c <= n + 1; ++c) g.SetCell(1, c, "0");
  g.SetCell(1, n + 2, ">=");
  g.SetCell(1, n + 3, "0");
  return g;
}

TEST(VolumeRegion, NormRowEliminatesTheLastWeightAndItsBoundsSurviveOnTheOthers) {
  Problem p = MakeVolumeProblem(2, "0.5", "1");
  VolumeRegion r = BuildVolumeRegion(p, EmptyExampleGrid(2));
  EXPECT_EQ(r.dimension, 2);
  EXPECT_EQ(r.pivots, std::vector<int>{2});
  EXPECT_EQ(r.free, (std::vector<bool>{true, true, false}));
  EXPECT_DOUBLE_EQ(r.box, 0.5);
  // Bound rows of k2 = 1 - k1: -k2 <= 0 becomes k1 <= 1, k2 <= 1 becomes -k1 <= 0.
  const VolumeRow& k2Low = r.rows[r.boundRowsStart + 4];
  const VolumeRow& k2High = r.rows[r.boundRowsStart + 5];
  EXPECT_EQ(k2Low.a, (std::vector<double>{0, 1, 0}));
  EXPECT_DOUBLE_EQ(k2Low.rhs, 1);
  EXPECT_EQ(k2High.a, (std::vector<double>{0, -1, 0}));
  EXPECT_DOUBLE_EQ(k2High.rhs, 0);
}

TEST(VolumeRegion, GreaterRowsAreNegatedAndLessRowsKept) {
  Problem p = MakeVolumeProblem(2, "0.5", "1");
  AddConstraint(p, {"0", "1", "-1"}, ">=", "0.1");
  AddConstraint(p, {"1", "", "2"}, "<=", "0.9");
  VolumeRegion r = BuildVolumeRegion(p, EmptyExampleGrid(2));
  ASSERT_EQ(r.boundRowsStart, 3);  // the empty example row, then the two added rows
  // After k2 = 1 - k1: -(k1 - k2) <= -0.1 is -2 k1 <= -1.1; lambda + 2 k2 <= 0.9 is lambda - 2 k1 <= -1.1.
  EXPECT_EQ(r.rows[1].a, (std::vector<double>{0, -2, 0}));
  EXPECT_DOUBLE_EQ(r.rows[1].rhs, -1.1);
  EXPECT_EQ(r.rows[2].a, (std::vector<double>{1, -2, 0}));
  EXPECT_DOUBLE_EQ(r.rows[2].rhs, -1.1);
}

// Equalities that depend on earlier ones: exact elimination leaves rounding
// residues that must not become pivots.
TEST(VolumeRegion, DependentEqualitiesAreAllZeroesConstraints) {
  const std::vector<std::vector<std::string>> rows = {
      {"0", "1", "1", "1", "1"},        // the Norm row again
      {"0", "2", "2", "2", "2"},        // twice the Norm row
      {"0", "0", "0", "0", "0"},        // nothing at all
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row[1]);
    Problem p = MakeVolumeProblem(3, "0", "1");
    AddConstraint(p, {row[0], row[1], row[2], row[3]}, "=", row[4]);
    try {
      BuildVolumeRegion(p, EmptyExampleGrid(3));
      ADD_FAILURE() << "no program error";
    } catch (const ProgramError& e) {
      EXPECT_EQ(e.Unit(), "VolumeF");
      EXPECT_STREQ(e.what(), "All zeroes constraint");
    }
  }
  // 0.1 Norm + 0.2 (k1 + 2 k2 = 0.5) and similar combinations: their
  // residues after elimination are of the order of 1e-17, not 0.
  const std::vector<std::vector<std::string>> combinations = {
      {"0", "0.3", "0.5", "0.1", "0.2"},
      {"0", "0.9", "1.5", "0.3", "0.6"},
      {"0", "0.6", "0.9", "0.3", "0.45"},
      {"0", "0.7", "1.1", "0.3", "0.55"},
  };
  for (const auto& row : combinations) {
    SCOPED_TRACE(row[1] + " " + row[2] + " " + row[3]);
    Problem p = MakeVolumeProblem(3, "0", "1");
    AddConstraint(p, {"0", "1", "2", "0"}, "=", "0.5");
    AddConstraint(p, {row[0], row[1], row[2], row[3]}, "=", row[4]);
    EXPECT_THROW(BuildVolumeRegion(p, EmptyExampleGrid(3)), ProgramError);
  }
}

TEST(VolumeSampling, TwoCriteriaFullRegionStopsAtTheSecondCheckpoint) {
  Problem p = MakeVolumeProblem(2, "0.5", "1");
  SortingState s;
  s.ICGrid = EmptyExampleGrid(2);
  VolumeWindow w;
  ScriptedDialogs d;
  auto result = StartSimulationClick(p, s, w, d, 12345u);
  ASSERT_TRUE(result);
  EXPECT_EQ(result->samples, 400000);
  EXPECT_EQ(result->hits, 400000);
  EXPECT_EQ(result->insideBounds, 400000);
  EXPECT_EQ(w.DimensionText, "2");
  EXPECT_EQ(w.AbsoluteText, "0.5");
  EXPECT_EQ(w.RelativeText, "1");
  EXPECT_EQ(w.ProgressPosition, kVolumeMaxSamples);
  EXPECT_EQ(d.progress, (std::vector<int>{4, 8, 100}));
  EXPECT_FALSE(d.busy);
  EXPECT_TRUE(d.messages.empty());
}

// Cancelled at its second checkpoint, a simulation leaves the labels and the
// last result of the earlier run.
TEST(VolumeSampling, CancelAtACheckpointLeavesTheEarlierRunShown) {
  Problem p = MakeVolumeProblem(3, "0", "1");
  SortingState s;
  s.ICGrid = EmptyExampleGrid(3);
  VolumeWindow w;
  ScriptedDialogs d;
  ASSERT_TRUE(StartSimulationClick(p, s, w, d, 7u));
  w.SetPrecision(5);  // the next run would go on for many checkpoints
  const VolumeWindow before = w;
  const Problem problemBefore = p;
  ScriptedDialogs cancel;
  cancel.cancelAfterChecks = 1;
  EXPECT_FALSE(StartSimulationClick(p, s, w, cancel, 8u));
  EXPECT_EQ(cancel.cancelChecks, 2);
  EXPECT_EQ(cancel.Texts(), (std::vector<std::string>{kComputationCancelled}));
  EXPECT_EQ(cancel.messages[0].kind, MessageKind::Information);
  EXPECT_TRUE(w == before);
  EXPECT_TRUE(p == problemBefore);
  EXPECT_FALSE(cancel.busy);
  EXPECT_FALSE(cancel.progressVisible);
}

TEST(VolumeSampling, ThreeCriteriaKeepHalfTheBoxAndAllOfTheBounds) {
  Problem p = MakeVolumeProblem(3, "0", "1");
  VolumeRegion r = BuildVolumeRegion(p, EmptyExampleGrid(3));
  EXPECT_EQ(r.dimension, 3);
  EXPECT_DOUBLE_EQ(r.box, 1.0);
  engine::SetRandomSeed(7);
  VolumeResult v = SampleVolume(r, 3);
  EXPECT_LE(v.samples, kVolumeMaxSamples);
  EXPECT_EQ(v.samples % kVolumeCheckpoint, 0);
  EXPECT_EQ(v.hits, v.insideBounds);
  ASSERT_TRUE(v.relative);
  EXPECT_EQ(*v.relative, 1.0);
  EXPECT_NEAR(v.absolute, 0.5, 4 * std::sqrt(0.25 / static_cast<double>(v.samples)));
}

TEST(VolumeSampling, NeverMoreThanFiveMillionSamples) {
  // Precision 5 on a half-filled box: with seed 4 no two consecutive
  // checkpoint texts agree, so the run ends at the cap.
  Problem p = MakeVolumeProblem(3, "0", "1");
  VolumeRegion r = BuildVolumeRegion(p, EmptyExampleGrid(3));
  engine::SetRandomSeed(4);
  int checkpoints = 0;
  VolumeResult v = SampleVolume(r, 5, [&](const VolumeProgress&) { ++checkpoints; });
  EXPECT_EQ(v.samples, kVolumeMaxSamples);
  EXPECT_EQ(checkpoints, 25);
}

TEST(VolumeSampling, EmptyBoundsLeaveTheRelativeValueEmpty) {
  // k1 = k2 in [0, 0.4]: k1 + k2 = 1 cannot hold inside the bounds.
  Problem p = MakeVolumeProblem(2, "0.5", "0.4");
  VolumeRegion r = BuildVolumeRegion(p, EmptyExampleGrid(2));
  engine::SetRandomSeed(3);
  VolumeResult v = SampleVolume(r, 3);
  EXPECT_EQ(v.insideBounds, 0);
  EXPECT_EQ(v.samples, 400000);
  EXPECT_FALSE(v.relative);
  EXPECT_EQ(v.relativeText, "");
  EXPECT_EQ(v.absoluteText, "0");
}

TEST(VolumeCommand, RefusalsComeBeforeAnyComputation) {
  struct Case {
    const char* name;
    std::function<void(Problem&)> edit;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"no problem", [](Problem& p) { p = Problem(); }, "You must read data first"},
      {"bad bound", [](Problem& p) { p.BGrid.SetCell(1, 2, "x"); }, "Invalid lower bound in column 2"},
      {"bad rhs", [](Problem& p) { AddConstraint(p, {"0", "1", "-1"}, ">=", "-1"); }, "Negative RHS is row 1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Problem p = MakeVolumeProblem(2, "0.5", "1");
    c.edit(p);
    SortingState s;
    VolumeWindow w;
    ScriptedDialogs d;
    EXPECT_FALSE(VolumeComputationItemClick(p, s, w, d));
    EXPECT_FALSE(w.Shown);
    ASSERT_FALSE(d.messages.empty());
    EXPECT_EQ(d.messages.back().text, c.message);
  }
}

TEST(VolumeCommand, ConstraintWithoutSignIsRefusedNamingIt) {
  Problem p = MakeVolumeProblem(2, "0.5", "1");
  AddConstraint(p, {"0", "1", "-1"}, "", "0");
  SortingState s;
  VolumeWindow w;
  ScriptedDialogs d;
  ASSERT_TRUE(VolumeComputationItemClick(p, s, w, d));
  EXPECT_FALSE(StartSimulationClick(p, s, w, d, 0u));
  ASSERT_EQ(d.messages.size(), 1u);
  EXPECT_EQ(d.messages[0].kind, MessageKind::Error);
  EXPECT_NE(d.messages[0].text.find("ad1"), std::string::npos);
  EXPECT_EQ(w.DimensionText, "0");  // nothing was computed
  EXPECT_EQ(d.busyChanges, 0);
}

TEST(VolumeCommand, AllZeroesConstraintEndsTheSimulationWithItsReport) {
  Problem p = MakeVolumeProblem(2, "0.5", "1");
  AddConstraint(p, {"0", "1", "1"}, "=", "1");
  SortingState s;
  VolumeWindow w;
  ScriptedDialogs d;
  ASSERT_TRUE(VolumeComputationItemClick(p, s, w, d));
  EXPECT_FALSE(StartSimulationClick(p, s, w, d, 0u));
  ASSERT_EQ(d.messages.size(), 1u);
  EXPECT_NE(d.messages[0].text.find("All zeroes constraint"), std::string::npos);
  EXPECT_NE(d.messages[0].text.find("VolumeF"), std::string::npos);
  EXPECT_EQ(w.DimensionText, "1");
  EXPECT_FALSE(d.busy);
}

// The example problems: exact counts with the seed of their expected run,
// and the values within a few standard errors.
TEST(VolumeExamples, SeededRunsGiveTheExpectedCounts) {
  auto dir = vesk::test::ExamplesDir();
  if (!dir) GTEST_SKIP() << "example problems not found";
  int checked = 0;
  for (const auto& entry : std::filesystem::directory_iterator(*dir)) {
    const auto path = entry.path();
    if (path.extension() != ".tri") continue;
    auto expectedPath = path;
    expectedPath.replace_extension(".expected.json");
    std::ifstream in(expectedPath);
    if (!in) continue;
    const auto expected = nlohmann::json::parse(in);
    if (!expected.contains("volume")) continue;
    const auto& vol = expected["volume"];
    SCOPED_TRACE(path.filename().string());

    Problem p;
    ScriptedDialogs d;
    ASSERT_TRUE(ReadProblemFile(p, d, path.string()));
    for (const auto& flag : expected["flags"]) {
      if (flag == "--no-veto") p.UsevjDown = false, p.UseujDown = false;
      if (flag == "--uj") p.UseujDown = true;
    }
    SortingState s;
    VolumeWindow w;
    ASSERT_TRUE(VolumeComputationItemClick(p, s, w, d));
    auto result = StartSimulationClick(p, s, w, d, vol["run"]["seed"].get<std::uint32_t>());
    if (vol.contains("error")) {
      EXPECT_FALSE(result);
      continue;
    }
    ASSERT_TRUE(result);
    EXPECT_EQ(result->dimension, vol["dimension"].get<int>());
    EXPECT_EQ(result->samples, vol["samples"].get<long long>());
    EXPECT_EQ(result->hits, vol["run"]["hits"].get<long long>());
    EXPECT_EQ(result->insideBounds, vol["run"]["inside_bounds"].get<long long>());
    EXPECT_NEAR(result->absolute, vol["run"]["absolute"].get<double>(), 1e-12);
    const double se = vol["stderr"].get<double>() *
                      std::sqrt(vol["samples"].get<double>() / static_cast<double>(result->samples));
    EXPECT_NEAR(result->absolute, vol["absolute"].get<double>(), 4 * se + 1e-12);
    // The run's own error estimate (from its hit share) is close to the one of
    // the exact share.
    EXPECT_NEAR(VolumeStandardError(*result), se, 0.05 * se + 1e-12);
    if (vol["relative"].is_null()) {
      EXPECT_FALSE(result->relative);
    } else {
      ASSERT_TRUE(result->relative);
      EXPECT_NEAR(*result->relative, vol["run"]["relative"].get<double>(), 1e-12);
    }
    ++checked;
  }
  EXPECT_GT(checked, 0);
}

}  // namespace
}  // namespace vesk::core
