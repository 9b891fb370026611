// "Export ranges picture...": the PNG read back pixel by pixel where the
// ranges and the legend say what a cell must show, and the SVG read as XML.
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QXmlStreamReader>
#include <QtTest>
#include <filesystem>

#include "MainFormDriver.h"
#include "ModalAnswerer.h"
#include "TestPaths.h"
#include "core/sorting/RobustAssignments.h"
#include "gui/TMainForm.h"
#include "picture/RangesPicture.h"
#include "picture/ResultColours.h"

using vesk::gui::TMainForm;
using vesk::guitest::ModalAnswerer;
using vesk::picture::RangesPicture;

namespace {

// Counts the pixels of `rect` (inside its border) that have exactly `colour`.
int Pixels(const QImage& image, const QRect& rect, QColor colour) {
  int count = 0;
  for (int y = rect.top() + 2; y < rect.bottom() - 1; ++y)
    for (int x = rect.left() + 2; x < rect.right() - 1; ++x)
      if (image.pixelColor(x, y) == colour) ++count;
  return count;
}

int Inside(const QRect& rect) { return (rect.width() - 4) * (rect.height() - 4); }

// Runs the ranges of `problem` in a window and exports the picture to `out`
// through the File menu.
bool Export(TMainForm& form, ModalAnswerer& answerer, const QString& problem, const std::filesystem::path& out) {
  if (!form.OpenFile(problem) || !form.CalcRangeItemClick()) return false;
  answerer.ExpectFile(QString::fromStdString(out.string()));
  if (!vesk::guitest::Trigger(form, "ExportPictureItem")) return false;
  return QTest::qWaitFor([&] { return answerer.Idle(); }) && std::filesystem::exists(out);
}

}  // namespace

class PictureTest : public QObject {
  Q_OBJECT
 private slots:
  void PngShowsInferredReachableAndOutsideCells() {
    const auto dir = vesk::test::FreshTempDir("gui-picture");
    ModalAnswerer answerer;
    TMainForm form;
    form.show();
    QVERIFY(form.OpenFile(vesk::guitest::SampleProblem()));
    QVERIFY(!vesk::guitest::Item(form, "ExportPictureItem")->isEnabled());
    const auto out = dir / "ranges.png";
    QVERIFY(Export(form, answerer, vesk::guitest::SampleProblem(), out));
    const auto& s = form.state();
    QVERIFY(s.Consistent);
    const RangesPicture picture(form.problem(), s);
    QImage image(QString::fromStdString(out.string()));
    QCOMPARE(image.size(), picture.Size());

    const int K = form.problem().NumCategories;
    bool sawOutside = false, sawReachable = false;
    for (int a = 1; a <= form.problem().NumActions; ++a) {
      const int i = a - 1;
      const QRect inferred = picture.CellRect(s.InferredCategory[i], a);
      QCOMPARE(Pixels(image, inferred, QColor(0, 128, 0)), Inside(inferred));
      for (int h = 1; h <= K; ++h) {
        const QRect cell = picture.CellRect(h, a);
        if (h < s.WorstCategory[i] || h > s.BestCategory[i]) {
          sawOutside = true;
          QCOMPARE(Pixels(image, cell, Qt::white), Inside(cell));
        } else if (h != s.InferredCategory[i]) {
          sawReachable = true;
          const auto holes = vesk::core::HoleCategories(s, K)[i];
          if (std::find(holes.begin(), holes.end(), h) == holes.end())
            QCOMPARE(Pixels(image, cell, QColor(0, 255, 0)), Inside(cell));
        }
      }
    }
    QVERIFY(sawOutside);
    QVERIFY(sawReachable);
    // The legend below the ranges: each swatch in the colour it explains.
    const auto& legend = picture.Legend();
    QCOMPARE(legend.Count(), 4);
    for (int e = 0; e < legend.Count(); ++e) {
      const QRect swatch = legend.SwatchRect(e, picture.LegendRect());
      QVERIFY(swatch.bottom() < image.height());
      const auto paint = legend.Entry(e).paint;
      if (paint == vesk::core::ResultPaint::Hatched) {
        QVERIFY(Pixels(image, swatch, Qt::black) > 0);
      } else {
        QCOMPARE(Pixels(image, swatch, vesk::picture::ResultFill(paint)), Inside(swatch));
      }
    }
    // The name column and the category numbers are written, not blank.
    const QRect name = picture.CellRect(0, 1);
    const QColor ground = image.pixelColor(name.left() + 2, name.top() + 2);
    QVERIFY(Pixels(image, name, ground) < Inside(name));
  }

  void HoleIsHatched() {
    const auto example = vesk::guitest::SharedExample("imprecise_holes.tri");
    if (!example) QSKIP("shared examples not found");
    const auto dir = vesk::test::FreshTempDir("gui-picture");
    ModalAnswerer answerer;
    TMainForm form;
    form.show();
    const auto out = dir / "holes.png";
    QVERIFY(Export(form, answerer, *example, out));
    const RangesPicture picture(form.problem(), form.state());
    const QImage image(QString::fromStdString(out.string()));
    const auto holes = vesk::core::HoleCategories(form.state(), form.problem().NumCategories);
    int seen = 0;
    for (std::size_t i = 0; i < holes.size(); ++i)
      for (int h : holes[i]) {
        const QRect cell = picture.CellRect(h, static_cast<int>(i) + 1);
        const int black = Pixels(image, cell, Qt::black), white = Pixels(image, cell, Qt::white);
        // Diagonal lines on white: both inks, nothing else, mostly white.
        QVERIFY(black > 0);
        QVERIFY(white > black);
        QCOMPARE(black + white, Inside(cell));
        ++seen;
      }
    QVERIFY(seen > 0);
  }

  void SvgIsWellFormedAndNamesTheActions() {
    const auto dir = vesk::test::FreshTempDir("gui-picture");
    ModalAnswerer answerer;
    TMainForm form;
    form.show();
    const auto out = dir / "ranges.svg";
    QVERIFY(Export(form, answerer, vesk::guitest::SampleProblem(), out));
    QFile file(QString::fromStdString(out.string()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QString text;
    bool svgRoot = false;
    while (!xml.atEnd()) {
      xml.readNext();
      if (xml.isStartElement() && xml.name() == QLatin1String("svg")) svgRoot = true;
      if (xml.isCharacters()) text += xml.text();
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QVERIFY(svgRoot);
    QVERIFY(text.contains(QString::fromStdString(form.problem().AGrid.Cell(1, 0))));
    QVERIFY(text.contains("unreachable category inside the range"));
  }

  void OtherExtensionWritesNothing() {
    const auto dir = vesk::test::FreshTempDir("gui-picture");
    ModalAnswerer answerer;
    TMainForm form;
    form.show();
    QVERIFY(form.OpenFile(vesk::guitest::SampleProblem()));
    QVERIFY(form.CalcRangeItemClick());
    const auto out = dir / "ranges.jpg";
    answerer.ExpectFile(QString::fromStdString(out.string()));
    answerer.ExpectMessage();
    QVERIFY(vesk::guitest::Trigger(form, "ExportPictureItem"));
    QTRY_VERIFY(answerer.Idle());
    QVERIFY(!std::filesystem::exists(out));
  }
};

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  PictureTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "test_picture.moc"
