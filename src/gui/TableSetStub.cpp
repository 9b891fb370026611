// Placeholder wiring of the main window's grids, replaced by InputGrids.cpp and ResultGrids.cpp.
#include "gui/TableSet.h"

namespace vesk::gui {

namespace {
GridView* MakeView(const QString& name, const core::Grid& grid, QWidget* parent) {
  auto* model = new GridModel([&grid]() -> const core::Grid& { return grid; }, parent);
  return new GridView(name, model, parent);
}
}  // namespace

InputGrids::InputGrids(core::Problem& problem, core::UserDialogs&, QWidget* parent) : QObject(parent) {
  AGrid = MakeView("AGrid", problem.AGrid, parent);
  FGrid = MakeView("FGrid", problem.FGrid, parent);
  BGrid = MakeView("BGrid", problem.BGrid, parent);
  CGrid = MakeView("CGrid", problem.CGrid, parent);
}
void InputGrids::Reload() {
  for (GridView* v : {AGrid, FGrid, BGrid, CGrid}) v->gridModel()->Reload();
}
void InputGrids::Repaint() {
  for (GridView* v : {AGrid, FGrid, BGrid, CGrid}) v->gridModel()->Repaint();
}
void InputGrids::SetCellSizes(int, int, int) {}

ResultGrids::ResultGrids(core::Problem&, core::SortingState& state, core::UserDialogs&, QWidget* parent)
    : QObject(parent) {
  RGrid = MakeView("RGrid", state.RGrid, parent);
  ORGrid = MakeView("ORGrid", state.ORGrid, parent);
  DGrid = MakeView("DGrid", state.DGrid, parent);
  ICGrid = MakeView("ICGrid", state.ICGrid, parent);
  IPGrid = MakeView("IPGrid", state.IPGrid, parent);
}
void ResultGrids::Reload() {
  for (GridView* v : {RGrid, ORGrid, DGrid, ICGrid, IPGrid}) v->gridModel()->Reload();
}
void ResultGrids::SetCellSizes(int, int, int) {}

}  // namespace vesk::gui
