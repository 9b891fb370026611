#pragma once
// The results report (".rpt"): tab-separated text written after a
// robust-assignment command.
#include <string>

#include "core/problem/Problem.h"
#include "core/problem/UserDialogs.h"
#include "core/sorting/SortingState.h"

namespace vesk::core {

// The report dialog's own file name. It is kept apart from the problem's
// SaveFileName, so that "&Save Data" after a report still writes the
// problem's own ".tri" file.
struct ReportSettings {
  std::string ReportFileName;  // the last report written; empty before the first
};

inline constexpr const char* kReportFilter = "Vesk Results Report (*.rpt)|*.rpt";

// The report's bytes: lines ended by CR LF, fields separated by TAB, every
// cell of the inference program and of the parameter rows followed by a TAB,
// no line end after the last line. When the information is not consistent the
// worst and best fields are empty (their TABs stay).
std::string ReportText(const Problem& problem, const SortingState& state);

// Writes ReportText to `path` through a temporary file beside it that is then
// renamed into place, so a failed write leaves an earlier file untouched.
// Returns false on any input/output failure (no message is shown).
bool WriteReportFile(const Problem& problem, const SortingState& state, const std::string& path);

// The "&Report" command: offers the save dialog (starting from the last
// report's name, or the problem's file name, without extension), writes the
// report and keeps its name in `settings`. Does nothing unless results of the
// current problem are available. Returns true when a report was written.
// Changes neither DataModified nor the caption nor SaveFileName.
bool ReportItemClick(const Problem& problem, const SortingState& state, ReportSettings& settings,
                     UserDialogs& dialogs);

}  // namespace vesk::core
