#pragma once
// The legend of the ranges view: one swatch per colour or hatching the view
// can show, each followed by what it means, laid out left to right and
// wrapped at the width given. The window paints it under its results grid,
// the ranges picture and the printed report under the picture.
#include <QFont>
#include <QRect>
#include <QSize>
#include <vector>

#include "core/sorting/ResultView.h"
#include "core/sorting/SortingState.h"

class QPainter;

namespace vesk::picture {

class RangesLegend {
 public:
  RangesLegend(const core::SortingState& state, const QFont& font);

  int Count() const { return static_cast<int>(entries_.size()); }
  const core::LegendEntry& Entry(int i) const { return entries_[static_cast<std::size_t>(i)]; }
  // The width of the widest entry: the legend never needs less.
  int MinimumWidth() const;
  // The size the legend takes when laid out in `width`.
  QSize SizeFor(int width) const;
  // Where the swatch of entry `i` lies when the legend is painted in `area`.
  QRect SwatchRect(int i, const QRect& area) const;
  void Paint(QPainter& painter, const QRect& area) const;

 private:
  // The rectangle of every entry (swatch and text) laid out in `area`.
  std::vector<QRect> Layout(const QRect& area) const;
  int EntryWidth(int i) const;

  std::vector<core::LegendEntry> entries_;
  QFont font_;
  int lineHeight_;
  int swatchWidth_;
  int swatchHeight_;
};

}  // namespace vesk::picture
