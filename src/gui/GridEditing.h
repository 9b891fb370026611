#pragma once
// Editing the cells of the input tables: a line editor whose every key press
// and paste goes through the table's key filter before it reaches the text,
// a drop-down for a cell that holds one of a few choices (the constraint
// sign), and a delegate that creates them and writes their text into the cell
// as it changes, as the in-place editor of a string grid does.
//
// Keys the editor does not use go on to the table: Up and Down; Left and
// Right at the edge of the text or over a text that is wholly selected; Home
// and End at the edge of the text; Ctrl+Home, Ctrl+End and Ctrl+A; Ctrl+C
// with no text selected copies the cell.
#include <QComboBox>
#include <QLineEdit>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/problem/InputGrid.h"
#include "gui/GridView.h"

namespace vesk::gui {

// The filters one input table applies; the owner wires them to core.
struct KeyFilters {
  // A key typed into cell (row, column): whether the key reaches the text.
  std::function<bool(int row, int column, char32_t key)> key;
  // Text pasted into cell (row, column): the characters kept.
  std::function<std::string(int row, int column, const std::string& text)> paste;
  // Text pasted that is a block of cells (it holds tabs or line ends): the
  // table pastes it as a block instead.
  std::function<void(const std::string& text)> block;
  // The choices of a cell that takes one of a few texts (a drop-down); empty
  // for a cell that is typed.
  std::function<std::vector<std::string>(int row, int column)> choices;
  // The cell follows the editor as it is typed (true), or takes its text when
  // the editor closes.
  bool live = true;
};

// The key code the filter sees for a key event, or nothing for a key that
// neither types nor edits (a modifier alone, a function key, Ctrl+C).
// Editing shortcuts (Ctrl+X, Ctrl+Z, Ctrl+K ...) count as Delete.
std::optional<char32_t> FilterKeyCode(const QKeyEvent& event);

class FilteredLineEdit : public QLineEdit {
  Q_OBJECT
 public:
  FilteredLineEdit(int row, int column, const KeyFilters& filters, QWidget* parent);

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void PasteFiltered(const QString& text);
  // Whether a key that moves the caret goes to the table instead.
  bool LeavesText(const QKeyEvent& event) const;

  int row_, column_;
  KeyFilters filters_;
};

// The drop-down of a cell with choices. Typing a choice's first character
// chooses it (through the key filter, as typed keys go); Alt+Down or F4 opens
// the list; Up, Down, Left, Right, Tab go on to the table.
class ChoiceEdit : public QComboBox {
  Q_OBJECT
 public:
  ChoiceEdit(int row, int column, const KeyFilters& filters, QWidget* parent);

  // Shows the choice whose first character is the text's first character.
  void ShowText(const QString& text);

 signals:
  // A choice was made by the person.
  void chosen();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Choose(int index);

  int row_, column_;
  KeyFilters filters_;
};

class GridEditDelegate : public GridDelegate {
  Q_OBJECT
 public:
  explicit GridEditDelegate(QObject* parent = nullptr) : GridDelegate(parent) {}

  KeyFilters filters;

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
};

}  // namespace vesk::gui
