#pragma once
// The grids of the main window, wired to the core rules: the four input
// tables (key filters, painting, CGrid selection, AGrid mouse) and the output
// tables (RGrid/ORGrid painting and selection, DGrid, ICGrid, IPGrid).
// The main window places them in its page controls and tells them when the
// problem or the results changed.
#include <QObject>

#include "core/problem/Problem.h"
#include "core/problem/UserDialogs.h"
#include "core/sorting/SortingState.h"
#include "gui/GridView.h"

namespace vesk::core {
enum class InputTable;
}

namespace vesk::gui {

class InputGrids : public QObject {
  Q_OBJECT
 public:
  InputGrids(core::Problem& problem, core::UserDialogs& dialogs, QWidget* parent);

  GridView* AGrid = nullptr;
  GridView* FGrid = nullptr;
  GridView* BGrid = nullptr;
  GridView* CGrid = nullptr;

  // The tables changed their shape (New, Open, a structural edit) or the
  // toggles changed the rows shown.
  void Reload();
  // Cell texts changed without a change of shape.
  void Repaint();
  // The toolbar's cell-size controls.
  void SetCellSizes(int rowHeight, int columnWidth, int fontSize);

 signals:
  // A key, an edit or a mouse command changed the problem or reset its
  // results (the window hides its outputs and updates its caption and menus).
  // It comes for every key typed into a cell, while the cell's editor is
  // open: answer it with Repaint at most, since Reload closes the editor.
  void problemChanged();
  // An edit of the problem ended: a cell's editor closed or the current cell
  // moved on, or a mouse command (a rename, an example) changed the problem.
  // What was typed since the last one is one change.
  void editFinished();

 private:
  void WireInputGrid(GridView* grid, core::InputTable table);
  void AfterMouseChange();

  core::Problem& problem_;
  core::UserDialogs& dialogs_;
};

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

 private:
  // The selection handler of RGrid and ORGrid: solves the selected
  // assignment with the grid disabled meanwhile, then shows DGrid anew.
  void SelectCell(GridView* grid, bool ordered, const QModelIndex& current);

  core::Problem& problem_;
  core::SortingState& state_;
  core::UserDialogs& dialogs_;
  bool selecting_ = false;  // a selection is being handled
};

}  // namespace vesk::gui
