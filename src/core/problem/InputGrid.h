#pragma once
// The editing rules of the four input tables, decided here so that a window
// only asks: which typed keys a cell takes (and what a key press does to the
// problem), how cells are painted, which CGrid cells can be selected, and
// what the mouse does on AGrid.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/problem/Problem.h"
#include "core/problem/UserDialogs.h"

namespace vesk::core {

enum class InputTable { AGrid, FGrid, BGrid, CGrid };

// The text table behind an input table.
Grid& TableGrid(Problem& problem, InputTable table);
const Grid& TableGrid(const Problem& problem, InputTable table);

// Key codes besides the printable characters. Backspace and Delete edit the
// cell; the others only move the editor and never touch the problem.
namespace keys {
inline constexpr char32_t Backspace = U'\b';
inline constexpr char32_t Delete = 0x7F;
inline constexpr char32_t Tab = U'\t';
inline constexpr char32_t Enter = U'\r';
inline constexpr char32_t Escape = 0x1B;
// Arrow and paging keys, mapped into a private-use range by the window.
inline constexpr char32_t Left = 0xF700, Right = 0xF701, Up = 0xF702, Down = 0xF703;
inline constexpr char32_t Home = 0xF704, End = 0xF705, PageUp = 0xF706, PageDown = 0xF707;
}  // namespace keys

// True for the keys that only move the editor (Tab, Enter, Escape, arrows,
// Home, End, PageUp, PageDown).
bool IsNavigationKey(char32_t key);

struct KeyDecision {
  bool keep = false;          // the key reaches the cell
  bool resultsReset = false;  // ResetResults was called
};

// A key typed into cell (row, column) of `table`. A navigation key is kept and
// changes nothing. Any other key in an editable cell sets DataModified and
// calls ResetResults, then is kept only when the cell's filter allows it:
//   AGrid performances, BGrid, FGrid outside the direction row, CGrid outside
//   the sign column: digits '-' '.'; FGrid direction row: '-' '1';
//   CGrid sign column: '<' '=' '>'; Backspace and Delete everywhere.
// A key in a CGrid row that is not an added constraint (the Norm row) is
// dropped and calls ResetResults only. Fixed cells (headers, labels, AGrid's
// name and example columns) take no keys and change nothing.
KeyDecision FilterKey(Problem& problem, InputTable table, int row, int column, char32_t key);

// Text pasted into a cell goes through the same filter as if typed: returns
// the characters kept, with the side effects of one typed key (none when the
// text is empty).
std::string FilterPastedText(Problem& problem, InputTable table, int row, int column, std::string_view text);

// A text pasted into data cell (row, column) of `table` as one piece of a
// block: the text the cell then holds, or nothing when the cell would not take
// it. Blanks around the piece are dropped and a decimal comma becomes a point;
// then every character must pass the cell's key filter (as if typed) and the
// whole must be a value of the cell: a number, a direction ("1" or "-1") in
// FGrid's direction row, a sign (see IsConstraintSign) in CGrid's sign column.
std::optional<std::string> PastedCellText(const Problem& problem, InputTable table, int row, int column,
                                          std::string_view text);

// The signs a constraint may have: "<", "<=", "=", ">=", ">". A sign is read
// by its first character.
bool IsConstraintSign(std::string_view text);

// The sign of added constraint `row` chosen as a whole (the drop-down of the
// sign cell). The cell changes, with DataModified and ResetResults, when
// `sign` is a constraint sign whose first character differs from the cell's;
// true then.
bool SetConstraintSign(Problem& problem, int row, std::string_view sign);

// Whether cell (row, column) of `table` is a data cell that takes typed keys:
// not a header, a row label or one of AGrid's name and example columns. (The
// CGrid Norm row is such a cell but drops every key; see CGridCellSelectable.)
bool InputCellEditable(const Problem& problem, InputTable table, int row, int column);

// True when CGrid row `row` holds an added constraint (label empty or
// starting with 'a'); false for the Norm row.
bool CGridRowEditable(const Problem& problem, int row);

// Whether cell (row, column) of CGrid may be selected: data cells of added
// constraint rows only.
bool CGridCellSelectable(const Problem& problem, int row, int column);

// Cell painting.
enum class CellColour { Normal, Lime, Aqua, Yellow };

struct Rgb {
  int red, green, blue;
  bool operator==(const Rgb&) const = default;
};
// Lime (0,255,0), aqua (0,255,255), yellow (255,255,0); Normal has no colour
// of its own and gives white, the grid's own background.
Rgb ColourRgb(CellColour colour);
inline constexpr Rgb kWhiteText{255, 255, 255};

struct CellPaint {
  CellColour background = CellColour::Normal;
  bool whiteText = false;  // the text is drawn in white, so it seems blank
  bool drawBlank = false;  // the text is not drawn at all
  bool operator==(const CellPaint&) const = default;
};

// AGrid: the name cell is aqua when the action has an assignment example
// (ELow > 1 or EHigh < K); the ELow cell is yellow when ELow > 1, the EHigh
// cell when EHigh < K. A cell that does not read as an integer counts as no
// example.
CellPaint AGridCellPaint(const Problem& problem, int row, int column);

// FGrid data columns: the g(b%d) rows and the direction row are lime; a u or
// v threshold is drawn in white unless it is greater than p (the cell above
// u, two rows above v) and non-zero. Cells that do not read as numbers draw
// normally.
CellPaint FGridCellPaint(const Problem& problem, int row, int column);

// CGrid: the Norm row's data cells are yellow; a cell holding exactly "0"
// outside the RHS column is drawn blank.
CellPaint CGridCellPaint(const Problem& problem, int row, int column);

// FGrid rows shown: the "u%d" rows while both toggles are down, the "v%d"
// rows while "Use vj" is down, every other row always.
bool FGridRowShown(const Problem& problem, int row);

// The mouse on AGrid.
struct GridCell {
  int row = 0, column = 0;
  bool operator==(const GridCell&) const = default;
};

// The current cell after a button press on `clicked`: a click on the name or
// example columns moves to column 3 of that row, a click on the header row
// keeps the current row.
GridCell AGridMouseDownCell(const Problem& problem, GridCell current, GridCell clicked);

// The button release on `released`, with `current` the current cell: the
// criterion header of the current column renames the criterion; the name,
// ELow and EHigh cells of the current row rename the action or change its
// example. Anything else (a drag to another cell) does nothing. True when the
// problem changed.
bool AGridMouseUp(Problem& problem, UserDialogs& dialogs, GridCell current, GridCell released);

// The names typed in place: criterion of AGrid column `column` (>= 3; the name
// goes to AGrid row 0 and FGrid row 0, column - 2) and action of AGrid row
// `row`. Each sets DataModified and calls ResetResults when the name changed;
// true then.
bool SetCriterionName(Problem& problem, int column, std::string_view name);
bool SetActionName(Problem& problem, int row, std::string_view name);

// Whether AGrid cell (row, column) is an action's name, ELow or EHigh, which
// take a name or a category typed in place (never as they are typed: see
// SetActionName and SetExampleText).
bool InPlaceCellEditable(const Problem& problem, int row, int column);

// The items of the sign cell's drop-down: "<", "=", ">".
const std::vector<std::string>& SignChoices();

// Keys that ELow and EHigh take when a category is typed in place: digits,
// Backspace and Delete.
bool ExampleKeyAllowed(char32_t key);

// A key typed into the in-place editor of AGrid cell (row, column): a name
// takes every key, ELow and EHigh the keys of ExampleKeyAllowed; navigation
// keys always pass. Text pasted into such an editor keeps the characters that
// would be typed (and, in a name, no line ends).
bool InPlaceKeyAllowed(const Problem& problem, int row, int column, char32_t key);
std::string InPlacePastedText(const Problem& problem, int row, int column, std::string_view text);

// Whether AGrid's header of `column` is a criterion's name, which takes a
// name typed in place (see SetCriterionName).
bool CriterionHeaderEditable(const Problem& problem, int column);

// A category typed in place into ELow (column 1) or EHigh (column 2) of
// action `row`: accepted as the prompts of ChangeExampleLow and
// ChangeExampleHigh accept it, otherwise "Invalid category" and nothing
// changes. An empty text changes nothing. True when the example changed.
bool SetExampleText(Problem& problem, UserDialogs& dialogs, int row, int column, std::string_view text);

// Delete on ELow or EHigh of action `row`: that bound of the example goes back
// to 1 (ELow) or K (EHigh). True when the example changed.
bool ClearExample(Problem& problem, int row, int column);

// "Edit criterion name" for the criterion of AGrid column `column` (>= 3):
// the name goes to AGrid row 0 and FGrid row 0 (column - 2).
bool RenameCriterion(Problem& problem, UserDialogs& dialogs, int column);

// "Edit action name" for the action of AGrid row `row`.
bool RenameAction(Problem& problem, UserDialogs& dialogs, int row);

// "Assignment example for action <name>" / "Lower category": accepted when
// 1 <= value <= EHigh of the row, otherwise "Invalid category".
bool ChangeExampleLow(Problem& problem, UserDialogs& dialogs, int row);

// The same with "Upper category": accepted when ELow <= value <= K.
bool ChangeExampleHigh(Problem& problem, UserDialogs& dialogs, int row);

}  // namespace vesk::core
