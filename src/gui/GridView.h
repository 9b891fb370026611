#pragma once
// A core text table shown in a QTableView.
//
// The model presents a core Grid cell for cell with the same indices: model
// index (r, c) is grid cell (r, c). The view shows grid row 0 as its
// horizontal header and grid column 0 as its vertical header, so that the
// header row and the label column stay in place while the table scrolls, as
// the fixed row and column of a string grid do. Further fixed columns (AGrid's
// ELow and EHigh) are ordinary cells that take no editor.
//
// What a cell looks like and whether it can be edited is decided in core; the
// window hands those decisions to the model as callbacks and the delegate
// only paints them.
#include <QAbstractTableModel>
#include <QColor>
#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "core/problem/Grid.h"

namespace vesk::gui {

// The painting of one cell (or header section).
struct CellLook {
  std::optional<QColor> background;  // nothing: the grid's own background
  std::optional<QColor> text;        // nothing: the grid's own text colour
  bool blank = false;                // the text is not drawn
  bool hatched = false;              // black forward-diagonal hatching on the background
};

// Item data role carrying a CellLook's hatching flag (bool).
inline constexpr int kHatchedRole = Qt::UserRole + 1;

class GridModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  // `source` returns the grid to show; it is asked at every access, so the
  // grid may be replaced or resized (call Reload afterwards).
  using Source = std::function<const core::Grid&()>;
  explicit GridModel(Source source, QObject* parent = nullptr);

  // Painting rule of cell (row, column); also asked for header sections
  // (row 0 for the horizontal header, column 0 for the vertical one).
  std::function<CellLook(int row, int column)> look;
  // Whether cell (row, column) takes an editor (default: none does).
  std::function<bool(int row, int column)> editable;
  // Whether cell (row, column) may become the current cell or be selected
  // (default: every cell may). A cell that may not is skipped by the keyboard
  // and ignored by the mouse, so it never gets the editor either.
  std::function<bool(int row, int column)> selectable;
  // Writes an edited text into the problem; false refuses it.
  std::function<bool(int row, int column, const std::string& text)> commit;

  // The grid changed its shape (or was replaced): the view is rebuilt.
  void Reload();
  // Cell texts or painting changed: every cell is repainted.
  void Repaint();

  const core::Grid& grid() const { return source_(); }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  QVariant Styled(int row, int column, int role) const;
  Source source_;
};

// Paints a cell as a string grid does: background, then the text at the
// cell's top-left corner, with the look of the model's rules.
class GridDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// A header that paints its sections with the model's look (a label column
// whose cells are coloured, such as AGrid's names).
class GridHeader : public QHeaderView {
  Q_OBJECT
 public:
  explicit GridHeader(Qt::Orientation orientation, QWidget* parent = nullptr);

 protected:
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
};

class GridView : public QTableView {
  Q_OBJECT
 public:
  // The view is named `name` (AGrid, FGrid, ...), so tests and style rules
  // find it by its name.
  GridView(const QString& name, GridModel* model, QWidget* parent = nullptr);

  GridModel* gridModel() const { return model_; }

  // The toolbar's cell-size controls.
  void SetDefaultRowHeight(int pixels);
  void SetDefaultColumnWidth(int pixels);
  void SetFontSize(int points);
  int DefaultRowHeight() const { return rowHeight_; }
  int DefaultColumnWidth() const { return columnWidth_; }

  // Applies the default sizes to every row and column again and hides the
  // header row and label column from the body (after a Reload).
  void ApplySizes();

  // Grid column 0 is the label column (shown as the vertical header, the
  // default) or, when `label` is false, an ordinary column of the body and
  // the grid has no row labels (DGrid).
  void SetHasLabelColumn(bool label);
  // The label column is `factor` times the default column width (ICGrid and
  // IPGrid: 2).
  void SetLabelColumnWidthFactor(int factor);

  // Rows that have height 0 (FGrid's u and v rows when their toggle is up).
  std::function<bool(int row)> rowShown;

  // The rectangle of grid cell (row, column) in the viewport's coordinates.
  QRect CellRect(int row, int column) const;

  // Hints: over a cell (headers included) whose text is wider than the
  // default column width the hint is the cell's full text, valid while the
  // pointer stays within 3 pixels; elsewhere it is the grid's own toolTip().
  // Returns the grid cell under `pos` of `widget` (the viewport or a header's
  // viewport), or (-1, -1).
  std::pair<int, int> CellAt(const QWidget* widget, const QPoint& pos) const;

 protected:
  bool viewportEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool ShowHint(QWidget* widget, QHelpEvent* event);

  GridModel* model_;
  int rowHeight_ = 16;
  int columnWidth_ = 48;
  bool labelColumn_ = true;
  int labelFactor_ = 1;
};

}  // namespace vesk::gui
