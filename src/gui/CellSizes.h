#pragma once

namespace vesk::gui {

// The cell-size controls of the main window, which the inconsistency window
// takes over when it is activated.
struct CellSizes {
  int rowHeight = 16, columnWidth = 48, fontSize = 8;
};

}  // namespace vesk::gui
