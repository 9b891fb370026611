#include "core/analysis/Volume.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/problem/Errors.h"
#include "core/problem/InputChecks.h"
#include "core/sorting/CellValues.h"
#include "core/sorting/InferenceProgram.h"
#include "engine/Random.h"

namespace vesk::core {
namespace {

constexpr double kZeroRelative = 1e-9;

double CellValue(const Grid& grid, int row, int column, const char* table) {
  return static_cast<double>(CellRealOrZero(grid, row, column, table));
}

// Row `r` of a constraint table whose coefficients sit in columns 1..n+1 and
// whose RHS sits in `rhsColumn`; `negate` turns an at-least row into an
// at-most row.
VolumeRow ReadRow(const Grid& grid, const char* table, int r, int variables, int rhsColumn, bool negate) {
  VolumeRow row;
  row.a.resize(static_cast<std::size_t>(variables));
  const double s = negate ? -1.0 : 1.0;
  for (int v = 0; v < variables; ++v) row.a[v] = s * CellValue(grid, r, 1 + v, table);
  row.rhs = s * CellValue(grid, r, rhsColumn, table);
  return row;
}

char SignOf(const Grid& grid, int r, int column) {
  const std::string& sign = grid.CellOrEmpty(r, column);
  return sign.empty() ? '\0' : sign.front();
}

// Removes variable p from `row` using the equality `e` (already divided by
// its pivot coefficient, so e.a[p] == 1).
void Eliminate(VolumeRow& row, const VolumeRow& e, int p) {
  const double f = row.a[p];
  if (f == 0.0) return;
  for (std::size_t v = 0; v < row.a.size(); ++v) row.a[v] -= f * e.a[v];
  row.a[p] = 0.0;
  row.rhs -= f * e.rhs;
}

int Percent(long long samples) { return static_cast<int>(samples * 100 / kVolumeMaxSamples); }

}  // namespace

std::string FormatSignificant(double value, int precision) {
  if (value == 0.0) value = 0.0;
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, precision);
  return std::string(buffer, result.ptr);
}

int VolumeDimension(const Problem& problem) {
  int equalities = 0;
  for (int r = 1; r < problem.CGrid.RowCount(); ++r)
    if (SignOf(problem.CGrid, r, problem.SignColumn()) == '=') ++equalities;
  return problem.NumCriteria + 1 - equalities;
}

VolumeRegion BuildVolumeRegion(const Problem& problem, const Grid& ICGrid) {
  const int n = problem.NumCriteria;
  const int variables = n + 1;
  VolumeRegion region;
  region.variables = variables;
  region.free.assign(static_cast<std::size_t>(variables), true);
  region.lower.resize(static_cast<std::size_t>(variables));
  region.upper.resize(static_cast<std::size_t>(variables));
  for (int v = 0; v < variables; ++v) {
    region.lower[v] = static_cast<double>(CellReal(problem.BGrid, 1, 1 + v, "BGrid"));
    region.upper[v] = static_cast<double>(CellReal(problem.BGrid, 2, 1 + v, "BGrid"));
  }

  // Example constraints (ICGrid: n+2 sign, n+3 RHS).
  for (int r = 1; r < ICGrid.RowCount(); ++r) {
    const char s = SignOf(ICGrid, r, n + 2);
    if (s == '<') region.rows.push_back(ReadRow(ICGrid, "ICGrid", r, variables, n + 3, false));
    else if (s == '>') region.rows.push_back(ReadRow(ICGrid, "ICGrid", r, variables, n + 3, true));
  }
  // Constraints of CGrid, the Norm row first.
  std::vector<double> largest;  // per equality: its largest |coefficient| as stated
  for (int r = 1; r < problem.CGrid.RowCount(); ++r) {
    const char s = SignOf(problem.CGrid, r, problem.SignColumn());
    if (s == '<' || s == '>') {
      region.rows.push_back(ReadRow(problem.CGrid, "CGrid", r, variables, problem.RhsColumn(), s == '>'));
    } else if (s == '=') {
      region.equalities.push_back(ReadRow(problem.CGrid, "CGrid", r, variables, problem.RhsColumn(), false));
      double m = 0.0;
      for (double a : region.equalities.back().a) m = std::max(m, std::fabs(a));
      largest.push_back(m);
    }
  }
  region.boundRowsStart = static_cast<int>(region.rows.size());
  for (int v = 0; v < variables; ++v) {
    VolumeRow low{std::vector<double>(static_cast<std::size_t>(variables), 0.0), -region.lower[v]};
    low.a[v] = -1.0;
    VolumeRow up{std::vector<double>(static_cast<std::size_t>(variables), 0.0), region.upper[v]};
    up.a[v] = 1.0;
    region.rows.push_back(std::move(low));
    region.rows.push_back(std::move(up));
  }
  region.dimension = variables - static_cast<int>(region.equalities.size());

  for (std::size_t e = 0; e < region.equalities.size(); ++e) {
    VolumeRow& eq = region.equalities[e];
    const double zero = kZeroRelative * largest[e];
    for (auto& a : eq.a)
      if (std::fabs(a) <= zero) a = 0.0;
    int p = -1;
    for (int v = variables - 1; v >= 0; --v) {
      if (region.free[v] && eq.a[v] != 0.0) {
        p = v;
        break;
      }
    }
    if (p < 0) throw ProgramError("VolumeF", "All zeroes constraint");
    const double pivot = eq.a[p];
    for (auto& a : eq.a) a /= pivot;
    eq.rhs /= pivot;
    eq.a[p] = 1.0;
    for (std::size_t later = e + 1; later < region.equalities.size(); ++later)
      Eliminate(region.equalities[later], eq, p);
    for (auto& row : region.rows) Eliminate(row, eq, p);
    region.free[p] = false;
    region.pivots.push_back(p);
  }

  region.box = 1.0;
  for (int v = 0; v < variables; ++v)
    if (region.free[v]) region.box *= region.upper[v] - region.lower[v];
  return region;
}

void VolumeSampler::Rows::Add(const std::vector<double>& a, double b) {
  order.push_back(static_cast<int>(rhs.size()));
  coef.insert(coef.end(), a.begin(), a.end());
  rhs.push_back(b);
  misses.push_back(0);
}

bool VolumeSampler::Rows::Holds(const double* x) {
  const int rows = static_cast<int>(order.size());
  if (++checks % 65536 == 0) Reorder();
  for (int k = 0; k < rows; ++k) {
    const int i = order[k];
    const double* a = coef.data() + static_cast<std::size_t>(i) * width;
    double lhs = 0.0;
    for (int j = 0; j < width; ++j) lhs += a[j] * x[j];
    if (!(lhs <= rhs[i])) {
      ++misses[i];
      return false;
    }
  }
  return true;
}

void VolumeSampler::Rows::Reorder() {
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return misses[a] > misses[b]; });
}

VolumeSampler::VolumeSampler(const VolumeRegion& region) {
  std::vector<int> position(static_cast<std::size_t>(region.variables), -1);
  for (int v = 0; v < region.variables; ++v) {
    if (!region.free[v]) continue;
    position[v] = static_cast<int>(low_.size());
    low_.push_back(region.lower[v]);
    width_.push_back(region.upper[v] - region.lower[v]);
  }
  x_.assign(low_.size() + 1, 0.0);
  bounds_.width = others_.width = static_cast<int>(low_.size());
  // The extreme values a draw can take: lower + r (upper - lower) rises with r
  // (rounding is monotonic), and r lies in [0, 1 - 2^-32].
  const double rMax = 4294967295.0 / 4294967296.0;
  for (int i = 0; i < static_cast<int>(region.rows.size()); ++i) {
    const VolumeRow& row = region.rows[i];
    Rows& into = i >= region.boundRowsStart ? bounds_ : others_;
    // A zero coefficient adds nothing to the left-hand side: leave it out.
    std::vector<std::pair<int, double>> entries;
    for (std::size_t v = 0; v < row.a.size(); ++v)
      if (row.a[v] != 0.0 && position[v] >= 0) entries.emplace_back(position[v], row.a[v]);
    // A row on one variable whose left-hand side holds at both extremes of
    // the draw holds for every draw (c x is monotonic in x): the bound rows
    // of the free variables. Dropping it changes no count.
    if (entries.size() == 1) {
      const auto [k, c] = entries[0];
      const double x0 = low_[k] + 0.0 * width_[k];
      const double x1 = low_[k] + rMax * width_[k];
      if (c * x0 <= row.rhs && c * x1 <= row.rhs) continue;
    }
    if (entries.empty() && 0.0 <= row.rhs) continue;
    std::vector<double> dense(low_.size(), 0.0);
    for (const auto& [k, c] : entries) dense[k] = c;
    into.Add(dense, row.rhs);
  }
}

void VolumeSampler::Draw(long long count) {
  const std::size_t freeCount = low_.size();
  double* x = x_.data();
  const double* low = low_.data();
  const double* width = width_.data();
  for (long long s = 0; s < count; ++s) {
    for (std::size_t i = 0; i < freeCount; ++i) x[i] = low[i] + engine::Random() * width[i];
    if (!bounds_.Holds(x)) continue;
    ++insideBounds;
    if (others_.Holds(x)) ++hits;
  }
  samples += count;
}

VolumeResult SampleVolume(const VolumeRegion& region, int precision,
                          const std::function<void(const VolumeProgress&)>& checkpoint) {
  precision = std::clamp(precision, kVolumeMinPrecision, kVolumeMaxPrecision);
  VolumeSampler sampler(region);
  VolumeResult result;
  result.dimension = region.dimension;
  result.box = region.box;
  std::string previous = "x";
  bool stopped = false;
  while (sampler.samples < kVolumeMaxSamples && !stopped) {
    const long long next = std::min(kVolumeMaxSamples, (sampler.samples / kVolumeCheckpoint + 1) * kVolumeCheckpoint);
    sampler.Draw(next - sampler.samples);
    const double N = static_cast<double>(sampler.samples);
    const double H = static_cast<double>(sampler.hits);
    VolumeProgress progress;
    progress.samples = sampler.samples;
    progress.absoluteText = FormatSignificant(H * region.box / N, precision);
    if (sampler.insideBounds > 0)
      progress.relativeText = FormatSignificant(H / static_cast<double>(sampler.insideBounds), precision);
    if (progress.absoluteText == previous) stopped = true;
    else previous = progress.absoluteText;
    if (checkpoint) checkpoint(progress);
    result.absoluteText = progress.absoluteText;
    result.relativeText = progress.relativeText;
  }
  result.samples = sampler.samples;
  result.insideBounds = sampler.insideBounds;
  result.hits = sampler.hits;
  result.absolute = static_cast<double>(sampler.hits) * region.box / static_cast<double>(sampler.samples);
  if (sampler.insideBounds > 0)
    result.relative = static_cast<double>(sampler.hits) / static_cast<double>(sampler.insideBounds);
  return result;
}

double VolumeStandardError(const VolumeResult& r) {
  if (r.samples <= 0) return 0.0;
  const double N = static_cast<double>(r.samples);
  const double p = static_cast<double>(r.hits) / N;
  return r.box * std::sqrt(p * (1.0 - p) / N);
}

void VolumeWindow::SetPrecision(int p) { Precision = std::clamp(p, kVolumeMinPrecision, kVolumeMaxPrecision); }

bool VolumeComputationItemClick(Problem& problem, SortingState& state, VolumeWindow& window,
                                UserDialogs& dialogs) {
  if (problem.NumCriteria == 0) {
    dialogs.Error("You must read data first");
    return false;
  }
  if (!CheckBounds(problem, dialogs)) return false;
  if (!CheckConstraintRHS(problem, dialogs)) return false;
  state.ICGrid.Resize(2, std::max(state.ICGrid.ColCount(), problem.NumCriteria + 4));
  try {
    BuildExampleConstraints(problem, state, dialogs);
  } catch (const ConversionError& e) {
    dialogs.Error(e.what());
    return false;
  }
  window.ProgressPosition = 0;
  window.Shown = true;
  return true;
}

std::optional<VolumeResult> StartSimulationClick(const Problem& problem, const SortingState& state,
                                                 VolumeWindow& window, UserDialogs& dialogs,
                                                 std::optional<std::uint32_t> seed) {
  if (!CheckConstraintSigns(problem, dialogs)) return std::nullopt;
  // A cancelled run leaves the window's labels and last result as they were.
  const VolumeWindow before = window;
  struct Cancelled {};
  bool cancelled = false;
  BusyCursor busy(dialogs);
  dialogs.ShowProgress(true);
  std::optional<VolumeResult> result;
  try {
    window.DimensionText = std::to_string(VolumeDimension(problem));
    VolumeRegion region = BuildVolumeRegion(problem, state.ICGrid);
    window.AbsoluteText.clear();
    window.RelativeText.clear();
    if (seed) engine::SetRandomSeed(*seed);
    else engine::Randomize();
    result = SampleVolume(region, window.Precision, [&](const VolumeProgress& p) {
      window.AbsoluteText = p.absoluteText;
      if (!p.relativeText.empty()) window.RelativeText = p.relativeText;
      window.ProgressPosition = p.samples;
      dialogs.SetProgress(Percent(p.samples));
      if (dialogs.CancelRequested()) throw Cancelled{};
    });
  } catch (const Cancelled&) {
    cancelled = true;
  } catch (const ProgramError& e) {
    dialogs.Error(std::string(e.what()) + " (unit " + e.Unit() + ")");
  } catch (const ConversionError& e) {
    dialogs.Error(e.what());
  }
  window.ProgressPosition = kVolumeMaxSamples;
  dialogs.SetProgress(100);
  dialogs.ShowProgress(false);
  if (cancelled) {
    window = before;
    dialogs.Information(kComputationCancelled);
    return std::nullopt;
  }
  window.LastResult = result;
  return result;
}

}  // namespace vesk::core
