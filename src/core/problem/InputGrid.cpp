#include "core/problem/InputGrid.h"

#include <climits>
#include <optional>

#include "core/problem/CsvPerformances.h"
#include "core/problem/Numbers.h"

namespace vesk::core {
namespace {

bool NumberKey(char32_t key) { return (key >= U'0' && key <= U'9') || key == U'-' || key == U'.'; }
bool EditingKey(char32_t key) { return key == keys::Backspace || key == keys::Delete; }

// Cells that hold the problem's data and take typed keys.
bool EditableCell(const Problem& p, InputTable table, int row, int column) {
  if (!p.TablesShown || !TableGrid(p, table).Contains(row, column) || row < 1) return false;
  return column >= (table == InputTable::AGrid ? 3 : 1);
}

// Which keys the cell takes, the editing keys aside.
bool KeyAllowed(const Problem& p, InputTable table, int row, int column, char32_t key) {
  if (EditingKey(key)) return true;
  if (table == InputTable::FGrid && row == p.DirectionRow()) return key == U'-' || key == U'1';
  if (table == InputTable::CGrid && column == p.SignColumn()) return key == U'<' || key == U'=' || key == U'>';
  return NumberKey(key);
}

// The side effects of one key press (not a navigation key) on cell (row,
// column); false when the cell keeps no key at all (a fixed cell, whose press
// changes nothing, or the Norm row, whose press only resets the results).
bool PressKey(Problem& p, InputTable table, int row, int column) {
  if (!EditableCell(p, table, row, column)) return false;
  p.ResetResults();
  if (table == InputTable::CGrid && !CGridRowEditable(p, row)) return false;
  p.DataModified = true;
  return true;
}

std::optional<double> Real(const Grid& g, int row, int column) { return ParseReal(g.CellOrEmpty(row, column)); }
std::optional<int> Integer(const Grid& g, int row, int column) { return ParseInt(g.CellOrEmpty(row, column)); }

// A u or v threshold is in effect when it is greater than p and not zero; a
// cell that does not read as a number is drawn as it stands.
bool ThresholdShownWhite(const Grid& g, int row, int pRow, int column) {
  const auto value = Real(g, row, column);
  const auto p = Real(g, pRow, column);
  if (!value || !p) return false;
  return !(*value > *p && *value != 0.0);
}

void Refresh(Problem& p) {
  p.DataModified = true;
  p.ResetResults();
}

std::string ExampleCaption(const Problem& p, int row) {
  return "Assignment example for action " + p.AGrid.Cell(row, 0);
}

bool IsActionRow(const Problem& p, int row) { return p.TablesShown && row >= 1 && row <= p.NumActions; }

// The value typed or chosen for ELow (column 1) or EHigh (column 2) of `row`:
// ELow within 1..EHigh, EHigh within ELow..K; otherwise "Invalid category".
bool ApplyExample(Problem& p, UserDialogs& dialogs, int row, int column, int value) {
  const bool low = column == 1;
  const int lowest = low ? 1 : Integer(p.AGrid, row, 1).value_or(1);
  const int highest = low ? Integer(p.AGrid, row, 2).value_or(p.NumCategories) : p.NumCategories;
  if (value < lowest || value > highest) {
    dialogs.Error("Invalid category");
    return false;
  }
  p.AGrid.SetCell(row, column, std::to_string(value));
  Refresh(p);
  return true;
}

}  // namespace

Grid& TableGrid(Problem& p, InputTable table) {
  switch (table) {
    case InputTable::AGrid: return p.AGrid;
    case InputTable::FGrid: return p.FGrid;
    case InputTable::BGrid: return p.BGrid;
    case InputTable::CGrid: return p.CGrid;
  }
  return p.AGrid;
}

const Grid& TableGrid(const Problem& p, InputTable table) { return TableGrid(const_cast<Problem&>(p), table); }

bool IsNavigationKey(char32_t key) {
  switch (key) {
    case keys::Tab:
    case keys::Enter:
    case keys::Escape:
    case keys::Left:
    case keys::Right:
    case keys::Up:
    case keys::Down:
    case keys::Home:
    case keys::End:
    case keys::PageUp:
    case keys::PageDown: return true;
    default: return false;
  }
}

KeyDecision FilterKey(Problem& p, InputTable table, int row, int column, char32_t key) {
  if (IsNavigationKey(key)) return {.keep = true, .resultsReset = false};
  const auto before = p.ResultsGeneration;
  const bool takesKeys = PressKey(p, table, row, column);
  return {.keep = takesKeys && KeyAllowed(p, table, row, column, key), .resultsReset = p.ResultsGeneration != before};
}

std::string FilterPastedText(Problem& p, InputTable table, int row, int column, std::string_view text) {
  std::string kept;
  if (text.empty() || !PressKey(p, table, row, column)) return kept;
  for (char c : text) {
    const char32_t key = static_cast<unsigned char>(c);
    if (!EditingKey(key) && KeyAllowed(p, table, row, column, key)) kept.push_back(c);
  }
  return kept;
}

std::optional<std::string> PastedCellText(const Problem& p, InputTable table, int row, int column,
                                          std::string_view text) {
  std::string piece = WithDecimalPoint(TrimBlanks(text));
  for (char c : piece)
    if (EditingKey(static_cast<unsigned char>(c)) || !KeyAllowed(p, table, row, column, static_cast<unsigned char>(c)))
      return std::nullopt;
  if (table == InputTable::CGrid && column == p.SignColumn()) {
    if (!IsConstraintSign(piece)) return std::nullopt;
  } else if (table == InputTable::FGrid && row == p.DirectionRow()) {
    if (piece != "1" && piece != "-1") return std::nullopt;
  } else if (!ParseReal(piece)) {
    return std::nullopt;
  }
  return piece;
}

bool IsConstraintSign(std::string_view text) {
  return text == "<" || text == "<=" || text == "=" || text == ">=" || text == ">";
}

bool SetConstraintSign(Problem& p, int row, std::string_view sign) {
  if (!CGridCellSelectable(p, row, p.SignColumn()) || !IsConstraintSign(sign)) return false;
  const std::string& now = p.CGrid.Cell(row, p.SignColumn());
  if (!now.empty() && now.front() == sign.front()) return false;
  p.CGrid.SetCell(row, p.SignColumn(), std::string(sign));
  Refresh(p);
  return true;
}

bool InputCellEditable(const Problem& p, InputTable table, int row, int column) {
  return EditableCell(p, table, row, column);
}

bool CGridRowEditable(const Problem& p, int row) {
  const std::string& label = p.CGrid.CellOrEmpty(row, 0);
  return label.empty() || label.front() == 'a';
}

bool CGridCellSelectable(const Problem& p, int row, int column) {
  return EditableCell(p, InputTable::CGrid, row, column) && CGridRowEditable(p, row);
}

Rgb ColourRgb(CellColour colour) {
  switch (colour) {
    case CellColour::Lime: return {0, 255, 0};
    case CellColour::Aqua: return {0, 255, 255};
    case CellColour::Yellow: return {255, 255, 0};
    case CellColour::Normal: break;
  }
  return {255, 255, 255};
}

CellPaint AGridCellPaint(const Problem& p, int row, int column) {
  CellPaint paint;
  if (!IsActionRow(p, row) || column < 0 || column > 2) return paint;
  const auto low = Integer(p.AGrid, row, 1);
  const auto high = Integer(p.AGrid, row, 2);
  const bool lowSet = low && *low > 1;
  const bool highSet = high && *high < p.NumCategories;
  if ((column == 0 && (lowSet || highSet)) || (column == 1 && lowSet) || (column == 2 && highSet))
    paint.background = column == 0 ? CellColour::Aqua : CellColour::Yellow;
  return paint;
}

CellPaint FGridCellPaint(const Problem& p, int row, int column) {
  CellPaint paint;
  if (!p.TablesShown || column < 1 || !p.FGrid.Contains(row, column) || row < 1) return paint;
  switch ((row - 1) % 5) {
    case 0: paint.background = CellColour::Lime; break;
    case 3: paint.whiteText = ThresholdShownWhite(p.FGrid, row, row - 1, column); break;
    case 4: paint.whiteText = ThresholdShownWhite(p.FGrid, row, row - 2, column); break;
    default: break;
  }
  return paint;
}

CellPaint CGridCellPaint(const Problem& p, int row, int column) {
  CellPaint paint;
  if (!p.TablesShown || row < 1 || column < 1 || !p.CGrid.Contains(row, column)) return paint;
  if (!CGridRowEditable(p, row)) paint.background = CellColour::Yellow;
  paint.drawBlank = column != p.RhsColumn() && p.CGrid.Cell(row, column) == "0";
  return paint;
}

bool FGridRowShown(const Problem& p, int row) {
  if (row < 1 || row >= p.DirectionRow()) return true;
  switch ((row - 1) % 5) {
    case 3: return URowsShown(p);
    case 4: return VRowsShown(p);
    default: return true;
  }
}

GridCell AGridMouseDownCell(const Problem&, GridCell current, GridCell clicked) {
  GridCell cell = clicked;
  if (cell.column <= 2) cell.column = 3;
  if (clicked.row == 0) cell.row = current.row;
  return cell;
}

bool AGridMouseUp(Problem& p, UserDialogs& dialogs, GridCell current, GridCell released) {
  if (!p.TablesShown || !p.AGrid.Contains(released.row, released.column)) return false;
  if (released.row == 0) {
    if (released.column >= 3 && released.column == current.column) return RenameCriterion(p, dialogs, released.column);
    return false;
  }
  if (released.row != current.row) return false;
  switch (released.column) {
    case 0: return RenameAction(p, dialogs, released.row);
    case 1: return ChangeExampleLow(p, dialogs, released.row);
    case 2: return ChangeExampleHigh(p, dialogs, released.row);
    default: return false;
  }
}

bool CriterionHeaderEditable(const Problem& p, int column) {
  return p.TablesShown && column >= 3 && column < p.AGrid.ColCount();
}

bool SetCriterionName(Problem& p, int column, std::string_view name) {
  if (!CriterionHeaderEditable(p, column) || p.AGrid.Cell(0, column) == name) return false;
  p.AGrid.SetCell(0, column, std::string(name));
  p.FGrid.SetCell(0, column - 2, std::string(name));
  Refresh(p);
  return true;
}

bool SetActionName(Problem& p, int row, std::string_view name) {
  if (!IsActionRow(p, row) || p.AGrid.Cell(row, 0) == name) return false;
  p.AGrid.SetCell(row, 0, std::string(name));
  Refresh(p);
  return true;
}

bool InPlaceCellEditable(const Problem& p, int row, int column) {
  return IsActionRow(p, row) && column >= 0 && column <= 2;
}

const std::vector<std::string>& SignChoices() {
  static const std::vector<std::string> choices = {"<", "=", ">"};
  return choices;
}

bool ExampleKeyAllowed(char32_t key) { return (key >= U'0' && key <= U'9') || EditingKey(key); }

bool InPlaceKeyAllowed(const Problem& p, int row, int column, char32_t key) {
  if (!InPlaceCellEditable(p, row, column)) return false;
  return column == 0 || IsNavigationKey(key) || ExampleKeyAllowed(key);
}

std::string InPlacePastedText(const Problem& p, int row, int column, std::string_view text) {
  std::string kept;
  for (char c : text) {
    const char32_t key = static_cast<unsigned char>(c);
    if (c != '\r' && c != '\n' && !IsNavigationKey(key) && InPlaceKeyAllowed(p, row, column, key)) kept.push_back(c);
  }
  return kept;
}

bool SetExampleText(Problem& p, UserDialogs& dialogs, int row, int column, std::string_view text) {
  if (!IsActionRow(p, row) || (column != 1 && column != 2) || TrimBlanks(text).empty()) return false;
  const auto value = ParseInt(text);
  if (!value) {
    dialogs.Error("Invalid category");
    return false;
  }
  return ApplyExample(p, dialogs, row, column, *value);
}

bool ClearExample(Problem& p, int row, int column) {
  if (!IsActionRow(p, row) || (column != 1 && column != 2)) return false;
  const std::string open = column == 1 ? "1" : std::to_string(p.NumCategories);
  if (p.AGrid.Cell(row, column) == open) return false;
  p.AGrid.SetCell(row, column, open);
  Refresh(p);
  return true;
}

bool RenameCriterion(Problem& p, UserDialogs& dialogs, int column) {
  if (!p.TablesShown || column < 3 || column >= p.AGrid.ColCount()) return false;
  auto name = dialogs.PromptText("Edit criterion name", "New name for this criterion", p.AGrid.Cell(0, column));
  if (!name) return false;
  SetCriterionName(p, column, *name);
  Refresh(p);
  return true;
}

bool RenameAction(Problem& p, UserDialogs& dialogs, int row) {
  if (!IsActionRow(p, row)) return false;
  auto name = dialogs.PromptText("Edit action name", "New name for this action", p.AGrid.Cell(row, 0));
  if (!name) return false;
  SetActionName(p, row, *name);
  Refresh(p);
  return true;
}

bool ChangeExampleLow(Problem& p, UserDialogs& dialogs, int row) {
  if (!IsActionRow(p, row)) return false;
  const auto value = dialogs.PromptInteger(ExampleCaption(p, row), "Lower category", INT_MIN, INT_MAX);
  return value && ApplyExample(p, dialogs, row, 1, *value);
}

bool ChangeExampleHigh(Problem& p, UserDialogs& dialogs, int row) {
  if (!IsActionRow(p, row)) return false;
  const auto value = dialogs.PromptInteger(ExampleCaption(p, row), "Upper category", INT_MIN, INT_MAX);
  return value && ApplyExample(p, dialogs, row, 2, *value);
}

}  // namespace vesk::core
