// vesk-cli convert IN.tri OUT.tri: reads a problem file of either layout and
// writes it in the current one.
#include <iostream>

#include "cli/CliDialogs.h"
#include "cli/Command.h"
#include "core/problem/ProblemFile.h"

namespace vesk::cli {
namespace {

const CommandRegistrar kConvert{{
    "convert",
    "Read a problem file (version 1 or 2) and write it as version 2",
    [](CLI::App& sub) -> std::function<int()> {
      auto in = std::make_shared<std::string>();
      auto out = std::make_shared<std::string>();
      sub.add_option("IN", *in, "Problem file to read")->required();
      sub.add_option("OUT", *out, "Problem file to write (\".tri\" is appended unless it ends with it)")->required();
      return [in, out]() {
        CliDialogs dialogs(std::cerr);
        core::Problem problem;
        if (!core::ReadProblemFile(problem, dialogs, *in)) return static_cast<int>(kExitProblem);
        problem.SaveFileName = *out;
        if (!core::WriteProblemFile(problem, dialogs, false)) return static_cast<int>(kExitProblem);
        std::cout << "wrote " << problem.SaveFileName << '\n';
        return static_cast<int>(kExitOk);
      };
    },
}};

}  // namespace
}  // namespace vesk::cli
