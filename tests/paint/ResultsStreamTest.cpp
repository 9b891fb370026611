// The results stream vesk-cli hands to its painter: the problem and results
// read back whole, and every damaged stream refused.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TestPaths.h"
#include "core/problem/ProblemFile.h"
#include "core/problem/ScriptedDialogs.h"
#include "core/sorting/RobustAssignments.h"
#include "paint/ResultsStream.h"

namespace vesk::paint {
namespace {

namespace fs = std::filesystem;

struct Outcome {
  core::Problem problem;
  core::SortingState state;
};

// The robust-assignment command's outcome on a problem file.
Outcome Robust(const fs::path& file, bool noVeto = false) {
  Outcome o;
  core::ScriptedDialogs dialogs;
  EXPECT_TRUE(core::ReadProblemFile(o.problem, dialogs, file.string())) << file;
  if (noVeto) o.problem.UsevjDown = false;
  EXPECT_TRUE(core::CalcRangeItemClick(o.problem, o.state, dialogs)) << file;
  return o;
}

fs::path Sample() { return test::SourceDir() / "examples" / "sample.tri"; }

TEST(ResultsStream, ReadsBackTheProblemAndResultsWhole) {
  std::vector<Outcome> outcomes{Robust(Sample()), Robust(Sample(), true)};
  if (const auto examples = test::ExamplesDir()) {
    // Consistent with holes, inconsistent, an old-version file.
    for (const char* name : {"imprecise_holes", "conflict", "version1"})
      outcomes.push_back(Robust(*examples / (std::string(name) + ".tri")));
  }
  // Texts travel byte for byte, whatever they hold.
  Outcome& odd = outcomes.front();
  odd.problem.AGrid.SetCell(1, 0, std::string("a\xff,b:\n1,", 9));
  odd.problem.Caption.clear();
  odd.state.SelectedParams = {0.1, 1e-300, -0.0, 1.0 / 3.0};
  odd.state.ShowVariabilityOrder = true;
  for (const Outcome& o : outcomes) {
    core::Problem problem;
    core::SortingState state;
    ASSERT_TRUE(ReadResultsStream(WriteResultsStream(o.problem, o.state), problem, state));
    EXPECT_TRUE(problem == o.problem) << o.problem.OpenFileName;
    EXPECT_TRUE(state == o.state) << o.problem.OpenFileName;
  }
  EXPECT_FALSE(outcomes[0].state == outcomes[1].state);  // "Use vj" up changes the sample's results
}

TEST(ResultsStream, RefusesDamagedStreamsAndResultsThatDoNotFit) {
  const Outcome o = Robust(Sample());
  const std::string stream = WriteResultsStream(o.problem, o.state);
  core::Problem problem;
  core::SortingState state;
  // Cut anywhere, or with anything after its end.
  for (std::size_t length = 0; length < stream.size(); ++length)
    ASSERT_FALSE(ReadResultsStream(stream.substr(0, length), problem, state)) << length;
  EXPECT_FALSE(ReadResultsStream(stream + "0:,", problem, state));
  EXPECT_FALSE(ReadResultsStream("vesk results 2\n" + stream.substr(kResultsStreamHeader.size()), problem, state));

  // A count far beyond what follows is refused before anything is laid out.
  const std::string header(kResultsStreamHeader);
  EXPECT_FALSE(ReadResultsStream(header + "10:2000000000,10:2000000000,", problem, state));
  EXPECT_FALSE(ReadResultsStream(header + "x:,", problem, state));

  // Results of another shape than the problem's.
  const auto refused = [&](auto damage) {
    Outcome d = o;
    damage(d);
    return !ReadResultsStream(WriteResultsStream(d.problem, d.state), problem, state);
  };
  EXPECT_TRUE(refused([](Outcome& d) { d.state.BestCategory.pop_back(); }));
  EXPECT_TRUE(refused([](Outcome& d) { d.problem.NumActions += 1; }));
  EXPECT_TRUE(refused([](Outcome& d) { d.state.RGrid.Resize(d.state.RGrid.RowCount(), 2); }));
  EXPECT_TRUE(refused([](Outcome& d) {
    d.state.ShowVariabilityOrder = true;
    d.state.ORGrid.Clear();
  }));
  EXPECT_FALSE(refused([](Outcome& d) { d.state.ShowVariabilityOrder = true; }));
}

}  // namespace
}  // namespace vesk::paint
