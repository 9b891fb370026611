#pragma once
// The four input tables of the main window, wired to the core rules: key
// filters, painting, the CGrid selection rule and sign drop-down, block paste
// and copy, the AGrid mouse, and the names and examples of AGrid typed in
// place. The main window places them in its page control and tells them when
// the problem changed.
#include <QObject>
#include <optional>
#include <string>

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
  // A problem was opened, created or imported: every column fits its texts
  // again, whatever width the person gave it.
  void FitColumnsAfresh();
  // The first performance cell of AGrid becomes the current cell and takes
  // the focus.
  void FocusFirstPerformance();

 signals:
  // A key, an edit or a mouse command changed the problem or reset its
  // results (the window hides its outputs and updates its caption and menus).
  // It comes for every key typed into a cell, while the cell's editor is
  // open: answer it with Repaint at most, since Reload closes the editor.
  void problemChanged();
  // An edit of the problem ended: a cell's editor closed or the current cell
  // moved on, a mouse or keyboard command (a rename, an example) or a block
  // paste changed the problem. What was typed since the last one is one
  // change; a paste comes with one before it, so that it is a change of its
  // own.
  void editFinished();

 private:
  void WireInputGrid(GridView* grid, core::InputTable table);
  void WireFixedColumns();
  GridView* ViewOf(core::InputTable table) const;
  // Writes what a committed cell editor holds into the problem: data cells
  // as they are typed; a name or a category once its editor has closed.
  bool Commit(core::InputTable table, int row, int column, const std::string& text);
  // A name or a category typed in place, applied after its editor closed.
  void ApplyInPlace(int row, int column, const std::string& text);
  std::optional<QRect> Paste(core::InputTable table, const QRect& area, const std::string& text);
  void AfterMouseChange();

  core::Problem& problem_;
  core::UserDialogs& dialogs_;
};

}  // namespace vesk::gui
