// Volume sampling speed on a generated problem: 12 criteria, 5 categories and
// 100 actions whose imprecise assignment examples (two rows each, 200 example
// rows) agree with a hidden parameter vector. Prints, for two sets of bounds,
// the rows, the share of samples inside the bounds, and the time and rate of
// 5,000,000 samples; then one full simulation with its stopping rule.
//
//   volume_bench [samples]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>
#include <vector>

#include "core/analysis/Volume.h"
#include "core/problem/Numbers.h"
#include "core/problem/Problem.h"
#include "core/problem/ScriptedDialogs.h"
#include "core/sorting/InferenceProgram.h"
#include "core/sorting/Outranking.h"
#include "core/sorting/SortingState.h"
#include "solver/LP_Unit_LPSolver.h"

using namespace vesk::core;

namespace {

constexpr int kCriteria = 12;
constexpr int kActions = 100;
constexpr int kCategories = 5;

Problem GenerateProblem(const std::string& weightUpper) {
  std::mt19937 gen(20021102);
  std::uniform_real_distribution<double> perf(0.0, 100.0);
  Problem p;
  LayoutTables(p, kCriteria, kActions, kCategories, /*withDefaults=*/true);
  p.UsevjDown = false;
  for (int h = 1; h < kCategories; ++h) {
    for (int j = 1; j <= kCriteria; ++j) {
      p.FGrid.SetCell(p.ProfileRow(h), j, FormatGeneral(20.0 * h + (j % 3)));
      p.FGrid.SetCell(p.ProfileRow(h) + 1, j, "2");
      p.FGrid.SetCell(p.ProfileRow(h) + 2, j, "6");
    }
  }
  for (int a = 1; a <= kActions; ++a)
    for (int j = 1; j <= kCriteria; ++j) p.AGrid.SetCell(a, 2 + j, FormatGeneral(std::round(perf(gen))));
  for (int j = 1; j <= kCriteria; ++j) p.BGrid.SetCell(2, 1 + j, weightUpper);

  // Hidden vector: lambda 0.6, weights around 1/12.
  std::vector<double> hidden(kCriteria + 1);
  hidden[0] = 0.6;
  double sum = 0;
  for (int j = 1; j <= kCriteria; ++j) sum += hidden[j] = 0.06 + 0.05 * (j % 4) / 3.0;
  for (int j = 1; j <= kCriteria; ++j) hidden[j] /= sum;
  const SortingData d = SortingData::FromProblem(p);
  for (int a = 1; a <= kActions; ++a) {
    const int c = AssignCategory(d, a, hidden);
    // An imprecise example around the true category, strictly inside 1..K so
    // that it gives two rows.
    const int low = std::max(2, c - 1), high = std::min(kCategories - 1, std::max(low, c + 1));
    p.AGrid.SetCell(a, 1, std::to_string(low));
    p.AGrid.SetCell(a, 2, std::to_string(high));
  }
  return p;
}

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

// Processor time of this process: on a shared machine the wall clock also
// counts the time other programs had the processor.
double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

}  // namespace

int main(int argc, char** argv) {
  const long long samples = argc > 1 ? std::atoll(argv[1]) : kVolumeMaxSamples;
  std::printf("volume sampling: %d criteria, %d actions, %d categories\n", kCriteria, kActions, kCategories);
  for (const char* upper : {"0.5", "0.15"}) {
    Problem p = GenerateProblem(upper);
    SortingState s;
    ScriptedDialogs dialogs;
    BuildExampleConstraints(p, s, dialogs);
    const VolumeRegion region = BuildVolumeRegion(p, s.ICGrid);
    vesk::solver::LpSetRandomSeed(1);
    VolumeSampler sampler(region);
    const auto t0 = std::chrono::steady_clock::now();
    const double c0 = CpuSeconds();
    sampler.Draw(samples);
    const double cpu = CpuSeconds() - c0;
    const double t = Seconds(std::chrono::steady_clock::now() - t0);
    std::printf(
        "weights in [0, %s]: %d example rows, %zu inequality rows; %lld samples in %.3f s processor time "
        "(%.1f million/s), %.3f s wall; inside bounds %.2f%%, inside region %lld\n",
        upper, s.NumExampleConstraints, region.rows.size(), samples, cpu, samples / cpu / 1e6, t,
        100.0 * sampler.insideBounds / samples, sampler.hits);
    vesk::solver::LpSetRandomSeed(1);
    const auto t1 = std::chrono::steady_clock::now();
    const VolumeResult r = SampleVolume(region, 3);
    std::printf("  full simulation, precision 3: %lld samples, %.3f s, absolute %s, relative %s\n", r.samples,
                Seconds(std::chrono::steady_clock::now() - t1), r.absoluteText.c_str(), r.relativeText.c_str());
  }
  return 0;
}
