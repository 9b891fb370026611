#include "core/sorting/Report.h"

#include "core/problem/ProblemFile.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <unistd.h>

namespace vesk::core {
namespace {

constexpr const char* kEol = "\r\n";

// Per-action value as a decimal integer, or "" when the array does not reach
// that far (results of an interrupted command).
std::string At(const std::vector<int>& values, int index) {
  if (index < 0 || index >= static_cast<int>(values.size())) return "";
  return std::to_string(values[static_cast<std::size_t>(index)]);
}

// Every cell of one grid row followed by a TAB.
void AppendRowCells(std::string& out, const Grid& grid, int row) {
  if (row < 0 || row >= grid.RowCount()) return;
  for (int c = 0; c < grid.ColCount(); ++c) {
    out += grid.Cell(row, c);
    out += '\t';
  }
}

}  // namespace

std::string ReportText(const Problem& problem, const SortingState& state) {
  std::string out;
  out += "INPUT FILE:";
  out += kEol;
  out += problem.OpenFileName;
  out += kEol;
  out += kEol;
  out += "RESULTS:";
  out += kEol;
  out += "ACTION\tWorst Cat\tInferred Cat\tBest Cat";
  out += kEol;
  for (int i = 1; i <= problem.NumActions; ++i) {
    const int a = i - 1;
    out += problem.AGrid.CellOrEmpty(i, 0);
    out += '\t';
    if (state.Consistent) out += At(state.WorstCategory, a);
    out += '\t';
    out += At(state.InferredCategory, a);
    out += '\t';
    if (state.Consistent) out += At(state.BestCategory, a);
    out += kEol;
  }
  out += kEol;
  out += "INFERENCE PROGRAM:";
  out += kEol;
  for (int r = 0; r < state.IPGrid.RowCount(); ++r) {
    AppendRowCells(out, state.IPGrid, r);
    out += kEol;
  }
  out += kEol;
  out += "INFERRED SOLUTION:";
  out += kEol;
  AppendRowCells(out, state.DGrid, 0);
  out += kEol;
  AppendRowCells(out, state.DGrid, 2);
  return out;
}

bool WriteReportFile(const Problem& problem, const SortingState& state, const std::string& path) {
  return WriteReplacing(path, ReportText(problem, state));
}

bool ReportItemClick(const Problem& problem, const SortingState& state, ReportSettings& settings,
                     UserDialogs& dialogs) {
  if (!problem.ResultsAvailable || state.Generation != problem.ResultsGeneration) return false;
  const std::string start =
      WithoutExtension(settings.ReportFileName.empty() ? problem.SaveFileName : settings.ReportFileName);
  auto chosen = dialogs.ChooseSaveFile(kReportFilter, "rpt", start);
  if (!chosen) return false;
  if (!WriteReportFile(problem, state, *chosen)) {
    dialogs.Error(kDiskWriteError);
    return false;
  }
  settings.ReportFileName = *chosen;
  return true;
}

}  // namespace vesk::core
