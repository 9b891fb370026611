// The grids of the main window driven as a person does: keys into the input
// tables, the mouse on AGrid, the painted colours, the result selection, the
// rows that follow the toggles and the hints.
#include <QApplication>
#include <QClipboard>
#include <QGridLayout>
#include <QHelpEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QToolTip>
#include <QtTest>
#include <QFontMetrics>
#include <fstream>
#include <memory>
#include <sstream>

#include "TestPaths.h"
#include "core/problem/ProblemFile.h"
#include "core/problem/ScriptedDialogs.h"
#include "core/problem/StructuralEdits.h"
#include "core/problem/Toggles.h"
#include "core/sorting/ResultView.h"
#include "core/sorting/RobustAssignments.h"
#include "gui/InputGrids.h"
#include "gui/ResultGrids.h"

using vesk::core::InputTable;
using vesk::core::Problem;
using vesk::core::ScriptedDialogs;
using vesk::core::SortingState;
using vesk::gui::GridView;
using vesk::gui::InputGrids;
using vesk::gui::ResultGrids;

namespace {

const QColor kAqua(0, 255, 255), kYellow(255, 255, 0), kLime(0, 255, 0), kWhite(255, 255, 255);
const QColor kGreen(0, 128, 0), kRed(255, 0, 0);

bool ReadFile(Problem& problem, ScriptedDialogs& dialogs, const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return in && vesk::core::ReadProblemData(problem, dialogs, bytes.str(), path.string());
}

std::string Cell(const vesk::core::Grid& grid, int row, int column) { return grid.CellOrEmpty(row, column); }

// The widget that paints grid cell (row, column) and the cell's rectangle in
// it: the vertical header for the label column, the horizontal header for
// the header row, the viewport otherwise.
std::pair<QWidget*, QRect> Painted(GridView* view, int row, int column) { return view->PaintedCell(row, column); }

// The colour of a cell away from its text (which starts at the top-left).
QColor Background(GridView* view, int row, int column) {
  auto [widget, rect] = Painted(view, row, column);
  return widget->grab().toImage().pixelColor(rect.bottomRight() - QPoint(3, 3));
}

// Pixels inside the cell darker than mid-grey: its text, or hatching.
int DarkPixels(GridView* view, int row, int column) {
  auto [widget, rect] = Painted(view, row, column);
  const QImage image = widget->grab().toImage();
  int dark = 0;
  const QRect inner = rect.adjusted(2, 2, -2, -2);
  for (int y = inner.top(); y <= inner.bottom(); ++y)
    for (int x = inner.left(); x <= inner.right(); ++x)
      if (image.pixelColor(x, y).lightness() < 100) ++dark;
  return dark;
}

void Click(GridView* view, int row, int column) {
  auto [widget, rect] = Painted(view, row, column);
  QTest::mouseClick(widget, Qt::LeftButton, {}, rect.center());
}

// Makes (row, column) the current cell of a focused grid and returns the
// editor that opens on it by itself.
QLineEdit* EditorOn(GridView* view, int row, int column) {
  view->setFocus();
  view->setCurrentIndex(view->model()->index(row, column));
  QLineEdit* editor = nullptr;
  const bool open = QTest::qWaitFor([&] {
    editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    return editor && view->isAncestorOf(editor);
  });
  return open ? editor : nullptr;
}

// One window holding the grids, active so that keys and focus behave.
struct Host {
  QWidget window;
  QGridLayout* layout = new QGridLayout(&window);
  void Show(std::initializer_list<QWidget*> widgets) {
    int i = 0;
    for (QWidget* w : widgets) layout->addWidget(w, i / 3, i % 3), ++i;
    window.resize(1500, 900);
    window.show();
    QApplication::setActiveWindow(&window);
  }
};

// Records whether the selected grid was enabled whenever a message came.
struct WatchingDialogs : ScriptedDialogs {
  QWidget* watched = nullptr;
  std::vector<bool> enabledAtMessage;
  void ShowMessage(vesk::core::MessageKind kind, std::string_view text) override {
    if (watched) enabledAtMessage.push_back(watched->isEnabled());
    ScriptedDialogs::ShowMessage(kind, text);
  }
};

}  // namespace

class GridsTest : public QObject {
  Q_OBJECT

  // sample.tri: n = 4, m = 10, K = 3, one added constraint "K g 0 -1 1 0 0 0".
  struct Input {
    Problem problem;
    ScriptedDialogs dialogs;
    Host host;
    std::unique_ptr<InputGrids> grids;
  };

  std::unique_ptr<Input> Sample() {
    auto in = std::make_unique<Input>();
    if (!ReadFile(in->problem, in->dialogs, vesk::test::SourceDir() / "examples" / "sample.tri")) return nullptr;
    in->grids = std::make_unique<InputGrids>(in->problem, in->dialogs, &in->host.window);
    in->grids->Reload();
    in->host.Show({in->grids->AGrid, in->grids->FGrid, in->grids->BGrid, in->grids->CGrid});
    if (!QTest::qWaitForWindowActive(&in->host.window)) return nullptr;
    return in;
  }

 private slots:
  void KeysGoThroughTheFiltersIntoTheCells() {
    auto in = Sample();
    QVERIFY(in);
    Problem& p = in->problem;
    QVERIFY(!p.DataModified);
    QSignalSpy changed(in->grids.get(), &InputGrids::problemChanged);
    struct Case {
      GridView* view;
      const vesk::core::Grid* grid;
      int row, column;
      const char* typed;
      const char* cell;
    } const cases[] = {
        {in->grids->AGrid, &p.AGrid, 1, 3, "1a2.b-", "12.-"},
        {in->grids->FGrid, &p.FGrid, p.DirectionRow(), 2, "7-x1.", "-1"},  // directions: '-' and '1'
        {in->grids->FGrid, &p.FGrid, 2, 1, "3q,5", "35"},
        {in->grids->BGrid, &p.BGrid, 1, 1, "0.6k", "0.6"},
        {in->grids->CGrid, &p.CGrid, 2, 1, "<3", "3"},
    };
    for (const Case& c : cases) {
      QLineEdit* editor = EditorOn(c.view, c.row, c.column);
      QVERIFY2(editor, qPrintable(c.view->objectName()));
      editor->selectAll();
      QTest::keyClicks(editor, c.typed);
      // The cell follows the editor at once: nothing typed waits for the
      // editor to close.
      QCOMPARE(Cell(*c.grid, c.row, c.column), std::string(c.cell));
    }
    QVERIFY(p.DataModified);
    QVERIFY(changed.count() > 0);

    // Backspace edits; Tab moves on to the next cell, whose editor opens.
    QLineEdit* editor = EditorOn(in->grids->AGrid, 1, 3);
    QVERIFY(editor);
    QTest::keyClick(editor, Qt::Key_End);
    QTest::keyClick(editor, Qt::Key_Backspace);
    QCOMPARE(Cell(p.AGrid, 1, 3), std::string("12."));
    QTest::keyClick(editor, Qt::Key_Tab);
    QCOMPARE(in->grids->AGrid->currentIndex(), in->grids->AGrid->model()->index(1, 4));
    QTRY_VERIFY(qobject_cast<QLineEdit*>(QApplication::focusWidget()));

    // Pasted text is filtered as typed text is.
    editor = EditorOn(in->grids->BGrid, 2, 2);
    QVERIFY(editor);
    editor->selectAll();
    QApplication::clipboard()->setText("0,2x5");
    QTest::keySequence(editor, QKeySequence::Paste);
    QCOMPARE(Cell(p.BGrid, 2, 2), std::string("025"));
  }

  void TheNormRowTakesNeitherEditorNorSelection() {
    auto in = Sample();
    QVERIFY(in);
    GridView* cgrid = in->grids->CGrid;
    QVERIFY(EditorOn(cgrid, 2, 1));
    const QModelIndex norm = cgrid->model()->index(1, 1);
    Click(cgrid, 1, 1);
    QCOMPARE(cgrid->currentIndex(), cgrid->model()->index(2, 1));
    QVERIFY(!cgrid->selectionModel()->isSelected(norm));
    QVERIFY(!(norm.flags() & Qt::ItemIsEditable));
    cgrid->edit(norm);
    QTest::qWait(20);
    QCOMPARE(QApplication::focusWidget()->metaObject()->className(), "vesk::gui::FilteredLineEdit");
    QCOMPARE(cgrid->currentIndex(), cgrid->model()->index(2, 1));  // the editor stays where it was
    // The keyboard passes over it too.
    cgrid->setFocus();
    QTest::keyClick(cgrid, Qt::Key_Up);
    QCOMPARE(cgrid->currentIndex().row(), 2);
    QCOMPARE(Cell(in->problem.CGrid, 1, 1), std::string("0"));
  }

  void TheMouseOnAGridRenamesAndSetsExamples() {
    auto in = Sample();
    QVERIFY(in);
    Problem& p = in->problem;
    GridView* agrid = in->grids->AGrid;
    QSignalSpy changed(in->grids.get(), &InputGrids::problemChanged);

    // A click on the example columns moves to the first criterion; the
    // release on ELow of the current row asks for the lower category.
    in->dialogs.AnswerText("2");
    Click(agrid, 4, 1);  // "Dogwood Ltd", no example [1, 3]
    QCOMPARE(agrid->currentIndex(), agrid->model()->index(4, 3));
    QCOMPARE(in->dialogs.prompts.back().caption, std::string("Assignment example for action Dogwood Ltd"));
    QCOMPARE(in->dialogs.prompts.back().prompt, std::string("Lower category"));
    QCOMPARE(Cell(p.AGrid, 4, 1), std::string("2"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(Background(agrid, 4, 1), kYellow);
    QCOMPARE(Background(agrid, 4, 0), kAqua);

    // Above EHigh: refused.
    in->dialogs.AnswerText("2");
    Click(agrid, 2, 1);  // "Birch & Co", [1, 1]
    QCOMPARE(in->dialogs.Texts(vesk::core::MessageKind::Error), std::vector<std::string>{"Invalid category"});
    QCOMPARE(Cell(p.AGrid, 2, 1), std::string("1"));
    QCOMPARE(changed.count(), 1);

    // The criterion header renames the criterion in both tables.
    in->dialogs.AnswerText("speed");
    Click(agrid, 0, 5);
    QCOMPARE(in->dialogs.prompts.back().caption, std::string("Edit criterion name"));
    QCOMPARE(in->dialogs.prompts.back().initial, std::string("delivery"));
    QCOMPARE(Cell(p.AGrid, 0, 5), std::string("speed"));
    QCOMPARE(Cell(p.FGrid, 0, 3), std::string("speed"));
    QCOMPARE(agrid->currentIndex(), agrid->model()->index(2, 5));  // the current row stays
    QCOMPARE(in->grids->FGrid->model()->headerData(3, Qt::Horizontal).toString(), QString("speed"));

    // The name cell renames the action; Cancel changes nothing.
    in->dialogs.AnswerText("Alder & Sons");
    Click(agrid, 1, 0);
    QCOMPARE(Cell(p.AGrid, 1, 0), std::string("Alder & Sons"));
    Click(agrid, 1, 0);  // no answer queued: Cancel
    QCOMPARE(Cell(p.AGrid, 1, 0), std::string("Alder & Sons"));
    QCOMPARE(changed.count(), 3);
  }

  void InputCellsArePaintedByTheirRules() {
    auto in = Sample();
    QVERIFY(in);
    Problem& p = in->problem;
    GridView *agrid = in->grids->AGrid, *fgrid = in->grids->FGrid, *cgrid = in->grids->CGrid;
    in->host.window.setFocus();  // no editor over the cells read

    // "Alder Supply" [3, 3], "Birch & Co" [1, 1], "Dogwood Ltd" [1, 3].
    QCOMPARE(Background(agrid, 1, 0), kAqua);
    QCOMPARE(Background(agrid, 1, 1), kYellow);
    QCOMPARE(Background(agrid, 1, 2), kWhite);
    QCOMPARE(Background(agrid, 2, 2), kYellow);
    QVERIFY(Background(agrid, 4, 0) != kAqua);
    QCOMPARE(Background(agrid, 4, 3), kWhite);

    // Profile and direction rows lime; v1 of cost (25 > p = 5) drawn, the
    // same threshold at or below p drawn white.
    QCOMPARE(Background(fgrid, p.ProfileRow(1), 1), kLime);
    QCOMPARE(Background(fgrid, p.DirectionRow(), 4), kLime);
    QCOMPARE(Background(fgrid, 2, 1), kWhite);
    const int v1 = p.ProfileRow(1) + 4;
    QVERIFY(DarkPixels(fgrid, v1, 1) > 0);
    p.FGrid.SetCell(v1, 1, "5");
    in->grids->Repaint();
    QCOMPARE(DarkPixels(fgrid, v1, 1), 0);
    // A threshold being typed ("-") draws as it stands.
    p.FGrid.SetCell(v1, 1, "-");
    in->grids->Repaint();
    QVERIFY(DarkPixels(fgrid, v1, 1) > 0);

    // Norm row yellow; zero coefficients blank, a zero RHS shown.
    QCOMPARE(Background(cgrid, 1, 2), kYellow);
    QCOMPARE(Background(cgrid, 2, 2), kWhite);
    QVERIFY(DarkPixels(cgrid, 2, 2) > 0);        // "-1"
    QCOMPARE(DarkPixels(cgrid, 2, 1), 0);        // "0"
    QVERIFY(DarkPixels(cgrid, 2, p.RhsColumn()) > 0);  // "0" in RHS
  }

  void URowsAndVRowsFollowTheToggles() {
    auto in = Sample();
    QVERIFY(in);
    Problem& p = in->problem;
    GridView* fgrid = in->grids->FGrid;
    struct Case {
      bool vj, uj, uShown, vShown;
    } const cases[] = {{true, false, false, true}, {true, true, true, true}, {false, false, false, false}};
    for (const Case& c : cases) {
      vesk::core::SetUsevj(p, c.vj);
      vesk::core::SetUseuj(p, c.uj);
      in->grids->Reload();
      for (int h = 1; h < p.NumCategories; ++h) {
        const int u = p.ProfileRow(h) + 3;
        QCOMPARE(fgrid->isRowHidden(u), !c.uShown);
        QCOMPARE(fgrid->isRowHidden(u + 1), !c.vShown);
        QVERIFY(!fgrid->isRowHidden(u - 1));  // p
      }
      QVERIFY(!fgrid->isRowHidden(p.DirectionRow()));
    }
  }

  void HintsShowTheFullTextOfWideCells() {
    auto in = Sample();
    QVERIFY(in);
    Problem& p = in->problem;
    GridView* fgrid = in->grids->FGrid;
    p.FGrid.SetCell(2, 1, "0.000123456789");
    p.FGrid.SetCell(0, 2, "quality of after-sales service");
    in->grids->Repaint();
    struct Case {
      int row, column;
      QString hint;
    } const cases[] = {
        {2, 1, "0.000123456789"},
        {0, 2, "quality of after-sales service"},  // a header cell
        {3, 1, "Use veto thresholds"},             // narrow: the grid's own hint
    };
    for (const Case& c : cases) {
      auto [widget, rect] = Painted(fgrid, c.row, c.column);
      QHelpEvent help(QEvent::ToolTip, rect.center(), widget->mapToGlobal(rect.center()));
      QApplication::sendEvent(widget, &help);
      QTRY_COMPARE(QToolTip::text(), c.hint);
      QToolTip::hideText();
      QTRY_VERIFY(!QToolTip::isVisible());
    }
  }

  // Results of imprecise_holes.tri: "action 7" (row 7) ranges over 1..4 with
  // holes at 2 and 3 and is inferred into 4; "action 1" has the example [1, 2].
  void ResultCellsArePaintedAndSelectedCellsSolved() {
    const auto dir = vesk::test::ExamplesDir();
    if (!dir) QSKIP("shared examples absent");
    Problem p;
    WatchingDialogs dialogs;
    SortingState state;
    QVERIFY(ReadFile(p, dialogs, *dir / "imprecise_holes.tri"));
    QVERIFY(vesk::core::CalcRangeItemClick(p, state, dialogs));
    Host host;
    ResultGrids grids(p, state, dialogs, &host.window);
    grids.Reload();
    host.Show({grids.RGrid, grids.ORGrid, grids.DGrid, grids.ICGrid, grids.IPGrid});
    QVERIFY(QTest::qWaitForWindowExposed(&host.window));
    GridView* rgrid = grids.RGrid;

    struct Case {
      int row, column;
      QColor colour;
    } const cases[] = {
        {7, 1, kLime}, {7, 4, kGreen}, {7, 5, kWhite}, {1, 0, kAqua}, {1, 1, kGreen}, {1, 2, kWhite},
    };
    for (const Case& c : cases)
      QVERIFY2(Background(rgrid, c.row, c.column) == c.colour,
               qPrintable(QString("cell %1,%2: %3").arg(c.row).arg(c.column).arg(Background(rgrid, c.row, c.column).name())));
    QVERIFY(Background(rgrid, 7, 0) != kAqua);
    // Holes are hatched; the "X" under the fill of other cells never shows.
    const QRect hole = rgrid->CellRect(7, 2);
    QVERIFY(DarkPixels(rgrid, 7, 2) > 10);
    QVERIFY(DarkPixels(rgrid, 7, 2) < hole.width() * hole.height() / 2);  // black lines on white
    QCOMPARE(DarkPixels(rgrid, 7, 1), 0);
    QCOMPARE(DarkPixels(rgrid, 7, 5), 0);

    // A reachable cell solves its assignment into DGrid row 1; a hole clears it.
    dialogs.watched = rgrid;
    const int programRows = state.IPGrid.RowCount();
    Click(rgrid, 7, 1);
    QVERIFY(!state.DGrid.Cell(1, 0).empty());
    QCOMPARE(grids.DGrid->model()->data(grids.DGrid->model()->index(1, 0)).toString(),
             QString::fromStdString(state.DGrid.Cell(1, 0)));
    QCOMPARE(grids.DGrid->model()->headerData(0, Qt::Horizontal).toString(), QString("lambda"));
    QVERIFY(rgrid->isEnabled());
    Click(rgrid, 7, 2);
    QCOMPARE(state.DGrid.Cell(1, 0), std::string());
    Click(rgrid, 0, 1);  // the header "C1" selects nothing: action 1 is not solved into 1
    Click(rgrid, 1, 0);
    QCOMPARE(rgrid->currentIndex(), rgrid->model()->index(7, 2));
    QCOMPARE(state.DGrid.Cell(1, 0), std::string());
    QCOMPARE(state.IPGrid.RowCount(), programRows);

    // The solve runs with the grid disabled: a cell that no longer reads
    // shows its message meanwhile.
    const std::string kept = p.AGrid.Cell(7, 3);
    p.AGrid.SetCell(7, 3, "x");
    Click(rgrid, 7, 4);
    QCOMPARE(dialogs.enabledAtMessage, std::vector<bool>{false});
    QVERIFY(rgrid->isEnabled());
    p.AGrid.SetCell(7, 3, kept);

    // The variability order: ORGrid in RGrid's place, its row 1 is "action 7".
    vesk::core::ShowByVariabilityOrder(state);
    grids.ShowOrder();
    QVERIFY(!rgrid->isVisible());
    QVERIFY(grids.ORGrid->isVisible());
    QCOMPARE(Background(grids.ORGrid, 1, 1), kLime);
    QVERIFY(DarkPixels(grids.ORGrid, 1, 3) > 10);
    QCOMPARE(Background(grids.ORGrid, 1, 4), kGreen);

    // An edit that deletes actions leaves RGrid longer than the problem:
    // its painting reads only what still exists.
    vesk::core::ShowByInputOrder(state);
    grids.ShowOrder();
    p.NumActions = 5;
    p.AGrid.Resize(6, p.AGrid.ColCount());
    p.ResetResults();
    rgrid->viewport()->repaint();
    QVERIFY(Background(rgrid, 8, 0) != kAqua);
  }

  // conflict.tri is inconsistent: only the inferred cell is coloured, green
  // inside the example and red outside.
  void InconsistentRunsColourTheInferredCell() {
    const auto dir = vesk::test::ExamplesDir();
    if (!dir) QSKIP("shared examples absent");
    Problem p;
    ScriptedDialogs dialogs;
    SortingState state;
    QVERIFY(ReadFile(p, dialogs, *dir / "conflict.tri"));
    vesk::core::CalcRangeItemClick(p, state, dialogs);
    QVERIFY(!state.Consistent);
    Host host;
    ResultGrids grids(p, state, dialogs, &host.window);
    grids.Reload();
    host.Show({grids.RGrid, grids.DGrid, grids.IPGrid});
    QVERIFY(QTest::qWaitForWindowExposed(&host.window));
    // "action 1" [3, 3] inferred 3; "action 8" [1, 1] inferred 2.
    QCOMPARE(Background(grids.RGrid, 1, 3), kGreen);
    QCOMPARE(Background(grids.RGrid, 1, 2), kWhite);
    QCOMPARE(Background(grids.RGrid, 8, 2), kRed);
    QCOMPARE(Background(grids.RGrid, 8, 1), kWhite);
    // Any selection after an inconsistent run clears DGrid row 1.
    state.DGrid.SetCell(1, 0, "0.5");
    Click(grids.RGrid, 1, 3);
    QCOMPARE(state.DGrid.Cell(1, 0), std::string());
    // Violated rows of the inference program in red; zeros blank except RHS.
    QVERIFY(!state.ViolatedRows.empty());
    const int red = *state.ViolatedRows.begin() + 1;
    GridView* ipgrid = grids.IPGrid;
    QCOMPARE(ipgrid->model()->data(ipgrid->model()->index(red, 1), Qt::ForegroundRole).value<QBrush>().color(), kRed);
    int black = 1;
    while (state.ViolatedRows.count(black - 1)) ++black;
    QVERIFY(!ipgrid->model()->data(ipgrid->model()->index(black, 1), Qt::ForegroundRole).isValid());
    QCOMPARE(grids.DGrid->model()->data(grids.DGrid->model()->index(2, 0), Qt::ForegroundRole).value<QBrush>().color(),
             kGreen);
  }

  // The Height control is the rows' minimum: a larger font raises them so
  // that no text is cut. The Width control is the columns' minimum; each
  // column fits its header and texts up to three times it, a label column up
  // to 40 characters.
  void CellSizesApplyToTheirGrids() {
    Problem p;
    ScriptedDialogs dialogs;
    SortingState state;
    QVERIFY(ReadFile(p, dialogs, vesk::test::SourceDir() / "examples" / "sample.tri"));
    QVERIFY(vesk::core::CalcRangeItemClick(p, state, dialogs));
    QWidget host;
    ResultGrids grids(p, state, dialogs, &host);
    InputGrids inputs(p, dialogs, &host);
    grids.Reload();
    inputs.Reload();
    const std::vector<GridView*> governed = {grids.RGrid,  grids.ORGrid, grids.ICGrid, grids.IPGrid,
                                             inputs.AGrid, inputs.FGrid, inputs.BGrid, inputs.CGrid};
    grids.SetCellSizes(20, 60, 8);
    inputs.SetCellSizes(20, 60, 8);
    for (GridView* v : governed) {
      QCOMPARE(v->rowHeight(1), 20);
      QCOMPARE(v->font().pointSize(), 8);
      for (int c = 1; c < v->model()->columnCount(); ++c) {
        const QString header = v->model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        QVERIFY2(v->columnWidth(c) >= 60 && v->columnWidth(c) <= 180, qPrintable(v->objectName() + " " + header));
        QVERIFY(v->columnWidth(c) >= std::min(180, QFontMetrics(v->horizontalHeader()->font()).horizontalAdvance(header)));
      }
    }
    QCOMPARE(grids.DGrid->rowHeight(1), 16);  // not governed by Height
    QVERIFY(grids.DGrid->columnWidth(0) >= 60);
    QVERIFY(grids.ICGrid->verticalHeader()->width() >= 120);
    QVERIFY(grids.IPGrid->verticalHeader()->width() >= 120);
    // The names of the actions read in full.
    for (int a = 1; a <= p.NumActions; ++a)
      QVERIFY(grids.RGrid->verticalHeader()->width() >
              QFontMetrics(grids.RGrid->font()).horizontalAdvance(QString::fromStdString(p.AGrid.Cell(a, 0))));

    grids.SetCellSizes(20, 60, 24);
    inputs.SetCellSizes(20, 60, 24);
    std::vector<GridView*> all = governed;
    all.push_back(grids.DGrid);
    for (GridView* v : all) {
      const int text = QFontMetrics(v->font()).height();
      QCOMPARE(v->font().pointSize(), 24);
      QVERIFY2(v->rowHeight(1) > text && v->rowHeight(1) > 20, qPrintable(v->objectName()));
      QVERIFY(v->horizontalHeader()->height() > text);
    }
    QVERIFY(grids.DGrid->maximumHeight() >= grids.DGrid->horizontalHeader()->height() + 2 * grids.DGrid->rowHeight(1));
  }
};

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  GridsTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "test_grids.moc"
