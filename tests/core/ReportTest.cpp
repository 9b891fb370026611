// The results report: its bytes (consistent and inconsistent runs), the
// temporary-file write, and the "&Report" command with its save dialog.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <utility>
#include <vector>
#include <string>

#include "TestPaths.h"
#include "core/problem/Problem.h"
#include "core/problem/ProblemFile.h"
#include "core/problem/ScriptedDialogs.h"
#include "core/sorting/Report.h"
#include "core/sorting/RobustAssignments.h"
#include "core/sorting/SortingState.h"

namespace vesk::core {
namespace {

// Two criteria, two actions, three categories, with results as a robust
// command leaves them: a two-row inference program and the parameter rows.
struct Fixture {
  Problem p;
  SortingState s;
  Fixture(bool consistent) {
    LayoutTables(p, 2, 2, 3, /*withDefaults=*/true);
    p.AGrid.SetCell(1, 0, "north");
    p.AGrid.SetCell(2, 0, "south");
    p.OpenFileName = "/data/shops.tri";
    p.SaveFileName = "/data/shops";
    p.ResultsAvailable = true;
    s.Generation = p.ResultsGeneration;
    s.Consistent = consistent;
    s.InferredCategory = {2, 3};
    s.WorstCategory = {1, 3};
    s.BestCategory = {2, 3};
    s.IPGrid = Grid(2, 8);
    const char* header[] = {"Descr", "alpha", "lambda", "k1", "k2", "<,=,>", "RHS", "Error"};
    const char* row[] = {"LB lambda", "1", "1", "0", "0", ">=", "0.5", consistent ? "" : "0.0075"};
    for (int c = 0; c < 8; ++c) {
      s.IPGrid.SetCell(0, c, header[c]);
      s.IPGrid.SetCell(1, c, row[c]);
    }
    s.DGrid = Grid(3, 3);
    const char* names[] = {"lambda", "k1", "k2"};
    const char* values[] = {"0.6", "0.4", "0.6"};
    for (int c = 0; c < 3; ++c) {
      s.DGrid.SetCell(0, c, names[c]);
      s.DGrid.SetCell(2, c, values[c]);
    }
  }
};

const std::string kHead =
    "INPUT FILE:\r\n/data/shops.tri\r\n\r\nRESULTS:\r\nACTION\tWorst Cat\tInferred Cat\tBest Cat\r\n";
const std::string kTail = "\r\nINFERENCE PROGRAM:\r\n";
const std::string kSolution = "\r\nINFERRED SOLUTION:\r\nlambda\tk1\tk2\t\r\n0.6\t0.4\t0.6\t";

TEST(ReportText, LinesFieldsAndTheLastLineWithoutLineEnd) {
  struct Case {
    bool consistent;
    std::string expected;
  };
  const Case cases[] = {
      {true, kHead + "north\t1\t2\t2\r\nsouth\t3\t3\t3\r\n" + kTail +
                 "Descr\talpha\tlambda\tk1\tk2\t<,=,>\tRHS\tError\t\r\nLB lambda\t1\t1\t0\t0\t>=\t0.5\t\t\r\n" +
                 kSolution},
      // Inconsistent: worst and best empty, their TABs kept.
      {false, kHead + "north\t\t2\t\r\nsouth\t\t3\t\r\n" + kTail +
                  "Descr\talpha\tlambda\tk1\tk2\t<,=,>\tRHS\tError\t\r\nLB lambda\t1\t1\t0\t0\t>=\t0.5\t0.0075\t\r\n" +
                  kSolution},
  };
  for (const auto& c : cases) {
    Fixture f(c.consistent);
    EXPECT_EQ(ReportText(f.p, f.s), c.expected) << (c.consistent ? "consistent" : "inconsistent");
  }
}

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(ReportFile, WrittenThroughATemporaryFileThatIsRenamed) {
  const auto dir = test::FreshTempDir("report");
  Fixture f(true);
  const auto target = dir / "shops.rpt";
  { std::ofstream(target) << "an older report"; }
  ASSERT_TRUE(WriteReportFile(f.p, f.s, target.string()));
  EXPECT_EQ(ReadAll(target), ReportText(f.p, f.s));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1) << "temporary file left behind";
  // A folder that does not exist: nothing is written and the call says so.
  EXPECT_FALSE(WriteReportFile(f.p, f.s, (dir / "missing" / "x.rpt").string()));
  std::filesystem::remove_all(dir);
}

// Also keeps what the save dialog was started with.
struct SaveDialogRecorder : ScriptedDialogs {
  std::vector<std::pair<std::string, std::string>> started;  // default extension, initial name
  std::optional<std::string> ChooseSaveFile(std::string_view filter, std::string_view extension,
                                            std::string_view initial) override {
    started.emplace_back(std::string(extension), std::string(initial));
    return ScriptedDialogs::ChooseSaveFile(filter, extension, initial);
  }
};

TEST(ReportCommand, DialogStartsFromTheNameWithoutExtensionAndKeepsTheReportNameApart) {
  const auto dir = test::FreshTempDir("reportcmd");
  Fixture f(true);
  f.p.SaveFileName = (dir / "shops.tri").string();
  f.p.DataModified = true;
  const std::string caption = f.p.Caption;
  ReportSettings settings;
  SaveDialogRecorder d;
  const auto report = (dir / "shops-results.rpt").string();
  d.saveFileAnswers.push_back(report);
  ASSERT_TRUE(ReportItemClick(f.p, f.s, settings, d));
  EXPECT_EQ(d.fileDialogs, (std::vector<std::string>{kReportFilter}));
  EXPECT_EQ(ReadAll(report), ReportText(f.p, f.s));
  EXPECT_EQ(settings.ReportFileName, report);
  EXPECT_EQ(d.started.back(), std::make_pair(std::string("rpt"), (dir / "shops").string()));
  // The problem's own name, its modified flag and the caption are untouched.
  EXPECT_EQ(f.p.SaveFileName, (dir / "shops.tri").string());
  EXPECT_TRUE(f.p.DataModified);
  EXPECT_EQ(f.p.Caption, caption);

  // The next report starts from the last report's name; Cancel writes nothing.
  EXPECT_FALSE(ReportItemClick(f.p, f.s, settings, d));
  EXPECT_EQ(d.started.back().second, (dir / "shops-results").string());
  // A failed write shows the disk message and keeps the earlier name.
  d.saveFileAnswers.push_back((dir / "missing" / "x.rpt").string());
  EXPECT_FALSE(ReportItemClick(f.p, f.s, settings, d));
  EXPECT_EQ(d.Texts(), (std::vector<std::string>{kDiskWriteError}));
  EXPECT_EQ(settings.ReportFileName, report);

  // No results of the current problem: no dialog at all.
  f.p.ResetResults();
  const auto shown = d.fileDialogs.size();
  EXPECT_FALSE(ReportItemClick(f.p, f.s, settings, d));
  EXPECT_EQ(d.fileDialogs.size(), shown);
  std::filesystem::remove_all(dir);
}

TEST(ReportCommand, NameWithoutExtension) {
  const std::pair<std::string, std::string> cases[] = {
      {"/data/shops.tri", "/data/shops"}, {"shops", "shops"}, {"/data.v2/shops", "/data.v2/shops"},
      {"a.b.rpt", "a.b"}, {"/data/.hidden", "/data/.hidden"}};
  for (const auto& [name, cut] : cases) EXPECT_EQ(WithoutExtension(name), cut) << name;
}

// The action lines of the examples' reports after a robust-assignment run.
TEST(ReportExamples, ActionLinesCarryTheRangesOrOnlyTheInferredCategory) {
  auto dir = test::ExamplesDir();
  if (!dir) GTEST_SKIP() << "example problems not found";
  for (const char* name : {"conflict", "imprecise_holes"}) {
    SCOPED_TRACE(name);
    std::ifstream in(*dir / (std::string(name) + ".expected.json"));
    const auto expected = nlohmann::json::parse(in);
    Problem p;
    ScriptedDialogs d;
    ASSERT_TRUE(ReadProblemFile(p, d, (*dir / (std::string(name) + ".tri")).string()));
    SortingState s;
    ASSERT_TRUE(CalcRangeItemClick(p, s, d));
    const std::string text = ReportText(p, s);
    const auto& robust = expected["robust"];
    std::string lines;
    for (int i = 0; i < p.NumActions; ++i) {
      lines += p.AGrid.Cell(i + 1, 0) + "\t";
      if (robust["consistent"]) lines += std::to_string(robust["worst"][i].get<int>());
      lines += "\t" + std::to_string(robust["inferred_category"][i].get<int>()) + "\t";
      if (robust["consistent"]) lines += std::to_string(robust["best"][i].get<int>());
      lines += "\r\n";
    }
    EXPECT_NE(text.find("Best Cat\r\n" + lines + "\r\nINFERENCE PROGRAM:\r\n"), std::string::npos) << text;
    EXPECT_NE(text.back(), '\n');
  }
}

}  // namespace
}  // namespace vesk::core
