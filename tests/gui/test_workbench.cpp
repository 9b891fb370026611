// The main window as a workbench: its size, splitter and cell sizes kept
// between sessions; results that stay in sight, greyed, after an edit; the
// parameters by name; the legend of the ranges; numbers that keep their
// magnitude in narrow cells.
#include <QApplication>
#include <QGraphicsEffect>
#include <QHelpEvent>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QToolTip>
#include <QtTest>
#include <memory>

#include "MainFormDriver.h"
#include "gui/GridView.h"
#include "gui/InputGrids.h"
#include "gui/ResultGrids.h"
#include "gui/TMainForm.h"
#include "picture/RangesLegend.h"
#include "picture/ResultColours.h"

using vesk::gui::GridView;
using vesk::gui::TMainForm;
namespace core = vesk::core;

namespace {

std::unique_ptr<TMainForm> SampleWithResults() {
  auto form = std::make_unique<TMainForm>();
  form->show();
  if (!QTest::qWaitForWindowExposed(form.get())) return nullptr;
  if (!form->OpenFile(vesk::guitest::SampleProblem()) || !form->CalcRangeItemClick()) return nullptr;
  QApplication::processEvents();
  return form;
}

// Pixels of `image` in `rect` that have exactly `colour`.
int Count(const QImage& image, const QRect& rect, const QColor& colour) {
  int n = 0;
  for (int y = std::max(0, rect.top()); y <= std::min(image.height() - 1, rect.bottom()); ++y)
    for (int x = std::max(0, rect.left()); x <= std::min(image.width() - 1, rect.right()); ++x)
      if (image.pixelColor(x, y) == colour) ++n;
  return n;
}

QString Header(GridView* grid, int section, Qt::Orientation orientation = Qt::Horizontal) {
  return grid->model()->headerData(section, orientation, Qt::DisplayRole).toString();
}

}  // namespace

class WorkbenchTest : public QObject {
  Q_OBJECT
 private slots:
  void init() { QSettings().remove("MainWindow"); }

  // The first window takes most of the screen; a later one opens as the last
  // one was left.
  void LayoutIsKeptBetweenSessions() {
    const QRect room = QApplication::primaryScreen()->availableGeometry();
    QRect left;
    QList<int> split;
    {
      TMainForm form;
      form.show();
      QVERIFY(QTest::qWaitForWindowExposed(&form));
      QVERIFY(std::abs(form.frameGeometry().width() - room.width() * 0.8) <= 2 + (form.frameGeometry().width() - form.width()));
      QVERIFY(std::abs(form.geometry().center().x() - room.center().x()) <= 10);
      auto* splitter = form.findChild<QSplitter*>("Splitter");
      QVERIFY(splitter);
      QCOMPARE(splitter->handleWidth(), 6);
      form.setGeometry(room.left() + 20, room.top() + 30, room.width() / 2, room.height() / 2);
      splitter->setSizes({splitter->width() / 3, splitter->width() - splitter->width() / 3});
      form.findChild<QSpinBox*>("HeightUpDown")->setValue(20);
      form.findChild<QSpinBox*>("WidthUpDown")->setValue(64);
      form.findChild<QSpinBox*>("FontUpDown")->setValue(10);
      QApplication::processEvents();
      left = form.geometry();
      split = splitter->sizes();
      QVERIFY(form.close());
    }
    TMainForm again;
    again.show();
    QVERIFY(QTest::qWaitForWindowExposed(&again));
    QCOMPARE(again.geometry(), left);
    QCOMPARE(again.findChild<QSplitter*>("Splitter")->sizes(), split);
    QCOMPARE(again.cellSizes().rowHeight, 20);
    QCOMPARE(again.cellSizes().columnWidth, 64);
    QCOMPARE(again.cellSizes().fontSize, 10);
    QCOMPARE(again.inputGrids()->AGrid->DefaultColumnWidth(), 64);
  }

  // After an edit the output stays, greyed under a bar; selecting in it does
  // nothing; F9 brings it back to normal.
  void StaleResultsStayInSightUntilF9() {
    auto form = SampleWithResults();
    QVERIFY(form);
    auto* out = form->findChild<QTabWidget*>("PageControlOut");
    auto* bar = form->findChild<QLabel*>("StaleResultsBar");
    QVERIFY(out && bar);
    GridView* rgrid = form->resultGrids()->RGrid;
    const core::SortingState& s = form->state();
    const int inferred = s.InferredCategory[0];
    const QColor green = vesk::picture::ResultFill(core::ResultPaint::Green);
    auto inferredCell = [&] {
      const QRect cell = rgrid->CellRect(1, inferred).translated(rgrid->viewport()->mapTo(out, QPoint(0, 0)));
      return Count(out->grab().toImage(), cell.adjusted(3, 3, -3, -3), green);
    };
    QVERIFY(!bar->isVisible());
    QVERIFY(inferredCell() > 0);

    QVERIFY(vesk::guitest::Trigger(*form, "InsertActionItem"));
    QVERIFY(!form->problem().ResultsAvailable);
    QVERIFY(out->isVisible());
    QVERIFY(bar->isVisible());
    QCOMPARE(bar->text(), QString("Results are out of date: press F9 to compute them again"));
    QVERIFY(out->graphicsEffect() && out->graphicsEffect()->isEnabled());
    QCOMPARE(inferredCell(), 0);  // greyed
    for (const char* item : {"ReportItem", "ExportResultsItem", "ExportPictureItem", "ExportReportPdfItem"})
      QVERIFY2(!vesk::guitest::Item(*form, item)->isEnabled(), item);
    // A reachable cell of the stale ranges solves nothing.
    rgrid->setCurrentIndex(rgrid->model()->index(1, inferred));
    QApplication::processEvents();
    QVERIFY(s.SelectedParams.empty());

    QTest::keyClick(form.get(), Qt::Key_F9);
    QTRY_VERIFY(form->problem().ResultsAvailable);
    QVERIFY(!bar->isVisible());
    QVERIFY(!out->graphicsEffect()->isEnabled());
    QVERIFY(inferredCell() > 0);
  }

  // A new problem shows no results of the old one.
  void NewProblemHidesTheOutput() {
    auto form = SampleWithResults();
    QVERIFY(form);
    QVERIFY(form->OpenFile(vesk::guitest::SampleProblem()));
    QVERIFY(!form->findChild<QTabWidget*>("PageControlOut")->isVisible());
    QVERIFY(!form->findChild<QLabel*>("StaleResultsBar")->isVisible());
  }

  // DGrid, BGrid and CGrid name each weight by its criterion; DGrid's rows
  // say what they hold and it is tall enough for them and a scroll bar.
  void ParametersByName() {
    auto form = SampleWithResults();
    QVERIFY(form);
    GridView* d = form->resultGrids()->DGrid;
    QCOMPARE(Header(d, 0), QString("lambda"));
    QCOMPARE(Header(d, 1), QString("k1 cost"));
    QCOMPARE(Header(d, 4), QString("k4 reliability"));
    QCOMPARE(Header(d, 1, Qt::Vertical), QString("selected"));
    QCOMPARE(Header(d, 2, Qt::Vertical), QString("inferred"));
    QVERIFY(d->verticalHeader()->isVisible());
    for (GridView* g : {form->inputGrids()->BGrid, form->inputGrids()->CGrid}) {
      QCOMPARE(Header(g, 1), QString("lambda"));
      QCOMPARE(Header(g, 3), QString("k2 quality"));
    }
    // The report keeps the program's own names.
    QCOMPARE(form->state().DGrid.Cell(0, 1), std::string("k1"));
    // Every column fits its header.
    const QFontMetrics metrics(d->horizontalHeader()->font());
    for (int c = 0; c <= 4; ++c) QVERIFY(d->columnWidth(c) >= metrics.horizontalAdvance(Header(d, c)));

    // Narrow: the columns scroll, and both rows stay in sight above the bar.
    form->resize(500, form->height());
    auto* splitter = form->findChild<QSplitter*>("Splitter");
    splitter->setSizes({300, 200});
    QApplication::processEvents();
    QTRY_VERIFY(d->horizontalScrollBar()->maximum() > 0);
    QTRY_VERIFY(d->viewport()->rect().contains(d->CellRect(2, 0).adjusted(0, 0, 0, -1).bottomLeft()));
  }

  // The legend under the ranges shows the colours they are painted in.
  void LegendIsPainted() {
    auto form = SampleWithResults();
    QVERIFY(form);
    QWidget* legend = form->resultGrids()->Legend;
    QVERIFY(legend && legend->isVisible());
    const QImage image = legend->grab().toImage();
    const vesk::picture::RangesLegend model(form->state(), legend->font());
    QCOMPARE(model.Count(), 4);
    for (int i = 0; i < model.Count(); ++i) {
      const core::ResultPaint paint = model.Entry(i).paint;
      const QColor colour = paint == core::ResultPaint::Hatched ? QColor(Qt::black) : vesk::picture::ResultFill(paint);
      QVERIFY2(Count(image, image.rect(), colour) > 20, model.Entry(i).meaning);
    }
  }

  // A number too wide for its cell keeps its magnitude; the hint shows it all.
  void NarrowNumbersKeepTheirMagnitude() {
    const QFontMetrics metrics(QApplication::font());
    const QString tiny = "1.1102230246251565e-16";
    const int room = metrics.horizontalAdvance("1.1e-16") + 1;
    const QString shown = vesk::gui::ShownCellText(tiny, metrics, room);
    QVERIFY2(shown.endsWith("e-16"), qPrintable(shown));
    QVERIFY(metrics.horizontalAdvance(shown) <= room);
    QCOMPARE(vesk::gui::ShownCellText("Birch & Co and others", metrics, room), QString("Birch & Co and others"));

    auto form = SampleWithResults();
    QVERIFY(form);
    GridView* a = form->inputGrids()->AGrid;
    form->problem().AGrid.SetCell(1, 3, tiny.toStdString());
    a->gridModel()->Repaint();
    a->setColumnWidth(3, room);
    QApplication::processEvents();
    const QRect cell = a->CellRect(1, 3);
    QHelpEvent help(QEvent::ToolTip, cell.center(), a->viewport()->mapToGlobal(cell.center()));
    QVERIFY(a->ShowHint(a->viewport(), &help));
    QTRY_COMPARE(QToolTip::text(), tiny);
  }
};

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  WorkbenchTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "test_workbench.moc"
