// vesk-cli new --criteria N --actions M --categories K OUT.tri: creates a
// problem with New's defaults and writes it.
#include <iostream>
#include <utility>

#include "cli/CliDialogs.h"
#include "cli/Command.h"
#include "core/problem/NewProblem.h"
#include "core/problem/ProblemFile.h"

namespace vesk::cli {
namespace {

const CommandRegistrar kNew{{
    "new",
    "Create a problem of the given size with the default values and write it",
    [](CLI::App& sub) -> std::function<int()> {
      // Taken as text: the New Problem dialog's own checks judge them.
      auto fields = std::make_shared<core::NewProblemFields>();
      auto out = std::make_shared<std::string>();
      sub.add_option("--criteria", fields->criteria, "Number of criteria (2..12)")->required();
      sub.add_option("--actions", fields->alternatives, "Number of alternatives (2..1000)")->required();
      sub.add_option("--categories", fields->categories, "Number of categories (2..20)")->required();
      sub.add_option("OUT", *out, "Problem file to write (\".tri\" is appended unless it ends with it)")->required();
      return [fields, out]() {
        CliDialogs dialogs(std::cerr);
        // The dialog checks each field as it is left, so OK is only reached
        // with three valid fields.
        const std::pair<const std::string*, int> checks[] = {{&fields->alternatives, core::kMaxNewAlternatives},
                                                             {&fields->criteria, core::kMaxNewCriteria},
                                                             {&fields->categories, core::kMaxNewCategories}};
        bool valid = true;
        for (const auto& [text, maximum] : checks) {
          if (auto message = core::CheckNewProblemField(*text, maximum)) {
            dialogs.Error(*message);
            valid = false;
          }
        }
        if (!valid) return static_cast<int>(kExitProblem);
        core::Problem problem;
        if (!core::CreateNewProblem(problem, dialogs, *fields)) return static_cast<int>(kExitProblem);
        problem.SaveFileName = *out;
        if (!core::WriteProblemFile(problem, dialogs, false)) return static_cast<int>(kExitProblem);
        std::cout << "wrote " << problem.SaveFileName << '\n';
        return static_cast<int>(kExitOk);
      };
    },
}};

}  // namespace
}  // namespace vesk::cli
