// "Export results...": the results as CSV, read back with the performance
// reader's own CSV parser.
#include <gtest/gtest.h>

#include <filesystem>

#include "CliRun.h"
#include "TestPaths.h"
#include "core/problem/CsvPerformances.h"
#include "core/problem/ProblemFile.h"
#include "core/problem/ScriptedDialogs.h"
#include "core/sorting/CsvResults.h"
#include "core/sorting/RobustAssignments.h"

namespace vesk::core {
namespace {

namespace fs = std::filesystem;

// The exported results read back (with the same reader) as the results.
void ExpectResultsRoundTrip(Problem p) {
  SortingState s;
  ScriptedDialogs dialogs;
  ASSERT_TRUE(CalcRangeItemClick(p, s, dialogs));
  const fs::path dir = test::FreshTempDir("csv-export");
  dialogs.saveFileAnswers.push_back((dir / "results.csv").string());
  ASSERT_TRUE(ExportResultsItemClick(p, s, dialogs));
  EXPECT_EQ(dialogs.fileDialogs.back(), kCsvSaveFilter);

  CsvError error;
  const auto records = ParseCsv(test::ReadFileText(dir / "results.csv"), error);
  fs::remove_all(dir);
  ASSERT_TRUE(records) << CsvErrorText(error);
  const auto& rows = records->rows;
  ASSERT_EQ(static_cast<int>(rows.size()), p.NumActions + 2);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"Action", "Worst category", "Inferred category", "Best category", "Holes"}));
  const auto holes = HoleCategories(s, p.NumCategories);
  for (int i = 1; i <= p.NumActions; ++i) {
    const auto& row = rows[static_cast<std::size_t>(i)];
    const auto a = static_cast<std::size_t>(i - 1);
    ASSERT_EQ(row.size(), 5u);
    EXPECT_EQ(row[0], p.AGrid.Cell(i, 0));
    EXPECT_EQ(row[1], s.Consistent ? std::to_string(s.WorstCategory[a]) : "");
    EXPECT_EQ(row[2], std::to_string(s.InferredCategory[a]));
    EXPECT_EQ(row[3], s.Consistent ? std::to_string(s.BestCategory[a]) : "");
    std::string list;
    for (int h : holes[a]) {
      if (!list.empty()) list += ' ';
      list += std::to_string(h);
    }
    EXPECT_EQ(row[4], list);
  }
  EXPECT_EQ(rows.back(), (std::vector<std::string>{"Robustness index", s.IndexText}));

  // Stale results are not exported.
  p.ResetResults();
  EXPECT_FALSE(ExportResultsItemClick(p, s, dialogs));
}

TEST(CsvExport, SampleResultsReadBack) {
  Problem p;
  ScriptedDialogs dialogs;
  ASSERT_TRUE(ReadProblemFile(p, dialogs, (test::SourceDir() / "examples" / "sample.tri").string()));
  ExpectResultsRoundTrip(p);
}

TEST(CsvExport, SharedExamplesReadBack) {
  const auto dir = test::ExamplesDir();
  if (!dir) GTEST_SKIP() << "example problems not found";
  for (const char* name : {"imprecise_holes", "conflict"}) {
    SCOPED_TRACE(name);
    Problem p;
    ScriptedDialogs dialogs;
    if (!fs::exists(*dir / (std::string(name) + ".tri"))) continue;
    ASSERT_TRUE(ReadProblemFile(p, dialogs, (*dir / (std::string(name) + ".tri")).string()));
    ExpectResultsRoundTrip(p);
  }
}

}  // namespace
}  // namespace vesk::core
