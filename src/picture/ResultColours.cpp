#include "picture/ResultColours.h"

#include <QPainter>
#include <QPen>

namespace vesk::picture {

namespace {
constexpr int kHatchStep = 8;  // spacing of the diagonal lines of a hole
}  // namespace

QColor ResultFill(core::ResultPaint paint) {
  switch (paint) {
    case core::ResultPaint::Aqua: return QColor(0, 255, 255);
    case core::ResultPaint::Green: return QColor(0, 128, 0);
    case core::ResultPaint::Red: return QColor(255, 0, 0);
    case core::ResultPaint::Lime: return QColor(0, 255, 0);
    case core::ResultPaint::Default:
    case core::ResultPaint::White:
    case core::ResultPaint::Hatched: break;
  }
  return QColor(255, 255, 255);
}

void HatchCell(QPainter& painter, const QRect& cell) {
  painter.save();
  painter.setClipRect(cell);
  painter.setPen(QPen(Qt::black, 1));
  for (int x = cell.left() - cell.height(); x <= cell.right() + kHatchStep; x += kHatchStep)
    painter.drawLine(QPointF(x, cell.top()), QPointF(x + cell.height() + 1, cell.bottom() + 1));
  painter.restore();
}

void PaintResultCell(QPainter& painter, const QRect& cell, core::ResultPaint paint) {
  painter.fillRect(cell, ResultFill(paint));
  if (paint == core::ResultPaint::Hatched) HatchCell(painter, cell);
}

}  // namespace vesk::picture
