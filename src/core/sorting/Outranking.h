#pragma once
// Comparing one action with one category profile, and the category of an
// action under one parameter vector (lambda, k_1..k_n).
//
// Every computation works on a SortingData snapshot: the values of the input
// tables parsed once when the computation starts. Building the snapshot is the
// only step that can fail on a cell that does not hold a number; it throws
// ConversionError naming the cell, before anything has been changed.
//
// Numbering: criteria j = 1..n, actions a = 1..m (AGrid row a), profiles
// h = 1..K-1 (b_h separates category h from h+1), categories 1..K.
// Reals are long double, as the coefficients are compared exactly.
#include <string>
#include <vector>

#include "core/problem/Problem.h"

namespace vesk::core {

struct SortingData {
  int n = 0;  // criteria
  int m = 0;  // actions
  int K = 0;  // categories
  bool useVeto = true;           // "Use vj" down
  bool useDiscordance = false;   // "Use uj" down

  std::vector<std::string> names;  // per action (index a-1)
  std::vector<int> eLow, eHigh;    // assignment example per action
  std::vector<char> maximise;      // per criterion (index j-1)

  // Performance of action a on criterion j.
  long double Performance(int a, int j) const { return perf_[Index(a, j, n)]; }
  // Profile b_h's performance and thresholds on criterion j.
  long double ProfilePerformance(int h, int j) const { return g_[Index(h, j, n)]; }
  long double Q(int h, int j) const { return q_[Index(h, j, n)]; }
  long double P(int h, int j) const { return p_[Index(h, j, n)]; }
  long double U(int h, int j) const { return u_[Index(h, j, n)]; }
  long double V(int h, int j) const { return v_[Index(h, j, n)]; }

  bool HasExample(int a) const { return eLow[a - 1] > 1 || eHigh[a - 1] < K; }

  // Reads the tables of `problem` (and its "Use vj"/"Use uj" toggles). Throws
  // ConversionError for a performance, profile, threshold or example cell that
  // does not convert, or an example outside 1..K.
  static SortingData FromProblem(const Problem& problem);

  // For tests and generated problems: every value given directly.
  void SetPerformance(int a, int j, long double x) { perf_[Index(a, j, n)] = x; }
  void SetProfile(int h, int j, long double g, long double q, long double p, long double u, long double v);
  void Allocate(int criteria, int actions, int categories);

 private:
  static std::size_t Index(int row, int j, int n) {
    return static_cast<std::size_t>(row - 1) * static_cast<std::size_t>(n) + static_cast<std::size_t>(j - 1);
  }
  std::vector<long double> perf_;             // m x n
  std::vector<long double> g_, q_, p_, u_, v_;  // (K-1) x n
};

// c_j in [0, 1] for criterion j, profile h and a performance x.
long double PartialConcordance(const SortingData& d, int j, int h, long double x);

// d_j in [0, 1] for criterion j, profile h and a performance x.
long double PartialDiscordance(const SortingData& d, int j, int h, long double x);

// ND(a, h): the minimum over the criteria of 1 - d_j (stops at 0).
long double NonDiscordance(const SortingData& d, int a, int h);

// w_j(a, h) = c_j(a, h) * ND(a, h).
long double OutrankingCoefficient(const SortingData& d, int j, int a, int h);

// w_1(a, h) .. w_n(a, h) (index j-1), computing ND once.
std::vector<long double> OutrankingCoefficients(const SortingData& d, int a, int h);

// sigma(a, h) = sum_j k_j w_j(a, h); params = lambda, k_1..k_n.
long double Credibility(const SortingData& d, int a, int h, const std::vector<double>& params);

// The category of action a under params: scans the profiles upward from b_1 and
// stops at the first one not outranked (a margin of 0.000001 still moves the
// action up by one, but ends the scan).
int AssignCategory(const SortingData& d, int a, const std::vector<double>& params);

// True when category h (1 < h < K) is out of reach of action a for every
// parameter vector: the coefficients on b_(h-1) and b_h are identical.
// Throws ProgramError (unit "Main") for h <= 1 or h >= K.
bool IsCategoryHole(const SortingData& d, int a, int h);

}  // namespace vesk::core
