// The grids of the main window worked as a spreadsheet is: blocks pasted and
// copied, columns sized by their texts and by hand, fixed columns that stay
// when the table scrolls, the keyboard over every cell (names and examples
// typed in place, the sign's drop-down), the standard shortcuts, and deletes
// that offer what is selected.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFontMetrics>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

#include "MainFormDriver.h"
#include "ModalAnswerer.h"
#include "core/problem/InputGrid.h"
#include "gui/GridView.h"
#include "gui/InputGrids.h"
#include "gui/ResultGrids.h"
#include "gui/TMainForm.h"

using vesk::core::Grid;
using vesk::core::Problem;
using vesk::gui::GridView;
using vesk::gui::TMainForm;
using vesk::guitest::ModalAnswerer;
using vesk::guitest::ProblemSnapshot;
using vesk::guitest::Trigger;

namespace {

std::string Cell(const Grid& grid, int row, int column) { return grid.CellOrEmpty(row, column); }

// The window on the shipped example (n = 4, m = 10, K = 3, one added
// constraint), shown and active so that the keyboard works.
std::unique_ptr<TMainForm> Window() {
  auto form = std::make_unique<TMainForm>();
  form->resize(1000, 700);
  form->show();
  form->activateWindow();
  if (!QTest::qWaitForWindowActive(form.get())) return nullptr;
  if (!form->OpenFile(vesk::guitest::SampleProblem())) return nullptr;
  return form;
}

GridView* Grid_(TMainForm& form, const char* name) { return form.findChild<GridView*>(name); }

// Shows the tab of `grid` and makes (row, column) its current cell, with the
// focus in the view that shows it.
void GoTo(TMainForm& form, GridView* grid, int row, int column) {
  // A box that was answered may have left the window inactive.
  form.activateWindow();
  (void)QTest::qWaitForWindowActive(&form);
  auto* pages = form.findChild<QTabWidget*>("PageControlIn");
  for (int i = 0; i < pages->count(); ++i)
    if (pages->widget(i) == grid || pages->widget(i)->isAncestorOf(grid)) pages->setCurrentIndex(i);
  QWidget* view = grid->FixedView() && column < grid->FixedColumns() ? grid->FixedView() : grid;
  view->setFocus();
  grid->setCurrentIndex(grid->model()->index(row, column));
  QApplication::processEvents();
}

// The widget the keyboard types into now.
QWidget* Focus() { return QApplication::focusWidget(); }

void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QTest::keyClick(Focus(), static_cast<Qt::Key>(key), modifiers);
  QApplication::processEvents();
}

void Type(const QString& text) {
  for (QChar c : text) QTest::keyClick(Focus(), c.toLatin1());
  QApplication::processEvents();
}

}  // namespace

class SpreadsheetTest : public QObject {
  Q_OBJECT
 private slots:
  void OpeningPutsTheKeyboardOnTheFirstPerformance() {
    auto form = Window();
    QVERIFY(form);
    GridView* agrid = form->inputGrids()->AGrid;
    QCOMPARE(agrid->currentIndex(), agrid->model()->index(1, 3));
    QTRY_VERIFY(Focus() && agrid->isAncestorOf(Focus()));
    Type("12");
    QTRY_COMPARE(Cell(form->problem().AGrid, 1, 3), std::string("12"));
  }

  void ExamplesAndNamesAreTypedInPlace() {
    ModalAnswerer answerer;
    auto form = Window();
    QVERIFY(form);
    Problem& p = form->problem();
    GridView* agrid = form->inputGrids()->AGrid;
    // The keyboard goes left from the performances into EHigh, ELow and the
    // name, which the fixed view shows.
    GoTo(*form, agrid, 4, 3);  // "Dogwood Ltd" [1, 3]
    Key(Qt::Key_Left);
    QCOMPARE(agrid->currentIndex().column(), 2);
    QTRY_VERIFY(Focus() == agrid->FixedView() || agrid->FixedView()->isAncestorOf(Focus()));
    Key(Qt::Key_Left);
    QCOMPARE(agrid->currentIndex(), agrid->model()->index(4, 1));
    Type("2");
    Key(Qt::Key_Return);
    QTRY_COMPARE(Cell(p.AGrid, 4, 1), std::string("2"));
    QVERIFY(p.DataModified);
    QVERIFY(answerer.messages.isEmpty());

    // Above EHigh: "Invalid category", nothing changes.
    answerer.ExpectMessage("OK");
    QTRY_VERIFY(Focus() == agrid->FixedView());
    Type("4");
    Key(Qt::Key_Return);
    QTRY_VERIFY(answerer.Idle());
    QCOMPARE(answerer.messages, QStringList{"Invalid category"});
    QCOMPARE(Cell(p.AGrid, 4, 1), std::string("2"));

    // Delete clears the bound.
    GoTo(*form, agrid, 4, 1);
    Key(Qt::Key_Delete);
    QCOMPARE(Cell(p.AGrid, 4, 1), std::string("1"));

    // F2 on the name renames the action in place.
    GoTo(*form, agrid, 4, 0);
    Key(Qt::Key_F2);
    QTRY_VERIFY(qobject_cast<QLineEdit*>(Focus()));
    static_cast<QLineEdit*>(Focus())->selectAll();
    Type("Supplier 3");
    Key(Qt::Key_Return);
    QTRY_COMPARE(Cell(p.AGrid, 4, 0), std::string("Supplier 3"));

    // Up from the first row reaches the criterion's name; typing renames it
    // in AGrid and FGrid.
    GoTo(*form, agrid, 1, 4);
    QTRY_VERIFY(Focus());
    Key(Qt::Key_Up);
    QCOMPARE(agrid->HeaderCursor(), 4);
    Type("price");
    Key(Qt::Key_Return);
    QTRY_COMPARE(Cell(p.AGrid, 0, 4), std::string("price"));
    QCOMPARE(Cell(p.FGrid, 0, 2), std::string("price"));
    Key(Qt::Key_Down);
    QCOMPARE(agrid->HeaderCursor(), -1);
    QCOMPARE(agrid->currentIndex(), agrid->model()->index(1, 4));
    QCOMPARE(answerer.unexpected, QStringList());

    // Each was one step of Undo.
    QVERIFY(Trigger(*form, "UndoItem"));
    QCOMPARE(Cell(p.AGrid, 0, 4), std::string("quality"));
    QCOMPARE(Cell(p.AGrid, 4, 0), std::string("Supplier 3"));
  }

  // A block goes through the rules of every cell it lands on: all of it is
  // pasted as one step of Undo, or nothing with one message naming the cell.
  void BlocksPasteIntoEveryInputTable_data() {
    QTest::addColumn<QString>("grid");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("cells");  // "row,column=text" afterwards; empty when refused
    QTest::addColumn<QString>("message");
    QTest::newRow("AGrid") << "AGrid" << 2 << 3 << "11\t12\n13\t14\n"
                           << QStringList{"2,3=11", "2,4=12", "3,3=13", "3,4=14"} << "";
    QTest::newRow("AGrid refused") << "AGrid" << 2 << 3 << "11\tx\n" << QStringList{}
                                   << "Cannot paste \"x\" into row 2 (Birch & Co), column 4 (quality): the cell does "
                                      "not take it. Nothing was pasted.";
    QTest::newRow("FGrid") << "FGrid" << 2 << 1 << "1\t2\n" << QStringList{"2,1=1", "2,2=2"} << "";
    QTest::newRow("FGrid refused") << "FGrid" << 11 << 1 << "1\t2\n" << QStringList{}
                                   << "Cannot paste \"2\" into row 11 (MAX/min?(1/-1)), column 2 (quality): the cell "
                                      "does not take it. Nothing was pasted.";
    QTest::newRow("BGrid, decimal commas") << "BGrid" << 1 << 2 << "0,1\t0,2\n" << QStringList{"1,2=0.1", "1,3=0.2"}
                                           << "";
    QTest::newRow("BGrid refused") << "BGrid" << 2 << 1 << "0.5\n0.7\n" << QStringList{}
                                   << "Cannot paste here: the block runs past the table at row 3, column 1 (lambda). "
                                      "Nothing was pasted.";
    QTest::newRow("CGrid, CSV") << "CGrid" << 2 << 1 << "0,5;1\n" << QStringList{"2,1=0.5", "2,2=1"} << "";
    QTest::newRow("CGrid refused") << "CGrid" << 2 << 6 << "=>\n" << QStringList{}
                                   << "Cannot paste \"=>\" into row 2 (ad1), column 6 (<,=,>): the cell does not take "
                                      "it. Nothing was pasted.";
  }

  void BlocksPasteIntoEveryInputTable() {
    QFETCH(QString, grid);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(QStringList, cells);
    QFETCH(QString, message);
    ModalAnswerer answerer;
    auto form = Window();
    QVERIFY(form);
    Problem& p = form->problem();
    const ProblemSnapshot before(p);
    GridView* view = Grid_(*form, qPrintable(grid));
    GoTo(*form, view, row, column);
    QTRY_VERIFY(Focus() && view->isAncestorOf(Focus()));  // the cell's editor
    QApplication::clipboard()->setText(text);
    if (!message.isEmpty()) answerer.ExpectMessage("OK");
    Key(Qt::Key_V, Qt::ControlModifier);
    QTRY_VERIFY(answerer.Idle());
    QCOMPARE(answerer.unexpected, QStringList());
    if (!message.isEmpty()) {
      QCOMPARE(answerer.messages, QStringList{message});
      QVERIFY(ProblemSnapshot(p) == before);
      QVERIFY(!p.DataModified);
      return;
    }
    const Grid& table = vesk::core::TableGrid(p, grid == "AGrid"   ? vesk::core::InputTable::AGrid
                                                 : grid == "FGrid" ? vesk::core::InputTable::FGrid
                                                 : grid == "BGrid" ? vesk::core::InputTable::BGrid
                                                                   : vesk::core::InputTable::CGrid);
    for (const QString& cell : cells) {
      const QStringList parts = cell.split('=');
      const QStringList at = parts[0].split(',');
      QCOMPARE(QString::fromStdString(Cell(table, at[0].toInt(), at[1].toInt())), parts[1]);
    }
    QVERIFY(p.DataModified);
    // The filled cells are selected; one Undo takes the whole block back.
    QCOMPARE(view->SelectedArea().topLeft(), QPoint(column, row));
    QVERIFY(Trigger(*form, "UndoItem"));
    QVERIFY(ProblemSnapshot(p) == before);
    QVERIFY(!p.DataModified);
  }

  void CopiedBlocksPasteBackAndResultsCopyTheirCategories() {
    ModalAnswerer answerer;
    auto form = Window();
    QVERIFY(form);
    Problem& p = form->problem();
    GridView* agrid = form->inputGrids()->AGrid;
    // "Alder Supply" and "Birch & Co", cost and quality.
    agrid->selectionModel()->select(QItemSelection(agrid->model()->index(1, 3), agrid->model()->index(2, 4)),
                                    QItemSelectionModel::ClearAndSelect);
    agrid->setFocus();
    Key(Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QString("40\t80\n75\t35\n"));
    // Into "Iris Components" and "Juniper Group".
    GoTo(*form, agrid, 9, 3);
    QTRY_VERIFY(Focus());
    Key(Qt::Key_V, Qt::ControlModifier);
    for (int c = 3; c <= 4; ++c)
      for (int r = 0; r < 2; ++r) QCOMPARE(Cell(p.AGrid, 9 + r, c), Cell(p.AGrid, 1 + r, c));
    // Ctrl+A, typed into a cell, takes the data area: every performance.
    QTRY_VERIFY(qobject_cast<QLineEdit*>(Focus()));
    Key(Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(Focus(), static_cast<QWidget*>(agrid));
    QCOMPARE(agrid->SelectedArea(), QRect(3, 1, p.NumCriteria, p.NumActions));

    // The ranges copy as the category numbers an action can reach.
    QVERIFY(form->CalcRangeItemClick());
    GridView* rgrid = form->resultGrids()->RGrid;
    const auto& s = form->state();
    rgrid->selectionModel()->select(QItemSelection(rgrid->model()->index(1, 1), rgrid->model()->index(1, 3)),
                                    QItemSelectionModel::ClearAndSelect);
    rgrid->setFocus();
    Key(Qt::Key_C, Qt::ControlModifier);
    QString expected = QString::fromStdString(p.AGrid.Cell(1, 0));  // whole rows carry their names
    for (int h = 1; h <= 3; ++h) {
      const bool reachable = h >= s.WorstCategory[0] && h <= s.BestCategory[0] && s.RGrid.Cell(1, h).empty();
      expected += "\t" + (reachable ? QString::number(h) : QString());
    }
    QCOMPARE(QApplication::clipboard()->text(), expected + "\n");
    QCOMPARE(answerer.unexpected, QStringList());
  }

  // Columns fit their texts when a problem is opened or computed; a border of
  // a header is dragged or double-clicked like a spreadsheet's.
  void ColumnsFitTheirTextsAndFollowTheHeaderBorders() {
    auto form = Window();
    QVERIFY(form);
    Problem& p = form->problem();
    GridView* agrid = form->inputGrids()->AGrid;
    QTableView* fixed = agrid->FixedView();
    const QFontMetrics metrics(agrid->font());
    // Names fit on opening, within 40 characters.
    for (int a = 1; a <= p.NumActions; ++a)
      QVERIFY(agrid->columnWidth(0) > metrics.horizontalAdvance(QString::fromStdString(p.AGrid.Cell(a, 0))));

    // A longer name and criterion: a double-click on the borders of their
    // headers fits them.
    const QString longName = "Supplier 10 Ltd";
    vesk::core::SetActionName(p, 2, longName.toStdString());
    vesk::core::SetCriterionName(p, 5, longName.toStdString());
    form->inputGrids()->Repaint();
    agrid->horizontalHeader()->resizeSection(5, 30);
    QCOMPARE(agrid->columnWidth(5), 30);  // the person's width
    auto doubleClickBorder = [](QHeaderView* header, int section) {
      const QPoint border(header->sectionViewportPosition(section) + header->sectionSize(section) - 1,
                          header->height() / 2);
      QTest::mouseDClick(header->viewport(), Qt::LeftButton, {}, border);
    };
    doubleClickBorder(agrid->horizontalHeader(), 5);
    QVERIFY(agrid->columnWidth(5) > metrics.horizontalAdvance(longName));
    fixed->horizontalHeader()->resizeSection(0, 40);
    QCOMPARE(agrid->columnWidth(0), 40);
    doubleClickBorder(fixed->horizontalHeader(), 0);
    QVERIFY(agrid->columnWidth(0) > metrics.horizontalAdvance(longName));
    QCOMPARE(fixed->columnWidth(0), agrid->columnWidth(0));

    // A width set by hand stays over a structural edit that keeps the
    // columns; a new criterion's column fits too.
    agrid->horizontalHeader()->resizeSection(4, 90);
    QVERIFY(Trigger(*form, "InsertActionItem"));
    QCOMPARE(agrid->columnWidth(4), 90);
    QVERIFY(Trigger(*form, "InsertCriterionItem"));
    QCOMPARE(agrid->model()->columnCount(), 3 + p.NumCriteria);
    QVERIFY(agrid->columnWidth(3 + p.NumCriteria - 1) >= form->cellSizes().columnWidth);
  }

  void FixedColumnsStayWhenTheTableScrollsSideways() {
    auto form = std::make_unique<TMainForm>();
    form->resize(500, 400);  // narrow: the performances scroll
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QVERIFY(form->OpenFile(vesk::guitest::SampleProblem()));
    GridView* agrid = form->inputGrids()->AGrid;
    QScrollBar* across = agrid->horizontalScrollBar();
    QVERIFY(across->maximum() > 0);
    const auto [lowWidget, lowBefore] = agrid->PaintedCell(1, 1);
    const QRect costBefore = agrid->CellRect(1, 3);
    across->setValue(across->maximum());
    QApplication::processEvents();
    const auto [lowWidgetAfter, lowAfter] = agrid->PaintedCell(1, 1);
    QCOMPARE(lowWidgetAfter, lowWidget);
    QCOMPARE(lowAfter, lowBefore);  // ELow in place ...
    QVERIFY(agrid->CellRect(1, 3).left() < costBefore.left());  // ... while the performances moved
    QVERIFY(lowWidget->isVisible());
    // ELow and EHigh, and their headers, are painted where they stand.
    const QImage image = lowWidget->grab().toImage();
    QCOMPARE(image.pixelColor(lowAfter.bottomRight() - QPoint(3, 3)), QColor(255, 255, 0));  // "Alder Supply" ELow 3
    auto* header = agrid->FixedView()->horizontalHeader();
    QCOMPARE(header->model()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QString("ELow"));
    QVERIFY(!header->isSectionHidden(0) && !header->isSectionHidden(1) && !header->isSectionHidden(2));
    // The last performance is in view, clear of the fixed columns.
    GoTo(*form, agrid, 1, 2 + form->problem().NumCriteria);
    QVERIFY(agrid->CellRect(1, 2 + form->problem().NumCriteria).left() >= agrid->FixedView()->width());
    // Going left onto the first performance scrolls it out from under them.
    Key(Qt::Key_Home, Qt::NoModifier);
    GoTo(*form, agrid, 1, 3);
    QVERIFY(agrid->CellRect(1, 3).left() >= agrid->FixedView()->width());
  }

  void TheSignCellIsADropDown() {
    auto form = Window();
    QVERIFY(form);
    Problem& p = form->problem();
    GridView* cgrid = form->inputGrids()->CGrid;
    const int sign = p.SignColumn();
    GoTo(*form, cgrid, 2, sign);
    QComboBox* box = nullptr;
    QTRY_VERIFY((box = qobject_cast<QComboBox*>(Focus())));
    QCOMPARE(box->count(), 3);
    QCOMPARE(box->itemText(0) + box->itemText(1) + box->itemText(2), QString("<=>"));
    QCOMPARE(box->currentText(), QString(">"));  // the cell holds ">="
    // Typed "=>" is no equality: each character chooses, the last counts.
    Type("=>");
    QCOMPARE(Cell(p.CGrid, 2, sign), std::string(">"));
    Type("x");  // dropped
    QCOMPARE(Cell(p.CGrid, 2, sign), std::string(">"));
    // Chosen from the list.
    box->activated(1);
    QCOMPARE(Cell(p.CGrid, 2, sign), std::string("="));
    QVERIFY(p.DataModified);
    // Up and Down move to the cells instead of through the list.
    Key(Qt::Key_Left);
    QCOMPARE(cgrid->currentIndex(), cgrid->model()->index(2, sign - 1));
  }

  void ShortcutsReachTheirCommands_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("command");
    QTest::newRow("Ctrl+N") << int(Qt::Key_N) << int(Qt::ControlModifier) << "NewItem";
    QTest::newRow("Ctrl+O") << int(Qt::Key_O) << int(Qt::ControlModifier) << "OpenItem";
    QTest::newRow("Ctrl+S") << int(Qt::Key_S) << int(Qt::ControlModifier) << "SaveDataItem";
    QTest::newRow("Ctrl+Shift+S") << int(Qt::Key_S) << int(Qt::ControlModifier | Qt::ShiftModifier)
                                  << "SaveDataAsItem";
    QTest::newRow("Ctrl+P") << int(Qt::Key_P) << int(Qt::ControlModifier) << "PrintFormItem";
    QTest::newRow("F9") << int(Qt::Key_F9) << 0 << "CalcRangeItem";
    QTest::newRow("F1") << int(Qt::Key_F1) << 0 << "ContextHelpItem";
    QTest::newRow("Ctrl+Tab") << int(Qt::Key_Tab) << int(Qt::ControlModifier) << "NextTabItem";
    QTest::newRow("Ctrl+PgDn") << int(Qt::Key_PageDown) << int(Qt::ControlModifier) << "NextTabItem";
    QTest::newRow("Ctrl+Shift+Tab") << int(Qt::Key_Backtab) << int(Qt::ControlModifier | Qt::ShiftModifier)
                                    << "PreviousTabItem";
    QTest::newRow("Ctrl+PgUp") << int(Qt::Key_PageUp) << int(Qt::ControlModifier) << "PreviousTabItem";
  }

  // Each key, typed into the cell being edited, reaches its command.
  void ShortcutsReachTheirCommands() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, command);
    ModalAnswerer answerer;
    answerer.declineUnqueued = true;
    auto form = Window();
    QVERIFY(form);
    QAction* action = vesk::guitest::Item(*form, command);
    QVERIFY(action);
    QSignalSpy triggered(action, &QAction::triggered);
    GoTo(*form, form->inputGrids()->AGrid, 1, 3);
    QTRY_VERIFY(qobject_cast<QLineEdit*>(Focus()));
    auto* pages = form->findChild<QTabWidget*>("PageControlIn");
    QTest::keyClick(Focus(), static_cast<Qt::Key>(key), Qt::KeyboardModifiers(modifiers));
    QTRY_COMPARE(triggered.count(), 1);
    QTRY_VERIFY(!QApplication::activeModalWidget());
    if (command == "CalcRangeItem") QVERIFY(form->problem().ResultsAvailable);
    if (command == "NextTabItem") QCOMPARE(pages->currentIndex(), 1);
    if (command == "PreviousTabItem") QCOMPARE(pages->currentIndex(), 3);
    if (command == "ContextHelpItem")  // the manual is not beside the test program
      QVERIFY(answerer.messages.value(0).contains("actions_in.htm"));
  }

  void AcceleratorsAreUniqueInEveryMenu() {
    TMainForm form;
    auto letter = [](const QString& text) {
      const int at = text.indexOf('&');
      return at >= 0 && at + 1 < text.size() ? text.at(at + 1).toLower() : QChar();
    };
    QList<QMenu*> menus;
    QSet<QChar> bar;
    for (QAction* a : form.menuBar()->actions()) {
      const QChar l = letter(a->text());
      QVERIFY2(!bar.contains(l), qPrintable(a->text()));
      bar.insert(l);
      if (a->menu()) menus << a->menu();
    }
    for (QMenu* menu : menus) {
      QSet<QChar> seen;
      for (QAction* a : menu->actions()) {
        if (a->isSeparator() || a->text().isEmpty()) continue;  // the recent files fill their places when shown
        const QChar l = letter(a->text());
        QVERIFY2(!l.isNull() && !seen.contains(l), qPrintable(menu->objectName() + ": " + a->text()));
        seen.insert(l);
      }
    }
    // The captions stay; only the marks moved.
    QCOMPARE(vesk::guitest::Item(form, "SaveDataAsItem")->text(), QString("Save Data &As..."));
    QCOMPARE(vesk::guitest::Item(form, "PrintSetupItem")->text(), QString("Print Se&tup..."));
    // F9 is on the toolbar too.
    auto* calc = form.findChild<QToolButton*>("SpeedButtonCalc");
    QVERIFY(calc);
    QCOMPARE(calc->toolTip(), QString("Calculate range of assignments for each action (F9)"));
  }

  void DeletesOfferWhatIsSelected() {
    ModalAnswerer answerer;
    auto form = Window();
    QVERIFY(form);
    Problem& p = form->problem();
    QStringList asked;  // "initial | prompt line"
    QStringList* record = &asked;
    auto answer = [&answerer, record](const QString& text) {
      answerer.Expect([record, text](QWidget* modal) {
        auto* box = qobject_cast<QInputDialog*>(modal);
        if (!box) {
          modal->close();
          return;
        }
        *record << box->textValue() + " | " + box->labelText();
        if (text.isEmpty()) {
          box->reject();
          return;
        }
        box->setTextValue(text);
        box->accept();
      });
    };
    // The selected row is offered; a name answers as well as a number.
    GoTo(*form, form->inputGrids()->AGrid, 4, 3);
    answer("");
    QVERIFY(Trigger(*form, "DeleteActionItem"));
    QTRY_VERIFY(answerer.Idle());
    QCOMPARE(asked.value(0), QString("4 | Delete action (1-10 or name):"));
    QCOMPARE(p.NumActions, 10);
    answer("Cedar Parts");
    QVERIFY(Trigger(*form, "DeleteActionItem"));
    QTRY_VERIFY(answerer.Idle());
    QCOMPARE(p.NumActions, 9);
    QCOMPARE(Cell(p.AGrid, 3, 0), std::string("Dogwood Ltd"));

    // The criterion of the selected column, from FGrid; the constraint of
    // the selected row.
    GoTo(*form, form->inputGrids()->FGrid, 2, 3);
    answer("");
    QVERIFY(Trigger(*form, "DeleteCriterionItem"));
    QTRY_VERIFY(answerer.Idle());
    QCOMPARE(asked.value(2), QString("3 | Delete criterion No. (1-4):"));
    GoTo(*form, form->inputGrids()->CGrid, 2, 2);
    answer("1");
    QVERIFY(Trigger(*form, "DeleteConstraintItem"));
    QTRY_VERIFY(answerer.Idle());
    QCOMPARE(asked.value(3), QString("1 | Delete constraint No. (1-1):"));
    QCOMPARE(p.NumConstraints, 1);
    QCOMPARE(answerer.unexpected, QStringList());
  }
};

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  SpreadsheetTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "test_spreadsheet.moc"
