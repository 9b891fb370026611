// The four input tables: cells edited in place through the key filters,
// painted by the colour rules, the CGrid selection rule and the AGrid mouse.
#include <QApplication>
#include <QMouseEvent>

#include "core/problem/InputGrid.h"
#include "gui/GridEditing.h"
#include "gui/InputGrids.h"

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

core::Grid& TableOf(core::Problem& problem, InputTable table) {
  switch (table) {
    case InputTable::AGrid: return problem.AGrid;
    case InputTable::FGrid: return problem.FGrid;
    case InputTable::BGrid: return problem.BGrid;
    case InputTable::CGrid: return problem.CGrid;
  }
  return problem.AGrid;
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
    view->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked);
    view->viewport()->installEventFilter(this);
    view->installEventFilter(this);
    connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this, &AlwaysShownEditor::Later);
    connect(view->itemDelegate(), &QAbstractItemDelegate::closeEditor, this, &AlwaysShownEditor::Later);
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
    view->verticalHeader()->viewport()->installEventFilter(this);
    // A press on a header moves the current cell instead of selecting a
    // whole row or column, so the sections are not dragged either.
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
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
};

}  // namespace

InputGrids::InputGrids(core::Problem& problem, core::UserDialogs& dialogs, QWidget* parent)
    : QObject(parent), problem_(problem), dialogs_(dialogs) {
  AGrid = MakeInputView("AGrid", problem.AGrid, parent);
  FGrid = MakeInputView("FGrid", problem.FGrid, parent);
  BGrid = MakeInputView("BGrid", problem.BGrid, parent);
  CGrid = MakeInputView("CGrid", problem.CGrid, parent);
  WireInputGrid(AGrid, InputTable::AGrid);
  WireInputGrid(FGrid, InputTable::FGrid);
  WireInputGrid(BGrid, InputTable::BGrid);
  WireInputGrid(CGrid, InputTable::CGrid);

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
    return table == InputTable::CGrid ? core::CGridCellSelectable(problem_, r, c)
                                      : core::InputCellEditable(problem_, table, r, c);
  };
  model->editable = takesEditor;
  model->selectable = takesEditor;
  model->commit = [this, table, takesEditor, model](int r, int c, const std::string& text) {
    if (!takesEditor(r, c)) return false;
    TableOf(problem_, table).SetCell(r, c, text);
    model->Repaint();  // a threshold or category typed changes the painting of its neighbours
    return true;
  };

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
  new AlwaysShownEditor(grid);
  connect(delegate, &QAbstractItemDelegate::closeEditor, this, &InputGrids::editFinished);
  connect(grid->selectionModel(), &QItemSelectionModel::currentChanged, this, &InputGrids::editFinished);
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
