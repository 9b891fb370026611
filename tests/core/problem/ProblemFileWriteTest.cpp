// Writing problem files: the exact version-2 text, refused saves, the save and
// open commands with their dialogs.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "TestPaths.h"
#include "core/problem/ProblemFile.h"
#include "core/problem/ScriptedDialogs.h"

namespace vesk::core {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Spit(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

// A problem as New leaves it (2 criteria, 3 actions, 2 categories) with one
// added constraint row.
Problem NewProblem() {
  Problem p;
  LayoutTables(p, 2, 3, 2, true);
  p.CGrid.Resize(3, 6);
  p.NumConstraints = 2;
  for (int c = 0; c < 6; ++c) p.CGrid.SetCell(2, c, std::vector<std::string>{"ad1", "0", "1", "-1", ">=", "0"}[c]);
  return p;
}

// Compares two tables cell by cell, naming the first cells that differ. With
// `emptyIsZero` an empty cell equals "0" (constraint coefficients).
void ExpectSameGrid(const Grid& a, const Grid& b, const char* name, bool emptyIsZero = false) {
  ASSERT_EQ(a.RowCount(), b.RowCount()) << name;
  ASSERT_EQ(a.ColCount(), b.ColCount()) << name;
  auto norm = [emptyIsZero](const std::string& s) { return emptyIsZero && s.empty() ? std::string("0") : s; };
  for (int r = 0; r < a.RowCount(); ++r)
    for (int c = 0; c < a.ColCount(); ++c)
      EXPECT_EQ(norm(a.Cell(r, c)), norm(b.Cell(r, c))) << name << " row " << r << " column " << c;
}

void ExpectSameTables(const Problem& a, const Problem& b) {
  ExpectSameGrid(a.AGrid, b.AGrid, "AGrid");
  ExpectSameGrid(a.FGrid, b.FGrid, "FGrid");
  ExpectSameGrid(a.BGrid, b.BGrid, "BGrid");
  ExpectSameGrid(a.CGrid, b.CGrid, "CGrid", true);
  EXPECT_EQ(a.NumConstraints, b.NumConstraints);
}

TEST(ProblemFileWrite, NewProblemText) {
  Problem p = NewProblem();
  ScriptedDialogs d;
  auto text = ProblemFileText(p, d);
  ASSERT_TRUE(text);
  EXPECT_EQ(*text,
            "c version 2\r\nc Size of the problem:\r\nt 2\t2\t3\r\nc Directions of preference:\r\nd\t1\t1\r\n"
            "c Profiles:\r\np 1\t0\t0\r\nc Thresholds:\r\ns 1\t1\t0\t0\t0\t0\r\ns 1\t2\t0\t0\t0\t0\r\n"
            "c Actions:\r\na 0\t0\t0\t1\t2\t0\r\na 1\t0\t0\t1\t2\t1\r\na 2\t0\t0\t1\t2\t2\r\n"
            "c Upper bounds on weights:\r\nK S 1\t0.5\r\nK S 2\t0.5\r\nc Lower bounds on weights:\r\n"
            "K I 1\t0\r\nK I 2\t0\r\nc Additional constraints:\r\nK N 1\r\nK g\t0\t1\t-1\t0\r\n"
            "c Bounds on lambda:\r\nL M 1.0\r\nL m 0.5\r\nn name of criteria:\r\ng1\r\ng2\r\n"
            "c *** END OF FILE ***\r\n");
}

TEST(ProblemFileWrite, SignsAndEmptyCoefficients) {
  Problem p = NewProblem();
  p.FGrid.SetCell(p.DirectionRow(), 2, "-");  // anything but "1" is minimise
  const std::vector<std::vector<std::string>> rows = {
      {"ad1", "", "1", "2", "<=", "0.5"},   // "<": negated, the empty cell as 0
      {"ad2", "0.25", "", "1", ">", "3"},   // ">" alone: written as it stands
      {"ad3", "1", "0", "", "=", "0.70"},   // "=": cell texts unchanged
  };
  p.CGrid.Resize(5, 6);
  p.NumConstraints = 4;
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 6; ++c) p.CGrid.SetCell(2 + r, c, rows[r][c]);
  ScriptedDialogs d;
  auto text = ProblemFileText(p, d);
  ASSERT_TRUE(text);
  EXPECT_NE(text->find("d\t1\t-1\r\n"), std::string::npos);
  EXPECT_NE(text->find("K N 3\r\nK g\t0\t-1\t-2\t-0.5\r\nK g\t0.25\t0\t1\t3\r\nK e\t1\t0\t0\t0.70\r\n"),
            std::string::npos)
      << *text;

  // Reading it back: the negative right-hand side turns the row into "<="
  // again; the ">" row comes back as ">=".
  Problem back;
  ASSERT_TRUE(ReadProblemData(back, d, *text, "x.tri"));
  const std::vector<std::vector<std::string>> expected = {
      {"ad1", "0", "1", "2", "<=", "0.5"},
      {"ad2", "0.25", "0", "1", ">=", "3"},
      {"ad3", "1", "0", "0", "=", "0.7"},
  };
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 6; ++c) EXPECT_EQ(back.CGrid.Cell(2 + r, c), expected[r][c]) << r << "," << c;
  EXPECT_EQ(back.FGrid.Cell(back.DirectionRow(), 2), "-1");
}

TEST(ProblemFileWrite, SharedExamplesWriteBack) {
  auto dir = test::ExamplesDir();
  if (!dir) GTEST_SKIP() << "examples folder absent";
  const fs::path out = test::FreshTempDir("write-back");
  for (const char* name : {"conflict.tri", "imprecise_holes.tri", "volume2.tri", "version1.tri", "ordinal.tri"}) {
    SCOPED_TRACE(name);
    Problem p;
    ScriptedDialogs d;
    ASSERT_TRUE(ReadProblemFile(p, d, (*dir / name).string()));
    p.DataModified = true;
    d.saveFileAnswers.push_back((out / name).string());
    ASSERT_TRUE(WriteProblemFile(p, d, true)) << testing::PrintToString(d.Texts());
    EXPECT_TRUE(d.messages.empty());
    EXPECT_FALSE(p.DataModified);
    const std::string written = Slurp(out / name);
    const bool savedForm = std::string(name) != "version1.tri" && std::string(name) != "ordinal.tri";
    if (savedForm) {
      EXPECT_EQ(written, Slurp(*dir / name));
    } else {
      Problem again;
      ASSERT_TRUE(ReadProblemFile(again, d, (out / name).string()));
      ExpectSameTables(again, p);
      EXPECT_EQ(written.rfind("c version 2\r\n", 0), 0u);
    }
  }
  const std::string ordinal = Slurp(out / "ordinal.tri");
  EXPECT_NE(ordinal.find("K g\t0\t-1\t1\t0\t0\t0\r\nK e\t0\t0\t0\t1\t-1\t0\r\n"), std::string::npos);
  fs::remove_all(out);
}

TEST(ProblemFileWrite, NamesSurviveSaveAndReopen) {
  Problem p = NewProblem();
  p.AGrid.SetCell(1, 0, " spaced  name\twith tab ");
  p.AGrid.SetCell(2, 0, "");
  p.FGrid.SetCell(0, 1, "price in \teuro");
  p.AGrid.SetCell(0, 3, "price in \teuro");
  p.BGrid.SetCell(2, 1, "1");  // as the reader writes "1.0" back
  const fs::path dir = test::FreshTempDir("names");
  p.SaveFileName = (dir / "names").string();
  ScriptedDialogs d;
  ASSERT_TRUE(WriteProblemFile(p, d, false));
  Problem back;
  ASSERT_TRUE(ReadProblemFile(back, d, (dir / "names.tri").string()));
  ExpectSameTables(back, p);
  // Saving the reopened problem gives the same bytes again.
  const std::string first = Slurp(dir / "names.tri");
  ASSERT_TRUE(SaveData(back, d));
  EXPECT_EQ(Slurp(dir / "names.tri"), first);
  fs::remove_all(dir);
}

TEST(ProblemFileWrite, RefusesProblemsThatWouldNotReadBack) {
  struct Case {
    const char* what;
    void (*spoil)(Problem&);
    std::string message;
  } cases[] = {
      {"empty sign", [](Problem& p) { p.CGrid.SetCell(2, 4, ""); },
       "Cannot save: row 2, column 4 of table \"Constraints\" holds no sign (<, = or >)"},
      {"< row with text", [](Problem& p) { p.CGrid.SetCell(2, 4, "<="); p.CGrid.SetCell(2, 2, "-"); },
       "Cannot save: row 2, column 2 of table \"Constraints\" does not hold a number"},
      {"empty right-hand side", [](Problem& p) { p.CGrid.SetCell(2, 5, ""); },
       "Cannot save: row 2, column 5 of table \"Constraints\" does not hold a number"},
      {"empty performance", [](Problem& p) { p.AGrid.SetCell(3, 4, ""); },
       "Cannot save: row 3, column 4 of table \"Actions\" does not hold a number"},
      {"two numbers in a cell", [](Problem& p) { p.FGrid.SetCell(3, 1, "1 2"); },
       "Cannot save: row 3, column 1 of table \"Fixed Par.\" does not hold a number"},
      {"bound", [](Problem& p) { p.BGrid.SetCell(2, 1, "one"); },
       "Cannot save: row 2, column 1 of table \"Bounds\" does not hold a number"},
      {"category", [](Problem& p) { p.AGrid.SetCell(2, 2, "3"); },
       "Cannot save: row 2, column 2 of table \"Actions\" does not hold a category between 1 and 2"},
      {"crossed example", [](Problem& p) { p.AGrid.SetCell(1, 1, "2"); p.AGrid.SetCell(1, 2, "1"); },
       "Cannot save: the lower category of row 1 of table \"Actions\" is above its upper category"},
      {"name with a line break", [](Problem& p) { p.AGrid.SetCell(1, 0, "two\nlines"); },
       "Cannot save: row 1, column 0 of table \"Actions\" holds a line break"},
      {"criterion name", [](Problem& p) { p.FGrid.SetCell(0, 2, "ends in CR\r"); },
       "Cannot save: row 0, column 2 of table \"Fixed Par.\" holds a line break"},
      {"tables out of shape", [](Problem& p) { p.FGrid.Resize(p.FGrid.RowCount() - 1, p.FGrid.ColCount()); },
       "Cannot save: the tables do not match the size of the problem"},
      {"no problem", [](Problem& p) { p = Problem(); },
       "There is no problem to save: create one with New or open a file"},
  };
  const fs::path dir = test::FreshTempDir("refused");
  const fs::path target = dir / "old.tri";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Spit(target, "previous contents");
    Problem p = NewProblem();
    c.spoil(p);
    p.DataModified = true;
    p.Caption = CaptionFor(target.string());
    p.SaveFileName = target.string();
    ScriptedDialogs d;
    EXPECT_FALSE(WriteProblemFile(p, d, true));
    EXPECT_EQ(d.messages, (std::vector<ScriptedDialogs::Message>{{MessageKind::Error, c.message}}));
    EXPECT_TRUE(d.fileDialogs.empty());  // refused before asking for a name
    EXPECT_EQ(Slurp(target), "previous contents");
    EXPECT_TRUE(p.DataModified);
    EXPECT_EQ(p.Caption, CaptionFor(target.string()));
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
  fs::remove_all(dir);
}

TEST(ProblemFileWrite, FailedWriteKeepsStateAndOldFile) {
  const fs::path dir = test::FreshTempDir("diskerror");
  // A folder where the file should go: the rename fails, the folder stays.
  fs::create_directories(dir / "busy.tri" / "inside");
  for (const fs::path& name : {dir / "missing" / "x", dir / "busy"}) {
    SCOPED_TRACE(name.string());
    Problem p = NewProblem();
    p.DataModified = true;
    ScriptedDialogs d;
    d.saveFileAnswers.push_back(name.string());
    EXPECT_FALSE(WriteProblemFile(p, d, true));
    EXPECT_EQ(d.Texts(MessageKind::Error),
              (std::vector<std::string>{"Disk write error: check permissions and available size"}));
    EXPECT_TRUE(p.DataModified);
    EXPECT_EQ(p.Caption, kTitle);
  }
  EXPECT_TRUE(fs::is_directory(dir / "busy.tri" / "inside"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);  // no temporary left
  fs::remove_all(dir);
}

TEST(ProblemFileWrite, FileNameBookkeeping) {
  const fs::path dir = test::FreshTempDir("names");
  struct Case {
    const char* given;
    const char* written;
  } cases[] = {{"plain", "plain.tri"}, {"kept.tri", "kept.tri"}, {"upper.TRI", "upper.TRI.tri"}};
  for (const auto& c : cases) {
    Problem p = NewProblem();
    ScriptedDialogs d;
    d.saveFileAnswers.push_back((dir / c.given).string());
    ASSERT_TRUE(WriteProblemFile(p, d, true));
    EXPECT_EQ(d.fileDialogs, (std::vector<std::string>{kSaveFilter}));
    EXPECT_TRUE(fs::exists(dir / c.written)) << c.written;
    EXPECT_EQ(p.Caption, CaptionFor((dir / c.written).string()));
    EXPECT_EQ(p.OpenFileName, (dir / c.written).string());
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 3);

  // Cancelling the dialog writes nothing; the open dialog still takes the
  // save dialog's name.
  Problem p = NewProblem();
  p.DataModified = true;
  ScriptedDialogs d;
  EXPECT_FALSE(WriteProblemFile(p, d, true));
  EXPECT_TRUE(p.DataModified);
  EXPECT_EQ(p.OpenFileName, "output");
  fs::remove_all(dir);
}

TEST(ProblemFileWrite, SaveDataAsksOnlyWithoutAFile) {
  const fs::path dir = test::FreshTempDir("savedata");
  Problem p = NewProblem();
  ScriptedDialogs d;
  d.saveFileAnswers.push_back((dir / "first").string());
  ASSERT_TRUE(SaveData(p, d));  // bare caption: asks
  EXPECT_EQ(d.fileDialogs.size(), 1u);
  p.AGrid.SetCell(1, 0, "renamed");
  p.DataModified = true;
  ASSERT_TRUE(SaveData(p, d));  // the file is known: no dialog
  EXPECT_EQ(d.fileDialogs.size(), 1u);
  EXPECT_FALSE(p.DataModified);
  EXPECT_NE(Slurp(dir / "first.tri").find("\trenamed\r\n"), std::string::npos);
  fs::remove_all(dir);
}

TEST(ProblemFileWrite, OpenAsksToSaveModifiedWork) {
  const fs::path dir = test::FreshTempDir("open");
  Problem source = NewProblem();
  source.AGrid.SetCell(1, 0, "from file");
  source.SaveFileName = (dir / "source").string();
  ScriptedDialogs quiet;
  ASSERT_TRUE(WriteProblemFile(source, quiet, false));
  const std::string sourcePath = (dir / "source.tri").string();

  {  // Unmodified: no question, the file is read.
    Problem p = NewProblem();
    ScriptedDialogs d;
    d.openFileAnswers.push_back(sourcePath);
    ASSERT_TRUE(OpenProblem(p, d));
    EXPECT_TRUE(d.questions.empty());
    EXPECT_EQ(d.fileDialogs, (std::vector<std::string>{kOpenFilter}));
    EXPECT_EQ(p.AGrid.Cell(1, 0), "from file");
  }
  {  // Modified, No: opens without saving and clears DataModified.
    Problem p = NewProblem();
    p.DataModified = true;
    ScriptedDialogs d;
    d.AnswerConfirm(false);
    d.openFileAnswers.push_back(sourcePath);
    ASSERT_TRUE(OpenProblem(p, d));
    EXPECT_EQ(d.questions, (std::vector<std::string>{"Save current files?"}));
    EXPECT_FALSE(p.DataModified);
  }
  {  // Modified, Yes, save dialog cancelled: the Open stops.
    Problem p = NewProblem();
    p.DataModified = true;
    p.AGrid.SetCell(1, 0, "unsaved");
    ScriptedDialogs d;
    d.AnswerConfirm(true);
    d.saveFileAnswers.push_back(std::nullopt);
    d.openFileAnswers.push_back(sourcePath);
    EXPECT_FALSE(OpenProblem(p, d));
    EXPECT_EQ(d.fileDialogs, (std::vector<std::string>{kSaveFilter}));
    EXPECT_EQ(p.AGrid.Cell(1, 0), "unsaved");
    EXPECT_TRUE(p.DataModified);
  }
  {  // Modified, Yes: saved first, then opened.
    Problem p = NewProblem();
    p.DataModified = true;
    p.AGrid.SetCell(1, 0, "saved first");
    ScriptedDialogs d;
    d.AnswerConfirm(true);
    d.saveFileAnswers.push_back((dir / "work").string());
    d.openFileAnswers.push_back(sourcePath);
    ASSERT_TRUE(OpenProblem(p, d));
    EXPECT_NE(Slurp(dir / "work.tri").find("saved first"), std::string::npos);
    EXPECT_EQ(p.AGrid.Cell(1, 0), "from file");
    EXPECT_EQ(p.Caption, CaptionFor(sourcePath));
    EXPECT_EQ(p.SaveFileName, (dir / "source").string());
  }
  fs::remove_all(dir);
}

TEST(ProblemFileWrite, OpenNamedFile) {
  const fs::path dir = test::FreshTempDir("open-named");
  Problem source = NewProblem();
  source.AGrid.SetCell(1, 0, "from file");
  source.SaveFileName = (dir / "source").string();
  ScriptedDialogs quiet;
  ASSERT_TRUE(WriteProblemFile(source, quiet, false));
  const std::string sourcePath = (dir / "source.tri").string();
  const std::string missing = (dir / "gone.tri").string();

  {  // A missing file: its message, no question even with unsaved work, nothing changed.
    Problem p = NewProblem();
    p.DataModified = true;
    p.AGrid.SetCell(1, 0, "unsaved");
    ScriptedDialogs d;
    EXPECT_EQ(OpenProblemFile(p, d, missing), OpenResult::NotFound);
    EXPECT_EQ(d.Texts(MessageKind::Error), (std::vector<std::string>{"File not found: " + missing}));
    EXPECT_TRUE(d.questions.empty());
    EXPECT_EQ(p.AGrid.Cell(1, 0), "unsaved");
    EXPECT_TRUE(p.DataModified);
  }
  {  // Unsaved work, Yes, save dialog cancelled: stops before reading, nothing changed.
    Problem p = NewProblem();
    p.DataModified = true;
    p.AGrid.SetCell(1, 0, "unsaved");
    ScriptedDialogs d;
    d.AnswerConfirm(true);
    d.saveFileAnswers.push_back(std::nullopt);
    EXPECT_EQ(OpenProblemFile(p, d, sourcePath), OpenResult::NotOpened);
    EXPECT_EQ(d.questions, (std::vector<std::string>{"Save current files?"}));
    EXPECT_EQ(p.AGrid.Cell(1, 0), "unsaved");
    EXPECT_TRUE(p.DataModified);
  }
  {  // Unsaved work, No: read without an open dialog.
    Problem p = NewProblem();
    p.DataModified = true;
    ScriptedDialogs d;
    d.AnswerConfirm(false);
    EXPECT_EQ(OpenProblemFile(p, d, sourcePath), OpenResult::Opened);
    EXPECT_TRUE(d.fileDialogs.empty());
    EXPECT_EQ(p.AGrid.Cell(1, 0), "from file");
    EXPECT_EQ(p.Caption, CaptionFor(sourcePath));
    EXPECT_FALSE(p.DataModified);
  }
  {  // A file that is there but does not read: the reader's message, not "not found".
    Spit(dir / "bad.tri", "t x\r\n");
    Problem p = NewProblem();
    ScriptedDialogs d;
    EXPECT_EQ(OpenProblemFile(p, d, (dir / "bad.tri").string()), OpenResult::NotOpened);
    ASSERT_EQ(d.Texts(MessageKind::Error).size(), 1u);
    EXPECT_EQ(d.Texts(MessageKind::Error)[0].rfind("File not found", 0), std::string::npos);
  }
  fs::remove_all(dir);
}

}  // namespace
}  // namespace vesk::core
