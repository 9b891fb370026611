#pragma once
// Starts the painter (vesk-paint, beside this program) for one output, hands
// it the problem and its results, and tells how it ended. vesk-cli itself
// links no Qt; see paint/PainterProtocol.h.
#include <string>
#include <string_view>

#include "core/problem/Problem.h"
#include "core/sorting/SortingState.h"

namespace vesk::cli {

struct PaintOutcome {
  enum class Kind {
    Written,     // the output was written
    NotWritten,  // the painter could not write the output
    Failed,      // the painter is missing or did not finish its work
  };
  Kind kind = Kind::Failed;
  std::string message;  // for Failed: what went wrong, for the person
};

// Runs `vesk-paint kind output` with the results stream of `problem` and
// `state` on its standard input, and waits for it. The painter shares
// standard error with this program; its standard output goes to standard
// error too, so that nothing it prints mixes with this program's own output.
PaintOutcome RunPainter(std::string_view kind, const core::Problem& problem, const core::SortingState& state,
                        const std::string& output);

}  // namespace vesk::cli
