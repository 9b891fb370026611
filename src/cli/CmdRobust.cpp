// vesk-cli robust FILE.tri: the robust-assignment command on a problem file,
// with an optional results report, CSV file and picture of the results.
#include <iomanip>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/Command.h"
#include "cli/SortingCommand.h"
#include "core/problem/Numbers.h"
#include "core/problem/ProblemFile.h"
#include "core/sorting/CsvResults.h"
#include "core/sorting/Report.h"
#include "core/sorting/RobustAssignments.h"
#include "core/sorting/RobustSummary.h"
#ifdef VESK_WITH_PICTURE
#include "cli/Painter.h"
#include "paint/PainterProtocol.h"
#include "picture/PictureFormat.h"
#endif

namespace vesk::cli {
namespace {

struct RobustOptions {
  std::string file;
  std::string report;
  bool json = false;
  ThresholdSwitches switches;
  std::string csv;
  std::string picture;
};

nlohmann::json RobustJson(const core::Problem& p, const core::SortingState& s, bool ran) {
  using nlohmann::json;
  const core::RobustSummary r = core::SummarizeRobust(p, s, ran);
  auto optional = [](const auto& value) { return value ? json(*value) : json(nullptr); };
  json out;
  out["consistent"] = ran ? json(r.consistent) : json(nullptr);
  out["alpha"] = ran ? json(r.alpha) : json(nullptr);
  out["inferred_params"] = ran ? json(r.inferredParams) : json(nullptr);
  out["inferred_category"] = ran ? json(r.inferredCategory) : json(nullptr);
  out["worst"] = optional(r.worst);
  out["best"] = optional(r.best);
  out["holes"] = optional(r.holes);
  out["variability_order"] = optional(r.variabilityOrder);
  out["index"] = optional(r.index);
  out["violated_rows"] = r.violatedRows;
  return out;
}

void PrintTable(const core::Problem& p, const core::SortingState& s, std::ostream& out) {
  const int m = p.NumActions, n = p.NumCriteria;
  out << "Information: " << (s.Consistent ? "consistent" : "inconsistent") << "  (alpha = "
      << core::FormatGeneral(s.InconsistencyMeasure) << ")\n";
  out << "Inferred vector:";
  for (int c = 0; c <= n; ++c) out << "  " << s.DGrid.CellOrEmpty(0, c) << " = " << s.DGrid.CellOrEmpty(2, c);
  out << "\n\n";
  std::size_t width = 6;
  for (int a = 1; a <= m; ++a) width = std::max(width, p.AGrid.Cell(a, 0).size());
  const auto holes = core::HoleCategories(s, p.NumCategories);
  out << std::left << std::setw(static_cast<int>(width)) << "ACTION" << "  Worst  Inferred  Best  Holes\n";
  for (int a = 1; a <= m; ++a) {
    const int i = a - 1;
    std::string holeText;
    for (int h : holes[i]) {
      if (!holeText.empty()) holeText += ' ';
      holeText += std::to_string(h);
    }
    out << std::left << std::setw(static_cast<int>(width)) << p.AGrid.Cell(a, 0) << "  " << std::right
        << std::setw(5) << (s.Consistent ? std::to_string(s.WorstCategory[i]) : "") << "  " << std::setw(8)
        << s.InferredCategory[i] << "  " << std::setw(4) << (s.Consistent ? std::to_string(s.BestCategory[i]) : "")
        << "  " << holeText << '\n';
  }
  if (s.Consistent) {
    out << "\nGEOMETRIC MEAN FOR No. CATEGORIES: " << s.IndexText << "  (Including examples)\n";
  } else {
    out << "\nViolated rows of the inference program:";
    for (int r : s.ViolatedRows) out << ' ' << r + 1 << " (" << s.IPGrid.CellOrEmpty(r + 1, 0) << ')';
    out << '\n';
  }
}

int RunRobust(const RobustOptions& o) {
  RecordingDialogs dialogs(std::cerr);
  core::Problem problem;
  if (!ReadProblemForCommand(problem, dialogs, o.file, o.switches)) return kExitProblem;

  core::SortingState state;
  const bool ran = core::CalcRangeItemClick(problem, state, dialogs);
  bool reported = true;
  if (ran && !o.report.empty() && !core::WriteReportFile(problem, state, o.report)) {
    dialogs.Error(core::kDiskWriteError);
    reported = false;
  }
  if (ran && !o.csv.empty() && !core::WriteResultsCsvFile(problem, state, o.csv)) {
    dialogs.Error(core::kDiskWriteError);
    reported = false;
  }
#ifdef VESK_WITH_PICTURE
  if (ran && !o.picture.empty()) {
    const PaintOutcome painted = RunPainter(paint::kPictureKind, problem, state, o.picture);
    if (painted.kind != PaintOutcome::Kind::Written) {
      dialogs.Error(painted.kind == PaintOutcome::Kind::NotWritten ? std::string(core::kDiskWriteError)
                                                                   : painted.message);
      reported = false;
    }
  }
#endif
  if (o.json) {
    nlohmann::json out = RobustJson(problem, state, ran);
    out["messages"] = dialogs.messages;
    std::cout << out.dump(1) << '\n';
  } else if (ran) {
    PrintTable(problem, state, std::cout);
  }
  return ran && reported ? kExitOk : kExitProblem;
}

const CommandRegistrar kRobust{{
    "robust",
    "Robust assignments of a problem file (.tri): the range of categories of every action",
    [](CLI::App& sub) -> std::function<int()> {
      auto o = std::make_shared<RobustOptions>();
      sub.add_option("FILE", o->file, "Problem file to read")->required();
      AddThresholdSwitches(sub, o->switches);
      sub.add_option("--report", o->report, "Also write the results report (.rpt) to this file");
      sub.add_flag("--json", o->json, "Print one JSON object instead of the table");
      sub.add_option("--csv", o->csv, "Also write the results as CSV to this file");
#ifdef VESK_WITH_PICTURE
      sub.add_option("--picture", o->picture, "Also write a picture of the ranges to this file (.png or .svg)")
          ->check(picture::PictureNameError);
#endif
      sub.footer(
          "Exit status: 0 when the command ran (consistent or not), 1 when it stopped with a message, 2 on a "
          "usage error.");
      return [o]() { return RunRobust(*o); };
    },
}};

}  // namespace
}  // namespace vesk::cli
