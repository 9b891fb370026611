#pragma once
// A core text table shown in a QTableView.
//
// The model presents a core Grid cell for cell with the same indices: model
// index (r, c) is grid cell (r, c). The view shows grid row 0 as its
// horizontal header and, by default, grid column 0 as its vertical header, so
// that the header row and the label column stay in place while the table
// scrolls, as the fixed row and column of a string grid do. A table whose
// first columns are all fixed (AGrid's name, ELow and EHigh) shows them as
// cells of a second view laid over its left edge, which scrolls with it up and
// down but never sideways; the keyboard moves over both as over one table.
//
// What a cell looks like, whether it can be edited, what it copies and what a
// paste does are decided in core; the window hands those decisions to the
// model as callbacks and the views only paint and forward.
#include <QAbstractTableModel>
#include <QColor>
#include <QHeaderView>
#include <QMap>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "core/problem/Grid.h"

class QLineEdit;

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
  // The text cell (row, column) gives when copied (default: its text).
  std::function<std::string(int row, int column)> copyText;
  // Block text pasted while `area` is selected (x column, y row, in grid
  // cells): the area filled, or nothing when nothing was pasted. Tables
  // without it take no paste.
  std::function<std::optional<QRect>(const QRect& area, const std::string& text)> paste;
  // Delete pressed on the selected `area` while no editor is open.
  std::function<void(const QRect& area)> clear;
  // Whether the header of `column` takes a name typed in place, and the name
  // typed into it.
  std::function<bool(int column)> headerEditable;
  std::function<void(int column, const std::string& text)> commitHeader;

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
// cell's top-left corner, with the look of the model's rules. A selected cell
// of its own colour keeps the colour and is framed instead; the current cell
// of a focused table is framed too.
class GridDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// A header that paints its sections with the model's look (a label column
// whose cells are coloured, such as the names of RGrid), and marks the
// section the keyboard is on when its table lets names be typed there.
class GridHeader : public QHeaderView {
  Q_OBJECT
 public:
  explicit GridHeader(Qt::Orientation orientation, QWidget* parent = nullptr);

  // The section the keyboard is on (-1: none).
  void SetCursorSection(int section);
  int CursorSection() const { return cursor_; }

  // Whether `pos` (in the header's viewport) is on the border between two
  // sections, where a drag resizes and a double-click fits a section.
  bool OnSectionBorder(const QPoint& pos) const;

 protected:
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

 private:
  int cursor_ = -1;
};

class GridView : public QTableView {
  Q_OBJECT
 public:
  // The view is named `name` (AGrid, FGrid, ...), so tests and style rules
  // find it by its name.
  GridView(const QString& name, GridModel* model, QWidget* parent = nullptr);

  GridModel* gridModel() const { return model_; }
  using QTableView::edit;

  // The toolbar's cell-size controls: the row height and column width are
  // minimums (rows grow with the font so that text is never cut; columns fit
  // their texts, see FitColumns).
  void SetDefaultRowHeight(int pixels);
  void SetDefaultColumnWidth(int pixels);
  void SetFontSize(int points);
  int DefaultRowHeight() const { return rowHeight_; }
  int DefaultColumnWidth() const { return columnWidth_; }
  // The height of every row: the Height control's value, or more when the
  // font needs it.
  int RowHeight() const;

  // Applies the sizes to every row and column again and hides the header row
  // and label column from the body (after a Reload).
  void ApplySizes();

  // Column widths: each column fits its header and its texts, from the
  // default width to three times it; the label column (and a name column)
  // from its own minimum to the longest text up to 40 characters. A column
  // the person sized by hand keeps that width until the table changes its
  // number of columns or ForgetManualWidths is called.
  void FitColumns();
  void ForgetManualWidths();

  // Grid column 0 is the label column (shown as the vertical header, the
  // default) or, when `label` is false, an ordinary column of the body and
  // the grid has no row labels (DGrid, AGrid).
  void SetHasLabelColumn(bool label);
  // The label column is at least `factor` times the default column width
  // (ICGrid and IPGrid: 2).
  void SetLabelColumnWidthFactor(int factor);
  // A body column holding names (IGrid's descriptions): at least `factor`
  // times the default width, and fitted up to 40 characters.
  void SetNameColumn(int column, int factor);
  // Columns 0..count-1 stay in place when the table scrolls sideways (needs
  // SetHasLabelColumn(false)).
  void SetFixedColumns(int count);
  int FixedColumns() const { return fixedCount_; }
  // The view of the fixed columns, or nothing.
  QTableView* FixedView() const { return fixed_; }
  // The first column of the data area (what Ctrl+A selects): 1 by default, 0
  // without a label column.
  void SetFirstDataColumn(int column) { firstDataColumn_ = column; }

  // Rows that have height 0 (FGrid's u and v rows when their toggle is up).
  std::function<bool(int row)> rowShown;

  // The rectangle of grid cell (row, column) in the viewport's coordinates.
  QRect CellRect(int row, int column) const;
  // The widget that paints grid cell (row, column) (the viewport, a header's
  // viewport or the fixed columns' viewport) and the cell's rectangle in it.
  std::pair<QWidget*, QRect> PaintedCell(int row, int column) const;

  // Hints: over a cell (headers included) whose text is wider than the
  // default column width the hint is the cell's full text, valid while the
  // pointer stays within 3 pixels; elsewhere it is the grid's own toolTip().
  // Returns the grid cell under `pos` of `widget` (the viewport, a header's
  // viewport or the fixed columns' viewport), or (-1, -1).
  std::pair<int, int> CellAt(const QWidget* widget, const QPoint& pos) const;

  // The selected rectangle (x column, y row): the selection when it is one
  // rectangle, otherwise the current cell; empty without a current cell.
  QRect SelectedArea() const;
  // Ctrl+C: the selected rectangle as tab-separated lines on the clipboard.
  void CopySelection();
  // Ctrl+V: `text` pasted at the selection through the model's paste rule;
  // the cells filled are selected afterwards.
  void PasteText(const QString& text);
  // Ctrl+A: the data area.
  void selectAll() override;
  // A cell under the fixed columns is scrolled clear of them.
  void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

  // The keyboard on a header section (a criterion's name in AGrid): Up from
  // the first row reaches it when the model's headerEditable allows.
  int HeaderCursor() const;

  // Keys the table handles the same way in both of its views (copy, paste,
  // Delete, the header cursor). True when `event` was taken.
  bool GridKey(QKeyEvent* event);
  // The keyboard's move from the current cell, over the whole table.
  QModelIndex MoveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    return moveCursor(action, modifiers);
  }
  bool ShowHint(QWidget* widget, QHelpEvent* event);

 signals:
  // The keyboard left a header section for the cells again.
  void headerCursorLeft();

 protected:
  bool viewportEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void updateGeometries() override;
  bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;

 private:
  int FittedWidth(int column) const;
  int NameWidthLimit(int minimum) const;
  bool IsNameColumn(int column) const;
  void ApplyLabelWidth();
  void SyncFixedView();
  void PlaceFixedView();
  int FixedWidth() const;
  void FollowCurrent(const QModelIndex& current);
  void EnterHeader(int column);
  void LeaveHeader();
  void OpenHeaderEditor(const QString& text, bool selectAll);
  void CloseHeaderEditor(bool commit);
  bool LabelEdgeEvent(QWidget* widget, QEvent* event);

  GridModel* model_;
  int rowHeight_ = 16;
  int columnWidth_ = 48;
  bool labelColumn_ = true;
  int labelFactor_ = 1;
  int nameColumn_ = -1;
  int nameFactor_ = 1;
  int firstDataColumn_ = 1;
  int fixedCount_ = 0;
  QTableView* fixed_ = nullptr;
  QWidget* corner_ = nullptr;

  bool applying_ = false;        // sizes being set by the view, not by the person
  int fittedColumns_ = -1;       // column count the manual widths belong to
  QMap<int, int> manualWidths_;  // column -> width set by the person
  int manualLabelWidth_ = 0;
  int labelDragStart_ = -1;      // pointer x where a drag of the label column's edge began
  int labelDragWidth_ = 0;

  QPointer<QLineEdit> headerEditor_;
  int headerEditorColumn_ = -1;
  int headerReturnRow_ = -1;     // the row the keyboard left for the header
};

}  // namespace vesk::gui
