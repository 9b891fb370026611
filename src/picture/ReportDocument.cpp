#include "picture/ReportDocument.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextObjectInterface>
#include <QTextTable>
#include <algorithm>
#include <vector>

#include "core/problem/Numbers.h"
#include "core/problem/ParameterNames.h"
#include "core/problem/ProblemFile.h"
#include "core/sorting/ConstraintDescription.h"
#include "core/sorting/RobustAssignments.h"
#include "core/sorting/RobustSummary.h"
#include "picture/RangesPicture.h"

namespace vesk::picture {

namespace {

constexpr int kPictureObject = QTextFormat::UserObject + 1;
constexpr int kPictureIndex = QTextFormat::UserProperty + 1;
constexpr int kRowsPerSlice = 36;      // ranges rows per picture, so that a slice fits a page
constexpr int kCriteriaPerTable = 8;   // criteria columns per table before the next one starts
constexpr std::size_t kRowsPerTable = 40;  // rows of one table, so that it spans a page at most
constexpr double kScreenDpi = 96.0;    // the pictures' pixels are screen pixels

QString Q(const std::string& text) { return QString::fromStdString(text); }

// The pictures of the ranges (slices of the view, and the legend with the
// last one) as objects of the text: drawn as vectors onto whatever device
// the document is laid out for, scaled down to the width of the text when
// they are wider.
class PictureObjects : public QObject, public QTextObjectInterface {
  Q_OBJECT
  Q_INTERFACES(QTextObjectInterface)

 public:
  std::vector<std::unique_ptr<RangesPicture>> pictures;

  QSizeF intrinsicSize(QTextDocument* doc, int, const QTextFormat& format) override {
    const RangesPicture* picture = Find(format);
    if (!picture) return {};
    const QSize size = picture->Size();
    const QPaintDevice* device = doc->documentLayout()->paintDevice();
    const double scale = device ? device->logicalDpiX() / kScreenDpi : 1.0;
    QSizeF out(size.width() * scale, size.height() * scale);
    const double room = TextWidth(doc);
    if (room > 0 && out.width() > room) out *= room / out.width();
    return out;
  }

  void drawObject(QPainter* painter, const QRectF& rect, QTextDocument*, int, const QTextFormat& format) override {
    const RangesPicture* picture = Find(format);
    if (!picture) return;
    const QSize size = picture->Size();
    painter->save();
    painter->translate(rect.topLeft());
    painter->scale(rect.width() / size.width(), rect.height() / size.height());
    picture->Paint(*painter);
    painter->restore();
  }

 private:
  const RangesPicture* Find(const QTextFormat& format) const {
    const int i = format.intProperty(kPictureIndex);
    return i >= 0 && i < static_cast<int>(pictures.size()) ? pictures[static_cast<std::size_t>(i)].get() : nullptr;
  }

  static double TextWidth(const QTextDocument* doc) {
    const QTextFrameFormat frame = doc->rootFrame()->frameFormat();
    const double page = doc->pageSize().width();
    if (page > 0) return page - frame.leftMargin() - frame.rightMargin() - 2 * doc->documentMargin();
    return doc->textWidth();
  }
};

// Writes the report into a document through one cursor, section by section.
class Writer {
 public:
  Writer(QTextDocument& doc, PictureObjects& pictures) : doc_(doc), pictures_(pictures), cursor_(&doc) {
    body_.setFontPointSize(9);
    bold_ = body_;
    bold_.setFontWeight(QFont::Bold);
  }

  void Title(const QString& text) { Heading(text, 16, 0); }
  void Section(const QString& text) { Heading(text, 12, 14); }

  void Paragraph(const QString& text, bool strong = false) {
    QTextBlockFormat block;
    block.setTopMargin(2);
    block.setBottomMargin(2);
    NewBlock(block, strong ? bold_ : body_);
    cursor_.insertText(text);
  }

  // A table with header row `heads` and body `rows`; the header row is
  // repeated on every page the table runs over. A long table is laid out as
  // tables of kRowsPerTable rows one under the other (laying out one table
  // over many pages takes the document far longer).
  void Table(const QStringList& heads, const std::vector<QStringList>& rows) {
    for (std::size_t from = 0; from == 0 || from < rows.size(); from += kRowsPerTable) {
      const auto end = rows.begin() + static_cast<std::ptrdiff_t>(std::min(rows.size(), from + kRowsPerTable));
      TablePart(heads, std::vector<QStringList>(rows.begin() + static_cast<std::ptrdiff_t>(from), end), from == 0);
    }
  }

  // A table whose columns after the first `keep` ones are many (one per
  // criterion): split into tables of at most kCriteriaPerTable of them, each
  // repeating the first `keep` columns.
  void WideTable(const QStringList& heads, const std::vector<QStringList>& rows, int keep) {
    const int many = static_cast<int>(heads.size()) - keep;
    for (int from = 0; from < std::max(many, 1); from += kCriteriaPerTable) {
      const int count = std::min(kCriteriaPerTable, many - from);
      auto part = [&](const QStringList& all) { return all.mid(0, keep) + all.mid(keep + from, count); };
      std::vector<QStringList> body;
      for (const QStringList& row : rows) body.push_back(part(row));
      Table(part(heads), body);
    }
  }

  void Picture(std::unique_ptr<RangesPicture> picture) {
    QTextCharFormat object;
    object.setObjectType(kPictureObject);
    object.setProperty(kPictureIndex, static_cast<int>(pictures_.pictures.size()));
    pictures_.pictures.push_back(std::move(picture));
    QTextBlockFormat block;
    block.setTopMargin(4);
    NewBlock(block, body_);
    cursor_.insertText(QString(QChar::ObjectReplacementCharacter), object);
  }

 private:
  void TablePart(const QStringList& heads, const std::vector<QStringList>& rows, bool first) {
    const int columns = static_cast<int>(heads.size());
    if (columns == 0) return;
    QTextTableFormat format;
    format.setHeaderRowCount(1);
    format.setCellPadding(2);
    format.setCellSpacing(0);
    format.setBorder(0.5);
    format.setBorderBrush(QColor(128, 128, 128));
    format.setBorderCollapse(true);
    format.setTopMargin(first ? 4 : 0);
    format.setBottomMargin(4);
    QTextTable* table = cursor_.insertTable(static_cast<int>(rows.size()) + 1, columns, format);
    auto fill = [&](int r, const QStringList& cells, const QTextCharFormat& chars) {
      for (int c = 0; c < columns; ++c) {
        QTextTableCell cell = table->cellAt(r, c);
        if (r == 0) {
          QTextCharFormat shade = cell.format();
          shade.setBackground(QColor(235, 235, 235));
          cell.setFormat(shade);
        }
        QTextCursor at = cell.firstCursorPosition();
        at.insertText(c < cells.size() ? cells[c] : QString(), chars);
      }
    };
    fill(0, heads, bold_);
    for (std::size_t r = 0; r < rows.size(); ++r) fill(static_cast<int>(r) + 1, rows[r], body_);
    cursor_.movePosition(QTextCursor::End);
  }

  void Heading(const QString& text, double points, double above) {
    QTextBlockFormat block;
    block.setTopMargin(above);
    block.setBottomMargin(4);
    QTextCharFormat chars = bold_;
    chars.setFontPointSize(points);
    NewBlock(block, chars);
    cursor_.insertText(text);
  }

  void NewBlock(const QTextBlockFormat& block, const QTextCharFormat& chars) {
    if (first_) {
      cursor_.setBlockFormat(block);
      cursor_.setBlockCharFormat(chars);
      cursor_.setCharFormat(chars);
      first_ = false;
    } else {
      cursor_.insertBlock(block, chars);
    }
  }

  QTextDocument& doc_;
  PictureObjects& pictures_;
  QTextCursor cursor_;
  QTextCharFormat body_, bold_;
  bool first_ = true;
};

QString Cell(const core::Grid& grid, int r, int c) { return Q(grid.CellOrEmpty(r, c)); }

QString Direction(const std::string& cell) {
  const auto value = core::ParseReal(cell);
  if (!value) return Q(cell);
  return *value < 0 ? "min" : "max";
}

QString Example(const core::Problem& p, int a) {
  const auto low = core::ParseInt(p.AGrid.CellOrEmpty(a, 1));
  const auto high = core::ParseInt(p.AGrid.CellOrEmpty(a, 2));
  if (!low || !high) return Cell(p.AGrid, a, 1) + ".." + Cell(p.AGrid, a, 2);
  if (*low <= 1 && *high >= p.NumCategories) return {};
  if (*low == *high) return QString("C%1").arg(*low);
  return QString("C%1..C%2").arg(*low).arg(*high);
}

QStringList CriterionHeads(const core::Problem& p, const QStringList& first) {
  QStringList heads = first;
  for (int j = 1; j <= p.NumCriteria; ++j) {
    const std::string name = core::CriterionName(p, j);
    heads << (name.empty() ? QString("g%1").arg(j) : Q(name));
  }
  return heads;
}

void WriteHeading(Writer& w, const core::Problem& p, const QDateTime& when) {
  w.Title("Vesk results report");
  const bool saved = p.Caption != core::kTitle;
  w.Paragraph("File: " + (saved ? Q(p.OpenFileName) : QString("not saved yet")));
  w.Paragraph("Date: " + when.toString("yyyy-MM-dd HH:mm"));
  w.Paragraph(QString("%1 criteria, %2 actions, %3 categories (C1 the worst, C%3 the best)")
                  .arg(p.NumCriteria)
                  .arg(p.NumActions)
                  .arg(p.NumCategories));
}

void WriteCriteria(Writer& w, const core::Problem& p) {
  w.Section("Criteria: directions, profiles and thresholds");
  std::vector<QStringList> rows;
  QStringList direction{"Direction"};
  for (int j = 1; j <= p.NumCriteria; ++j) direction << Direction(p.FGrid.CellOrEmpty(p.DirectionRow(), j));
  rows.push_back(direction);
  // The rows of the profiles the window shows: u only with "Use uj", v only
  // with "Use vj".
  for (int h = 1; h < p.NumCategories; ++h) {
    const int top = p.ProfileRow(h);
    for (int r = top; r < top + 5; ++r) {
      if (r == top + 3 && !core::URowsShown(p)) continue;
      if (r == top + 4 && !core::VRowsShown(p)) continue;
      QStringList row{Cell(p.FGrid, r, 0)};
      for (int j = 1; j <= p.NumCriteria; ++j) row << Cell(p.FGrid, r, j);
      rows.push_back(row);
    }
  }
  w.WideTable(CriterionHeads(p, {""}), rows, 1);
  w.Paragraph(QString("Veto thresholds (v) %1; discordance thresholds (u) %2.")
                  .arg(core::VRowsShown(p) ? "in use" : "not in use")
                  .arg(core::URowsShown(p) ? "in use" : "not in use"));
}

void WriteBounds(Writer& w, const core::Problem& p) {
  w.Section("Bounds");
  std::vector<QStringList> rows;
  for (int v = 0; v <= p.NumCriteria; ++v)
    rows.push_back({Q(core::ParameterLabel(p, v)), Cell(p.BGrid, 1, 1 + v), Cell(p.BGrid, 2, 1 + v)});
  w.Table({"Parameter", "Lower bound", "Upper bound"}, rows);
}

void WriteConstraints(Writer& w, const core::Problem& p) {
  w.Section("Constraints");
  for (int r = 1; r < p.CGrid.RowCount(); ++r) {
    if (p.CGrid.CellOrEmpty(r, 0).empty() && p.CGrid.CellOrEmpty(r, p.SignColumn()).empty()) continue;
    w.Paragraph(Q(core::DescribeConstraint(p, {core::ConstraintOriginKind::Added, r})));
  }
  if (p.CGrid.RowCount() <= 2) w.Paragraph("No constraint besides the weights' sum.");
}

void WriteActions(Writer& w, const core::Problem& p) {
  w.Section("Actions: performances and assignment examples");
  std::vector<QStringList> rows;
  for (int a = 1; a <= p.NumActions; ++a) {
    QStringList row{Cell(p.AGrid, a, 0), Example(p, a)};
    for (int j = 1; j <= p.NumCriteria; ++j) row << Cell(p.AGrid, a, p.PerformanceColumn(j));
    rows.push_back(row);
  }
  w.WideTable(CriterionHeads(p, {"Action", "Example"}), rows, 2);
}

void WriteResults(Writer& w, const core::Problem& p, const core::SortingState& s) {
  const core::RobustSummary r = core::SummarizeRobust(p, s, true);
  w.Section("Results");
  w.Paragraph(r.consistent ? QString("The information is consistent (alpha = %1).").arg(Q(core::FormatGeneral(r.alpha)))
                           : QString("The information is inconsistent (alpha = %1): the categories shown are those of "
                                     "the inferred vector, without ranges.")
                                 .arg(Q(core::FormatGeneral(r.alpha))),
              true);
  const bool ordered = s.ShowVariabilityOrder && r.variabilityOrder;
  w.Paragraph(ordered ? "Actions by variability order (widest range first)." : "Actions in input order.");
  std::vector<QStringList> rows;
  for (int i = 0; i < p.NumActions; ++i) {
    const int a = ordered ? (*r.variabilityOrder)[static_cast<std::size_t>(i)] : i;
    const auto at = static_cast<std::size_t>(a);
    QString holes;
    if (r.holes)
      for (int h : (*r.holes)[at]) holes += (holes.isEmpty() ? "C" : " C") + QString::number(h);
    auto category = [](int h) { return QString("C%1").arg(h); };
    rows.push_back({Cell(p.AGrid, a + 1, 0), r.worst ? category((*r.worst)[at]) : QString(),
                    category(r.inferredCategory[at]), r.best ? category((*r.best)[at]) : QString(), holes});
  }
  w.Table({"Action", "Worst", "Inferred", "Best", "Holes"}, rows);

  w.Section("Ranges");
  const int viewRows = (ordered ? s.ORGrid : s.RGrid).RowCount() - 1;
  for (int first = 1; first <= std::max(viewRows, 1); first += kRowsPerSlice) {
    const int last = std::min(viewRows, first + kRowsPerSlice - 1);
    w.Picture(std::make_unique<RangesPicture>(p, s, first, last, last >= viewRows));
  }

  w.Section("Inferred parameter vector");
  std::vector<QStringList> vector;
  for (int v = 0; v <= p.NumCriteria; ++v) vector.push_back({Q(core::ParameterLabel(p, v)), Cell(s.DGrid, 2, v)});
  w.Table({"Parameter", "Value"}, vector);

  if (r.consistent) {
    w.Section("Robustness index");
    QString index = "GEOMETRIC MEAN FOR No. CATEGORIES (Including examples): " + Q(s.IndexText);
    if (!s.VariationText.empty()) index += "   " + Q(s.VariationText);
    w.Paragraph(index);
    return;
  }
  w.Section("Violated rows of the inference program");
  const int error = s.IPGrid.ColCount() - 1;
  std::vector<QStringList> violated;
  for (int row : r.violatedRows) violated.push_back({QString::number(row), Cell(s.IPGrid, row, 0), Cell(s.IPGrid, row, error)});
  if (violated.empty()) w.Paragraph("No row of the inference program is marked.");
  else w.Table({"Row", "Constraint", "Error"}, violated);
}

}  // namespace

struct ReportDocument::Parts {
  QTextDocument document;
  PictureObjects pictures;
};

ReportDocument::ReportDocument(const core::Problem& problem, const core::SortingState& state, const QDateTime& when)
    : parts_(std::make_unique<Parts>()) {
  QTextDocument& doc = parts_->document;
  QFont font("DejaVu Sans");
  font.setPointSize(9);
  doc.setDefaultFont(font);
  doc.setMetaInformation(QTextDocument::DocumentTitle, "Vesk results report");
  Writer w(doc, parts_->pictures);
  WriteHeading(w, problem, when);
  WriteCriteria(w, problem);
  WriteBounds(w, problem);
  WriteConstraints(w, problem);
  WriteActions(w, problem);
  WriteResults(w, problem, state);
  // The layout is made once the text is complete: made before, it would lay
  // the document out again after every insertion.
  doc.documentLayout()->registerHandler(kPictureObject, &parts_->pictures);
}

ReportDocument::~ReportDocument() = default;

const QTextDocument& ReportDocument::Document() const { return parts_->document; }

void ReportDocument::Print(QPagedPaintDevice& device) const { parts_->document.print(&device); }

bool ReportDocument::WritePdf(const std::string& path) const {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setTitle("Vesk results report");
    writer.setCreator("Vesk 2");
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    Print(writer);
  }
  const QByteArray& bytes = buffer.data();
  if (bytes.isEmpty()) return false;
  return core::WriteReplacing(path, std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

}  // namespace vesk::picture

#include "ReportDocument.moc"
