// vesk-cli robust and solution, run as a person would on the example problems.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>

#include "CliRun.h"
#include "SharedData.h"
#include "TestPaths.h"
#include "core/problem/Problem.h"
#include "core/problem/ProblemFile.h"
#include "core/problem/ScriptedDialogs.h"
#include "core/sorting/Outranking.h"

namespace vesk::cli {
namespace {

namespace fs = std::filesystem;

using test::CliRun;

class RobustCli : public testing::Test {
 protected:
  void SetUp() override {
    const auto examples = test::ExamplesDir();
    if (!examples) GTEST_SKIP() << "example problems not found";
    examples_ = *examples;
    dir_ = test::FreshTempDir("robust-cli");
  }
  void TearDown() override {
    if (!dir_.empty()) fs::remove_all(dir_);
  }

  CliRun Cli(const std::string& args) { return test::RunCli(args); }
  static std::string Quote(const std::string& text) { return test::ShellQuote(text); }
  std::string Example(const std::string& name) const { return Quote((examples_ / (name + ".tri")).string()); }
  nlohmann::json Expected(const std::string& name) const {
    const auto example = test::ReadExample(examples_, name);
    return example ? example->expected : nlohmann::json();
  }

  fs::path examples_, dir_;
};

TEST_F(RobustCli, JsonMatchesTheExpectedResults) {
  for (const char* name : {"imprecise_holes", "conflict", "version1", "ordinal", "volume2"}) {
    const auto expected = Expected(name)["robust"];
    const CliRun run = Cli("robust " + Example(name) + " --json");
    ASSERT_EQ(run.code, 0) << name << run.err;
    const auto got = nlohmann::json::parse(run.out);
    EXPECT_EQ(got["consistent"], expected["consistent"]) << name;
    EXPECT_NEAR(got["alpha"].get<double>(), expected["alpha"].get<double>(), 1e-6) << name;
    for (const char* key : {"worst", "best", "holes", "variability_order"}) EXPECT_EQ(got[key], expected[key]) << name << key;
    if (expected["index"].is_null()) EXPECT_TRUE(got["index"].is_null()) << name;
    else EXPECT_NEAR(got["index"].get<double>(), expected["index"].get<double>(), 1e-6) << name;
    if (expected["inferred_unique"]) {
      EXPECT_EQ(got["inferred_category"], expected["inferred_category"]) << name;
      EXPECT_EQ(got["violated_rows"], expected["violated_rows"]) << name;
    }
    ASSERT_TRUE(got["messages"].is_array());
    if (!expected["consistent"]) {
      ASSERT_EQ(got["messages"].size(), 1u) << name;
      EXPECT_EQ(got["messages"][0]["kind"], "warning");
      EXPECT_EQ(got["messages"][0]["text"], "Inconsistent information!");
    }
  }
}

TEST_F(RobustCli, TableSwitchesAndReport) {
  const CliRun table = Cli("robust " + Example("imprecise_holes"));
  EXPECT_EQ(table.code, 0);
  EXPECT_NE(table.out.find("action 7"), std::string::npos);
  EXPECT_NE(table.out.find("2 3"), std::string::npos);  // its holes
  EXPECT_NE(table.out.find("1.167"), std::string::npos);


  const std::string report = (dir_ / "out.rpt").string();
  ASSERT_EQ(Cli("robust " + Example("conflict") + " --report " + Quote(report)).code, 0);
  const std::string text = test::ReadFileText(report);
  EXPECT_EQ(text.rfind("INPUT FILE:\r\n", 0), 0u);
  EXPECT_NE(text.find("action 6\t\t1\t\r\n"), std::string::npos);  // inconsistent: no worst, no best

  EXPECT_EQ(Cli("robust " + Example("conflict") + " --report " + Quote((dir_ / "no" / "such" / "x.rpt").string())).code, 1);
  EXPECT_EQ(Cli("robust " + Quote((dir_ / "missing.tri").string())).code, 1);
  EXPECT_EQ(Cli("robust").code, 2);
}

TEST_F(RobustCli, CsvOfTheResults) {
  const std::string csv = (dir_ / "out.csv").string();
  ASSERT_EQ(Cli("robust " + Example("imprecise_holes") + " --csv " + Quote(csv)).code, 0);
  const std::string text = test::ReadFileText(csv);
  EXPECT_EQ(text.rfind("Action,Worst category,Inferred category,Best category,Holes\r\n", 0), 0u);
  EXPECT_NE(text.find("action 7,"), std::string::npos);
  EXPECT_NE(text.find(",2 3\r\n"), std::string::npos);  // action 7's holes
  EXPECT_NE(text.find("Robustness index,1.167\r\n"), std::string::npos);
  EXPECT_EQ(Cli("robust " + Example("conflict") + " --csv " + Quote((dir_ / "no" / "such" / "x.csv").string())).code, 1);
}

TEST_F(RobustCli, PictureOfTheRanges) {
  // Without a window: the command picks the offscreen platform by itself.
  const std::string png = (dir_ / "ranges.png").string(), svg = (dir_ / "ranges.SVG").string();
  ASSERT_EQ(Cli("robust " + Example("imprecise_holes") + " --picture " + Quote(png)).code, 0);
  EXPECT_EQ(test::ReadFileText(png).rfind("\x89PNG\r\n\x1a\n", 0), 0u);
  ASSERT_EQ(Cli("robust " + Example("imprecise_holes") + " --picture " + Quote(svg)).code, 0);
  const std::string text = test::ReadFileText(svg);
  EXPECT_NE(text.find("<svg"), std::string::npos);
  EXPECT_NE(text.find("action 7"), std::string::npos);
  // An unknown extension is a usage error; a folder that is not there, a write error.
  EXPECT_EQ(Cli("robust " + Example("imprecise_holes") + " --picture " + Quote((dir_ / "r.jpg").string())).code, 2);
  EXPECT_FALSE(fs::exists(dir_ / "r.jpg"));
  EXPECT_EQ(Cli("robust " + Example("imprecise_holes") + " --picture " + Quote((dir_ / "no" / "r.png").string())).code,
            1);
}

TEST_F(RobustCli, VetoAndDiscordanceSwitches) {
  // Two criteria, two categories, the profile at 50 with q = p = 0; on
  // criterion 2 u = 9 and v = 10. "X" (60, 30) is vetoed; "Y" (60, 42) has
  // d = 0.2 with u' = 0.75 v = 7.5 and none with u = 9, and must reach 2 with
  // k1 <= 0.6 and lambda >= 0.5.
  core::Problem p;
  core::LayoutTables(p, 2, 2, 2, true);
  for (int j = 1; j <= 2; ++j) p.FGrid.SetCell(1, j, "50");
  p.FGrid.SetCell(4, 2, "9");
  p.FGrid.SetCell(5, 2, "10");
  p.BGrid.SetCell(2, 2, "0.6");
  p.BGrid.SetCell(2, 3, "1");
  const char* rows[][5] = {{"X", "1", "2", "60", "30"}, {"Y", "2", "2", "60", "42"}};
  for (int a = 1; a <= 2; ++a)
    for (int c = 0; c < 5; ++c) p.AGrid.SetCell(a, c, rows[a - 1][c]);
  core::ScriptedDialogs dialogs;
  const auto text = core::ProblemFileText(p, dialogs);
  ASSERT_TRUE(text) << dialogs.Texts()[0];
  const std::string file = (dir_ / "veto.tri").string();
  std::ofstream(file, std::ios::binary) << *text;

  auto robust = [&](const std::string& flags) {
    const CliRun run = Cli("robust " + Quote(file) + " --json " + flags);
    EXPECT_EQ(run.code, 0) << run.err;
    return nlohmann::json::parse(run.out);
  };
  EXPECT_EQ(robust("")["consistent"], false);
  const auto uj = robust("--uj");
  EXPECT_EQ(uj["consistent"], true);
  EXPECT_EQ(uj["worst"], nlohmann::json({1, 2}));
  EXPECT_EQ(uj["best"], nlohmann::json({1, 2}));
  // Without veto "X" has the coefficients of "Y", whose example puts both in 2.
  const auto noVeto = robust("--no-veto --uj");  // "Use uj" goes with "Use vj"
  EXPECT_EQ(noVeto["worst"], nlohmann::json({2, 2}));
  EXPECT_EQ(noVeto["best"], nlohmann::json({2, 2}));
}

TEST_F(RobustCli, SolutionGivesAVectorForTheChosenCategory) {
  core::Problem p;
  core::ScriptedDialogs dialogs;
  ASSERT_TRUE(core::ReadProblemFile(p, dialogs, (examples_ / "imprecise_holes.tri").string()));
  const core::SortingData data = core::SortingData::FromProblem(p);
  // "action 7" (row 7) ranges over 1..4 with holes 2 and 3.
  for (const char* action : {"7", "'action 7'"}) {
    for (int h : {1, 4}) {
      const CliRun run = Cli("solution " + Example("imprecise_holes") + " " + action + " " + std::to_string(h) + " --json");
      ASSERT_EQ(run.code, 0) << run.err;
      const auto got = nlohmann::json::parse(run.out);
      EXPECT_EQ(got["action"], 7);
      EXPECT_EQ(core::AssignCategory(data, 7, got["params"].get<std::vector<double>>()), h) << action << h;
    }
  }
  const CliRun hole = Cli("solution " + Example("imprecise_holes") + " 7 2");
  EXPECT_EQ(hole.code, 1);
  EXPECT_NE(hole.err.find("hole"), std::string::npos) << hole.err;
  EXPECT_EQ(Cli("solution " + Example("imprecise_holes") + " 1 3").code, 1);  // outside [1, 1]
  EXPECT_EQ(Cli("solution " + Example("conflict") + " 1 3").code, 1);         // inconsistent
  EXPECT_EQ(Cli("solution " + Example("imprecise_holes") + " 10 1").code, 2);
  EXPECT_EQ(Cli("solution " + Example("imprecise_holes") + " 7").code, 2);
  const CliRun table = Cli("solution " + Example("imprecise_holes") + " 7 4");
  EXPECT_EQ(table.out.rfind("lambda = ", 0), 0u) << table.out;
}

}  // namespace
}  // namespace vesk::cli
