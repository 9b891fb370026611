#include "gui/GridView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionHeader>
#include <QToolTip>
#include <algorithm>

#include "core/problem/ClipboardBlock.h"

namespace vesk::gui {

namespace {

constexpr int kNameCharacters = 40;  // a name column fits names up to this many characters
constexpr int kTextPadding = 10;     // around a text fitted into a column
constexpr int kLabelEdge = 4;        // pixels at the label column's right edge that resize it

// The fixed columns of a table: a view of the same model and selection that
// shows only them, laid over the table's left edge. It scrolls up and down
// with the table, never sideways; keys move over the whole table.
class FixedColumnsView : public QTableView {
 public:
  explicit FixedColumnsView(GridView* table) : QTableView(table), table_(table) {
    setObjectName(table->objectName() + "Fixed");
    setHorizontalHeader(new GridHeader(Qt::Horizontal, this));
    verticalHeader()->hide();
    setModel(table->model());
    setSelectionModel(table->selectionModel());
    setSelectionMode(table->selectionMode());
    setTabKeyNavigation(true);
    setWordWrap(false);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollMode(ScrollPerPixel);
    setVerticalScrollMode(table->verticalScrollMode());
    setEditTriggers(EditKeyPressed | AnyKeyPressed);
    horizontalHeader()->setMinimumSectionSize(0);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    verticalHeader()->setMinimumSectionSize(0);
    horizontalHeader()->viewport()->installEventFilter(table);
    viewport()->installEventFilter(table);
  }

 protected:
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override {
    return table_->MoveCursor(action, modifiers);
  }
  void keyPressEvent(QKeyEvent* event) override {
    if (!table_->GridKey(event)) QTableView::keyPressEvent(event);
    // A key the view leaves (one that opened an editor, say) would go on to
    // the table around it, which would take it a second time.
    event->accept();
  }
  void scrollTo(const QModelIndex& index, ScrollHint hint) override {
    // Up and down only: the table's own scrollTo shows cells right of these.
    if (!index.isValid() || isColumnHidden(index.column())) return;
    const int across = horizontalScrollBar()->value();
    QTableView::scrollTo(index, hint);
    horizontalScrollBar()->setValue(across);
  }
  void selectAll() override { table_->selectAll(); }

 private:
  GridView* table_;
};

QString DisplayText(const QAbstractItemModel* model, int row, int column) {
  return model->data(model->index(row, column), Qt::DisplayRole).toString();
}

}  // namespace

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
  // Frames at the cell's edge, clear of its text and of its colour inside:
  // a selected cell with a colour of its own, and the current cell.
  const bool current = opt.state & QStyle::State_HasFocus;
  if ((selected && background.isValid()) || current) {
    painter->setPen(QPen(current ? QColor(Qt::black) : opt.palette.color(QPalette::Highlight), 2));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(QRectF(opt.rect).adjusted(1, 1, -1, -1));
  }
  painter->restore();
}

GridHeader::GridHeader(Qt::Orientation orientation, QWidget* parent) : QHeaderView(orientation, parent) {
  setSectionsClickable(true);
  setHighlightSections(false);
  setDefaultAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void GridHeader::SetCursorSection(int section) {
  if (section == cursor_) return;
  cursor_ = section;
  viewport()->update();
}

bool GridHeader::OnSectionBorder(const QPoint& pos) const {
  const int grip = style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, this);
  const int at = orientation() == Qt::Horizontal ? pos.x() : pos.y();
  for (int i = 0; i < count(); ++i) {
    if (isSectionHidden(i)) continue;
    const int edge = sectionViewportPosition(i) + sectionSize(i);
    if (std::abs(at - edge) <= grip) return true;
  }
  return false;
}

void GridHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
  const QVariant background = model() ? model()->headerData(logicalIndex, orientation(), Qt::BackgroundRole) : QVariant();
  const QVariant foreground = model() ? model()->headerData(logicalIndex, orientation(), Qt::ForegroundRole) : QVariant();
  const bool onCursor = logicalIndex == cursor_;
  if (!background.canConvert<QBrush>() && !foreground.canConvert<QBrush>() && !onCursor) {
    QHeaderView::paintSection(painter, rect, logicalIndex);
    return;
  }
  painter->save();
  QBrush fill = background.canConvert<QBrush>() ? background.value<QBrush>() : palette().button();
  QColor ink = foreground.canConvert<QBrush>() ? foreground.value<QBrush>().color() : QColor(Qt::black);
  if (onCursor) {
    fill = palette().highlight();
    ink = palette().color(QPalette::HighlightedText);
  }
  painter->fillRect(rect, fill);
  painter->setPen(palette().color(QPalette::Mid));
  painter->drawRect(rect.adjusted(0, 0, -1, -1));
  painter->setPen(ink);
  painter->drawText(rect.adjusted(2, 1, -1, 0), Qt::AlignLeft | Qt::AlignTop,
                    model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString());
  if (onCursor) {
    painter->setPen(QPen(Qt::black, 2));
    painter->drawRect(QRectF(rect).adjusted(1, 1, -1, -1));
  }
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
  verticalHeader()->viewport()->setMouseTracking(true);
  // A width the person drags or fits is kept over later fittings.
  connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column, int, int width) {
    if (!applying_) manualWidths_[column] = width;
    PlaceFixedView();
  });
  connect(selectionModel(), &QItemSelectionModel::currentChanged, this, &GridView::FollowCurrent);
  // The corner above the label column shows the label column's header.
  corner_ = findChild<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly);
  if (corner_) {
    corner_->installEventFilter(this);
    corner_->setMouseTracking(true);
  }
  ApplySizes();
}

void GridView::SetHasLabelColumn(bool label) {
  labelColumn_ = label;
  if (!label && firstDataColumn_ == 1) firstDataColumn_ = 0;
  ApplySizes();
}

void GridView::SetLabelColumnWidthFactor(int factor) {
  labelFactor_ = factor;
  ApplySizes();
}

void GridView::SetNameColumn(int column, int factor) {
  nameColumn_ = column;
  nameFactor_ = factor;
  ApplySizes();
}

void GridView::SetFixedColumns(int count) {
  fixedCount_ = count;
  if (count > 0 && !fixed_) {
    setHorizontalScrollMode(ScrollPerPixel);
    fixed_ = new FixedColumnsView(this);
    connect(fixed_->verticalScrollBar(), &QScrollBar::valueChanged, verticalScrollBar(), &QScrollBar::setValue);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, fixed_->verticalScrollBar(), &QScrollBar::setValue);
    connect(fixed_->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column, int, int width) {
      if (!applying_ && column < fixedCount_) setColumnWidth(column, width);
    });
    // Its context menu is the table's.
    fixed_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(fixed_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
      emit customContextMenuRequested(viewport()->mapFromGlobal(fixed_->viewport()->mapToGlobal(at)));
    });
    connect(fixed_->horizontalHeader(), &QHeaderView::sectionHandleDoubleClicked, this, [this](int column) {
      manualWidths_.remove(column);
      applying_ = true;
      setColumnWidth(column, FittedWidth(column));
      applying_ = false;
      SyncFixedView();
    });
  }
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
  if (fixed_) {
    fixed_->setFont(f);
    fixed_->horizontalHeader()->setFont(f);
  }
  ApplySizes();
}

int GridView::RowHeight() const {
  // The text is drawn one pixel below the cell's top; a pixel more keeps its
  // descenders clear of the grid line.
  return std::max(rowHeight_, QFontMetrics(font()).height() + 3);
}

void GridView::ApplySizes() {
  if (!model_) return;
  static_cast<GridHeader*>(horizontalHeader())->SetCursorSection(-1);  // the table was rebuilt
  applying_ = true;
  const int rows = model_->rowCount(), columns = model_->columnCount();
  const int height = RowHeight();
  horizontalHeader()->setDefaultSectionSize(columnWidth_);
  verticalHeader()->setDefaultSectionSize(height);
  horizontalHeader()->setFixedHeight(height + 2);
  verticalHeader()->setVisible(labelColumn_);
  for (int c = 0; c < columns; ++c) setColumnHidden(c, labelColumn_ && c == 0);
  for (int r = 0; r < rows; ++r) {
    const bool shown = r != 0 && (!rowShown || rowShown(r));
    setRowHidden(r, !shown);
    if (shown) setRowHeight(r, height);
  }
  applying_ = false;
  FitColumns();
}

bool GridView::IsNameColumn(int column) const { return column == nameColumn_ || (labelColumn_ && column == 0); }

int GridView::NameWidthLimit(int minimum) const {
  return std::max(minimum, QFontMetrics(font()).averageCharWidth() * kNameCharacters + kTextPadding);
}

int GridView::FittedWidth(int column) const {
  int minimum = columnWidth_;
  if (labelColumn_ && column == 0) minimum *= labelFactor_;
  else if (column == nameColumn_) minimum *= nameFactor_;
  const int maximum = IsNameColumn(column) ? NameWidthLimit(minimum) : 3 * columnWidth_;
  const QFontMetrics cells(font());
  const QFontMetrics headers(horizontalHeader()->font());
  const bool label = labelColumn_ && column == 0;
  int widest = headers.horizontalAdvance(label ? DisplayText(model_, 0, 0)
                                               : model_->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString());
  for (int r = 1; r < model_->rowCount() && widest < maximum; ++r)
    widest = std::max(widest, cells.horizontalAdvance(label ? model_->headerData(r, Qt::Vertical, Qt::DisplayRole).toString()
                                                            : DisplayText(model_, r, column)));
  return std::clamp(widest + kTextPadding, minimum, maximum);
}

void GridView::FitColumns() {
  if (!model_) return;
  const int columns = model_->columnCount();
  if (columns != fittedColumns_) {
    manualWidths_.clear();
    fittedColumns_ = columns;
  }
  applying_ = true;
  for (int c = 0; c < columns; ++c) {
    if (labelColumn_ && c == 0) continue;
    setColumnWidth(c, manualWidths_.value(c, FittedWidth(c)));
  }
  applying_ = false;
  ApplyLabelWidth();
  SyncFixedView();
}

void GridView::ForgetManualWidths() {
  manualWidths_.clear();
  manualLabelWidth_ = 0;
  FitColumns();
}

void GridView::ApplyLabelWidth() {
  if (!labelColumn_) {
    verticalHeader()->setFixedWidth(0);
    return;
  }
  verticalHeader()->setFixedWidth(manualLabelWidth_ > 0 ? manualLabelWidth_ : FittedWidth(0));
  updateGeometries();
  viewport()->update();
}

void GridView::SyncFixedView() {
  if (!fixed_) return;
  applying_ = true;
  const int columns = model_->columnCount();
  fixed_->horizontalHeader()->setFixedHeight(horizontalHeader()->height());
  fixed_->verticalHeader()->setDefaultSectionSize(RowHeight());
  for (int c = 0; c < columns; ++c) {
    fixed_->setColumnHidden(c, c >= fixedCount_);
    if (c < fixedCount_) fixed_->setColumnWidth(c, columnWidth(c));
  }
  for (int r = 0; r < model_->rowCount(); ++r) {
    fixed_->setRowHidden(r, isRowHidden(r));
    if (!isRowHidden(r)) fixed_->setRowHeight(r, rowHeight(r));
  }
  applying_ = false;
  PlaceFixedView();
}

int GridView::FixedWidth() const {
  int width = 0;
  for (int c = 0; c < fixedCount_ && model_ && c < model_->columnCount(); ++c) width += columnWidth(c);
  return width;
}

void GridView::PlaceFixedView() {
  if (!fixed_) return;
  const int frame = frameWidth();
  fixed_->setGeometry(frame, frame, FixedWidth(), horizontalHeader()->height() + viewport()->height());
  fixed_->verticalScrollBar()->setValue(verticalScrollBar()->value());
  fixed_->raise();
}

void GridView::resizeEvent(QResizeEvent* event) {
  QTableView::resizeEvent(event);
  PlaceFixedView();
}

void GridView::updateGeometries() {
  QTableView::updateGeometries();
  PlaceFixedView();
}

void GridView::scrollTo(const QModelIndex& index, ScrollHint hint) {
  if (!fixed_ || !index.isValid()) {
    QTableView::scrollTo(index, hint);
    return;
  }
  const int across = horizontalScrollBar()->value();
  QTableView::scrollTo(index, hint);
  if (index.column() < fixedCount_) {  // shown by the fixed view: up and down only
    horizontalScrollBar()->setValue(across);
    return;
  }
  const int left = columnViewportPosition(index.column());
  if (left < FixedWidth()) horizontalScrollBar()->setValue(horizontalScrollBar()->value() + left - FixedWidth());
}

bool GridView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
  // The fixed columns are edited in their own view, and nothing is edited
  // while the keyboard is on a header.
  if (index.isValid() && index.column() < fixedCount_) return false;
  if (HeaderCursor() >= 0) return false;
  return QTableView::edit(index, trigger, event);
}

void GridView::FollowCurrent(const QModelIndex& current) {
  // The focus goes with the keyboard to the view that shows the current cell.
  if (!fixed_ || !current.isValid()) return;
  QWidget* focus = QApplication::focusWidget();
  if (!focus) return;
  const bool inFixed = focus == fixed_ || fixed_->isAncestorOf(focus);
  const bool inTable = !inFixed && (focus == this || isAncestorOf(focus));
  if (current.column() < fixedCount_ && inTable) fixed_->setFocus(Qt::OtherFocusReason);
  else if (current.column() >= fixedCount_ && inFixed) setFocus(Qt::OtherFocusReason);
}

QRect GridView::CellRect(int row, int column) const { return visualRect(model_->index(row, column)); }

std::pair<QWidget*, QRect> GridView::PaintedCell(int row, int column) const {
  if (labelColumn_ && column == 0 && row > 0) {
    QHeaderView* h = verticalHeader();
    return {h->viewport(), QRect(0, h->sectionViewportPosition(row), h->width(), h->sectionSize(row))};
  }
  const bool inFixed = fixed_ && column < fixedCount_;
  if (row == 0) {
    QHeaderView* h = inFixed ? fixed_->horizontalHeader() : horizontalHeader();
    return {h->viewport(), QRect(h->sectionViewportPosition(column), 0, h->sectionSize(column), h->height())};
  }
  if (inFixed) return {fixed_->viewport(), fixed_->visualRect(model_->index(row, column))};
  return {viewport(), CellRect(row, column)};
}

std::pair<int, int> GridView::CellAt(const QWidget* widget, const QPoint& pos) const {
  if (widget == viewport() || (fixed_ && widget == fixed_->viewport())) {
    const QModelIndex index = widget == viewport() ? indexAt(pos) : fixed_->indexAt(pos);
    if (index.isValid()) return {index.row(), index.column()};
  } else if (widget == horizontalHeader()->viewport() || (fixed_ && widget == fixed_->horizontalHeader()->viewport())) {
    const auto* header = widget == horizontalHeader()->viewport() ? horizontalHeader() : fixed_->horizontalHeader();
    const int column = header->logicalIndexAt(pos);
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

bool GridView::LabelEdgeEvent(QWidget* widget, QEvent* event) {
  // The label column is the vertical header: its right edge (and the
  // corner's) is dragged to resize it; a double-click there fits it.
  if (!labelColumn_) return false;
  const QEvent::Type type = event->type();
  if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease &&
      type != QEvent::MouseButtonDblClick)
    return false;
  auto* mouse = static_cast<QMouseEvent*>(event);
  const int x = mouse->position().toPoint().x();
  const bool onEdge = x >= widget->width() - kLabelEdge;
  const int globalX = mouse->globalPosition().toPoint().x();
  switch (type) {
    case QEvent::MouseMove:
      if (labelDragStart_ >= 0) {
        manualLabelWidth_ = std::max(8, labelDragWidth_ + globalX - labelDragStart_);
        ApplyLabelWidth();
        return true;
      }
      widget->setCursor(onEdge ? Qt::SplitHCursor : Qt::ArrowCursor);
      return false;
    case QEvent::MouseButtonPress:
      if (!onEdge || mouse->button() != Qt::LeftButton) return false;
      labelDragStart_ = globalX;
      labelDragWidth_ = verticalHeader()->width();
      return true;
    case QEvent::MouseButtonRelease:
      if (labelDragStart_ < 0) return false;
      labelDragStart_ = -1;
      return true;
    case QEvent::MouseButtonDblClick:
      if (!onEdge) return false;
      manualLabelWidth_ = 0;
      ApplyLabelWidth();
      return true;
    default: return false;
  }
}

bool GridView::eventFilter(QObject* watched, QEvent* event) {
  auto* widget = qobject_cast<QWidget*>(watched);
  if (event->type() == QEvent::ToolTip &&
      (watched == horizontalHeader()->viewport() || watched == verticalHeader()->viewport() ||
       (fixed_ && (watched == fixed_->viewport() || watched == fixed_->horizontalHeader()->viewport()))))
    return ShowHint(widget, static_cast<QHelpEvent*>(event));
  if (watched == corner_ && event->type() == QEvent::Paint) {
    // The header of the label column ("Descr", "No.", ...).
    QPainter painter(corner_);
    QStyleOptionHeader option;
    option.initFrom(corner_);
    option.rect = corner_->rect();
    option.state |= QStyle::State_Raised;
    option.position = QStyleOptionHeader::OnlyOneSection;
    option.text = QString::fromStdString(model_->grid().CellOrEmpty(0, 0));
    option.textAlignment = Qt::AlignLeft | Qt::AlignTop;
    painter.setFont(verticalHeader()->font());
    style()->drawControl(QStyle::CE_Header, &option, &painter, corner_);
    return true;
  }
  if ((watched == verticalHeader()->viewport() || watched == corner_) && LabelEdgeEvent(widget, event)) return true;
  return QTableView::eventFilter(watched, event);
}

QRect GridView::SelectedArea() const {
  const QItemSelection selection = selectionModel()->selection();
  if (selection.size() == 1) {
    const QItemSelectionRange& range = selection.first();
    return QRect(range.left(), range.top(), range.width(), range.height());
  }
  const QModelIndex current = currentIndex();
  if (!current.isValid()) return {};
  return QRect(current.column(), current.row(), 1, 1);
}

void GridView::CopySelection() {
  const QRect area = SelectedArea();
  if (area.isEmpty()) return;
  const core::Grid& grid = model_->grid();
  // Whole rows of a read-only table carry their labels along.
  int shownColumns = 0;
  for (int c = 0; c < model_->columnCount(); ++c) shownColumns += isColumnHidden(c) ? 0 : 1;
  int areaColumns = 0;
  for (int c = area.left(); c <= area.right(); ++c) areaColumns += isColumnHidden(c) ? 0 : 1;
  const bool withLabels = labelColumn_ && !model_->commit && areaColumns == shownColumns;
  core::CellBlock block;
  for (int r = area.top(); r <= area.bottom(); ++r) {
    if (isRowHidden(r)) continue;
    std::vector<std::string> pieces;
    if (withLabels) pieces.push_back(grid.CellOrEmpty(r, 0));
    for (int c = area.left(); c <= area.right(); ++c) {
      if (isColumnHidden(c)) continue;
      pieces.push_back(model_->copyText ? model_->copyText(r, c) : grid.CellOrEmpty(r, c));
    }
    block.push_back(std::move(pieces));
  }
  QApplication::clipboard()->setText(QString::fromStdString(core::BlockText(block)));
}

void GridView::PasteText(const QString& text) {
  if (!model_->paste || text.isEmpty()) return;
  const QRect area = SelectedArea();
  if (area.isEmpty()) return;
  const auto filled = model_->paste(area, text.toStdString());
  if (!filled) return;
  const QModelIndex first = model_->index(filled->top(), filled->left());
  const QModelIndex last = model_->index(std::min(filled->bottom(), model_->rowCount() - 1),
                                         std::min(filled->right(), model_->columnCount() - 1));
  selectionModel()->select(QItemSelection(first, last), QItemSelectionModel::ClearAndSelect);
}

void GridView::selectAll() {
  if (!model_) return;
  const int rows = model_->rowCount(), columns = model_->columnCount();
  int top = -1, bottom = -1, left = -1, right = -1;
  for (int r = 1; r < rows; ++r) {
    if (isRowHidden(r)) continue;
    for (int c = firstDataColumn_; c < columns; ++c) {
      if (!(model_->flags(model_->index(r, c)) & Qt::ItemIsSelectable)) continue;
      if (top < 0) top = r;
      bottom = r;
      left = left < 0 ? c : std::min(left, c);
      right = std::max(right, c);
    }
  }
  if (top < 0) return;
  const QModelIndex first = model_->index(top, left);
  // The keyboard leaves a cell's editor for the block.
  if (QWidget* focus = QApplication::focusWidget(); focus && focus != this && isAncestorOf(focus)) setFocus();
  selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
  selectionModel()->select(QItemSelection(first, model_->index(bottom, right)), QItemSelectionModel::ClearAndSelect);
}

int GridView::HeaderCursor() const { return static_cast<GridHeader*>(horizontalHeader())->CursorSection(); }

void GridView::EnterHeader(int column) {
  const QModelIndex current = currentIndex();
  headerReturnRow_ = current.isValid() ? current.row() : 1;
  static_cast<GridHeader*>(horizontalHeader())->SetCursorSection(column);
  setFocus(Qt::OtherFocusReason);  // an open editor closes
  selectionModel()->clearSelection();
  selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
  scrollTo(model_->index(headerReturnRow_, column));
}

void GridView::LeaveHeader() {
  const int column = HeaderCursor();
  if (column < 0) return;
  static_cast<GridHeader*>(horizontalHeader())->SetCursorSection(-1);
  const QModelIndex back = model_->index(headerReturnRow_, column);
  if (back.isValid() && (back.flags() & Qt::ItemIsSelectable))
    selectionModel()->setCurrentIndex(back, QItemSelectionModel::ClearAndSelect);
  emit headerCursorLeft();
}

void GridView::OpenHeaderEditor(const QString& text, bool selectAll) {
  const int column = HeaderCursor();
  if (column < 0 || headerEditor_) return;
  auto* header = horizontalHeader();
  auto* editor = new QLineEdit(header->viewport());
  editor->setObjectName("HeaderEditor");
  editor->setFrame(false);
  editor->setFont(header->font());
  editor->setGeometry(header->sectionViewportPosition(column), 0, header->sectionSize(column), header->height());
  editor->setText(text);
  if (selectAll) editor->selectAll();
  headerEditor_ = editor;
  headerEditorColumn_ = column;
  connect(editor, &QLineEdit::editingFinished, this, [this] { CloseHeaderEditor(true); });
  editor->installEventFilter(this);
  editor->show();
  editor->setFocus(Qt::OtherFocusReason);
}

void GridView::CloseHeaderEditor(bool commit) {
  if (!headerEditor_) return;
  QLineEdit* editor = headerEditor_;
  headerEditor_ = nullptr;
  const std::string text = editor->text().toStdString();
  const int column = headerEditorColumn_;
  editor->hide();
  editor->deleteLater();
  setFocus(Qt::OtherFocusReason);
  if (commit && model_->commitHeader) model_->commitHeader(column, text);
}

void GridView::focusInEvent(QFocusEvent* event) {
  // A table entered without a current cell starts at its data area.
  if (!currentIndex().isValid() && model_ && HeaderCursor() < 0) {
    for (int r = 1; r < model_->rowCount(); ++r) {
      const QModelIndex first = model_->index(r, firstDataColumn_);
      if (!isRowHidden(r) && (model_->flags(first) & Qt::ItemIsSelectable)) {
        selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
        break;
      }
    }
  }
  QTableView::focusInEvent(event);
}

void GridView::focusOutEvent(QFocusEvent* event) {
  QTableView::focusOutEvent(event);
  // The keyboard leaves the header with the focus, unless for its editor or
  // a box the table opened.
  if (HeaderCursor() >= 0 && !headerEditor_ && event->reason() != Qt::PopupFocusReason &&
      event->reason() != Qt::ActiveWindowFocusReason)
    LeaveHeader();
}

bool GridView::GridKey(QKeyEvent* event) {
  if (event->matches(QKeySequence::Copy)) {
    CopySelection();
    return true;
  }
  if (event->matches(QKeySequence::Paste)) {
    PasteText(QApplication::clipboard()->text());
    return true;
  }
  const int header = HeaderCursor();
  if (header >= 0) {
    auto headerAt = [this](int from, int step) {
      for (int c = from + step; c >= 0 && c < model_->columnCount(); c += step)
        if (!isColumnHidden(c) && model_->headerEditable && model_->headerEditable(c)) return c;
      return from;
    };
    switch (event->key()) {
      case Qt::Key_Down:
      case Qt::Key_Escape: LeaveHeader(); return true;
      case Qt::Key_Left:
      case Qt::Key_Right: {
        const int next = headerAt(header, event->key() == Qt::Key_Left ? -1 : 1);
        static_cast<GridHeader*>(horizontalHeader())->SetCursorSection(next);
        scrollTo(model_->index(headerReturnRow_, next));
        return true;
      }
      case Qt::Key_F2: OpenHeaderEditor(model_->headerData(header, Qt::Horizontal, Qt::DisplayRole).toString(), true); return true;
      default: break;
    }
    const QString typed = event->text();
    if (!typed.isEmpty() && typed.at(0).isPrint() && !(event->modifiers() & Qt::ControlModifier))
      OpenHeaderEditor(typed, false);
    return true;  // nothing else reaches the cells meanwhile
  }
  const QModelIndex current = currentIndex();
  if (event->key() == Qt::Key_Up && event->modifiers() == Qt::NoModifier && current.isValid() &&
      model_->headerEditable && model_->headerEditable(current.column())) {
    bool firstRow = true;
    for (int r = 1; r < current.row() && firstRow; ++r) firstRow = isRowHidden(r);
    if (firstRow) {
      EnterHeader(current.column());
      return true;
    }
  }
  if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier && model_->clear) {
    const QRect area = SelectedArea();
    if (!area.isEmpty()) model_->clear(area);
    return true;
  }
  return false;
}

void GridView::keyPressEvent(QKeyEvent* event) {
  if (!GridKey(event)) QTableView::keyPressEvent(event);
}

}  // namespace vesk::gui
