#pragma once
// Editing the cells of the input tables: a line editor whose every key press
// and paste goes through the table's key filter before it reaches the text,
// and a delegate that creates it and writes its text into the cell as it
// changes, as the in-place editor of a string grid does.
#include <QLineEdit>
#include <functional>
#include <optional>
#include <string>

#include "core/problem/InputGrid.h"
#include "gui/GridView.h"

namespace vesk::gui {

// The filters one input table applies; the owner wires them to core.
struct KeyFilters {
  // A key typed into cell (row, column): whether the key reaches the text.
  std::function<bool(int row, int column, char32_t key)> key;
  // Text pasted into cell (row, column): the characters kept.
  std::function<std::string(int row, int column, const std::string& text)> paste;
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

 private:
  void PasteFiltered(const QString& text);

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
