// vesk-paint run by hand: the picture from a results stream, and its exit
// status for each way it can fail.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "CliRun.h"
#include "TestPaths.h"
#include "core/problem/ProblemFile.h"
#include "core/problem/ScriptedDialogs.h"
#include "core/sorting/RobustAssignments.h"
#include "paint/ResultsStream.h"

namespace vesk::paint {
namespace {

namespace fs = std::filesystem;

using test::ShellQuote;

fs::path PainterPath() { return test::CliPath().parent_path() / "vesk-paint"; }

TEST(PaintProgram, ExitStatusTellsWhatHappened) {
  if (!fs::exists(PainterPath())) GTEST_SKIP() << "built without the painter";
  const fs::path dir = test::FreshTempDir("paint");
  core::Problem problem;
  core::SortingState state;
  core::ScriptedDialogs dialogs;
  ASSERT_TRUE(core::ReadProblemFile(problem, dialogs, (test::SourceDir() / "examples" / "sample.tri").string()));
  ASSERT_TRUE(core::CalcRangeItemClick(problem, state, dialogs));
  const std::string stream = WriteResultsStream(problem, state);
  const fs::path good = dir / "good", cut = dir / "cut";
  std::ofstream(good, std::ios::binary) << stream;
  std::ofstream(cut, std::ios::binary) << stream.substr(0, stream.size() - 1);

  const struct {
    std::string arguments;
    fs::path input;
    int code;
    const char* said;  // on standard error
  } cases[] = {
      {"picture " + ShellQuote((dir / "r.png").string()), good, 0, nullptr},
      {"picture " + ShellQuote((dir / "r.svg").string()), good, 0, nullptr},
      {"picture " + ShellQuote((dir / "no" / "r.png").string()), good, 1, nullptr},
      {"picture", good, 2, "OUT is required"},
      {"picture " + ShellQuote((dir / "r.jpg").string()), good, 2, ".png or .svg"},
      {"picture " + ShellQuote((dir / "cut.png").string()), cut, 3, "does not hold the results"},
      {"picture " + ShellQuote((dir / "none.png").string()), "/dev/null", 3, "does not hold the results"},
  };
  for (const auto& c : cases) {
    const test::CliRun run = test::RunProgram(PainterPath(), c.arguments, c.input);
    EXPECT_EQ(run.code, c.code) << c.arguments << run.err;
    if (c.said) {
      EXPECT_NE(run.err.find(c.said), std::string::npos) << c.arguments << run.err;
    }
  }
  EXPECT_EQ(test::ReadFileText(dir / "r.png").rfind("\x89PNG\r\n\x1a\n", 0), 0u);
  EXPECT_NE(test::ReadFileText(dir / "r.svg").find(problem.AGrid.Cell(1, 0)), std::string::npos);
  for (const char* unwritten : {"r.jpg", "cut.png", "none.png"}) EXPECT_FALSE(fs::exists(dir / unwritten)) << unwritten;
  fs::remove_all(dir);
}

}  // namespace
}  // namespace vesk::paint
