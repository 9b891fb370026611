// vesk-cli volume FILE.tri: the Monte-Carlo volume of the admissible parameter
// region, as the volume window computes it.
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <vector>

#include "cli/SortingCommand.h"
#include "cli/Command.h"
#include "core/analysis/Volume.h"
#include "core/problem/ProblemFile.h"
#include "core/sorting/SortingState.h"

namespace vesk::cli {
namespace {

struct VolumeOptions {
  std::string file;
  int precision = 3;
  std::optional<std::uint32_t> seed;
  bool json = false;
  ThresholdSwitches switches;
};

int RunVolume(const VolumeOptions& o) {
  RecordingDialogs dialogs(std::cerr);
  core::Problem problem;
  core::SortingState state;
  core::VolumeWindow window;
  window.SetPrecision(o.precision);
  std::optional<core::VolumeResult> result;
  if (ReadProblemForCommand(problem, dialogs, o.file, o.switches)) {
    if (core::VolumeComputationItemClick(problem, state, window, dialogs))
      result = core::StartSimulationClick(problem, state, window, dialogs, o.seed);
  }

  if (o.json) {
    nlohmann::json out;
    out["dimension"] = result ? nlohmann::json(result->dimension) : nlohmann::json(nullptr);
    out["absolute"] = result ? nlohmann::json(result->absolute) : nlohmann::json(nullptr);
    out["relative"] = result && result->relative ? nlohmann::json(*result->relative) : nlohmann::json(nullptr);
    out["samples"] = result ? nlohmann::json(result->samples) : nlohmann::json(nullptr);
    out["hits"] = result ? nlohmann::json(result->hits) : nlohmann::json(nullptr);
    out["inside_bounds"] = result ? nlohmann::json(result->insideBounds) : nlohmann::json(nullptr);
    out["stderr"] = result ? nlohmann::json(core::VolumeStandardError(*result)) : nlohmann::json(nullptr);
    out["messages"] = dialogs.messages;
    std::cout << out.dump(1) << '\n';
  } else if (result) {
    std::cout << "Dimension:        " << window.DimensionText << '\n'
              << "Absolute Volume:  " << window.AbsoluteText << '\n'
              << "Volume to bounds: " << window.RelativeText << '\n'
              << "Samples:          " << result->samples << " (" << result->insideBounds << " inside the bounds, "
              << result->hits << " inside the region)\n"
              << "Standard error:   " << core::FormatSignificant(core::VolumeStandardError(*result), 3) << '\n';
  }
  return result ? kExitOk : kExitProblem;
}

const CommandRegistrar kVolume{{
    "volume",
    "Estimate the volume of the admissible parameter region of a problem file (.tri)",
    [](CLI::App& sub) -> std::function<int()> {
      auto o = std::make_shared<VolumeOptions>();
      sub.add_option("FILE", o->file, "Problem file to read")->required();
      sub.add_option("--precision", o->precision, "Significant digits of the stopping rule (2..5)")
          ->check(CLI::Range(core::kVolumeMinPrecision, core::kVolumeMaxPrecision));
      sub.add_option("--seed", o->seed, "Start the generator from this 32-bit seed instead of the clock");
      sub.add_flag("--json", o->json, "Print one JSON object");
      AddThresholdSwitches(sub, o->switches);
      return [o]() { return RunVolume(*o); };
    },
}};

}  // namespace
}  // namespace vesk::cli
