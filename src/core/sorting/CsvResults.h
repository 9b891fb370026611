#pragma once
// The results as CSV text, for spreadsheets.
#include <string>

#include "core/problem/Problem.h"
#include "core/problem/UserDialogs.h"
#include "core/sorting/SortingState.h"

namespace vesk::core {

inline constexpr const char* kCsvSaveFilter = "CSV files (*.csv)|*.csv";

// The results as CSV: a header, one record per action (name, worst, inferred
// and best category, the holes inside the range separated by blanks), then a
// record "Robustness index" with the index. Worst and best are empty when the
// information is not consistent, as in the report. CR LF line ends.
std::string ResultsCsvText(const Problem& problem, const SortingState& state);

// Writes ResultsCsvText to `path` through a temporary file beside it that is
// then renamed into place. False on any input/output failure (no message).
bool WriteResultsCsvFile(const Problem& problem, const SortingState& state, const std::string& path);

// "Export results...": only while the results belong to the problem as it
// stands; the save dialog (starting from the problem's file name), then the
// text written through a temporary file renamed into place. True when written.
bool ExportResultsItemClick(const Problem& problem, const SortingState& state, UserDialogs& dialogs);

}  // namespace vesk::core
