#pragma once
// The four input tables of the main window, wired to the core rules: key
// filters, painting, the CGrid selection rule and the AGrid mouse. The main
// window places them in its page control and tells them when the problem
// changed.
#include <QObject>

#include "core/problem/Problem.h"
#include "core/problem/UserDialogs.h"
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

}  // namespace vesk::gui
