#include "picture/RangesLegend.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "picture/ResultColours.h"

namespace vesk::picture {

namespace {
constexpr int kGap = 6;         // between a swatch and its text
constexpr int kSpacing = 18;    // between two entries of a line
constexpr int kLineSpacing = 4;
}  // namespace

RangesLegend::RangesLegend(const core::SortingState& state, const QFont& font)
    : entries_(core::ResultLegend(state)), font_(font) {
  const QFontMetrics metrics(font_);
  swatchHeight_ = metrics.height();
  swatchWidth_ = 2 * swatchHeight_;
  lineHeight_ = swatchHeight_ + kLineSpacing;
}

int RangesLegend::EntryWidth(int i) const {
  const QFontMetrics metrics(font_);
  return swatchWidth_ + kGap + metrics.horizontalAdvance(QString::fromUtf8(Entry(i).meaning));
}

int RangesLegend::MinimumWidth() const {
  int widest = 0;
  for (int i = 0; i < Count(); ++i) widest = std::max(widest, EntryWidth(i));
  return widest;
}

std::vector<QRect> RangesLegend::Layout(const QRect& area) const {
  std::vector<QRect> rects;
  int x = area.left(), y = area.top();
  for (int i = 0; i < Count(); ++i) {
    const int w = EntryWidth(i);
    if (x > area.left() && x + w > area.left() + area.width()) {
      x = area.left();
      y += lineHeight_;
    }
    rects.emplace_back(x, y, w, swatchHeight_);
    x += w + kSpacing;
  }
  return rects;
}

QSize RangesLegend::SizeFor(int width) const {
  const int w = std::max(width, MinimumWidth());
  const auto rects = Layout(QRect(0, 0, w, 0));
  int right = 0, bottom = 0;
  for (const QRect& r : rects) {
    right = std::max(right, r.right() + 1);
    bottom = std::max(bottom, r.bottom() + 1);
  }
  return {right, bottom};
}

QRect RangesLegend::SwatchRect(int i, const QRect& area) const {
  const QRect entry = Layout(area)[static_cast<std::size_t>(i)];
  return {entry.left(), entry.top(), swatchWidth_, swatchHeight_};
}

void RangesLegend::Paint(QPainter& painter, const QRect& area) const {
  painter.save();
  painter.setFont(font_);
  const auto rects = Layout(area);
  for (int i = 0; i < Count(); ++i) {
    const QRect& entry = rects[static_cast<std::size_t>(i)];
    const QRect swatch(entry.left(), entry.top(), swatchWidth_, swatchHeight_);
    PaintResultCell(painter, swatch, Entry(i).paint);
    painter.setPen(QColor(128, 128, 128));
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));
    painter.setPen(Qt::black);
    const QRect text(swatch.right() + 1 + kGap, entry.top(), entry.width() - swatchWidth_ - kGap, entry.height());
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8(Entry(i).meaning));
  }
  painter.restore();
}

}  // namespace vesk::picture
