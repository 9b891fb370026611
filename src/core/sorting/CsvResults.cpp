#include "core/sorting/CsvResults.h"

#include "core/problem/ProblemFile.h"

#include <filesystem>
#include <fstream>
#include <system_error>
#include <unistd.h>

#include "core/sorting/RobustAssignments.h"

namespace vesk::core {
namespace {

constexpr const char* kEol = "\r\n";

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

std::string Quoted(const std::string& field) {
  if (field.find_first_of(",;\"\r\n") == std::string::npos && Trimmed(field) == field) return field;
  std::string out = "\"";
  for (char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

std::string Number(const std::vector<int>& values, int index) {
  if (index < 0 || index >= static_cast<int>(values.size())) return "";
  return std::to_string(values[static_cast<std::size_t>(index)]);
}


}  // namespace

std::string ResultsCsvText(const Problem& problem, const SortingState& state) {
  std::string out = "Action,Worst category,Inferred category,Best category,Holes";
  out += kEol;
  const auto holes = HoleCategories(state, problem.NumCategories);
  for (int i = 1; i <= problem.NumActions; ++i) {
    const int a = i - 1;
    out += Quoted(problem.AGrid.CellOrEmpty(i, 0));
    out += ',';
    if (state.Consistent) out += Number(state.WorstCategory, a);
    out += ',';
    out += Number(state.InferredCategory, a);
    out += ',';
    if (state.Consistent) out += Number(state.BestCategory, a);
    out += ',';
    if (a < static_cast<int>(holes.size())) {
      std::string list;
      for (int h : holes[static_cast<std::size_t>(a)]) {
        if (!list.empty()) list += ' ';
        list += std::to_string(h);
      }
      out += list;
    }
    out += kEol;
  }
  out += "Robustness index,";
  out += Quoted(state.IndexText);
  out += kEol;
  return out;
}

bool WriteResultsCsvFile(const Problem& problem, const SortingState& state, const std::string& path) {
  return WriteReplacing(path, ResultsCsvText(problem, state));
}

bool ExportResultsItemClick(const Problem& problem, const SortingState& state, UserDialogs& dialogs) {
  if (!problem.ResultsAvailable || state.Generation != problem.ResultsGeneration) return false;
  auto chosen = dialogs.ChooseSaveFile(kCsvSaveFilter, "csv", WithoutExtension(problem.SaveFileName));
  if (!chosen) return false;
  if (!WriteResultsCsvFile(problem, state, *chosen)) {
    dialogs.Error(kDiskWriteError);
    return false;
  }
  return true;
}

}  // namespace vesk::core
