// Reading MPS text: both layouts, every section and bound type, and the
// errors a broken file must produce.
#include "cli/mps/MpsReader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>

#include "SharedData.h"
#include "TestPaths.h"

namespace vesk::mps {
namespace {

// One fixed-format data line with its fields placed at columns 2, 5, 15, 25,
// 40 and 50 (numbers are right-aligned in their 12 columns, as writers do).
std::string Fx(std::string f1, std::string f2 = "", std::string f3 = "", std::string f4 = "",
               std::string f5 = "", std::string f6 = "") {
  std::string line(61, ' ');
  auto put = [&](std::size_t col, const std::string& s) { line.replace(col - 1, s.size(), s); };
  put(2, f1);
  put(5, f2);
  put(15, f3);
  if (!f4.empty()) put(37 - f4.size(), f4);
  put(40, f5);
  if (!f6.empty()) put(62 - f6.size(), f6);
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line + "\n";
}

const MpsColumn& Column(const MpsModel& m, const std::string& name) {
  for (const auto& c : m.columns)
    if (c.name == name) return c;
  throw std::runtime_error("no column " + name);
}

const MpsRow& Row(const MpsModel& m, const std::string& name) {
  for (const auto& r : m.rows)
    if (r.name == name) return r;
  throw std::runtime_error("no row " + name);
}

double Coefficient(const MpsModel& m, const std::string& column, const std::string& row) {
  int i = -1;
  for (std::size_t k = 0; k < m.rows.size(); ++k)
    if (m.rows[k].name == row) i = static_cast<int>(k);
  for (const auto& e : Column(m, column).entries)
    if (e.row == i) return e.value;
  return 0;
}

TEST(MpsReader, FixedFormatKeepsBlanksInsideAndBeforeNames) {
  // Rows "COST" (objective, not first), "R 1", " LEAD"; columns "X 1" and " Y".
  std::string text = "NAME          BLANKS   some extra text\r\n"
                     "ROWS\r\n" +
                     Fx("L", "R 1") + Fx("N", "COST") + Fx("G", " LEAD") + Fx("N", "FREE") +
                     "COLUMNS\r\n" + Fx("", "X 1", "COST", "1.", "R 1", "-.5") + Fx("", "X 1", " LEAD", "2") +
                     Fx("", " Y", "R 1", "1.5E+01", "FREE", "9") + "RHS\r\n" + Fx("", "", "R 1", "4") +
                     Fx("", "", " LEAD", "-1") + "ENDATA\r\n";
  MpsModel m = ReadMps(text);
  EXPECT_EQ(m.format, MpsFormat::Fixed);
  EXPECT_EQ(m.name, "BLANKS");
  EXPECT_EQ(m.objectiveName, "COST");
  ASSERT_EQ(m.rows.size(), 2u);  // the second N row is dropped
  EXPECT_EQ(m.rows[0].name, "R 1");
  EXPECT_EQ(m.rows[1].name, " LEAD");
  EXPECT_EQ(m.rows[1].type, 'G');
  ASSERT_EQ(m.columns.size(), 2u);
  EXPECT_EQ(m.columns[0].name, "X 1");
  EXPECT_EQ(m.columns[1].name, " Y");
  EXPECT_EQ(Column(m, "X 1").cost, 1.0);
  EXPECT_EQ(Coefficient(m, "X 1", "R 1"), -0.5);
  EXPECT_EQ(Coefficient(m, "X 1", " LEAD"), 2.0);
  EXPECT_EQ(Coefficient(m, " Y", "R 1"), 15.0);
  EXPECT_EQ(Column(m, " Y").entries.size(), 1u);  // the free row's entry is gone
  EXPECT_EQ(Row(m, "R 1").rhs, 4.0);
  EXPECT_EQ(Row(m, " LEAD").rhs, -1.0);
}

TEST(MpsReader, FreeFormatWhenLinesDoNotFitTheFixedFields) {
  std::string text =
      "NAME free_model\n"
      "OBJSENSE\n    MAX\n"
      "ROWS\n N  profit_total\n L  capacity_limit\n E\teq\n"
      "COLUMNS\n"
      "    product_number_one  profit_total  3  capacity_limit  1\n"
      "    product_number_one  eq  1\n"
      "    y  capacity_limit  2\n"
      "RHS\n    capacity_limit 10 eq 2\n"  // no set name: an even number of fields
      "BOUNDS\n UP BND y 4\n FR product_number_one\n MI BND y\n"
      "ENDATA\n";
  MpsModel m = ReadMps(text);
  EXPECT_EQ(m.format, MpsFormat::Free);
  EXPECT_EQ(m.sense, ObjectiveSense::Maximise);
  EXPECT_EQ(m.name, "free_model");
  EXPECT_EQ(Column(m, "product_number_one").cost, 3.0);
  EXPECT_EQ(Coefficient(m, "y", "capacity_limit"), 2.0);
  EXPECT_EQ(Row(m, "capacity_limit").rhs, 10.0);
  EXPECT_EQ(Row(m, "eq").rhs, 2.0);
  EXPECT_EQ(Column(m, "product_number_one").lower, -kInfinity);
  EXPECT_EQ(Column(m, "product_number_one").upper, kInfinity);
  EXPECT_EQ(Column(m, "y").lower, -kInfinity);
  EXPECT_EQ(Column(m, "y").upper, 4.0);
}

TEST(MpsReader, ShortFreeTokensThatAllFitOneFixedFieldAreReadAsFree) {
  // "x c 1" sits inside columns 5-12: the fixed reading has no row name, the
  // free reading is complete.
  std::string text = "NAME\nROWS\n N  o\n L  c\nCOLUMNS\n    x c 1\n    x o 2\nRHS\n    c 3\nENDATA\n";
  MpsModel m = ReadMps(text);
  EXPECT_EQ(m.format, MpsFormat::Free);
  EXPECT_EQ(Coefficient(m, "x", "c"), 1.0);
  EXPECT_EQ(Column(m, "x").cost, 2.0);
  EXPECT_EQ(Row(m, "c").rhs, 3.0);
}

TEST(MpsReader, RangesAndObjectiveRhs) {
  std::string text = "NAME          R\nROWS\n" + Fx("N", "OBJ") + Fx("L", "L1") + Fx("G", "G1") + Fx("E", "EP") +
                     Fx("E", "EN") + "COLUMNS\n" + Fx("", "X", "OBJ", "1", "L1", "1") + Fx("", "X", "G1", "1", "EP", "1") +
                     Fx("", "X", "EN", "1") + "RHS\n" + Fx("", "RHS", "OBJ", "-7.113", "L1", "5") +
                     Fx("", "RHS", "EP", "2", "EN", "3") + "RANGES\n" + Fx("", "RNG", "L1", "-2", "G1", "4") +
                     Fx("", "RNG", "EP", "1.5", "EN", "-.25") + "ENDATA\n";
  MpsModel m = ReadMps(text);
  EXPECT_EQ(m.objectiveRhs, -7.113);
  EXPECT_DOUBLE_EQ(m.ObjectiveConstant(), 7.113);
  EXPECT_EQ(Row(m, "L1").range, -2.0);
  EXPECT_EQ(Row(m, "G1").range, 4.0);
  EXPECT_EQ(Row(m, "EP").range, 1.5);
  EXPECT_EQ(Row(m, "EN").range, -0.25);
}

struct BoundCase {
  const char* lines;  // free-format BOUNDS lines for column x (y is a second column)
  double lower, upper;
  bool integer;
};

TEST(MpsReader, BoundTypes) {
  const double inf = kInfinity;
  const BoundCase cases[] = {
      {" UP B x 4", 0, 4, false},
      {" UP B x -4", -inf, -4, false},  // negative UP with lower still 0
      {" LO B x -1\n UP B x -4", -1, -4, false},  // lower already set: kept
      {" LO B x 2.5", 2.5, inf, false},
      {" FX B x 3", 3, 3, false},
      {" FR B x", -inf, inf, false},
      {" UP B x 7\n MI B x", -inf, 7, false},
      {" UP B x 7\n PL B x", 0, inf, false},
      {" BV B x", 0, 1, true},
      {" BV x", 0, 1, true},
      {" LI B x -3", -3, inf, true},
      {" UI B x 9", 0, 9, true},
      {" UP B x 1e30", 0, inf, false},
      {" UP B x Infinity", 0, inf, false},
      {" UP B x 5\n UP OTHER x 6", 0, 5, false},  // a second bound set is ignored
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lines);
    std::string text = std::string("NAME\nROWS\n N obj\n L r\nCOLUMNS\n x r 1\n y r 1\nBOUNDS\n") + c.lines +
                       "\nENDATA\n";
    MpsModel m = ReadMps(text);
    const MpsColumn& x = Column(m, "x");
    EXPECT_EQ(x.lower, c.lower);
    if (c.upper == inf)
      EXPECT_GE(x.upper, 1e30);
    else
      EXPECT_EQ(x.upper, c.upper);
    EXPECT_EQ(x.integer, c.integer);
  }
}

TEST(MpsReader, MarkerBlocksMakeIntegerColumnsWithDefaultBounds) {
  std::string text = "NAME          M\nROWS\n" + Fx("N", "OBJ") + Fx("L", "C1") + "COLUMNS\n" +
                     Fx("", "A", "C1", "1") +
                     "    MARK0000  'MARKER'                 'INTORG'\n" + Fx("", "B", "C1", "1") +
                     Fx("", "C", "C1", "1") + "    MARK0001  'MARKER'                 'INTEND'\n" +
                     Fx("", "D", "OBJ", "1") + "RHS\n" + Fx("", "RHS", "C1", "1") + "BOUNDS\n" +
                     Fx("UP", "BND", "B", "1") + "ENDATA\n";
  MpsModel m = ReadMps(text);
  EXPECT_FALSE(Column(m, "A").integer);
  EXPECT_TRUE(Column(m, "B").integer);
  EXPECT_TRUE(Column(m, "C").integer);
  EXPECT_FALSE(Column(m, "D").integer);
  EXPECT_EQ(Column(m, "B").upper, 1.0);
  EXPECT_EQ(Column(m, "C").lower, 0.0);  // no bounds given: [0, +inf)
  EXPECT_EQ(Column(m, "C").upper, kInfinity);
  EXPECT_EQ(m.IntegerColumnCount(), 2u);
}

TEST(MpsReader, NumbersCommentsAndTextAfterEndata) {
  std::string text = "* comment\twith a tab\nNAME          N\nROWS\n" + Fx("N", "OBJ") + Fx("L", "C1") +
                     Fx("L", "C2") + Fx("L", "C3") + "*\n\nCOLUMNS\n" + Fx("", "X", "C1", "1.", "C2", ".5") +
                     Fx("", "X", "C3", "-.301", "OBJ", "+1.5E+03") + "ENDATA\nthis is not MPS at all\n";
  MpsModel m = ReadMps(text);
  EXPECT_EQ(Coefficient(m, "X", "C1"), 1.0);
  EXPECT_EQ(Coefficient(m, "X", "C2"), 0.5);
  EXPECT_EQ(Coefficient(m, "X", "C3"), -0.301);
  EXPECT_EQ(Column(m, "X").cost, 1500.0);
}

struct ErrorCase {
  const char* text;
  std::size_t line;
  const char* message;  // part of the message
};

TEST(MpsReader, BrokenFilesNameTheLineAndTheProblem) {
  const ErrorCase cases[] = {
      {"NAME\nROWS\n N o\n X r\nCOLUMNS\nENDATA\n", 4, "unknown row type"},
      {"NAME\nROWS\n N o\n L r\n L r\nCOLUMNS\nENDATA\n", 5, "defined twice"},
      {"NAME\nROWS\n N o\nCOLUMNS\n x nowhere 1\nENDATA\n", 5, "'nowhere' is not defined"},
      {"NAME\nROWS\n N o\n L r\nCOLUMNS\n x r 1x\nENDATA\n", 6, "malformed coefficient '1x'"},
      {"NAME\nROWS\n N o\n L r\nCOLUMNS\n x r nan\nENDATA\n", 6, "malformed coefficient"},
      {"NAME\nROWS\n N o\n L r\nCOLUMNS\n x r 1e999\nENDATA\n", 6, "malformed coefficient"},
      {"NAME\nROWS\n N o\n L r\nCOLUMNS\n x r 1\n x r 2\nENDATA\n", 7, "second entry for row 'r'"},
      {"NAME\nROWS\n N o\n L r\nCOLUMNS\n x r\nENDATA\n", 6, "COLUMNS line must hold"},
      {"NAME\nROWS\n N o\n L r\nCOLUMNS\n x r 1\nRHS\n r 1\n r 2\nENDATA\n", 9, "second right-hand side"},
      {"NAME\nROWS\n N o\n L r\nCOLUMNS\n x r 1\nRANGES\n o 1\nENDATA\n", 8, "objective row"},
      {"NAME\nROWS\n N o\n L r\nCOLUMNS\n x r 1\nBOUNDS\n SC B x 1\nENDATA\n", 8, "unknown bound type 'SC'"},
      {"NAME\nROWS\n N o\n L r\nCOLUMNS\n x r 1\nBOUNDS\n UP B z 1\nENDATA\n", 8, "'z' that is not in COLUMNS"},
      {"NAME\nROWS\n N o\n L r\nCOLUMNS\n x r 1\nBOUNDS\n UP B x\nENDATA\n", 8, "missing bound value"},
      {"NAME\nROWS\n N o\n L r\nCOLUMNS\n M 'MARKER' 'INTEND'\nENDATA\n", 6, "'INTEND' without 'INTORG'"},
      {"NAME\nROWS\n N o\n L r\nCOLUMNS\n M 'MARKER' 'FOO'\nENDATA\n", 6, "unknown MARKER keyword"},
      {"NAME\nROWS\n N o\n L r\nCOLUMNS\n x r 1\nSOS\nENDATA\n", 7, "unknown section 'SOS'"},
      {"NAME\nCOLUMNS\nROWS\nENDATA\n", 2, "COLUMNS before ROWS"},
      {"NAME\nROWS\n N o\n L r\nCOLUMNS\n x r 1\nRHS\nROWS\nENDATA\n", 8, "out of order"},
      {" x r 1\n", 1, "before the ROWS section"},
      {"NAME\nROWS\n N o\n L r\nCOLUMNS\n x r 1\n", 0, "missing ENDATA"},
      {"", 0, "missing ENDATA"},
      {"NAME\nENDATA\n", 0, "missing ROWS"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    try {
      ReadMps(c.text);
      ADD_FAILURE() << "no error";
    } catch (const MpsError& e) {
      EXPECT_EQ(e.line(), c.line) << e.what();
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
      if (c.line) {
        EXPECT_EQ(std::string(e.what()).rfind("line " + std::to_string(c.line) + ": ", 0), 0u);
      }
    }
  }
}

TEST(MpsReader, FixedFileErrorKeepsItsLineWhenFreeReadingFailsEarlier) {
  // Names with blanks make the free reading fail at once; the fixed reading
  // reaches the real problem further down.
  std::string text = "NAME\nROWS\n" + Fx("N", "O B J") + Fx("L", "R 1") + "COLUMNS\n" +
                     Fx("", "X 1", "R 1", "1") + Fx("", "X 1", "R 1", "2") + "ENDATA\n";
  try {
    ReadMps(text);
    FAIL() << "no error";
  } catch (const MpsError& e) {
    EXPECT_EQ(e.line(), 7u);
    EXPECT_NE(std::string(e.what()).find("second entry for row 'R 1'"), std::string::npos) << e.what();
  }
}

TEST(MpsReader, FixedFileWithAMisplacedFieldIsToldAboutThatLine) {
  std::string text = "NAME\nROWS\n" + Fx("N", "O B J") + Fx("L", "R 1") + "COLUMNS\n" +
                     Fx("", "X 1", "R 1", "1") + "    X 1       O B J       -1.23456789012\n" + "ENDATA\n";
  try {
    ReadMps(text);
    FAIL() << "no error";
  } catch (const MpsError& e) {
    EXPECT_EQ(e.line(), 7u);
    EXPECT_NE(std::string(e.what()).find("outside the fixed MPS fields"), std::string::npos) << e.what();
  }
}

TEST(MpsReader, MutatedInputNeverCrashes) {
  std::string base = "NAME          M\nROWS\n" + Fx("N", "OBJ") + Fx("L", "C1") + Fx("E", "C 2") + "COLUMNS\n" +
                     Fx("", "X", "C1", "1", "OBJ", "2") + "    MARK0000  'MARKER'                 'INTORG'\n" +
                     Fx("", "Y Z", "C 2", "-1.5") + "    MARK0001  'MARKER'                 'INTEND'\n" + "RHS\n" +
                     Fx("", "RHS", "C1", "4", "OBJ", "1") + "RANGES\n" + Fx("", "R", "C 2", "2") + "BOUNDS\n" +
                     Fx("UP", "BND", "X", "-3") + Fx("BV", "BND", "Y Z") + "ENDATA\n";
  ASSERT_NO_THROW(ReadMps(base));
  std::mt19937 rng(12345);
  const std::string alphabet = " \t\r\n*.-+eE0123456789'NAMERHSXYZ";
  for (int round = 0; round < 3000; ++round) {
    std::string s = base;
    int edits = 1 + static_cast<int>(rng() % 4);
    for (int k = 0; k < edits && !s.empty(); ++k) {
      std::size_t at = rng() % s.size();
      switch (rng() % 3) {
        case 0: s[at] = alphabet[rng() % alphabet.size()]; break;
        case 1: s.erase(at, 1 + rng() % 8); break;
        default: s.insert(at, 1, alphabet[rng() % alphabet.size()]); break;
      }
    }
    try {
      ReadMps(s);
    } catch (const MpsError&) {
    }
  }
}

// Every instance of the shared set reads with the row, column, nonzero and
// integer counts of reference.tsv.
TEST(MpsReader, SharedInstancesMatchTheirCounts) {
  auto dir = vesk::test::LpDataDir();
  if (!dir) GTEST_SKIP() << "LP data folder absent";
  const auto table = test::ReadReferenceTable(*dir);
  ASSERT_FALSE(table.empty()) << "reference.tsv missing";
  for (const auto& row : table) {
    SCOPED_TRACE(row.name);
    MpsModel m = ReadMpsFile(*dir / (row.name + ".mps"));
    EXPECT_EQ(m.rows.size(), row.rows);
    EXPECT_EQ(m.columns.size(), row.columns);
    EXPECT_EQ(m.NonzeroCount(), row.nonzeros);
    EXPECT_EQ(m.IntegerColumnCount(), row.integerColumns);
    EXPECT_FALSE(m.objectiveName.empty());
  }
}

}  // namespace
}  // namespace vesk::mps
