#include "core/sorting/Outranking.h"

#include <algorithm>

#include "core/problem/Errors.h"
#include "core/problem/Numbers.h"
#include "core/sorting/CellValues.h"

namespace vesk::core {

void SortingData::Allocate(int criteria, int actions, int categories) {
  n = criteria;
  m = actions;
  K = categories;
  names.assign(static_cast<std::size_t>(std::max(m, 0)), std::string());
  eLow.assign(names.size(), 1);
  eHigh.assign(names.size(), K);
  maximise.assign(static_cast<std::size_t>(std::max(n, 0)), 1);
  perf_.assign(static_cast<std::size_t>(std::max(m, 0)) * static_cast<std::size_t>(std::max(n, 0)), 0.0L);
  const std::size_t profiles = static_cast<std::size_t>(std::max(K - 1, 0)) * static_cast<std::size_t>(std::max(n, 0));
  for (auto* t : {&g_, &q_, &p_, &u_, &v_}) t->assign(profiles, 0.0L);
}

void SortingData::SetProfile(int h, int j, long double g, long double q, long double p, long double u,
                             long double v) {
  const std::size_t i = Index(h, j, n);
  g_[i] = g;
  q_[i] = q;
  p_[i] = p;
  u_[i] = u;
  v_[i] = v;
}

SortingData SortingData::FromProblem(const Problem& pr) {
  SortingData d;
  d.Allocate(pr.NumCriteria, pr.NumActions, pr.NumCategories);
  d.useVeto = pr.UsevjDown;
  d.useDiscordance = pr.UsevjDown && pr.UseujDown;
  const int n = d.n;
  for (int j = 1; j <= n; ++j) d.maximise[j - 1] = pr.FGrid.CellOrEmpty(pr.DirectionRow(), j) == "1";
  for (int h = 1; h <= d.K - 1; ++h) {
    const int r = pr.ProfileRow(h);
    for (int j = 1; j <= n; ++j) {
      const std::size_t i = Index(h, j, n);
      d.g_[i] = CellReal(pr.FGrid, r, j, "Fixed Par.");
      d.q_[i] = CellReal(pr.FGrid, r + 1, j, "Fixed Par.");
      d.p_[i] = CellReal(pr.FGrid, r + 2, j, "Fixed Par.");
      // The discordance and veto rows are read only when they are in use.
      if (d.useDiscordance) d.u_[i] = CellReal(pr.FGrid, r + 3, j, "Fixed Par.");
      if (d.useVeto) d.v_[i] = CellReal(pr.FGrid, r + 4, j, "Fixed Par.");
    }
  }
  for (int a = 1; a <= d.m; ++a) {
    d.names[a - 1] = pr.AGrid.CellOrEmpty(a, 0);
    const int low = CellInteger(pr.AGrid, a, 1, "Actions");
    const int high = CellInteger(pr.AGrid, a, 2, "Actions");
    if (low < 1 || high > d.K || low > high)
      throw ConversionError("Invalid assignment example for action " + d.names[a - 1] + ": [" +
                            std::to_string(low) + ", " + std::to_string(high) + "]");
    d.eLow[a - 1] = low;
    d.eHigh[a - 1] = high;
    for (int j = 1; j <= n; ++j) d.perf_[Index(a, j, n)] = CellReal(pr.AGrid, a, pr.PerformanceColumn(j), "Actions");
  }
  return d;
}

namespace {

// delta_j(a, h): positive when x is better than the profile on criterion j.
long double Delta(const SortingData& d, int j, int h, long double x) {
  const long double delta = x - d.ProfilePerformance(h, j);
  return d.maximise[j - 1] ? delta : -delta;
}

}  // namespace

long double PartialConcordance(const SortingData& d, int j, int h, long double x) {
  const long double delta = Delta(d, j, h, x);
  const long double q = d.Q(h, j);
  const long double p = d.P(h, j);
  if (delta >= -q) return 1.0L;
  if (delta <= -p) return 0.0L;
  return (delta + p) / (p - q);  // here -p < delta < -q, so p > q
}

long double PartialDiscordance(const SortingData& d, int j, int h, long double x) {
  const long double p = d.P(h, j);
  const long double v = d.V(h, j);
  if (!d.useVeto || v <= p) return 0.0L;
  const long double u = d.U(h, j);
  const long double uPrime = (d.useDiscordance && u > p) ? u : 0.25L * p + 0.75L * v;
  const long double worse = -Delta(d, j, h, x);
  if (worse >= v) return 1.0L;
  if (worse <= uPrime) return 0.0L;
  return (worse - uPrime) / (v - uPrime);  // here u' < worse < v
}

long double NonDiscordance(const SortingData& d, int a, int h) {
  long double nd = 1.0L;
  for (int j = 1; j <= d.n && nd > 0.0L; ++j)
    nd = std::min(nd, 1.0L - PartialDiscordance(d, j, h, d.Performance(a, j)));
  return nd;
}

long double OutrankingCoefficient(const SortingData& d, int j, int a, int h) {
  return PartialConcordance(d, j, h, d.Performance(a, j)) * NonDiscordance(d, a, h);
}

std::vector<long double> OutrankingCoefficients(const SortingData& d, int a, int h) {
  const long double nd = NonDiscordance(d, a, h);
  std::vector<long double> w(static_cast<std::size_t>(d.n));
  for (int j = 1; j <= d.n; ++j) w[j - 1] = PartialConcordance(d, j, h, d.Performance(a, j)) * nd;
  return w;
}

long double Credibility(const SortingData& d, int a, int h, const std::vector<double>& params) {
  const std::vector<long double> w = OutrankingCoefficients(d, a, h);
  long double sigma = 0.0L;
  for (int j = 1; j <= d.n; ++j) sigma += static_cast<long double>(params[j]) * w[j - 1];
  return sigma;
}

int AssignCategory(const SortingData& d, int a, const std::vector<double>& params) {
  if (d.K < 2) return 1;
  const long double lambda = params[0];
  int h = 1;
  for (;;) {
    const long double s = Credibility(d, a, h, params);
    if (s - lambda >= -0.000001L) ++h;
    if (h == d.K) break;
    if (!(s >= lambda)) break;
  }
  return h;
}

bool IsCategoryHole(const SortingData& d, int a, int h) {
  if (h <= 1 || h >= d.K) throw ProgramError("Main", "cat=pior ou cat=melhor em buraco");
  return OutrankingCoefficients(d, a, h) == OutrankingCoefficients(d, a, h - 1);
}

}  // namespace vesk::core
