#include "gui/GridView.h"

#include <QFontMetrics>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

namespace vesk::gui {

GridModel::GridModel(Source source, QObject* parent) : QAbstractTableModel(parent), source_(std::move(source)) {}

void GridModel::Reload() {
  beginResetModel();
  endResetModel();
}

void GridModel::Repaint() {
  if (rowCount() > 0 && columnCount() > 0)
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
  if (columnCount() > 0) emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
  if (rowCount() > 0) emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
}

int GridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : grid().RowCount(); }

int GridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : grid().ColCount(); }

QVariant GridModel::Styled(int row, int column, int role) const {
  if (role != Qt::BackgroundRole && role != Qt::ForegroundRole && role != kHatchedRole) return {};
  if (!look) return {};
  const CellLook l = look(row, column);
  if (role == Qt::BackgroundRole && l.background) return QBrush(*l.background);
  if (role == Qt::ForegroundRole && l.text) return QBrush(*l.text);
  if (role == kHatchedRole) return l.hatched;
  return {};
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || !grid().Contains(index.row(), index.column())) return {};
  const int r = index.row(), c = index.column();
  switch (role) {
    case Qt::DisplayRole:
      if (look && look(r, c).blank) return QString();
      return QString::fromStdString(grid().Cell(r, c));
    case Qt::EditRole:
    case Qt::ToolTipRole:
      return QString::fromStdString(grid().Cell(r, c));
    default:
      return Styled(r, c, role);
  }
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !index.isValid() || !commit) return false;
  const std::string text = value.toString().toStdString();
  if (grid().Contains(index.row(), index.column()) && grid().Cell(index.row(), index.column()) == text) return true;
  if (!commit(index.row(), index.column(), text)) return false;
  emit dataChanged(index, index);
  return true;
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  if (selectable && !selectable(index.row(), index.column())) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (editable && editable(index.row(), index.column())) f |= Qt::ItemIsEditable;
  return f;
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  const int r = orientation == Qt::Horizontal ? 0 : section;
  const int c = orientation == Qt::Horizontal ? section : 0;
  if (!grid().Contains(r, c)) return {};
  if (role == Qt::DisplayRole || role == Qt::ToolTipRole) return QString::fromStdString(grid().Cell(r, c));
  return Styled(r, c, role);
}

void GridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QStyleOptionViewItem opt = option;
  initStyleOption(&opt, index);
  painter->save();
  const QVariant background = index.data(Qt::BackgroundRole);
  QColor fill = background.canConvert<QBrush>() ? background.value<QBrush>().color() : QColor(Qt::white);
  const bool selected = opt.state & QStyle::State_Selected;
  if (selected && !background.isValid()) fill = opt.palette.color(QPalette::Highlight);
  painter->fillRect(opt.rect, fill);
  if (index.data(kHatchedRole).toBool()) painter->fillRect(opt.rect, QBrush(Qt::black, Qt::FDiagPattern));
  const QVariant foreground = index.data(Qt::ForegroundRole);
  QColor ink = foreground.canConvert<QBrush>() ? foreground.value<QBrush>().color() : QColor(Qt::black);
  if (selected && !background.isValid() && !foreground.isValid()) ink = opt.palette.color(QPalette::HighlightedText);
  painter->setPen(ink);
  painter->setFont(opt.font);
  painter->drawText(opt.rect.adjusted(2, 1, -1, 0), Qt::AlignLeft | Qt::AlignTop, index.data(Qt::DisplayRole).toString());
  painter->restore();
}

GridHeader::GridHeader(Qt::Orientation orientation, QWidget* parent) : QHeaderView(orientation, parent) {
  setSectionsClickable(true);
  setHighlightSections(false);
  setDefaultAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void GridHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
  const QVariant background = model() ? model()->headerData(logicalIndex, orientation(), Qt::BackgroundRole) : QVariant();
  const QVariant foreground = model() ? model()->headerData(logicalIndex, orientation(), Qt::ForegroundRole) : QVariant();
  if (!background.canConvert<QBrush>() && !foreground.canConvert<QBrush>()) {
    QHeaderView::paintSection(painter, rect, logicalIndex);
    return;
  }
  painter->save();
  painter->fillRect(rect, background.canConvert<QBrush>() ? background.value<QBrush>() : palette().button());
  painter->setPen(palette().color(QPalette::Mid));
  painter->drawRect(rect.adjusted(0, 0, -1, -1));
  painter->setPen(foreground.canConvert<QBrush>() ? foreground.value<QBrush>().color() : QColor(Qt::black));
  painter->drawText(rect.adjusted(2, 1, -1, 0), Qt::AlignLeft | Qt::AlignTop,
                    model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString());
  painter->restore();
}

GridView::GridView(const QString& name, GridModel* model, QWidget* parent) : QTableView(parent), model_(model) {
  setObjectName(name);
  setHorizontalHeader(new GridHeader(Qt::Horizontal, this));
  setVerticalHeader(new GridHeader(Qt::Vertical, this));
  setModel(model);
  setItemDelegate(new GridDelegate(this));
  setSelectionMode(QAbstractItemView::ContiguousSelection);
  setEditTriggers(QAbstractItemView::AllEditTriggers);
  setTabKeyNavigation(true);
  setWordWrap(false);
  horizontalHeader()->setMinimumSectionSize(0);
  verticalHeader()->setMinimumSectionSize(0);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  verticalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  connect(model, &QAbstractItemModel::modelReset, this, &GridView::ApplySizes);
  horizontalHeader()->viewport()->installEventFilter(this);
  verticalHeader()->viewport()->installEventFilter(this);
  ApplySizes();
}

void GridView::SetHasLabelColumn(bool label) {
  labelColumn_ = label;
  ApplySizes();
}

void GridView::SetLabelColumnWidthFactor(int factor) {
  labelFactor_ = factor;
  ApplySizes();
}

void GridView::SetDefaultRowHeight(int pixels) {
  rowHeight_ = pixels;
  ApplySizes();
}

void GridView::SetDefaultColumnWidth(int pixels) {
  columnWidth_ = pixels;
  ApplySizes();
}

void GridView::SetFontSize(int points) {
  QFont f = font();
  f.setPointSize(points);
  setFont(f);
  horizontalHeader()->setFont(f);
  verticalHeader()->setFont(f);
}

void GridView::ApplySizes() {
  if (!model_) return;
  const int rows = model_->rowCount(), columns = model_->columnCount();
  horizontalHeader()->setDefaultSectionSize(columnWidth_);
  verticalHeader()->setDefaultSectionSize(rowHeight_);
  horizontalHeader()->setFixedHeight(rowHeight_ + 2);
  verticalHeader()->setVisible(labelColumn_);
  verticalHeader()->setFixedWidth(labelColumn_ ? columnWidth_ * labelFactor_ : 0);
  for (int c = 0; c < columns; ++c) {
    setColumnHidden(c, labelColumn_ && c == 0);
    setColumnWidth(c, columnWidth_);
  }
  for (int r = 0; r < rows; ++r) {
    const bool shown = r != 0 && (!rowShown || rowShown(r));
    setRowHidden(r, !shown);
    if (shown) setRowHeight(r, rowHeight_);
  }
}

QRect GridView::CellRect(int row, int column) const { return visualRect(model_->index(row, column)); }

std::pair<int, int> GridView::CellAt(const QWidget* widget, const QPoint& pos) const {
  if (widget == viewport()) {
    const QModelIndex index = indexAt(pos);
    if (index.isValid()) return {index.row(), index.column()};
  } else if (widget == horizontalHeader()->viewport()) {
    const int column = horizontalHeader()->logicalIndexAt(pos);
    if (column >= 0) return {0, column};
  } else if (widget == verticalHeader()->viewport()) {
    const int row = verticalHeader()->logicalIndexAt(pos);
    if (row >= 0) return {row, 0};
  }
  return {-1, -1};
}

bool GridView::ShowHint(QWidget* widget, QHelpEvent* event) {
  const auto [row, column] = CellAt(widget, event->pos());
  const core::Grid& grid = model_->grid();
  if (grid.Contains(row, column)) {
    const QString text = QString::fromStdString(grid.Cell(row, column));
    if (QFontMetrics(font()).horizontalAdvance(text) > columnWidth_) {
      QToolTip::showText(event->globalPos(), text, widget, QRect(event->pos() - QPoint(3, 3), QSize(6, 6)));
      return true;
    }
  }
  if (toolTip().isEmpty()) QToolTip::hideText();
  else QToolTip::showText(event->globalPos(), toolTip(), widget);
  return true;
}

bool GridView::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::ToolTip) return ShowHint(viewport(), static_cast<QHelpEvent*>(event));
  return QTableView::viewportEvent(event);
}

bool GridView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ToolTip &&
      (watched == horizontalHeader()->viewport() || watched == verticalHeader()->viewport()))
    return ShowHint(static_cast<QWidget*>(watched), static_cast<QHelpEvent*>(event));
  return QTableView::eventFilter(watched, event);
}

}  // namespace vesk::gui
