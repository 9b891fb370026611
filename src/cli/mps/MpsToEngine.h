#pragma once
// Stating an MPS model to the engine and reading the solution back.
//
// The engine knows rows E, L, G, N with a range only on L and G rows, bound
// types UP LO FX FR MI BV UI, always maximises, and keeps names of at most 25
// characters with "RHS" and "RANGE" reserved. The front end therefore:
// - names every row "R<k>", every column "C<k>" and the objective "OBJ" in the
//   engine (file names may be long, hold blanks, repeat between rows and
//   columns, or be "RHS"); results are reported under the file's names;
// - turns each row's interval into an engine row (a range on an E row becomes
//   a G or L row with range |R|; a zero range on an L or G row makes it an E
//   row, as the interval [b, b] says);
// - states a missing lower bound as "LO" -1e21 (the engine's own MI would also
//   set the upper bound to 0), PL by leaving the upper bound infinite, free
//   columns as "FR", integer columns as "BV" or "UI" plus "LO";
// - states a minimisation as the maximisation of the negated objective and
//   reports the objective in the file's sense, objective constant included.
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "cli/mps/MpsReader.h"
#include "engine/EngineHost.h"

namespace vesk::mps {

// A `--param` that the engine does not know or whose value it cannot read.
struct ParameterError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// A model the engine cannot hold (too many rows or columns), or one the
// engine's model input refused.
struct ModelRefused : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct SolveOptions {
  std::optional<bool> maximise;  // unset: the file's OBJSENSE, else minimise
  bool scale = false;            // power-of-two geometric-mean scaling
  std::vector<std::pair<std::string, std::string>> parameters;  // engine NAME, VALUE
};

struct SolveResult {
  std::string status;        // the engine's status text
  bool integer = false;      // solved by the integer path
  bool finished = false;     // a verdict (optimal, infeasible, unbounded), not stopped
  bool hasObjective = false; // an optimum, or the incumbent of a stopped integer search
  bool proven = false;       // optimal and no limit stopped the run
  double objective = 0;      // in the file's sense, objective constant included
  long long iterations = 0;
  long long nodes = 0;
  double seconds = 0;
  std::vector<double> values;  // by MpsModel::columns index
  std::vector<std::string> warnings;
};

// A row as the engine states it: type 'E', 'L' or 'G', right-hand side, and
// the range (0 for none) that makes an L row b-R <= a.x <= b and a G row
// b <= a.x <= b+R.
struct EngineRow {
  char type;
  double rhs;
  double range;
};
EngineRow EngineRowFor(const MpsRow& row);

// Power-of-two factors: the engine sees a'_ij = r_i a_ij s_j, b'_i = r_i b_i,
// c'_j = c_j s_j and bounds l_j / s_j, u_j / s_j; x_j = s_j x'_j. Integer
// columns keep s_j = 1.
struct Scaling {
  std::vector<double> row, column;
};
Scaling ComputeScaling(const MpsModel& model);

// Solves `model` with a fresh engine on `host`. Throws ParameterError,
// ModelRefused, and lets engine::EngineFatalError through.
SolveResult SolveMps(const MpsModel& model, const SolveOptions& options, engine::EngineHost& host);

}  // namespace vesk::mps
