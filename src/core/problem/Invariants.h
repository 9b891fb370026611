#pragma once
// The structural invariants of a problem, checked as a whole. Every command
// that changes the shape of the tables must leave a problem for which
// CheckProblemInvariants reports nothing.
#include <string>
#include <vector>

#include "core/problem/Problem.h"

namespace vesk::core {

// Returns one readable line per broken invariant; empty when the problem is
// sound. A problem with no tables yet (before the first New or Open) is sound
// when its counts are all 0. Checked:
// - table sizes: FGrid 2+5(K-1) x 1+n, AGrid 1+m x 3+n, BGrid 3 x 2+n,
//   CGrid 1+NumConstraints x n+4; 1 <= n <= 19, K >= 2, m >= 0,
//   NumConstraints >= 1;
// - fixed headers and labels: "Action" "ELow" "EHigh"; FGrid profile labels
//   "g(b%d)" "q%d" "p%d" "u%d" "v%d" and "MAX/min?(1/-1)"; BGrid "lambda",
//   "k%d", "LB - Lower Bound", "UB - Upper Bound"; CGrid "lambda", "k%d",
//   "<,=,>", "RHS";
// - the criterion names of FGrid row 0 and AGrid row 0 agree;
// - CGrid row 1 is the Norm row ("Norm", "0", "1".., "=", "1") and every
//   other data row's label starts with 'a';
// - every action's ELow and EHigh are integers with 1 <= ELow <= EHigh <= K.
std::vector<std::string> CheckProblemInvariants(const Problem& problem);

}  // namespace vesk::core
