#pragma once
// A picture of the ranges view: the action names down the left, the category
// numbers across the top and every category cell coloured and hatched as the
// window paints RGrid / ORGrid. One painter serves the PNG and the SVG file.
#include <QRect>
#include <QSize>
#include <string>

#include "core/problem/Problem.h"
#include "core/sorting/SortingState.h"
#include "picture/PictureFormat.h"

class QPainter;

namespace vesk::picture {

// The ranges view in the order the window shows (variability order while the
// window shows ORGrid).
class RangesPicture {
 public:
  RangesPicture(const core::Problem& problem, const core::SortingState& state);

  QSize Size() const;
  // Where cell (column, row) of the view lies; row 0 holds the category
  // numbers, column 0 the action names.
  QRect CellRect(int column, int row) const;
  void Paint(QPainter& painter) const;

  // Writes the picture as PNG or SVG by the file's extension; false when the
  // name has neither extension or the file cannot be written.
  bool Write(const std::string& path) const;

 private:
  const core::Problem& problem_;
  const core::SortingState& state_;
  bool ordered_;
  int rows_;
  int columns_;
  int nameWidth_;
};

}  // namespace vesk::picture
