#include "picture/RangesPicture.h"

#include <QBuffer>
#include <QFile>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <algorithm>

#include "core/sorting/ResultView.h"
#include "picture/ResultColours.h"

namespace vesk::picture {

namespace {

constexpr int kCellWidth = 48;
constexpr int kCellHeight = 22;
constexpr int kMinNameWidth = 64;
constexpr int kMargin = 8;
constexpr int kLegendGap = 10;  // between the grid and the legend

const core::Grid& ViewGrid(const core::SortingState& state) {
  return state.ShowVariabilityOrder ? state.ORGrid : state.RGrid;
}

}  // namespace

QFont RangesPicture::Font() {
  QFont font("DejaVu Sans");
  font.setPixelSize(12);
  return font;
}

RangesPicture::RangesPicture(const core::Problem& problem, const core::SortingState& state)
    : RangesPicture(problem, state, 1, ViewGrid(state).RowCount() - 1, true) {}

RangesPicture::RangesPicture(const core::Problem& problem, const core::SortingState& state, int first, int last,
                             bool legend)
    : problem_(problem),
      state_(state),
      ordered_(state.ShowVariabilityOrder),
      withLegend_(legend),
      legend_(state, Font()) {
  const core::Grid& grid = ViewGrid(state);
  first_ = std::max(1, first);
  last_ = std::min(last, grid.RowCount() - 1);
  columns_ = grid.ColCount();
  const QFontMetrics metrics(Font());
  nameWidth_ = kMinNameWidth;
  for (int r = 0; r < grid.RowCount(); ++r)
    if (r == 0 || (r >= first_ && r <= last_))
      nameWidth_ = std::max(nameWidth_, metrics.horizontalAdvance(QString::fromStdString(grid.Cell(r, 0))) + 8);
}

int RangesPicture::GridWidth() const { return nameWidth_ + std::max(0, columns_ - 1) * kCellWidth; }

int RangesPicture::GridHeight() const { return (1 + std::max(0, last_ - first_ + 1)) * kCellHeight; }

QSize RangesPicture::Size() const {
  int width = GridWidth(), height = GridHeight();
  if (withLegend_) {
    const QSize legend = legend_.SizeFor(GridWidth());
    width = std::max(width, legend.width());
    height += kLegendGap + legend.height();
  }
  return {width + 2 * kMargin, height + 2 * kMargin};
}

QRect RangesPicture::CellRect(int column, int row) const {
  if (row != 0 && (row < first_ || row > last_)) return {};
  const int x = kMargin + (column == 0 ? 0 : nameWidth_ + (column - 1) * kCellWidth);
  const int place = row == 0 ? 0 : row - first_ + 1;
  return {x, kMargin + place * kCellHeight, column == 0 ? nameWidth_ : kCellWidth, kCellHeight};
}

QRect RangesPicture::LegendRect() const {
  if (!withLegend_) return {};
  const QSize size = legend_.SizeFor(GridWidth());
  return {kMargin, kMargin + GridHeight() + kLegendGap, size.width(), size.height()};
}

void RangesPicture::Paint(QPainter& painter) const {
  const core::Grid& grid = ViewGrid(state_);
  painter.fillRect(QRect(QPoint(0, 0), Size()), Qt::white);
  painter.setFont(Font());
  const QColor lines(128, 128, 128);
  for (int r = 0; r < grid.RowCount(); ++r) {
    if (r != 0 && (r < first_ || r > last_)) continue;
    for (int c = 0; c < columns_; ++c) {
      const QRect cell = CellRect(c, r);
      const core::ResultPaint paint = core::ResultCellPaint(problem_, state_, ordered_, c, r);
      // Headers keep a light grey, as fixed cells do in the window.
      const bool header = r == 0 || c == 0;
      if (header && paint == core::ResultPaint::Default) painter.fillRect(cell, QColor(240, 240, 240));
      else PaintResultCell(painter, cell, paint);
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
  if (withLegend_) legend_.Paint(painter, LegendRect());
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
