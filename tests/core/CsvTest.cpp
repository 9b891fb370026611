// Performances read from CSV files into a problem, results written as CSV.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "ProblemBuilders.h"
#include "TestPaths.h"
#include "core/problem/CsvPerformances.h"
#include "core/problem/ProblemFile.h"
#include "core/problem/ScriptedDialogs.h"
#include "core/sorting/CsvResults.h"
#include "core/sorting/RobustAssignments.h"

namespace vesk::core {
namespace {

namespace fs = std::filesystem;
using test::Contents;

fs::path WriteFile(const fs::path& dir, const std::string& name, const std::string& bytes) {
  const fs::path path = dir / name;
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Problem ReadSample() {
  Problem p;
  ScriptedDialogs dialogs;
  EXPECT_TRUE(ReadProblemFile(p, dialogs, (vesk::test::SourceDir() / "examples" / "sample.tri").string()));
  return p;
}

// The performances of `p` as a spreadsheet would write them.
struct CsvStyle {
  const char* name;
  char separator;
  bool decimalComma;
  const char* eol;
  bool quoteAll;
};

std::string PerformancesCsv(const Problem& p, const CsvStyle& style) {
  auto field = [&](std::string text, bool number) {
    if (number && style.decimalComma)
      for (char& c : text)
        if (c == '.') c = ',';
    const bool needsQuotes = text.find(style.separator) != std::string::npos || text.find('"') != std::string::npos;
    if (!style.quoteAll && !needsQuotes) return text;
    std::string out = "\"";
    for (char c : text) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
  };
  std::string out = field("Action", false);
  for (int j = 1; j <= p.NumCriteria; ++j) out += style.separator + field(p.AGrid.Cell(0, p.PerformanceColumn(j)), false);
  out += style.eol;
  for (int i = 1; i <= p.NumActions; ++i) {
    out += field(p.AGrid.Cell(i, 0), false);
    for (int j = 1; j <= p.NumCriteria; ++j) out += style.separator + field(p.AGrid.Cell(i, p.PerformanceColumn(j)), true);
    out += style.eol;
  }
  return out;
}

// Runs the import command on `bytes` with the preview answering `answer`;
// records what the preview was offered.
struct ImportRun {
  bool changed = false;
  bool previewShown = false;
  bool currentOffered = false;
};

ImportRun Import(Problem& p, ScriptedDialogs& dialogs, const std::string& bytes, std::optional<CsvTarget> answer) {
  const fs::path dir = vesk::test::FreshTempDir("csv-import");
  dialogs.openFileAnswers.push_back(WriteFile(dir, "in.csv", bytes).string());
  ImportRun run;
  run.changed = ImportPerformancesItemClick(p, dialogs, [&](const CsvPerformances&, bool current) {
    run.previewShown = true;
    run.currentOffered = current;
    return answer;
  });
  fs::remove_all(dir);
  return run;
}

class CsvRoundTrip : public ::testing::TestWithParam<CsvStyle> {};

TEST_P(CsvRoundTrip, SamplePerformancesComeBackIntoNewAndCurrentProblem) {
  const Problem sample = ReadSample();
  const std::string csv = PerformancesCsv(sample, GetParam());

  // Into a new problem: names and performances as in the sample, New's
  // defaults elsewhere, marked as modified.
  Problem fresh = test::MakeProblem(2, 2, 2);
  fresh.UsevjDown = false;
  ScriptedDialogs dialogs;
  const auto run = Import(fresh, dialogs, csv, CsvTarget::NewProblem);
  ASSERT_TRUE(run.changed) << (dialogs.messages.empty() ? "" : dialogs.Texts()[0]);
  EXPECT_FALSE(run.currentOffered);  // 2 x 2 does not fit the sample's 4 x 10
  EXPECT_EQ(fresh.NumCriteria, sample.NumCriteria);
  EXPECT_EQ(fresh.NumActions, sample.NumActions);
  EXPECT_EQ(fresh.NumCategories, 2);
  EXPECT_TRUE(fresh.DataModified);
  EXPECT_FALSE(fresh.UsevjDown);
  for (int i = 0; i <= sample.NumActions; ++i) {
    EXPECT_EQ(fresh.AGrid.Cell(i, 0), i == 0 ? "Action" : sample.AGrid.Cell(i, 0));
    for (int j = 1; j <= sample.NumCriteria; ++j)
      EXPECT_EQ(fresh.AGrid.Cell(i, 2 + j), sample.AGrid.Cell(i, 2 + j)) << i << "," << j;
  }
  for (int i = 1; i <= sample.NumActions; ++i) {
    EXPECT_EQ(fresh.AGrid.Cell(i, 1), "1");
    EXPECT_EQ(fresh.AGrid.Cell(i, 2), "2");
  }
  for (int j = 1; j <= sample.NumCriteria; ++j) EXPECT_EQ(fresh.FGrid.Cell(0, j), sample.FGrid.Cell(0, j));

  // Into the current problem after its performances were overwritten: the
  // sample comes back exactly, examples and the other tables untouched.
  Problem edited = sample;
  for (int i = 1; i <= edited.NumActions; ++i)
    for (int j = 1; j <= edited.NumCriteria; ++j) edited.AGrid.SetCell(i, 2 + j, "0");
  edited.AGrid.SetCell(1, 0, "renamed");
  const auto before = edited.ResultsGeneration;
  const auto again = Import(edited, dialogs, csv, CsvTarget::CurrentProblem);
  ASSERT_TRUE(again.changed);
  EXPECT_TRUE(again.currentOffered);
  EXPECT_EQ(edited.AGrid, sample.AGrid);
  EXPECT_EQ(edited.FGrid, sample.FGrid);
  EXPECT_EQ(edited.BGrid, sample.BGrid);
  EXPECT_EQ(edited.CGrid, sample.CGrid);
  EXPECT_TRUE(edited.DataModified);
  EXPECT_GT(edited.ResultsGeneration, before);

  // The same results as the sample itself.
  SortingState original, imported;
  ScriptedDialogs quiet;
  Problem sampleCopy = sample;
  ASSERT_TRUE(CalcRangeItemClick(sampleCopy, original, quiet));
  ASSERT_TRUE(CalcRangeItemClick(edited, imported, quiet));
  EXPECT_EQ(imported.WorstCategory, original.WorstCategory);
  EXPECT_EQ(imported.BestCategory, original.BestCategory);
  EXPECT_EQ(imported.InferredCategory, original.InferredCategory);
}

INSTANTIATE_TEST_SUITE_P(Styles, CsvRoundTrip,
                         ::testing::Values(CsvStyle{"CommaPointLf", ',', false, "\n", false},
                                           CsvStyle{"SemicolonCommaCrLf", ';', true, "\r\n", false},
                                           CsvStyle{"QuotedEverything", ',', false, "\r\n", true},
                                           CsvStyle{"QuotedDecimalComma", ',', true, "\n", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CsvReader, FieldsQuotesAndDecimalMarks) {
  CsvError error;
  // BOM, quoted separators and quotes, a line break inside a quoted header
  // field is refused only for names, so it sits in the first (ignored) field.
  const auto data = ReadCsvPerformances(
      "\xEF\xBB\xBF\"Act\nion\";\"g;1\";\"say \"\"hi\"\"\"\r\n"
      "a 1;1,5; -2.25e1 \r\n"
      "\"b;2\";\"3\";4\n\n\n",
      error);
  ASSERT_TRUE(data) << CsvErrorText(error);
  EXPECT_EQ(data->criterionNames, (std::vector<std::string>{"g;1", "say \"hi\""}));
  EXPECT_EQ(data->actionNames, (std::vector<std::string>{"a 1", "b;2"}));
  EXPECT_EQ(data->values, (std::vector<std::vector<std::string>>{{"1.5", "-22.5"}, {"3", "4"}}));

  // The line numbers count the line break inside the quoted field.
  EXPECT_FALSE(ReadCsvPerformances("\"A\nB\",g1\nx,1\ny,z\n", error));
  EXPECT_EQ(CsvErrorText(error), "Line 4, column 2: \"z\" is not a number");
}

struct BadFile {
  const char* name;
  std::string bytes;
  int line, column;
  const char* message;
};

class CsvBadFile : public ::testing::TestWithParam<BadFile> {};

TEST_P(CsvBadFile, NamesTheCellAndChangesNothing) {
  const auto& bad = GetParam();
  Problem p = ReadSample();
  p.DataModified = true;
  const auto before = Contents(p);
  ScriptedDialogs dialogs;
  const auto run = Import(p, dialogs, bad.bytes, CsvTarget::NewProblem);
  EXPECT_FALSE(run.changed);
  EXPECT_FALSE(run.previewShown);
  EXPECT_EQ(Contents(p), before);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].kind, MessageKind::Error);
  const std::string expected = "Line " + std::to_string(bad.line) + ", column " + std::to_string(bad.column) + ": ";
  EXPECT_NE(dialogs.messages[0].text.find(expected + bad.message), std::string::npos) << dialogs.messages[0].text;
  EXPECT_TRUE(dialogs.questions.empty());
}

std::string Garbage(std::size_t size) {
  std::mt19937 random(8);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random() & 0xFF);
  return bytes;
}

std::string ManyCriteria(int n) {
  std::string header = "Action", row = "a";
  for (int j = 1; j <= n; ++j) {
    header += ",g" + std::to_string(j);
    row += ",1";
  }
  return header + "\n" + row + "\n";
}

INSTANTIATE_TEST_SUITE_P(
    Files, CsvBadFile,
    ::testing::Values(BadFile{"Empty", "", 1, 1, "the file is empty"},
                      BadFile{"OnlyBlankLines", "\r\n\r\n", 1, 1, "the file is empty"},
                      BadFile{"HeaderOnly", "Action,g1,g2\r\n", 2, 1, "no action follows the header"},
                      BadFile{"NoCriterion", "Action\na\n", 1, 2, "the header names no criterion"},
                      BadFile{"ShortRow", "A,g1,g2\na,1,2\nb,1\n", 3, 3, "the line has 2 fields, the header 3"},
                      BadFile{"LongRow", "A;g1\na;1;2\n", 2, 3, "the line has 3 fields, the header 2"},
                      BadFile{"TextInNumberCell", "A,g1,g2\na,1,2\nb,1,two\n", 3, 3, "\"two\" is not a number"},
                      BadFile{"EmptyNumberCell", "A;g1\na;\n", 2, 2, "\"\" is not a number"},
                      BadFile{"ThousandsMark", "A;g1\na;1.234,5\n", 2, 2, "\"1.234,5\" is not a number"},
                      BadFile{"TooManyCriteria", ManyCriteria(kMaxCriteria + 1), 1, kMaxCriteria + 2,
                              "too many criteria (20; at most 19)"},
                      BadFile{"UnclosedQuote", "A,g1\n\"a,1\n", 2, 1, "a quoted field is not closed"},
                      BadFile{"TextAfterQuote", "A,g1\n\"a\"x,1\n", 2, 1, "text after the closing quote"},
                      BadFile{"NameWithLineBreak", "A,g1\n\"a\nb\",1\n", 2, 1, "an action name holds a line break"},
                      BadFile{"NulByte", std::string("A,g1\na,1\0\n", 10), 2, 2, "the file is not text (byte 0x00)"},
                      BadFile{"TenMegabytesOfGarbage", Garbage(10u << 20), 2, 1, "the file is not text"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CsvImport, TargetsAndTheSaveQuestion) {
  const std::string csv = "A,c1,c2\nx,1,2\ny,3,4\n";
  // Cancel in the preview changes nothing.
  Problem p = test::MakeProblem(2, 2, 3);
  p.DataModified = true;
  const auto before = Contents(p);
  ScriptedDialogs dialogs;
  auto run = Import(p, dialogs, csv, std::nullopt);
  EXPECT_TRUE(run.previewShown);
  EXPECT_TRUE(run.currentOffered);
  EXPECT_FALSE(run.changed);
  EXPECT_EQ(Contents(p), before);

  // A new problem over modified data asks first (No: not saved, import goes on).
  run = Import(p, dialogs, csv, CsvTarget::NewProblem);
  EXPECT_TRUE(run.changed);
  EXPECT_EQ(dialogs.questions, std::vector<std::string>{"Save current files?"});
  EXPECT_EQ(p.NumCategories, 2);
  EXPECT_EQ(p.AGrid.Cell(2, 4), "4");

  // The current problem is no target while the counts differ, or before any problem.
  Problem three = test::MakeProblem(3, 2, 2);
  CsvError error;
  const auto data = ReadCsvPerformances(csv, error);
  ASSERT_TRUE(data);
  const auto unchanged = Contents(three);
  EXPECT_FALSE(ApplyCsvPerformances(three, *data, CsvTarget::CurrentProblem));
  EXPECT_EQ(Contents(three), unchanged);
  Problem none;
  EXPECT_FALSE(CsvFitsCurrentProblem(none, *data));
  EXPECT_TRUE(ApplyCsvPerformances(none, *data, CsvTarget::NewProblem));
  EXPECT_TRUE(none.TablesShown);
}

// The exported results read back (with the same reader) as the results.
void ExpectResultsRoundTrip(Problem p) {
  SortingState s;
  ScriptedDialogs dialogs;
  ASSERT_TRUE(CalcRangeItemClick(p, s, dialogs));
  const fs::path dir = vesk::test::FreshTempDir("csv-export");
  dialogs.saveFileAnswers.push_back((dir / "results.csv").string());
  ASSERT_TRUE(ExportResultsItemClick(p, s, dialogs));
  EXPECT_EQ(dialogs.fileDialogs.back(), kCsvSaveFilter);

  CsvError error;
  const auto records = ParseCsv(ReadFile(dir / "results.csv"), error);
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

TEST(CsvExport, SampleResultsReadBack) { ExpectResultsRoundTrip(ReadSample()); }

TEST(CsvExport, SharedExamplesReadBack) {
  const auto dir = vesk::test::ExamplesDir();
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
