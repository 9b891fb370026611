#include <gtest/gtest.h>

#include "core/problem/Errors.h"
#include "core/problem/Problem.h"
#include "core/sorting/Outranking.h"

namespace vesk::core {
namespace {

// One profile at 50 on every criterion, q = 2, p = 6, u = 8, v = 10.
SortingData OneProfile(int n = 1, int m = 1, int K = 2) {
  SortingData d;
  d.Allocate(n, m, K);
  for (int h = 1; h <= K - 1; ++h)
    for (int j = 1; j <= n; ++j) d.SetProfile(h, j, 50, 2, 6, 8, 10);
  return d;
}

struct ConcordanceCase {
  const char* what;
  bool maximise;
  long double x;
  long double expected;
};

TEST(PartialConcordance, ThresholdZones) {
  const ConcordanceCase cases[] = {
      {"better", true, 60, 1},          {"delta = -q", true, 48, 1},    {"halfway", true, 46, 0.5L},
      {"delta = -p", true, 44, 0},      {"far worse", true, 0, 0},      {"minimise, lower is better", false, 40, 1},
      {"minimise, delta = -p", false, 56, 0}, {"minimise, halfway", false, 54, 0.5L},
  };
  for (const auto& c : cases) {
    SortingData d = OneProfile();
    d.maximise[0] = c.maximise;
    EXPECT_EQ(PartialConcordance(d, 1, 1, c.x), c.expected) << c.what;
  }
}

TEST(PartialConcordance, EqualThresholdsNeverDivide) {
  SortingData d = OneProfile();
  d.SetProfile(1, 1, 50, 3, 3, 0, 0);
  EXPECT_EQ(PartialConcordance(d, 1, 1, 47), 1);
  EXPECT_EQ(PartialConcordance(d, 1, 1, 46.999), 0);
}

struct DiscordanceCase {
  const char* what;
  bool veto, uj;
  long double u, v, x;
  long double expected;
};

TEST(PartialDiscordance, VetoAndDiscordanceThresholds) {
  // p = 6 throughout; x below 50 is worse than the profile.
  const DiscordanceCase cases[] = {
      {"veto switched off", false, false, 8, 10, 0, 0},
      {"v equal to p", true, false, 8, 6, 0, 0},
      {"at the veto", true, false, 8, 10, 40, 1},
      // u' = 0.25 * 6 + 0.75 * 10 = 9 when u is not used.
      {"fallback u', at u'", true, false, 8, 10, 41, 0},
      {"fallback u', halfway", true, false, 8, 10, 40.5L, 0.5L},
      {"uj down but u <= p falls back", true, true, 5, 10, 40.5L, 0.5L},
      {"uj down, u > p used", true, true, 8, 10, 41, 0.5L},
      {"uj down, at u", true, true, 8, 10, 42, 0},
  };
  for (const auto& c : cases) {
    SortingData d = OneProfile();
    d.useVeto = c.veto;
    d.useDiscordance = c.uj;
    d.SetProfile(1, 1, 50, 2, 6, c.u, c.v);
    EXPECT_EQ(PartialDiscordance(d, 1, 1, c.x), c.expected) << c.what;
  }
}

TEST(NonDiscordance, MinimumOverCriteriaAndFullVeto) {
  SortingData d = OneProfile(3, 2);
  // Action 1: discordances 0.5 and 0.25 (u' = 9, v = 10 on the last two).
  d.SetPerformance(1, 1, 50);
  d.SetPerformance(1, 2, 40.5L);
  d.SetPerformance(1, 3, 40.75L);
  EXPECT_EQ(NonDiscordance(d, 1, 1), 0.5L);  // a product would give 0.375
  // Action 2: vetoed on criterion 1, so every coefficient and sigma are 0.
  d.SetPerformance(2, 1, 30);
  d.SetPerformance(2, 2, 60);
  d.SetPerformance(2, 3, 60);
  EXPECT_EQ(NonDiscordance(d, 2, 1), 0);
  EXPECT_EQ(OutrankingCoefficient(d, 2, 2, 1), 0);
  EXPECT_EQ(Credibility(d, 2, 1, {0.0, 0.2, 0.4, 0.4}), 0);
  d.useVeto = false;
  EXPECT_EQ(NonDiscordance(d, 2, 1), 1);
  EXPECT_NEAR(static_cast<double>(Credibility(d, 2, 1, {0.0, 0.2, 0.4, 0.4})), 0.8, 1e-15);
}

TEST(AssignCategory, MarginAndScanEnd) {
  // Two criteria, three categories; the action's coefficients on b_1 are
  // (1, c) and on b_2 are (1, 0).
  SortingData d = OneProfile(2, 1, 3);
  d.useVeto = false;
  d.SetProfile(2, 1, 50, 2, 6, 0, 0);
  d.SetProfile(2, 2, 90, 0, 0, 0, 0);  // never reached on criterion 2
  d.SetPerformance(1, 1, 50);
  struct Case {
    const char* what;
    long double x2;
    std::vector<double> params;
    int expected;
  } cases[] = {
      // With x2 = 60: sigma(a, 1) = k1 + k2, sigma(a, 2) = k1; with x2 = 44: sigma(a, 1) = k1.
      {"outranks every profile: K", 60, {0.6, 0.7, 0.3}, 3},
      {"outranks b_1 only", 60, {0.8, 0.7, 0.3}, 2},
      {"outranks nothing", 44, {0.8, 0.7, 0.3}, 1},
  };
  for (const auto& c : cases) {
    d.SetPerformance(1, 2, c.x2);
    EXPECT_EQ(AssignCategory(d, 1, c.params), c.expected) << c.what;
  }
}

TEST(AssignCategory, MarginCaseDoesNotLookAtTheNextProfile) {
  // sigma(a, 1) = 0.5999995 and b_2 outranked outright: the scan still stops at 2.
  SortingData d = OneProfile(1, 1, 3);
  d.useVeto = false;
  d.SetProfile(1, 1, 50, 0, 1, 0, 0);
  d.SetProfile(2, 1, 0, 0, 0, 0, 0);
  d.SetPerformance(1, 1, 50 - 0.4000005L);  // c = 1 - 0.4000005 = 0.5999995
  const std::vector<double> params = {0.6, 1.0};
  EXPECT_NEAR(static_cast<double>(Credibility(d, 1, 1, params)), 0.5999995, 1e-12);
  EXPECT_EQ(AssignCategory(d, 1, params), 2);
  d.SetPerformance(1, 1, 50 - 0.400002L);  // 0.599998: below the margin
  EXPECT_EQ(AssignCategory(d, 1, params), 1);
}

TEST(IsCategoryHole, IdenticalCoefficientsAndBadCategory) {
  SortingData d = OneProfile(2, 1, 4);
  d.useVeto = false;
  d.SetProfile(2, 1, 50, 2, 6, 0, 0);  // b_2 equal to b_1 on both criteria
  d.SetProfile(3, 1, 80, 2, 6, 0, 0);
  d.SetPerformance(1, 1, 47);
  d.SetPerformance(1, 2, 60);
  EXPECT_TRUE(IsCategoryHole(d, 1, 2));
  EXPECT_FALSE(IsCategoryHole(d, 1, 3));
  for (int h : {1, 4}) {
    try {
      IsCategoryHole(d, 1, h);
      ADD_FAILURE() << "no program error for category " << h;
    } catch (const ProgramError& e) {
      EXPECT_EQ(e.Unit(), "Main");
      EXPECT_STREQ(e.what(), "cat=pior ou cat=melhor em buraco");
    }
  }
}

TEST(SortingData, ReadsTheTablesAndNamesABadCell) {
  Problem p;
  LayoutTables(p, 2, 2, 3, true);
  p.FGrid.SetCell(p.DirectionRow(), 2, "-");  // anything but "1" minimises
  p.AGrid.SetCell(2, 3, "12.5");
  p.AGrid.SetCell(1, 1, "2");
  p.FGrid.SetCell(p.ProfileRow(2) + 4, 1, "oops");  // a veto cell
  p.UsevjDown = false;                               // not read with the veto off
  SortingData d = SortingData::FromProblem(p);
  EXPECT_FALSE(d.maximise[1]);
  EXPECT_TRUE(d.maximise[0]);
  EXPECT_EQ(d.Performance(2, 1), 12.5L);
  EXPECT_TRUE(d.HasExample(1));
  EXPECT_FALSE(d.HasExample(2));

  p.UsevjDown = true;
  try {
    SortingData::FromProblem(p);
    ADD_FAILURE() << "bad veto cell accepted";
  } catch (const ConversionError& e) {
    EXPECT_NE(std::string(e.what()).find("'oops'"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("row 10, column 1"), std::string::npos) << e.what();
  }
  p.FGrid.SetCell(p.ProfileRow(2) + 4, 1, "0");
  p.AGrid.SetCell(1, 2, "4");  // above K
  EXPECT_THROW(SortingData::FromProblem(p), ConversionError);
}

}  // namespace
}  // namespace vesk::core
