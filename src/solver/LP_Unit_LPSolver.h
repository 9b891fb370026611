#pragma once
// LP_Unit_LPSolver: the dense programming interface through which the
// application states a linear or mixed-integer program, solves it with the
// engine and reads the result. One program-wide LpModel; every call returns 0
// on success and -1 when refused. Indices are 1-based. The engine maximises.
#include <cstdint>

#include "engine/EngineHost.h"
#include "engine/Random.h"

namespace vesk::solver {

int LpSetSize(int columns, int rows);
int LpSetObjective(int j, double v);
int LpSetCoefficient(int i, int j, double v);
int LpSetRhs(int i, double v);          // refused when v < 0
int LpSetRowType(int i, char t);        // '<' '=' '>'
int LpSetColumnType(int j, char t);     // 'C' 'B' 'I'
int LpSetLowerBound(int j, double v);
int LpSetUpperBound(int j, double v);   // 1e21: no upper bound
// 0 optimal, 2 unbounded, 3 infeasible, -1 refused or unfinished.
int LpSolve();
double LpObjectiveValue();
double LpColumnValue(int j);
int LpRelease();

// The host each LpSolve gives its engine; nullptr means a built-in scratch host.
void LpSetHost(vesk::engine::EngineHost* host);

// Warm start (on by default): after an optimal continuous solve the final
// basis is kept, and the next LpSolve starts from it instead of the crash
// basis as long as only the objective has changed since. Any other setter
// that changes a value, LpSetSize and LpRelease drop it. Integer programs
// always start from the crash basis.
void LpSetWarmStart(bool on);

// The program's one pseudo-random generator, handed on from the engine, whose
// perturbation draws from the same sequence: LpRandom advances it and returns
// a real in [0, 1); LpRandomize seeds it from the clock, LpSetRandomSeed with
// a given seed.
inline double LpRandom() { return vesk::engine::Random(); }
inline void LpRandomize() { vesk::engine::Randomize(); }
inline void LpSetRandomSeed(std::uint32_t seed) { vesk::engine::SetRandomSeed(seed); }

}  // namespace vesk::solver
