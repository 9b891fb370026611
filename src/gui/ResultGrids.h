#pragma once
// The output tables of the main window: RGrid and ORGrid painted from the
// ranges, with the selection that solves an assignment; DGrid, ICGrid and
// IPGrid. The main window places them in its page control and tells them when
// the results changed.
#include <QObject>

#include "core/problem/Problem.h"
#include "core/problem/UserDialogs.h"
#include "core/sorting/SortingState.h"
#include "gui/GridView.h"

namespace vesk::gui {

class ResultGrids : public QObject {
  Q_OBJECT
 public:
  ResultGrids(core::Problem& problem, core::SortingState& state, core::UserDialogs& dialogs, QWidget* parent);

  GridView* RGrid = nullptr;
  GridView* ORGrid = nullptr;
  GridView* DGrid = nullptr;
  GridView* ICGrid = nullptr;
  GridView* IPGrid = nullptr;

  // The results changed (a computation ended, the order changed, an edit
  // reset them): every output grid is rebuilt from the state, and ShowOrder
  // follows.
  void Reload();
  // Shows RGrid or ORGrid (they lie on top of each other) as
  // SortingState::ShowVariabilityOrder says, and DGrid anew (switching the
  // order clears its row 1).
  void ShowOrder();
  void SetCellSizes(int rowHeight, int columnWidth, int fontSize);
  // New results: every column fits its texts again, whatever width the
  // person gave it.
  void FitColumnsAfresh();

 private:
  void FitDGridHeight();
  // The selection handler of RGrid and ORGrid: solves the selected
  // assignment with the grid disabled meanwhile, then shows DGrid anew.
  void SelectCell(GridView* grid, bool ordered, const QModelIndex& current);

  core::Problem& problem_;
  core::SortingState& state_;
  core::UserDialogs& dialogs_;
  bool selecting_ = false;  // a selection is being handled
};

}  // namespace vesk::gui
