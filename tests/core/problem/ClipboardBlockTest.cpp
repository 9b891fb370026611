#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ProblemBuilders.h"
#include "core/problem/ClipboardBlock.h"
#include "core/problem/ScriptedDialogs.h"

namespace vesk::core {
namespace {

using test::MakeProblem;

// n = 3, m = 3, K = 3 with one added constraint "ad2" (CGrid row 2; sign
// column 5, RHS column 6).
Problem Sample() {
  Problem p = MakeProblem(3, 3, 3);
  p.CGrid.Resize(3, p.CGrid.ColCount());
  p.NumConstraints = 2;
  const char* row[] = {"ad2", "0", "1", "0", "0", "<=", "0"};
  for (int c = 0; c < 7; ++c) p.CGrid.SetCell(2, c, row[c]);
  p.AGrid.SetCell(2, 0, "Birch & Co");
  p.AGrid.SetCell(0, 4, "quality");
  return p;
}

TEST(ClipboardBlock, ParsesSpreadsheetAndCsvText) {
  struct Case {
    const char* what;
    const char* text;
    CellBlock block;
  } const cases[] = {
      {"tabs and a final line end", "11\t12\n13\t14\n", {{"11", "12"}, {"13", "14"}}},
      {"CR LF line ends", "1\t2\r\n3\t4", {{"1", "2"}, {"3", "4"}}},
      {"one value with its line end", "5\n", {{"5"}}},
      {"CSV with ';' keeps decimal commas", "1,5;2\n3;4,25\n", {{"1,5", "2"}, {"3", "4,25"}}},
      {"CSV with ','", "1,2\n3,4\n", {{"1", "2"}, {"3", "4"}}},
      {"quoted pieces", "\"a\tb\"\t\"say \"\"x\"\"\"\n", {{"a\tb", "say \"x\""}}},
      {"rows of different lengths", "1\t2\t3\n4\n", {{"1", "2", "3"}, {"4"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string error;
    const auto block = ParseBlock(c.text, error);
    ASSERT_TRUE(block) << error;
    EXPECT_EQ(*block, c.block);
  }
  std::string error;
  EXPECT_FALSE(ParseBlock("\"open\t1\n", error));
  EXPECT_NE(error.find("not closed"), std::string::npos);

  EXPECT_TRUE(IsBlockText("1\t2"));
  EXPECT_TRUE(IsBlockText("7\n"));
  EXPECT_FALSE(IsBlockText("1,5"));
}

TEST(ClipboardBlock, BlockTextReadsBackAsTheSameBlock) {
  const CellBlock block = {{"1.5", "", "a\tb"}, {"line\nbreak", "\"q\"", "-2"}};
  EXPECT_EQ(BlockText({{"1", "2"}, {"3", "4"}}), "1\t2\n3\t4\n");
  std::string error;
  EXPECT_EQ(ParseBlock(BlockText(block), error), block);
}

TEST(ClipboardBlock, AcceptedBlocksFillTheirCellsAsOneChange) {
  struct Case {
    const char* what;
    InputTable table;
    CellArea selection;
    const char* text;
    CellArea filled;
    std::vector<std::tuple<int, int, const char*>> cells;  // (row, column, text) afterwards
  } const cases[] = {
      {"AGrid performances", InputTable::AGrid, {1, 3}, "11\t12\n13\t14\n", {1, 3, 2, 2},
       {{1, 3, "11"}, {1, 4, "12"}, {2, 3, "13"}, {2, 4, "14"}, {1, 5, "0"}}},
      {"decimal commas and blanks", InputTable::AGrid, {3, 4}, " 1,5 \t-2,25\n", {3, 4, 1, 2},
       {{3, 4, "1.5"}, {3, 5, "-2.25"}}},
      {"CSV with ';'", InputTable::BGrid, {1, 2}, "0,1;0,2\n0,6;0,7\n", {1, 2, 2, 2},
       {{1, 2, "0.1"}, {1, 3, "0.2"}, {2, 2, "0.6"}, {2, 3, "0.7"}}},
      {"one value over a selection", InputTable::AGrid, {1, 3, 3, 2}, "7\n", {1, 3, 3, 2},
       {{1, 3, "7"}, {2, 4, "7"}, {3, 4, "7"}, {1, 5, "0"}}},
      {"FGrid directions", InputTable::FGrid, {11, 1}, "-1\t1\t-1\n", {11, 1, 1, 3},
       {{11, 1, "-1"}, {11, 2, "1"}, {11, 3, "-1"}}},
      // "Use uj" is up: the u rows (4 and 9) are passed over.
      {"FGrid rows as shown", InputTable::FGrid, {3, 1}, "1\n2\n3\n", {3, 1, 4, 1},
       {{3, 1, "1"}, {4, 1, "0"}, {5, 1, "2"}, {6, 1, "3"}}},
      {"CGrid coefficients and sign", InputTable::CGrid, {2, 1}, "0.5\t1\t0\t0\t>=\t0.25\n", {2, 1, 1, 6},
       {{2, 1, "0.5"}, {2, 5, ">="}, {2, 6, "0.25"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Problem p = Sample();
    ScriptedDialogs dialogs;
    const auto generation = p.ResultsGeneration;
    EXPECT_EQ(PasteBlock(p, dialogs, c.table, c.selection, c.text), std::optional<CellArea>(c.filled));
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(p.DataModified);
    EXPECT_EQ(p.ResultsGeneration, generation + 1);  // reset once
    for (const auto& [row, column, text] : c.cells)
      EXPECT_EQ(TableGrid(p, c.table).Cell(row, column), text) << row << "," << column;
  }
}

TEST(ClipboardBlock, RefusedBlocksChangeNothingAndNameTheFirstBadPiece) {
  struct Case {
    const char* what;
    InputTable table;
    CellArea selection;
    const char* text;
    const char* message;
  } const cases[] = {
      {"a letter in a number cell", InputTable::AGrid, {1, 3}, "1\t2\n3\tx4\n",
       "Cannot paste \"x4\" into row 2 (Birch & Co), column 4 (quality): the cell does not take it. "
       "Nothing was pasted."},
      {"a piece that is no number", InputTable::BGrid, {1, 1}, "1-2\t0\n",
       "Cannot paste \"1-2\" into row 1 (LB - Lower Bound), column 1 (lambda): the cell does not take it. "
       "Nothing was pasted."},
      {"an empty piece", InputTable::AGrid, {1, 3}, "1\t\t3\n",
       "Cannot paste \"\" into row 1 (0), column 4 (quality): the cell does not take it. Nothing was pasted."},
      {"a bad sign", InputTable::CGrid, {2, 5}, "=>\n",
       "Cannot paste \"=>\" into row 2 (ad2), column 5 (<,=,>): the cell does not take it. Nothing was pasted."},
      {"a direction other than 1 and -1", InputTable::FGrid, {11, 1}, "1\t11\n",
       "Cannot paste \"11\" into row 11 (MAX/min?(1/-1)), column 2 (g2): the cell does not take it. "
       "Nothing was pasted."},
      {"past the last row", InputTable::AGrid, {3, 3}, "1\n2\n",
       "Cannot paste here: the block runs past the table at row 4, column 3 (g1). Nothing was pasted."},
      {"past the last column", InputTable::AGrid, {1, 5}, "1\t2\n",
       "Cannot paste here: the block runs past the table at row 1 (0), column 6. Nothing was pasted."},
      {"into the Norm row", InputTable::CGrid, {1, 1}, "1\n",
       "Cannot paste here: row 1 (Norm), column 1 (lambda) cannot be edited. Nothing was pasted."},
      {"an unclosed quote", InputTable::AGrid, {1, 3}, "\"1\t2\n",
       "Cannot paste: a quoted field is not closed (line 1). Nothing was pasted."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Problem p = Sample();
    p.BGrid.SetCell(1, 0, "LB - Lower Bound");
    p.AGrid.SetCell(1, 0, "0");
    const auto before = test::Contents(p);
    ScriptedDialogs dialogs;
    EXPECT_FALSE(PasteBlock(p, dialogs, c.table, c.selection, c.text));
    EXPECT_EQ(dialogs.messages, (std::vector<ScriptedDialogs::Message>{{MessageKind::Error, c.message}}));
    EXPECT_TRUE(test::Contents(p) == before);
  }
}

}  // namespace
}  // namespace vesk::core
