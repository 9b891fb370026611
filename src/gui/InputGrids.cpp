// The four input tables: cells edited in place through the key filters,
// painted by the colour rules, the CGrid selection rule, block paste, the
// AGrid mouse and AGrid's names and examples typed in place.
#include "gui/InputGrids.h"

#include <QApplication>
#include <QMouseEvent>

#include "core/problem/ClipboardBlock.h"
#include "core/problem/InputGrid.h"
#include "gui/GridEditing.h"

namespace vesk::gui {

namespace {

using core::InputTable;

QColor ToColor(core::Rgb rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }

CellLook LookOf(const core::CellPaint& paint) {
  CellLook look;
  if (paint.background != core::CellColour::Normal) look.background = ToColor(core::ColourRgb(paint.background));
  if (paint.whiteText) look.text = ToColor(core::kWhiteText);
  look.blank = paint.drawBlank;
  return look;
}

GridView* MakeInputView(const QString& name, const core::Grid& grid, QWidget* parent) {
  auto* model = new GridModel([&grid]() -> const core::Grid& { return grid; });
  auto* view = new GridView(name, model, parent);
  model->setParent(view);
  view->setItemDelegate(new GridEditDelegate(view));
  return view;
}

// Keeps the editor open on the current cell while the table has the focus,
// as a string grid whose editor is always shown; a range being dragged or
// selected hides it.
class AlwaysShownEditor : public QObject {
 public:
  explicit AlwaysShownEditor(GridView* view) : QObject(view), view_(view) {
    // No SelectedClicked: its delayed start would hold back the keys typed
    // right after a click on the current cell, whose editor opens anyway.
    view->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::DoubleClicked);
    view->viewport()->installEventFilter(this);
    view->installEventFilter(this);
    connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this, &AlwaysShownEditor::Later);
    connect(view->itemDelegate(), &QAbstractItemDelegate::closeEditor, this, &AlwaysShownEditor::Later);
    connect(view, &GridView::headerCursorLeft, this, &AlwaysShownEditor::Later);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
        if (watched == view_->viewport()) mouseDown_ = true;
        break;
      case QEvent::MouseButtonRelease:
        if (watched == view_->viewport()) {
          mouseDown_ = false;
          Later();
        }
        break;
      case QEvent::FocusIn:
        if (watched == view_) Later();
        break;
      default: break;
    }
    return false;
  }

 private:
  void Later() { QMetaObject::invokeMethod(this, &AlwaysShownEditor::Open, Qt::QueuedConnection); }

  void Open() {
    if (mouseDown_) return;
    QWidget* focus = QApplication::focusWidget();
    if (focus != view_ && focus != view_->viewport()) return;  // elsewhere, or the editor has it already
    const QModelIndex current = view_->currentIndex();
    if (!current.isValid() || !(current.flags() & Qt::ItemIsEditable)) return;
    // The fixed columns are typed into only on request (F2 or a key).
    if (current.column() < view_->FixedColumns() || view_->HeaderCursor() >= 0) return;
    if (view_->selectionModel()->selectedIndexes().size() > 1) return;
    view_->edit(current);
  }

  GridView* view_;
  bool mouseDown_ = false;
};

// The mouse on AGrid, on its cells and on both headers (the criterion names
// and the action names): where a press puts the current cell and what a
// release does are core's decisions.
class AGridMouse : public QObject {
 public:
  AGridMouse(GridView* view, core::Problem& problem, core::UserDialogs& dialogs, std::function<void()> changed)
      : QObject(view), view_(view), problem_(problem), dialogs_(dialogs), changed_(std::move(changed)) {
    view->viewport()->installEventFilter(this);
    view->horizontalHeader()->viewport()->installEventFilter(this);
    if (QTableView* fixed = view->FixedView()) {
      fixed->viewport()->installEventFilter(this);
      fixed->horizontalHeader()->viewport()->installEventFilter(this);
    }
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick && type != QEvent::MouseButtonRelease)
      return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton) return false;
    auto* widget = static_cast<QWidget*>(watched);
    const bool body = widget == view_->viewport();
    // A press on the border between two header sections resizes a column
    // (a double-click fits it): the header has it, up to the release.
    if (type == QEvent::MouseButtonRelease && resizing_) {
      resizing_ = false;
      return false;
    }
    if (auto* header = qobject_cast<GridHeader*>(widget->parentWidget());
        header && type != QEvent::MouseButtonRelease && header->OnSectionBorder(mouse->position().toPoint())) {
      resizing_ = type == QEvent::MouseButtonPress;
      return false;
    }
    const auto [row, column] = view_->CellAt(widget, mouse->position().toPoint());
    if (row < 0) return !body;
    if (type == QEvent::MouseButtonRelease) {
      AGridMouseUp({row, column});
      return !body;
    }
    return AGridMouseDown({row, column}, body) || !body;
  }

 private:
  core::GridCell Current() const {
    const QModelIndex current = view_->currentIndex();
    if (!current.isValid()) return {1, 3};
    return {current.row(), current.column()};
  }

  // True when the press was taken here; a press that leaves the clicked cell
  // as it is goes on to the table (selection of a range by dragging).
  bool AGridMouseDown(core::GridCell clicked, bool body) {
    const core::GridCell cell = core::AGridMouseDownCell(problem_, Current(), clicked);
    if (body && cell == clicked) return false;
    if (cell.row >= 1 && problem_.AGrid.Contains(cell.row, cell.column)) {
      view_->setFocus(Qt::MouseFocusReason);
      view_->setCurrentIndex(view_->gridModel()->index(cell.row, cell.column));
    }
    return true;
  }

  void AGridMouseUp(core::GridCell released) {
    if (core::AGridMouseUp(problem_, dialogs_, Current(), released)) changed_();
  }

  GridView* view_;
  core::Problem& problem_;
  core::UserDialogs& dialogs_;
  std::function<void()> changed_;
  bool resizing_ = false;
};

}  // namespace

InputGrids::InputGrids(core::Problem& problem, core::UserDialogs& dialogs, QWidget* parent)
    : QObject(parent), problem_(problem), dialogs_(dialogs) {
  AGrid = MakeInputView("AGrid", problem.AGrid, parent);
  FGrid = MakeInputView("FGrid", problem.FGrid, parent);
  BGrid = MakeInputView("BGrid", problem.BGrid, parent);
  CGrid = MakeInputView("CGrid", problem.CGrid, parent);
  // AGrid's names are cells, fixed with ELow and EHigh at its left edge.
  AGrid->SetHasLabelColumn(false);
  AGrid->SetNameColumn(0, 1);
  AGrid->SetFirstDataColumn(3);
  AGrid->SetFixedColumns(3);
  WireInputGrid(AGrid, InputTable::AGrid);
  WireInputGrid(FGrid, InputTable::FGrid);
  WireInputGrid(BGrid, InputTable::BGrid);
  WireInputGrid(CGrid, InputTable::CGrid);
  WireFixedColumns();

  AGrid->gridModel()->look = [this](int r, int c) { return LookOf(core::AGridCellPaint(problem_, r, c)); };
  FGrid->gridModel()->look = [this](int r, int c) { return LookOf(core::FGridCellPaint(problem_, r, c)); };
  CGrid->gridModel()->look = [this](int r, int c) { return LookOf(core::CGridCellPaint(problem_, r, c)); };

  FGrid->rowShown = [this](int r) { return core::FGridRowShown(problem_, r); };
  FGrid->setToolTip("Use veto thresholds");
  FGrid->setStatusTip("Use veto thresholds");

  new AGridMouse(AGrid, problem_, dialogs_, [this] { AfterMouseChange(); });
}

void InputGrids::WireInputGrid(GridView* grid, InputTable table) {
  GridModel* model = grid->gridModel();
  auto takesEditor = [this, table](int r, int c) {
    if (table == InputTable::AGrid && core::InPlaceCellEditable(problem_, r, c)) return true;
    return table == InputTable::CGrid ? core::CGridCellSelectable(problem_, r, c)
                                      : core::InputCellEditable(problem_, table, r, c);
  };
  model->editable = takesEditor;
  model->selectable = takesEditor;
  model->commit = [this, table](int r, int c, const std::string& text) { return Commit(table, r, c, text); };
  model->paste = [this, table](const QRect& area, const std::string& text) { return Paste(table, area, text); };

  auto* delegate = static_cast<GridEditDelegate*>(grid->itemDelegate());
  delegate->filters.key = [this, table](int r, int c, char32_t key) {
    const bool modified = problem_.DataModified;
    const core::KeyDecision decision = core::FilterKey(problem_, table, r, c, key);
    if (decision.resultsReset || problem_.DataModified != modified) emit problemChanged();
    return decision.keep;
  };
  delegate->filters.paste = [this, table](int r, int c, const std::string& text) {
    const bool modified = problem_.DataModified;
    const auto generation = problem_.ResultsGeneration;
    std::string kept = core::FilterPastedText(problem_, table, r, c, text);
    if (problem_.ResultsGeneration != generation || problem_.DataModified != modified) emit problemChanged();
    return kept;
  };
  delegate->filters.block = [grid](const std::string& text) { grid->PasteText(QString::fromStdString(text)); };
  if (table == InputTable::CGrid)
    delegate->filters.choices = [this](int, int c) {
      return c == problem_.SignColumn() ? core::SignChoices() : std::vector<std::string>{};
    };
  new AlwaysShownEditor(grid);
  connect(delegate, &QAbstractItemDelegate::closeEditor, this, &InputGrids::editFinished);
  connect(grid->selectionModel(), &QItemSelectionModel::currentChanged, this, &InputGrids::editFinished);
}

void InputGrids::WireFixedColumns() {
  QTableView* fixed = AGrid->FixedView();
  auto* delegate = new GridEditDelegate(fixed);
  // A name or a category is taken when its editor closes: a category is
  // checked then, as the prompt checks it.
  delegate->filters.live = false;
  delegate->filters.key = [this](int r, int c, char32_t key) { return core::InPlaceKeyAllowed(problem_, r, c, key); };
  delegate->filters.paste = [this](int r, int c, const std::string& text) {
    return core::InPlacePastedText(problem_, r, c, text);
  };
  delegate->filters.block = [this](const std::string& text) { AGrid->PasteText(QString::fromStdString(text)); };
  fixed->setItemDelegate(delegate);

  GridModel* model = AGrid->gridModel();
  model->clear = [this](const QRect& area) {
    emit editFinished();  // what was typed before is a change of its own
    bool changed = false;
    for (int r = area.top(); r <= area.bottom(); ++r)
      for (int c = area.left(); c <= area.right(); ++c) changed = core::ClearExample(problem_, r, c) || changed;
    if (changed) AfterMouseChange();
  };
  model->headerEditable = [this](int c) { return core::CriterionHeaderEditable(problem_, c); };
  model->commitHeader = [this](int c, const std::string& name) {
    emit editFinished();
    if (core::SetCriterionName(problem_, c, name)) AfterMouseChange();
  };
}

GridView* InputGrids::ViewOf(InputTable table) const {
  switch (table) {
    case InputTable::AGrid: return AGrid;
    case InputTable::FGrid: return FGrid;
    case InputTable::BGrid: return BGrid;
    case InputTable::CGrid: return CGrid;
  }
  return AGrid;
}

bool InputGrids::Commit(InputTable table, int r, int c, const std::string& text) {
  if (table == InputTable::AGrid && core::InPlaceCellEditable(problem_, r, c)) {
    // Applied once the editor is gone: a refused category shows its message
    // then, not while the editor is losing the focus.
    QMetaObject::invokeMethod(this, [this, r, c, text] { ApplyInPlace(r, c, text); }, Qt::QueuedConnection);
    return true;
  }
  if (table == InputTable::CGrid && c == problem_.SignColumn()) {
    if (!core::SetConstraintSign(problem_, r, text)) return false;
    CGrid->gridModel()->Repaint();
    emit problemChanged();
    return true;
  }
  const bool takes = table == InputTable::CGrid ? core::CGridCellSelectable(problem_, r, c)
                                                : core::InputCellEditable(problem_, table, r, c);
  if (!takes) return false;
  core::TableGrid(problem_, table).SetCell(r, c, text);
  // A threshold or category typed changes the painting of its neighbours.
  ViewOf(table)->gridModel()->Repaint();
  return true;
}

void InputGrids::ApplyInPlace(int r, int c, const std::string& text) {
  emit editFinished();
  const bool changed =
      c == 0 ? core::SetActionName(problem_, r, text) : core::SetExampleText(problem_, dialogs_, r, c, text);
  if (changed) AfterMouseChange();
  else AGrid->gridModel()->Repaint();  // a refused category shows the cell as it was
}

std::optional<QRect> InputGrids::Paste(InputTable table, const QRect& area, const std::string& text) {
  emit editFinished();  // what was typed before is a change of its own
  const auto filled = core::PasteBlock(problem_, dialogs_, table, {area.top(), area.left(), area.height(), area.width()},
                                       text);
  if (!filled) return std::nullopt;
  Repaint();
  emit problemChanged();
  emit editFinished();
  return QRect(filled->column, filled->row, filled->columns, filled->rows);
}

void InputGrids::FitColumnsAfresh() {
  for (GridView* v : {AGrid, FGrid, BGrid, CGrid}) v->ForgetManualWidths();
}

void InputGrids::FocusFirstPerformance() {
  const QModelIndex first = AGrid->gridModel()->index(1, problem_.PerformanceColumn(1));
  if (!first.isValid()) return;
  AGrid->setCurrentIndex(first);
  AGrid->setFocus(Qt::OtherFocusReason);
}

void InputGrids::AfterMouseChange() {
  Repaint();  // a criterion's name shows in AGrid and FGrid
  emit problemChanged();
  emit editFinished();
}

void InputGrids::Reload() {
  for (GridView* v : {AGrid, FGrid, BGrid, CGrid}) v->gridModel()->Reload();
}

void InputGrids::Repaint() {
  for (GridView* v : {AGrid, FGrid, BGrid, CGrid}) v->gridModel()->Repaint();
}

void InputGrids::SetCellSizes(int rowHeight, int columnWidth, int fontSize) {
  for (GridView* v : {AGrid, FGrid, BGrid, CGrid}) {
    v->SetDefaultRowHeight(rowHeight);
    v->SetDefaultColumnWidth(columnWidth);
    v->SetFontSize(fontSize);
  }
}

}  // namespace vesk::gui
