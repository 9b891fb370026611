#include "picture/RangesPicture.h"

#include <QBuffer>
#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <algorithm>

#include "core/sorting/ResultView.h"

namespace vesk::picture {

namespace {

constexpr int kCellWidth = 48;
constexpr int kCellHeight = 22;
constexpr int kMinNameWidth = 64;
constexpr int kMargin = 8;
constexpr int kHatchStep = 8;  // spacing of the diagonal lines of a hole

QFont PictureFont() {
  QFont font("DejaVu Sans");
  font.setPixelSize(12);
  return font;
}

QColor Fill(core::ResultPaint paint) {
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

// Forward diagonals ("/") drawn as lines, so that the SVG file holds them as
// well as the PNG.
void Hatch(QPainter& painter, const QRect& cell) {
  painter.save();
  painter.setClipRect(cell);
  painter.setPen(QPen(Qt::black, 1));
  for (int x = cell.left() - cell.height(); x <= cell.right() + kHatchStep; x += kHatchStep)
    painter.drawLine(QPointF(x, cell.bottom() + 1), QPointF(x + cell.height() + 1, cell.top()));
  painter.restore();
}

}  // namespace

RangesPicture::RangesPicture(const core::Problem& problem, const core::SortingState& state)
    : problem_(problem), state_(state), ordered_(state.ShowVariabilityOrder) {
  const core::Grid& grid = ordered_ ? state.ORGrid : state.RGrid;
  rows_ = grid.RowCount();
  columns_ = grid.ColCount();
  const QFontMetrics metrics(PictureFont());
  nameWidth_ = kMinNameWidth;
  for (int r = 0; r < rows_; ++r)
    nameWidth_ = std::max(nameWidth_, metrics.horizontalAdvance(QString::fromStdString(grid.Cell(r, 0))) + 8);
}

QSize RangesPicture::Size() const {
  const int width = nameWidth_ + std::max(0, columns_ - 1) * kCellWidth;
  return {width + 2 * kMargin, rows_ * kCellHeight + 2 * kMargin};
}

QRect RangesPicture::CellRect(int column, int row) const {
  const int x = kMargin + (column == 0 ? 0 : nameWidth_ + (column - 1) * kCellWidth);
  return {x, kMargin + row * kCellHeight, column == 0 ? nameWidth_ : kCellWidth, kCellHeight};
}

void RangesPicture::Paint(QPainter& painter) const {
  const core::Grid& grid = ordered_ ? state_.ORGrid : state_.RGrid;
  painter.fillRect(QRect(QPoint(0, 0), Size()), Qt::white);
  painter.setFont(PictureFont());
  const QColor lines(128, 128, 128);
  for (int r = 0; r < rows_; ++r) {
    for (int c = 0; c < columns_; ++c) {
      const QRect cell = CellRect(c, r);
      const core::ResultPaint paint = core::ResultCellPaint(problem_, state_, ordered_, c, r);
      // Headers keep a light grey, as fixed cells do in the window.
      const bool header = r == 0 || c == 0;
      QColor fill = Fill(paint);
      if (header && paint == core::ResultPaint::Default) fill = QColor(240, 240, 240);
      painter.fillRect(cell, fill);
      if (paint == core::ResultPaint::Hatched) Hatch(painter, cell);
      painter.setPen(lines);
      painter.drawRect(cell.adjusted(0, 0, -1, -1));
      // A category cell is a colour, not a text (a hole's "X" never shows).
      const bool text = paint == core::ResultPaint::Default || paint == core::ResultPaint::Aqua;
      if (text) {
        painter.setPen(Qt::black);
        const int align = (header && c > 0 ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter;
        painter.drawText(cell.adjusted(4, 0, -2, 0), align, QString::fromStdString(grid.Cell(r, c)));
      }
    }
  }
}

bool RangesPicture::Write(const std::string& path) const {
  const auto format = PictureFormatFor(path);
  if (!format) return false;
  const QString name = QString::fromStdString(path);
  if (*format == PictureFormat::Png) {
    QImage image(Size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    Paint(painter);
    painter.end();
    return image.save(name, "PNG");
  }
  // The generator reports no write error, so the SVG is made in memory and
  // written here.
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setSize(Size());
  generator.setViewBox(QRect(QPoint(0, 0), Size()));
  generator.setTitle("Ranges of categories");
  QPainter painter;
  if (!painter.begin(&generator)) return false;
  Paint(painter);
  painter.end();
  QFile file(name);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  const QByteArray& bytes = buffer.data();
  return file.write(bytes) == bytes.size() && file.flush();
}

}  // namespace vesk::picture
