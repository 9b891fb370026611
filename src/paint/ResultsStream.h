#pragma once
// The problem and its results as vesk-cli hands them to its painter: every
// field of core::Problem and then of core::SortingState, in the order they
// are declared, after the header line kResultsStreamHeader. Each value is a
// netstring, "<length>:<bytes>,": integers and flags in decimal, reals in
// their shortest exact form, texts byte for byte. A list or set is its
// element count followed by its elements; a table (Grid) is its row count,
// its column count and its cells row by row.
#include <string>
#include <string_view>

#include "core/problem/Problem.h"
#include "core/sorting/SortingState.h"

namespace vesk::paint {

inline constexpr std::string_view kResultsStreamHeader = "vesk results 1\n";

std::string WriteResultsStream(const core::Problem& problem, const core::SortingState& state);

// Reads a stream into `problem` and `state`. False, with both left in an
// unspecified state, when the stream is malformed, truncated or longer than
// its values, or when its results do not fit its problem (see ResultsFit).
bool ReadResultsStream(std::string_view stream, core::Problem& problem, core::SortingState& state);

// Whether the results have the shape the robust-assignment command gives
// them for the problem, which painting relies on: one entry per action in
// InferredCategory, WorstCategory, BestCategory and VariabilityOrder, and
// RGrid (and ORGrid when shown) a header row over one row per action, a name
// column beside one column per category.
bool ResultsFit(const core::Problem& problem, const core::SortingState& state);

}  // namespace vesk::paint
