#pragma once
// The two switches of FGrid's panel: "Use vj" (veto thresholds) and "Use uj"
// (discordance thresholds, only while "Use vj" is down).
#include "core/problem/Problem.h"

namespace vesk::core {

// "Use vj" pressed or released. Releasing it also releases "Use uj" (which is
// then disabled). Results computed under the other setting no longer hold, so
// a change calls ResetResults; the problem file does not hold the switches,
// so DataModified is left alone. True when a switch changed.
bool SetUsevj(Problem& problem, bool down);

// "Use uj" pressed or released; ignored while "Use vj" is up.
bool SetUseuj(Problem& problem, bool down);

// Whether "Use uj" can be pressed.
inline bool UseujEnabled(const Problem& problem) { return problem.UsevjDown; }

}  // namespace vesk::core
