// The output tables: RGrid and ORGrid painted from the ranges, with the
// selection that solves an assignment; DGrid, ICGrid and IPGrid.
#include <QScrollBar>
#include <algorithm>

#include "core/problem/Errors.h"
#include "core/sorting/ResultView.h"
#include "gui/ResultGrids.h"

namespace vesk::gui {

namespace {

constexpr int kDGridHeight = 54;

const QColor kAqua(0, 255, 255);
const QColor kWhite(255, 255, 255);
const QColor kGreen(0, 128, 0);
const QColor kRed(255, 0, 0);
const QColor kLime(0, 255, 0);

// The category cells are filled over their text, so a hole's "X" never shows.
CellLook ResultLook(core::ResultPaint paint) {
  CellLook look;
  switch (paint) {
    case core::ResultPaint::Default: return look;
    case core::ResultPaint::Aqua: look.background = kAqua; return look;
    case core::ResultPaint::White: look.background = kWhite; break;
    case core::ResultPaint::Green: look.background = kGreen; break;
    case core::ResultPaint::Red: look.background = kRed; break;
    case core::ResultPaint::Lime: look.background = kLime; break;
    case core::ResultPaint::Hatched:
      look.background = kWhite;
      look.hatched = true;
      break;
  }
  look.blank = true;
  return look;
}

GridView* MakeOutputView(const QString& name, const core::Grid& grid, QWidget* parent) {
  auto* model = new GridModel([&grid]() -> const core::Grid& { return grid; });
  auto* view = new GridView(name, model, parent);
  model->setParent(view);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  return view;
}

}  // namespace

ResultGrids::ResultGrids(core::Problem& problem, core::SortingState& state, core::UserDialogs& dialogs,
                         QWidget* parent)
    : QObject(parent), problem_(problem), state_(state), dialogs_(dialogs) {
  RGrid = MakeOutputView("RGrid", state.RGrid, parent);
  ORGrid = MakeOutputView("ORGrid", state.ORGrid, parent);
  DGrid = MakeOutputView("DGrid", state.DGrid, parent);
  ICGrid = MakeOutputView("ICGrid", state.ICGrid, parent);
  IPGrid = MakeOutputView("IPGrid", state.IPGrid, parent);

  RGrid->gridModel()->look = [this](int r, int c) {
    return ResultLook(core::ResultCellPaint(problem_, state_, false, c, r));
  };
  ORGrid->gridModel()->look = [this](int r, int c) {
    return ResultLook(core::ResultCellPaint(problem_, state_, true, c, r));
  };
  RGrid->gridModel()->copyText = [this](int r, int c) { return core::ResultCellCopyText(problem_, state_, false, c, r); };
  ORGrid->gridModel()->copyText = [this](int r, int c) { return core::ResultCellCopyText(problem_, state_, true, c, r); };
  IPGrid->gridModel()->look = [this](int r, int c) {
    CellLook look;
    if (core::IPGridRowRed(state_, r)) look.text = kRed;
    look.blank = core::IPGridCellBlank(state_, c, r);
    return look;
  };
  DGrid->gridModel()->look = [](int r, int) {
    CellLook look;
    if (core::DGridRowGreen(r)) look.text = kGreen;
    return look;
  };

  RGrid->setToolTip("Select cells to see solution for the respective assignment");
  RGrid->setStatusTip(RGrid->toolTip());
  ORGrid->setToolTip("Select cells to see a solution for the respective assignment");
  ORGrid->setStatusTip(ORGrid->toolTip());
  ORGrid->hide();
  DGrid->SetHasLabelColumn(false);  // column 0 is lambda
  connect(DGrid->horizontalScrollBar(), &QScrollBar::rangeChanged, this, &ResultGrids::FitDGridHeight);
  ICGrid->SetLabelColumnWidthFactor(2);
  IPGrid->SetLabelColumnWidthFactor(2);

  // Headers are fixed cells: a click on one selects no range cell.
  for (GridView* v : {RGrid, ORGrid}) {
    v->horizontalHeader()->setSectionsClickable(false);
    v->verticalHeader()->setSectionsClickable(false);
  }
  connect(RGrid->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) { SelectCell(RGrid, false, current); });
  connect(ORGrid->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) { SelectCell(ORGrid, true, current); });
}

void ResultGrids::SelectCell(GridView* grid, bool ordered, const QModelIndex& current) {
  if (selecting_ || !current.isValid()) return;
  selecting_ = true;
  const bool focused = grid->hasFocus();
  grid->setEnabled(false);
  try {
    core::ResultCellSelected(problem_, state_, dialogs_, ordered, current.column(), current.row());
  } catch (const core::ProgramError& e) {
    dialogs_.Error(std::string(e.what()) + " (unit " + e.Unit() + ")");
  } catch (const std::exception& e) {
    dialogs_.Error(e.what());
  }
  grid->setEnabled(true);
  if (focused) grid->setFocus();
  selecting_ = false;
  DGrid->gridModel()->Reload();
}

void ResultGrids::Reload() {
  for (GridView* v : {RGrid, ORGrid, DGrid, ICGrid, IPGrid}) v->gridModel()->Reload();
  ShowOrder();
}

void ResultGrids::ShowOrder() {
  RGrid->setVisible(!state_.ShowVariabilityOrder);
  ORGrid->setVisible(state_.ShowVariabilityOrder);
  DGrid->gridModel()->Repaint();
}

void ResultGrids::SetCellSizes(int rowHeight, int columnWidth, int fontSize) {
  for (GridView* v : {RGrid, ORGrid, ICGrid, IPGrid}) v->SetDefaultRowHeight(rowHeight);
  for (GridView* v : {RGrid, ORGrid, DGrid, ICGrid, IPGrid}) {
    v->SetDefaultColumnWidth(columnWidth);
    v->SetFontSize(fontSize);
  }
  FitDGridHeight();
}

void ResultGrids::FitDGridHeight() {
  // DGrid keeps its height unless its header and two rows need more: with a
  // larger font, or with a scroll bar under more columns than it shows.
  QScrollBar* across = DGrid->horizontalScrollBar();
  const int bar = across->maximum() > 0 ? across->sizeHint().height() : 0;
  const int rows = DGrid->horizontalHeader()->height() + 2 * DGrid->RowHeight() + 2 * DGrid->frameWidth() + bar;
  DGrid->setFixedHeight(std::max(kDGridHeight, rows));
}

void ResultGrids::FitColumnsAfresh() {
  for (GridView* v : {RGrid, ORGrid, DGrid, ICGrid, IPGrid}) v->ForgetManualWidths();
}

}  // namespace vesk::gui
