#pragma once
// Monte-Carlo estimate of the volume of the admissible parameter region: the
// vectors (lambda, k_1..k_n) that satisfy the bounds, the added constraints
// and the constraints generated from the assignment examples.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/problem/Problem.h"
#include "core/problem/UserDialogs.h"
#include "core/sorting/SortingState.h"

namespace vesk::core {

inline constexpr long long kVolumeMaxSamples = 5'000'000;
inline constexpr long long kVolumeCheckpoint = 200'000;
inline constexpr int kVolumeMinPrecision = 2;
inline constexpr int kVolumeMaxPrecision = 5;

// One row of the region: sum of coefficient x variable <= rhs.
struct VolumeRow {
  std::vector<double> a;  // n+1 coefficients: 0 lambda, j k_j
  double rhs = 0.0;
};

// The region after the equalities were eliminated: the free variables with
// their bounds and the inequality rows on them (the bound rows of eliminated
// variables included).
struct VolumeRegion {
  int variables = 0;                 // n+1
  int dimension = 0;                 // n+1 minus the number of equalities
  std::vector<bool> free;            // per variable
  std::vector<double> lower, upper;  // per variable, from BGrid
  std::vector<VolumeRow> rows;       // example and added rows first, then the bound rows
  int boundRowsStart = 0;            // L: rows before this index are not bound rows
  std::vector<VolumeRow> equalities; // after elimination (each divided by its pivot)
  std::vector<int> pivots;           // the variable eliminated by each equality
  double box = 1.0;                  // product over the free variables of (upper - lower)
};

// Reads the rows from ICGrid (every data row: '<' as written, '>' negated, an
// empty sign skipped) and CGrid (every data row, Norm first: '<' as written,
// '>' negated, '=' an equality), adds two bound rows per variable and
// eliminates the equalities in order: the pivot of an equality is the
// highest-numbered free variable whose coefficient is not zero, a coefficient
// with |a| <= 1e-9 times the largest coefficient of the row as stated
// counting as zero. Throws ProgramError("VolumeF", "All zeroes constraint")
// when an equality has no pivot, ConversionError for a cell that is no number.
VolumeRegion BuildVolumeRegion(const Problem& problem, const Grid& ICGrid);

// The number of variables minus the number of equality rows of CGrid.
int VolumeDimension(const Problem& problem);

// Draws samples of a region with the program-wide generator: every free
// variable lower + r (upper - lower), in variable order, one draw each; counts
// the samples inside the bounds and inside the region.
class VolumeSampler {
 public:
  explicit VolumeSampler(const VolumeRegion& region);
  void Draw(long long count);

  long long samples = 0;       // N
  long long insideBounds = 0;  // B
  long long hits = 0;          // H

 private:
  // Rows on the free variables only, dense (the point has at most 20
  // coordinates). They are checked in an order that puts the rows most often
  // violated first; the order decides only how soon a check stops, never its
  // outcome.
  struct Rows {
    int width = 0;
    std::vector<double> coef;        // row i: coef[i*width .. i*width+width-1]
    std::vector<double> rhs;
    std::vector<int> order;          // rows in checking order
    std::vector<long long> misses;   // times each row was the first violated one
    long long checks = 0;
    void Add(const std::vector<double>& a, double b);
    bool Holds(const double* x);     // stops at the first violated row
    void Reorder();
  };
  std::vector<double> low_, width_, x_;
  Rows bounds_, others_;
};

struct VolumeProgress {
  long long samples = 0;
  std::string absoluteText;
  std::string relativeText;
};

struct VolumeResult {
  int dimension = 0;
  double box = 0.0;
  long long samples = 0;       // N
  long long insideBounds = 0;  // B
  long long hits = 0;          // H
  double absolute = 0.0;       // H * V / N
  std::optional<double> relative;  // H / B, nothing when B = 0
  std::string absoluteText;    // "%.*g" with the precision
  std::string relativeText;    // empty when B = 0
  bool operator==(const VolumeResult&) const = default;
};

// The standard error of a run's absolute volume: the share of hits p = H / N
// is binomial, with standard error sqrt(p (1 - p) / N), scaled like the volume
// by the box V. 0 before any sample.
double VolumeStandardError(const VolumeResult& result);

// Samples the region with the program-wide generator (as it stands: the
// caller seeds it): free variables lower + r (upper - lower) in variable
// order, one draw each. Stops when the absolute text of a checkpoint (every
// 200,000 samples) equals the one of the previous checkpoint, or after
// 5,000,000 samples. `checkpoint`, when given, sees every checkpoint.
VolumeResult SampleVolume(const VolumeRegion& region, int precision,
                          const std::function<void(const VolumeProgress&)>& checkpoint = {});

// "%.*g": `precision` significant digits, "." as separator, never "-0".
std::string FormatSignificant(double value, int precision);

// The volume window (its labels, precision control and progress bar).
struct VolumeWindow {
  int Precision = 3;  // up-down control, 2..5
  std::string DimensionText = "0";
  std::string AbsoluteText = "0";
  std::string RelativeText = "0";
  long long ProgressPosition = 0;  // 0..5,000,000
  bool Shown = false;
  std::optional<VolumeResult> LastResult;

  void SetPrecision(int p);  // clamps to 2..5
  bool operator==(const VolumeWindow&) const = default;
};

// The menu command "Volume &Computation": "You must read data first" when
// there is no problem; CheckBounds, then CheckConstraintRHS; ICGrid reset to
// one data row and the example constraints rebuilt; the window shown with its
// progress bar at 0. Returns true when the window opens.
bool VolumeComputationItemClick(Problem& problem, SortingState& state, VolumeWindow& window,
                                UserDialogs& dialogs);

// "&Start simulation": refuses a constraint without sign, naming it; seeds the
// generator from the clock (or from `seed` when given), builds the region and
// samples it, showing the labels and the progress through `window` and
// `dialogs`. Program and conversion errors end it with their message. Returns
// the result, or nothing when it stopped with a message. A cancel request is
// looked at after every checkpoint: the window is then put back as it was and
// "Computation cancelled" is shown.
std::optional<VolumeResult> StartSimulationClick(const Problem& problem, const SortingState& state,
                                                 VolumeWindow& window, UserDialogs& dialogs,
                                                 std::optional<std::uint32_t> seed = std::nullopt);

}  // namespace vesk::core
