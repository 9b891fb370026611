// vesk-cli lp FILE.mps: solves an MPS file with the engine and prints the
// engine's status, the objective, the iteration count and the time (and the
// column values on request), as text or as one JSON object.
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/Command.h"
#include "cli/mps/MpsReader.h"
#include "cli/mps/MpsToEngine.h"
#include "core/problem/Numbers.h"
#include "engine/EngineFatalError.h"
#include "engine/ScratchEngineHost.h"

namespace vesk::cli {
namespace {

struct LpOptions {
  std::string file;
  bool maximise = false;
  bool solution = false;
  bool json = false;
  bool scale = false;
  bool verbose = false;
  std::vector<std::string> parameters;
};

void PrintText(const mps::MpsModel& model, const mps::SolveResult& r, bool solution, std::ostream& out) {
  out << "Status:     " << r.status << '\n';
  out << "Objective:  " << (r.hasObjective ? core::FormatGeneral(r.objective) : std::string("none")) << '\n';
  out << "Iterations: " << r.iterations << '\n';
  if (r.integer) {
    out << "Nodes:      " << r.nodes << '\n';
    out << "Proven:     " << (r.proven ? "yes" : "no") << '\n';
  }
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%.6f", r.seconds);
  out << "Seconds:    " << seconds << '\n';
  if (!solution) return;
  if (!r.hasObjective) {
    out << "Columns:    none\n";
    return;
  }
  std::size_t width = 0;
  for (const auto& c : model.columns) width = std::max(width, c.name.size());
  out << "Columns:\n";
  for (std::size_t j = 0; j < model.columns.size(); ++j) {
    const std::string& name = model.columns[j].name;
    out << "  " << name << std::string(width - name.size() + 2, ' ') << core::FormatGeneral(r.values[j]) << '\n';
  }
}

void PrintJson(const mps::MpsModel& model, const mps::SolveResult& r, bool solution, std::ostream& out) {
  nlohmann::ordered_json j;
  j["status"] = r.status;
  j["objective"] = r.hasObjective ? nlohmann::ordered_json(r.objective) : nlohmann::ordered_json(nullptr);
  j["iterations"] = r.iterations;
  j["seconds"] = r.seconds;
  if (r.integer) {
    j["nodes"] = r.nodes;
    j["proven"] = r.proven;
  }
  if (solution && !r.hasObjective) {
    j["columns"] = nullptr;
  } else if (solution) {
    nlohmann::ordered_json columns = nlohmann::ordered_json::object();
    for (std::size_t k = 0; k < model.columns.size(); ++k) columns[model.columns[k].name] = r.values[k];
    j["columns"] = std::move(columns);
  }
  // Names come from the file and need not be valid UTF-8.
  out << j.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
}

int RunLp(const LpOptions& o) {
  mps::SolveOptions options;
  if (o.maximise) options.maximise = true;
  options.scale = o.scale;
  for (const std::string& p : o.parameters) {
    auto eq = p.find('=');
    if (eq == std::string::npos || eq == 0) {
      std::cerr << "vesk-cli lp: --param expects NAME=VALUE, not '" << p << "'\n";
      return kExitUsage;
    }
    options.parameters.emplace_back(p.substr(0, eq), p.substr(eq + 1));
  }
  mps::MpsModel model;
  try {
    model = mps::ReadMpsFile(o.file);
  } catch (const mps::MpsError& e) {
    std::cerr << "vesk-cli lp: " << o.file << ": " << e.what() << '\n';
    return kExitProblem;
  }
  mps::SolveResult result;
  try {
    engine::ScratchEngineHost host(o.verbose);
    result = mps::SolveMps(model, options, host);
  } catch (const mps::ParameterError& e) {
    std::cerr << "vesk-cli lp: " << e.what() << '\n';
    return kExitUsage;
  } catch (const mps::ModelRefused& e) {
    std::cerr << "vesk-cli lp: " << o.file << ": " << e.what() << '\n';
    return kExitProblem;
  } catch (const engine::EngineFatalError& e) {
    std::cerr << "vesk-cli lp: the engine stopped: " << e.what() << '\n';
    return kExitProblem;
  } catch (const std::bad_alloc&) {
    std::cerr << "vesk-cli lp: out of memory\n";
    return kExitProblem;
  }
  for (const auto& w : result.warnings) std::cerr << "vesk-cli lp: warning: " << w << '\n';
  if (o.json)
    PrintJson(model, result, o.solution, std::cout);
  else
    PrintText(model, result, o.solution, std::cout);
  if (!result.finished) {
    std::cerr << "vesk-cli lp: the engine ended without a verdict: " << result.status << '\n';
    return kExitProblem;
  }
  return kExitOk;
}

const CommandRegistrar kLp{{
    "lp",
    "Solve an MPS file (fixed or free format) with the engine",
    [](CLI::App& sub) -> std::function<int()> {
      auto o = std::make_shared<LpOptions>();
      sub.add_option("FILE", o->file, "MPS file")->required();
      sub.add_flag("--max", o->maximise, "Maximise the objective (default: minimise, or the file's OBJSENSE)");
      sub.add_flag("--solution", o->solution, "Also print the value of every column");
      sub.add_flag("--json", o->json, "Print one JSON object");
      sub.add_flag("--scale", o->scale, "Scale rows and columns by powers of two before solving");
      sub.add_flag("--verbose", o->verbose, "Show the engine's progress lines and messages on standard error");
      sub.add_option("--param", o->parameters, "Engine parameter NAME=VALUE (repeatable)")
          ->expected(1)
          ->allow_extra_args(false)  // one NAME=VALUE per --param; FILE may follow
          ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
      return [o]() { return RunLp(*o); };
    },
}};

}  // namespace
}  // namespace vesk::cli
