#pragma once
// A picture of the ranges view: the action names down the left, the category
// numbers across the top and every category cell coloured and hatched as the
// window paints RGrid / ORGrid, with the legend of the colours below. One
// painter serves the PNG and the SVG file and the printed report.
#include <QFont>
#include <QRect>
#include <QSize>
#include <string>

#include "core/problem/Problem.h"
#include "core/sorting/SortingState.h"
#include "picture/PictureFormat.h"
#include "picture/RangesLegend.h"

class QPainter;

namespace vesk::picture {

// The ranges view in the order the window shows (variability order while the
// window shows ORGrid).
class RangesPicture {
 public:
  // The whole view with its legend.
  RangesPicture(const core::Problem& problem, const core::SortingState& state);
  // The header row over view rows first..last (1-based, clamped to the
  // view), with the legend or without it (a long view printed in slices).
  RangesPicture(const core::Problem& problem, const core::SortingState& state, int first, int last, bool legend);

  QSize Size() const;
  // Where cell (column, row) of the view lies; row 0 holds the category
  // numbers, column 0 the action names. Rows outside the slice have no place.
  QRect CellRect(int column, int row) const;
  // Where the legend lies (empty without one).
  QRect LegendRect() const;
  const RangesLegend& Legend() const { return legend_; }
  void Paint(QPainter& painter) const;

  // Writes the picture as PNG or SVG by the file's extension; false when the
  // name has neither extension or the file cannot be written.
  bool Write(const std::string& path) const;

  // The font of the picture's texts.
  static QFont Font();

 private:
  int GridWidth() const;
  int GridHeight() const;

  const core::Problem& problem_;
  const core::SortingState& state_;
  bool ordered_;
  int first_;
  int last_;
  int columns_;
  int nameWidth_;
  bool withLegend_;
  RangesLegend legend_;
};

}  // namespace vesk::picture
