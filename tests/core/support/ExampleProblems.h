#pragma once
// The shared example problems as core reads them.
#include "SharedData.h"
#include "core/problem/Problem.h"
#include "core/problem/ProblemFile.h"
#include "core/problem/UserDialogs.h"

namespace vesk::core::test {

// Reads the example's problem file and applies its "flags" as vesk-cli's
// switches do: "--no-veto" puts "Use vj" and "Use uj" up, otherwise "--uj"
// puts "Use uj" down.
inline bool ReadExampleProblem(const vesk::test::ExampleProblem& example, Problem& problem, UserDialogs& dialogs) {
  if (!ReadProblemFile(problem, dialogs, example.file.string())) return false;
  bool noVeto = false, uj = false;
  for (const auto& flag : example.expected["flags"]) {
    noVeto = noVeto || flag == "--no-veto";
    uj = uj || flag == "--uj";
  }
  if (noVeto) {
    problem.UsevjDown = false;
    problem.UseujDown = false;
  } else if (uj) {
    problem.UseujDown = true;
  }
  return true;
}

}  // namespace vesk::core::test
