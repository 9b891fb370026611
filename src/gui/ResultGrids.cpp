// The output tables: RGrid and ORGrid painted from the ranges, with the
// selection that solves an assignment; DGrid, ICGrid and IPGrid.
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "core/problem/Errors.h"
#include "core/sorting/ResultView.h"
#include "core/problem/ParameterNames.h"
#include "gui/ResultGrids.h"
#include "picture/RangesLegend.h"
#include "picture/ResultColours.h"

namespace vesk::gui {

namespace {

constexpr int kDGridHeight = 54;

const QColor kGreen = picture::ResultFill(core::ResultPaint::Green);  // DGrid's inferred vector
const QColor kRed = picture::ResultFill(core::ResultPaint::Red);      // IPGrid's violated rows

// The colours of the ranges picture and the legend. The category cells are
// filled over their text, so a hole's "X" never shows.
CellLook ResultLook(core::ResultPaint paint) {
  CellLook look;
  if (paint == core::ResultPaint::Default) return look;
  look.background = picture::ResultFill(paint);
  if (paint == core::ResultPaint::Aqua) return look;  // a name, written on its colour
  look.hatched = paint == core::ResultPaint::Hatched;
  look.blank = true;
  return look;
}

// The legend of the ranges view, under RGrid / ORGrid, in the window's font.
class LegendView : public QWidget {
 public:
  LegendView(const core::SortingState& state, QWidget* parent) : QWidget(parent), state_(state) {
    setObjectName("ResultsLegend");
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
  }
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override {
    return picture::RangesLegend(state_, font()).SizeFor(width - 2 * kMargin).height() + 2 * kMargin;
  }
  QSize sizeHint() const override {
    const picture::RangesLegend legend(state_, font());
    return {legend.MinimumWidth() + 2 * kMargin, heightForWidth(legend.MinimumWidth() + 2 * kMargin)};
  }
  QSize minimumSizeHint() const override { return {0, heightForWidth(width())}; }
  // Where the legend is painted (for the tests that look at it).
  QRect Area() const { return rect().adjusted(kMargin, kMargin, -kMargin, -kMargin); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    picture::RangesLegend(state_, font()).Paint(painter, Area());
  }

 private:
  static constexpr int kMargin = 3;
  const core::SortingState& state_;
};

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
  // Each weight with its criterion's name, and what each row holds.
  DGrid->gridModel()->headerLabel = [&p = problem_](int c) { return core::ParameterLabel(p, c); };
  DGrid->gridModel()->rowLabel = [](int r) { return std::string(r == 1 ? "selected" : r == 2 ? "inferred" : ""); };
  Legend = new LegendView(state, parent);
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
    dialogs_.Error(e.Message());
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
  Legend->updateGeometry();
  Legend->update();
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
