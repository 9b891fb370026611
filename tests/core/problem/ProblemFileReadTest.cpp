// Reading problem files: the shipped-format examples, version detection, the
// reader's messages and what a failed read leaves behind.
#include <gtest/gtest.h>

#include "TestPaths.h"
#include "core/problem/ProblemFile.h"
#include "core/problem/ScriptedDialogs.h"

namespace vesk::core {
namespace {

// Joins lines with CR LF.
std::string Lines(std::initializer_list<const char*> lines) {
  std::string out;
  for (const char* l : lines) out += std::string(l) + "\r\n";
  return out;
}

// A small version-2 problem: 2 criteria, 2 categories, 2 actions, one added
// constraint. Pieces are replaced by the tests below.
std::string Small(const char* actionLines = "a 0\t1\t2\t1\t2\tfirst\r\na 1\t3\t4\t2\t2\tsecond\r\n",
                  const char* constraintLines = "K N 1\r\nK g\t0\t1\t-1\t0.50\r\n") {
  return Lines({"c version 2", "c Size of the problem:", "t 2\t2\t2", "d\t1\t-1", "p 1\t50\t60",
                "s 1\t1\t1\t2\t3\t4", "s 1\t2\t5\t6\t7\t8"}) +
         actionLines +
         Lines({"K S 1\t0.5", "K S 2\t0.6", "K I 1\t0", "K I 2\t0.1"}) + constraintLines +
         Lines({"L M 1.0", "L m 0.5", "n name of criteria:", "price", "looks", "c *** END OF FILE ***"});
}

TEST(ProblemFileRead, SmallProblemFillsEveryTable) {
  Problem p;
  ScriptedDialogs d;
  ASSERT_TRUE(ReadProblemData(p, d, Small(), "/data/small.tri")) << testing::PrintToString(d.Texts());
  EXPECT_TRUE(d.messages.empty());
  EXPECT_EQ(p.NumCriteria, 2);
  EXPECT_EQ(p.NumCategories, 2);
  EXPECT_EQ(p.NumActions, 2);
  EXPECT_EQ(p.NumConstraints, 2);
  // Directions, profile, thresholds q p u v.
  EXPECT_EQ(p.FGrid.Cell(6, 1), "1");
  EXPECT_EQ(p.FGrid.Cell(6, 2), "-1");
  EXPECT_EQ(p.FGrid.Cell(1, 2), "60");
  for (int k = 0; k < 4; ++k) EXPECT_EQ(p.FGrid.Cell(2 + k, 2), std::to_string(5 + k));
  // Actions: names from the line end, not the number after "a ".
  EXPECT_EQ(p.AGrid.Cell(1, 0), "first");
  EXPECT_EQ(p.AGrid.Cell(2, 0), "second");
  EXPECT_EQ(p.AGrid.Cell(2, 1), "2");
  EXPECT_EQ(p.AGrid.Cell(2, 4), "4");
  // Criteria names in both tables.
  EXPECT_EQ(p.FGrid.Cell(0, 2), "looks");
  EXPECT_EQ(p.AGrid.Cell(0, 4), "looks");
  // Bounds; reals come back in general format ("1.0" -> "1", "0.50" -> "0.5").
  EXPECT_EQ(p.BGrid.Cell(1, 1), "0.5");
  EXPECT_EQ(p.BGrid.Cell(2, 1), "1");
  EXPECT_EQ(p.BGrid.Cell(1, 3), "0.1");
  EXPECT_EQ(p.BGrid.Cell(2, 2), "0.5");
  // Norm row and the added constraint.
  EXPECT_EQ(p.CGrid.Cell(1, 0), "Norm");
  EXPECT_EQ(p.CGrid.Cell(2, 0), "ad1");
  EXPECT_EQ(p.CGrid.Cell(2, 3), "-1");
  EXPECT_EQ(p.CGrid.Cell(2, 4), ">=");
  EXPECT_EQ(p.CGrid.Cell(2, 5), "0.5");
  // Bookkeeping.
  EXPECT_EQ(p.Caption, "Vesk 2  -  /data/small.tri");
  EXPECT_EQ(p.SaveFileName, "/data/small");
  EXPECT_EQ(p.OpenFileName, "/data/small.tri");
  EXPECT_FALSE(p.DataModified);
  EXPECT_TRUE(p.TablesShown);
}

TEST(ProblemFileRead, NamesKeepBlanksAndTabsButNoCarriageReturn) {
  Problem p;
  ScriptedDialogs d;
  std::string text = Small("a 0\t1\t2\t1\t2\t  two  words\tand a tab \r\na 1\t3\t4\t2\t2\t\r\n");
  ASSERT_TRUE(ReadProblemData(p, d, text, "x.tri"));
  EXPECT_EQ(p.AGrid.Cell(1, 0), "  two  words\tand a tab ");
  EXPECT_EQ(p.AGrid.Cell(2, 0), "");
  EXPECT_EQ(p.FGrid.Cell(0, 1), "price");
  // The same file with LF line ends reads to the same tables.
  std::string lf;
  for (char c : text)
    if (c != '\r') lf += c;
  Problem q;
  ASSERT_TRUE(ReadProblemData(q, d, lf, "x.tri"));
  EXPECT_EQ(q.AGrid, p.AGrid);
  EXPECT_EQ(q.FGrid, p.FGrid);
  EXPECT_EQ(q.CGrid, p.CGrid);
}

TEST(ProblemFileRead, VersionComesFromTheFirstLine) {
  // Version-1 layout: s lines with q and p only, a lines without names, no
  // names section.
  const std::string body = Lines({"d 1 1", "p 1 10 20", "s 1 1 1 2", "s 1 2 3 4", "a 7 1 2 1 2", "a 8 3 4 1 1",
                                  "K S 1 1", "K S 2 1", "K I 1 0", "K I 2 0", "K N 0", "L M 1", "L m 0.5"});
  struct Case {
    const char* first;
    bool version2;
  } cases[] = {{"t 2 2 2", false}, {"c Size of the problem:\r\nt 2 2 2", false}, {"c version 1\r\nt 2 2 2", false},
               {"c version 10\r\nt 2 2 2", false}, {"c version 3\r\nt 2 2 2", true}, {"c version 2\r\nt 2 2 2", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first);
    std::string text = std::string(c.first) + "\r\n" + body;
    if (c.version2) {
      // The same content in the version-2 layout.
      text = std::string(c.first) + "\r\n" +
             Lines({"d 1 1", "p 1 10 20", "s 1 1 1 2 5 6", "s 1 2 3 4 7 8", "a 7 1 2 1 2 one", "a 8 3 4 1 1 two",
                    "K S 1 1", "K S 2 1", "K I 1 0", "K I 2 0", "K N 0", "L M 1", "L m 0.5", "n", "c1", "c2"});
    }
    Problem p;
    ScriptedDialogs d;
    ASSERT_TRUE(ReadProblemData(p, d, text, "v.tri")) << testing::PrintToString(d.Texts());
    if (c.version2) {
      EXPECT_EQ(p.FGrid.Cell(4, 1), "5");
      EXPECT_EQ(p.FGrid.Cell(5, 2), "8");
      EXPECT_EQ(p.AGrid.Cell(1, 0), "one");
      EXPECT_EQ(p.FGrid.Cell(0, 2), "c2");
    } else {
      EXPECT_EQ(p.FGrid.Cell(4, 1), "0");
      EXPECT_EQ(p.FGrid.Cell(5, 2), "0");
      EXPECT_EQ(p.AGrid.Cell(1, 0), "7");
      EXPECT_EQ(p.AGrid.Cell(2, 0), "8");
      EXPECT_EQ(p.FGrid.Cell(0, 2), "g2");
      EXPECT_EQ(p.AGrid.Cell(0, 4), "g2");
    }
  }
}

TEST(ProblemFileRead, BoundLinesForEveryWeightDoNotCount) {
  // "K M 0.3" sets every upper bound but the 2n "K I"/"K S" lines are still
  // needed: here the later "K S 2" overrides it for k2.
  std::string text = Small();
  text.replace(text.find("K S 1\t0.5\r\n"), 11, "K M 0.3\r\nK m 0.05\r\n");
  text.replace(text.find("K I 1\t0\r\n"), 9, "K S 1\t0.4\r\nK I 1\t0\r\n");
  Problem p;
  ScriptedDialogs d;
  ASSERT_TRUE(ReadProblemData(p, d, text, "x.tri")) << testing::PrintToString(d.Texts());
  EXPECT_EQ(p.BGrid.Cell(2, 2), "0.4");
  EXPECT_EQ(p.BGrid.Cell(2, 3), "0.6");
  EXPECT_EQ(p.BGrid.Cell(1, 2), "0");
  EXPECT_EQ(p.BGrid.Cell(1, 3), "0.1");
}

TEST(ProblemFileRead, ConstraintForms) {
  Problem p;
  ScriptedDialogs d;
  ASSERT_TRUE(ReadProblemData(p, d,
                              Small("a 0 1 2 1 2 x\r\na 1 1 2 1 2 y\r\n",
                                    "K N 4\r\nK g 0 -1 -1 -0.54\r\nK e 0.5 1 0 -2\r\nK G -2 1\r\nK E 0 2\r\n"),
                              "x.tri"))
      << testing::PrintToString(d.Texts());
  ASSERT_EQ(p.NumConstraints, 5);
  const std::vector<std::vector<std::string>> expected = {
      {"ad1", "0", "1", "1", "<=", "0.54"},  // negative right-hand side: the row flips
      {"ad2", "-0.5", "-1", "0", "=", "2"},  // an equality keeps its sign
      {"ad3", "0", "1", "-1", ">=", "0"},    // ordinal form: +1/-1 on the named weights
      {"ad4", "0", "", "1", "=", "0"},
  };
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 6; ++c) EXPECT_EQ(p.CGrid.Cell(2 + r, c), expected[r][c]) << "row " << 2 + r << " col " << c;
}

TEST(ProblemFileRead, UnknownSymbolsOnlyWarn) {
  std::string text =
      Small("a 0 1 2 1 2 x\r\na 1 1 2 1 2 y\r\n", "K N 2\r\nK x 1 2 3 4\r\nK g 1 1 1 1\r\n");
  text.replace(text.find("K S 1"), 0, "K Q 5\r\n");
  text.replace(text.find("L M"), 0, "L z\r\n");
  Problem p;
  ScriptedDialogs d;
  ASSERT_TRUE(ReadProblemData(p, d, text, "x.tri"));
  EXPECT_EQ(d.Texts(MessageKind::Warning),
            (std::vector<std::string>{"Unknown symbol when reading bound 0", "Unknown symbol when reading constraint 1",
                                      "Unknown symbol when reading lambda bound 1"}));
  // The unknown constraint adds no row; the next one keeps its own number.
  EXPECT_EQ(p.NumConstraints, 2);
  EXPECT_EQ(p.CGrid.Cell(2, 0), "ad2");
  // "L z" used up the first lambda turn, so only "L M" was read.
  EXPECT_EQ(p.BGrid.Cell(2, 1), "1");
  EXPECT_EQ(p.BGrid.Cell(1, 1), "0.5");
}

// Replaces the first occurrence of `from` in the small problem.
std::string SmallWith(const std::string& from, const std::string& to) {
  std::string text = Small();
  auto at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return text.replace(at, from.size(), to);
}

TEST(ProblemFileRead, FailuresNameWhatWasBeingRead) {
  const std::string small = Small();
  struct Case {
    std::string text;
    std::string message;
  } cases[] = {
      {"", "Unexpected e.o.f. when reading size of the problem"},
      {"c version 2\r\nc nothing else\r\n", "Unexpected e.o.f. when reading size of the problem"},
      {small.substr(0, small.find("s 1\t2")), "Unexpected e.o.f. when reading thesholds 1/1"},
      {small.substr(0, small.find("\t4\t2\t2\tsecond")), "Unexpected e.o.f. when reading action 2"},
      {small.substr(0, small.find("K I 2")), "Unexpected e.o.f. when reading bound 3"},
      {small.substr(0, small.find("K N")) + "K", "Unexpected e.o.f. when reading No. Constraints"},
      {small.substr(0, small.find("L M")), "Unexpected e.o.f. when reading lambda bound 1"},
      {small.substr(0, small.find("looks")), "Unexpected e.o.f. when reading criteria names"},
      {SmallWith("t 2\t2\t2", "t 2\tx\t2"), "Error on reading reading size of the problem"},
      {SmallWith("p 1\t50", "p 1\t5O"), "Error on reading reading profiles"},
      {SmallWith("s 1\t2\t5", "s 1\t2\t-"), "Error on reading reading thesholds 1/2"},
      {SmallWith("a 1\t3\t4\t2", "a 1\t3\t4\t2.0"), "Error on reading reading action 2"},
      {SmallWith("K I 2\t0.1", "K I 2\t1e999"), "Error on reading reading bound 3"},
      {SmallWith("K g\t0\t1", "K g\tnan\t1"), "Error on reading reading constraint 1"},
      {SmallWith("L m 0.5", "L m .."), "Error on reading reading lambda bound 2"},
      // Counts and indices outside their range, with the line they came from.
      {SmallWith("t 2\t2\t2", "t 0\t2\t2"), "Number of criteria 0 out of range in line 3 when reading size of the problem"},
      {SmallWith("t 2\t2\t2", "t 2\t1\t2"), "Number of categories 1 out of range in line 3 when reading size of the problem"},
      {SmallWith("t 2\t2\t2", "t 2\t2\t0"), "Number of actions 0 out of range in line 3 when reading size of the problem"},
      {SmallWith("t 2\t2\t2", "t 2\t2\t100000000"),
       "Number of actions 100000000 out of range in line 3 when reading size of the problem"},
      {SmallWith("t 2\t2\t2", "t 2\t2000000000\t2"),
       "Number of categories 2000000000 out of range in line 3 when reading size of the problem"},
      {SmallWith("s 1\t2\t5", "s 2\t2\t5"), "Profile number 2 out of range in line 7 when reading thesholds 2/2"},
      {SmallWith("s 1\t2\t5", "s 1\t0\t5"), "Criterion number 0 out of range in line 7 when reading thesholds 1/0"},
      {SmallWith("1\t2\tfirst", "0\t2\tfirst"), "Lower category 0 out of range in line 8 when reading action 1"},
      {SmallWith("1\t2\tfirst", "1\t3\tfirst"), "Upper category 3 out of range in line 8 when reading action 1"},
      {SmallWith("2\t2\tsecond", "2\t1\tsecond"),
       "Lower category 2 above upper category 1 in line 9 when reading action 2"},
      {SmallWith("K S 2", "K S 3"), "Criterion number 3 out of range in line 11 when reading bound 1"},
      {SmallWith("K N 1", "K N -1"), "Number of constraints -1 out of range in line 14 when reading No. Constraints"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    Problem p;
    ScriptedDialogs d;
    EXPECT_FALSE(ReadProblemData(p, d, c.text, "x.tri"));
    ASSERT_EQ(d.messages.size(), 1u) << testing::PrintToString(d.Texts());
    EXPECT_EQ(d.messages[0], (ScriptedDialogs::Message{MessageKind::Error, c.message}));
  }
  // Ordinal indices beyond the criteria.
  Problem p;
  ScriptedDialogs d;
  EXPECT_FALSE(ReadProblemData(p, d, Small("a 0 1 2 1 2 x\r\na 1 1 2 1 2 y\r\n", "K N 1\r\nK G 1 -3\r\n"), "x"));
  EXPECT_EQ(d.Texts(), (std::vector<std::string>{"Criterion number -3 out of range in line 15 when reading constraint 1"}));
}

// Everything a failed read must leave alone.
void ExpectSameProblem(const Problem& a, const Problem& b) {
  EXPECT_EQ(a.AGrid, b.AGrid);
  EXPECT_EQ(a.FGrid, b.FGrid);
  EXPECT_EQ(a.BGrid, b.BGrid);
  EXPECT_EQ(a.CGrid, b.CGrid);
  EXPECT_EQ(a.NumCriteria, b.NumCriteria);
  EXPECT_EQ(a.NumActions, b.NumActions);
  EXPECT_EQ(a.NumCategories, b.NumCategories);
  EXPECT_EQ(a.NumConstraints, b.NumConstraints);
  EXPECT_EQ(a.DataModified, b.DataModified);
  EXPECT_EQ(a.ResultsAvailable, b.ResultsAvailable);
  EXPECT_EQ(a.Caption, b.Caption);
  EXPECT_EQ(a.SaveFileName, b.SaveFileName);
  EXPECT_EQ(a.OpenFileName, b.OpenFileName);
  EXPECT_EQ(a.ResultsGeneration, b.ResultsGeneration);
}

TEST(ProblemFileRead, FailedReadKeepsThePreviousProblem) {
  Problem previous;
  LayoutTables(previous, 3, 4, 3, true);
  previous.AGrid.SetCell(1, 0, "unsaved work");
  previous.DataModified = true;
  previous.ResultsAvailable = true;
  previous.Caption = CaptionFor("/old.tri");
  const std::string small = Small();
  const std::string broken[] = {
      SmallWith("t 2\t2\t2", "t 20\t2\t2"),             // too many criteria
      small.substr(0, small.find("K N")),               // ends inside the file
      SmallWith("K I 2\t0.1", "K I 2\tabc"),            // a bad number late in the file
  };
  for (const auto& text : broken) {
    Problem p = previous;
    ScriptedDialogs d;
    EXPECT_FALSE(ReadProblemData(p, d, text, "/new.tri"));
    ExpectSameProblem(p, previous);
  }
  Problem p = previous;
  ScriptedDialogs d;
  EXPECT_FALSE(ReadProblemData(p, d, SmallWith("t 2\t2\t2", "t 20\t2\t2"), "/new.tri"));
  EXPECT_EQ(d.Texts(), (std::vector<std::string>{"Maximum number of criteria exceeded"}));

  // Names that are no readable file: missing, a folder, a device that never
  // ends.
  const auto folder = test::FreshTempDir("read-folder");
  for (const std::string& path : {std::string("/nonexistent/dir/file.tri"), folder.string(), std::string("/dev/zero")}) {
    SCOPED_TRACE(path);
    ScriptedDialogs d2;
    EXPECT_FALSE(ReadProblemFile(p, d2, path));
    EXPECT_EQ(d2.Texts(MessageKind::Error), (std::vector<std::string>{"Error on reading : Could not open file"}));
    ExpectSameProblem(p, previous);
  }
  std::filesystem::remove_all(folder);
}

TEST(ProblemFileRead, SuccessKeepsTheTogglesAndResetsResults) {
  Problem p;
  LayoutTables(p, 3, 4, 3, true);
  p.UsevjDown = false;
  p.UseujDown = false;
  p.ResultsAvailable = true;
  p.DataModified = true;
  const auto generation = p.ResultsGeneration;
  ScriptedDialogs d;
  ASSERT_TRUE(ReadProblemData(p, d, Small(), "/n.tri"));
  EXPECT_FALSE(p.UsevjDown);
  EXPECT_FALSE(p.ResultsAvailable);
  EXPECT_FALSE(p.DataModified);
  EXPECT_GT(p.ResultsGeneration, generation);
  EXPECT_EQ(p.NumCriteria, 2);
}

struct ExampleFacts {
  const char* file;
  int n, m, K, constraints;
  const char* firstAction;
  const char* firstCriterion;
};

TEST(ProblemFileRead, SharedExamplesRead) {
  auto dir = test::ExamplesDir();
  if (!dir) GTEST_SKIP() << "examples folder absent";
  const ExampleFacts facts[] = {
      {"conflict.tri", 3, 8, 3, 1, "action 1", "cost"},
      {"imprecise_holes.tri", 3, 9, 5, 2, "action 1", "cost"},
      {"ordinal.tri", 4, 10, 4, 5, "action 1", "cost"},
      {"version1.tri", 4, 8, 3, 2, "0", "g1"},
      {"volume2.tri", 2, 4, 2, 1, "strong on price", "price"},
  };
  for (const auto& f : facts) {
    SCOPED_TRACE(f.file);
    Problem p;
    ScriptedDialogs d;
    ASSERT_TRUE(ReadProblemFile(p, d, (*dir / f.file).string())) << testing::PrintToString(d.Texts());
    EXPECT_TRUE(d.messages.empty());
    EXPECT_EQ(p.NumCriteria, f.n);
    EXPECT_EQ(p.NumActions, f.m);
    EXPECT_EQ(p.NumCategories, f.K);
    EXPECT_EQ(p.NumConstraints, f.constraints);
    EXPECT_EQ(p.AGrid.Cell(1, 0), f.firstAction);
    EXPECT_EQ(p.FGrid.Cell(0, 1), f.firstCriterion);
    EXPECT_EQ(p.Caption, CaptionFor((*dir / f.file).lexically_normal().string()));
  }
  // The ordinal file's constraints as the table shows them.
  Problem p;
  ScriptedDialogs d;
  ASSERT_TRUE(ReadProblemFile(p, d, (*dir / "ordinal.tri").string()));
  EXPECT_EQ(p.CGrid.Cell(2, 2), "-1");
  EXPECT_EQ(p.CGrid.Cell(2, 3), "1");
  EXPECT_EQ(p.CGrid.Cell(2, 6), ">=");
  EXPECT_EQ(p.CGrid.Cell(3, 4), "1");
  EXPECT_EQ(p.CGrid.Cell(3, 5), "-1");
  EXPECT_EQ(p.CGrid.Cell(3, 6), "=");
  EXPECT_EQ(p.CGrid.Cell(4, 2), "1");
  EXPECT_EQ(p.CGrid.Cell(4, 5), "1");
  EXPECT_EQ(p.CGrid.Cell(4, 6), "<=");
  EXPECT_EQ(p.CGrid.Cell(4, 7), "0.54");
}

}  // namespace
}  // namespace vesk::core
