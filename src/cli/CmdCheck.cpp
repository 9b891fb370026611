// vesk-cli check FILE.tri: reads a problem file, shows what was read and runs
// the checks made before every computation.
#include <iostream>

#include "cli/CliDialogs.h"
#include "cli/Command.h"
#include "core/problem/InputChecks.h"
#include "core/problem/ProblemFile.h"

namespace vesk::cli {
namespace {

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    if (c == '\t') {
      out += "\\t";
      continue;
    }
    out += c;
  }
  return out + "\"";
}

void PrintProblem(const core::Problem& p, std::ostream& out) {
  const int n = p.NumCriteria, m = p.NumActions, K = p.NumCategories;
  out << "file: " << p.OpenFileName << '\n';
  out << "criteria: " << n << '\n';
  for (int j = 1; j <= n; ++j)
    out << "  " << j << "  " << Quoted(p.FGrid.Cell(0, j)) << (p.FGrid.Cell(p.DirectionRow(), j) == "1" ? "  max" : "  min")
        << '\n';
  out << "categories: " << K << '\n';
  int examples = 0;
  out << "actions: " << m << '\n';
  for (int i = 1; i <= m; ++i) {
    const std::string& low = p.AGrid.Cell(i, 1);
    const std::string& high = p.AGrid.Cell(i, 2);
    const bool example = low != "1" || high != std::to_string(K);
    examples += example;
    out << "  " << i << "  " << Quoted(p.AGrid.Cell(i, 0));
    if (example) out << "  example [" << low << ", " << high << "]";
    out << '\n';
  }
  out << "assignment examples: " << examples << '\n';
  out << "added constraints: " << p.NumConstraints - 1 << '\n';
}

const CommandRegistrar kCheck{{
    "check",
    "Read a problem file (.tri), show what it holds and check its bounds and right-hand sides",
    [](CLI::App& sub) -> std::function<int()> {
      auto file = std::make_shared<std::string>();
      sub.add_option("FILE", *file, "Problem file to read")->required();
      return [file]() {
        CliDialogs dialogs(std::cerr);
        core::Problem problem;
        if (!core::ReadProblemFile(problem, dialogs, *file)) return static_cast<int>(kExitProblem);
        PrintProblem(problem, std::cout);
        // Both checks run so that every fault is reported at once.
        const bool bounds = core::CheckBounds(problem, dialogs);
        const bool rhs = core::CheckConstraintRHS(problem, dialogs);
        std::cout << "bounds: " << (bounds ? "valid" : "invalid") << '\n';
        std::cout << "right-hand sides: " << (rhs ? "valid" : "invalid") << '\n';
        return bounds && rhs ? static_cast<int>(kExitOk) : static_cast<int>(kExitProblem);
      };
    },
}};

}  // namespace
}  // namespace vesk::cli
