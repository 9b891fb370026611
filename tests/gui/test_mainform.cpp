// The main window driven as a person drives it: the Open path, keys, the
// mouse on AGrid, Robust Assignments and its painted ranges, the result
// views, the inconsistency and volume windows, the report and the file, the
// structural edits and closing.
#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>
#include <cmath>

#include "MainFormDriver.h"
#include "ModalAnswerer.h"
#include "TestPaths.h"
#include "core/problem/Invariants.h"
#include "gui/GridView.h"
#include "gui/TMainForm.h"
#include "gui/InputGrids.h"
#include "gui/ResultGrids.h"

using vesk::gui::GridView;
using vesk::gui::TMainForm;
using vesk::guitest::ModalAnswerer;
using vesk::guitest::SampleProblem;
using vesk::guitest::Trigger;

namespace {

QString Text(const vesk::core::Grid& grid, int row, int column) {
  return QString::fromStdString(grid.CellOrEmpty(row, column));
}

// Presses and releases the left button over grid cell (row, column).
void ClickCell(GridView* grid, int row, int column) {
  grid->scrollTo(grid->model()->index(row, column));
  const QPoint at = grid->CellRect(row, column).center();
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
}

// Types `text` key by key into whatever holds the focus (the grid, then its editor).
void TypeKeys(QWidget* fallback, const QString& text) {
  for (QChar c : text) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : fallback;
    QTest::keyClick(target, c.toLatin1());
  }
  QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : fallback;
  QTest::keyClick(target, Qt::Key_Return);
}

// The button of `dialog` whose text, without accelerator marks, is `text`.
QAbstractButton* Button(QWidget* dialog, const QString& text) {
  for (auto* b : dialog->findChildren<QAbstractButton*>())
    if (b->text().remove('&') == QString(text).remove('&')) return b;
  return nullptr;
}

// New with the three counts typed into the New Problem dialog.
void AnswerNewDialog(ModalAnswerer& answerer, const QString& alternatives, const QString& criteria,
                     const QString& categories) {
  answerer.Expect([=, &answerer](QWidget* modal) {
    auto* dialog = qobject_cast<QDialog*>(modal);
    const std::pair<const char*, QString> fields[] = {
        {"EditAlt", alternatives}, {"EditCrit", criteria}, {"EditCat", categories}};
    for (const auto& [name, text] : fields) {
      auto* edit = modal->findChild<QLineEdit*>(name);
      if (!edit) answerer.unexpected << QString("New Problem has no field ") + name;
      else edit->setText(text);
    }
    if (dialog) dialog->accept();
  });
}

bool Visible(TMainForm& form, const char* name) {
  auto* w = form.findChild<QWidget*>(name);
  return w && w->isVisible();
}

}  // namespace

class MainFormTest : public QObject {
  Q_OBJECT

  // A window on the shipped example, opened directly.
  std::unique_ptr<TMainForm> OpenSample() {
    auto form = std::make_unique<TMainForm>();
    form->show();
    if (!form->OpenFile(SampleProblem())) return nullptr;
    return form;
  }

 private slots:
  void OpenShowsTheInputOnlyAndNamesTheFile() {
    ModalAnswerer answerer;
    TMainForm form;
    form.show();
    QCOMPARE(form.windowTitle(), QString("Vesk 2"));
    QVERIFY(!Visible(form, "PageControlIn"));
    QVERIFY(!vesk::guitest::Item(form, "SaveDataItem")->isEnabled());
    QVERIFY(!form.findChild<QAbstractButton*>("SpeedButtonReport")->isEnabled());

    answerer.ExpectFile(SampleProblem());
    QVERIFY(Trigger(form, "OpenItem"));
    QTRY_VERIFY(answerer.Idle());
    QCOMPARE(answerer.unexpected, QStringList());
    QCOMPARE(form.problem().NumActions, 10);
    QCOMPARE(form.windowTitle(), "Vesk 2  -  " + SampleProblem());
    QVERIFY(Visible(form, "PageControlIn"));
    QVERIFY(Visible(form, "AGrid"));
    QVERIFY(!Visible(form, "PageControlOut"));
    QVERIFY(vesk::guitest::Item(form, "SaveDataItem")->isEnabled());
    QVERIFY(!vesk::guitest::Item(form, "ReportItem")->isEnabled());
  }

  void TypedKeysKeepOnlyWhatTheCellTakes() {
    auto form = OpenSample();
    QVERIFY(form);
    GridView* grid = form->inputGrids()->AGrid;
    pageControl(*form)->setCurrentIndex(0);
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    ClickCell(grid, 1, 3);
    grid->setFocus();
    TypeKeys(grid, "x7y");
    QTRY_VERIFY(Text(form->problem().AGrid, 1, 3).endsWith("7"));
    QVERIFY(!Text(form->problem().AGrid, 1, 3).contains('x'));
    QVERIFY(!Text(form->problem().AGrid, 1, 3).contains('y'));
    QVERIFY(form->problem().DataModified);
  }

  void TheCriterionHeaderRenamesTheCriterion() {
    ModalAnswerer answerer;
    auto form = OpenSample();
    QVERIFY(form);
    GridView* grid = form->inputGrids()->AGrid;
    QHeaderView* header = grid->horizontalHeader();
    answerer.ExpectInput("Price");
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(3) + header->sectionSize(3) / 2, header->height() / 2));
    QTRY_COMPARE(Text(form->problem().AGrid, 0, 3), QString("Price"));
    QCOMPARE(Text(form->problem().FGrid, 0, 1), QString("Price"));
    QCOMPARE(answerer.unexpected, QStringList());
  }

  void TheELowCellSetsTheExample_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("elow");
    QTest::addColumn<QString>("message");
    // "Dogwood Ltd" (row 4) has the example [1, 3].
    QTest::newRow("accepted") << "2" << "2" << "";
    QTest::newRow("above EHigh") << "4" << "1" << "Invalid category";
    QTest::newRow("below 1") << "0" << "1" << "Invalid category";
  }

  void TheELowCellSetsTheExample() {
    QFETCH(QString, typed);
    QFETCH(QString, elow);
    QFETCH(QString, message);
    ModalAnswerer answerer;
    auto form = OpenSample();
    QVERIFY(form);
    answerer.ExpectInput(typed);
    if (!message.isEmpty()) answerer.ExpectMessage("OK");
    ClickCell(form->inputGrids()->AGrid, 4, 1);
    QTRY_VERIFY(answerer.Idle());
    QTRY_COMPARE(Text(form->problem().AGrid, 4, 1), elow);
    QCOMPARE(answerer.unexpected, QStringList());
    QCOMPARE(answerer.messages, message.isEmpty() ? QStringList() : QStringList{message});
  }

  void RobustAssignmentsPaintTheRangesAndAnEditHidesThem() {
    auto form = OpenSample();
    QVERIFY(form);
    QVERIFY(Trigger(*form, "CalcRangeItem"));
    const auto& s = form->state();
    QVERIFY(form->problem().ResultsAvailable);
    QVERIFY(Visible(*form, "PageControlOut"));
    QVERIFY(Visible(*form, "RGrid"));
    QVERIFY(form->findChild<QAbstractButton*>("SpeedButtonReport")->isEnabled());

    GridView* grid = form->resultGrids()->RGrid;
    QApplication::processEvents();
    const QImage image = grid->viewport()->grab().toImage();
    const int K = form->problem().NumCategories;
    int checked = 0;
    for (int a = 1; a <= form->problem().NumActions; ++a) {
      const QRect row = grid->CellRect(a, 1);
      if (row.bottom() >= image.height()) break;
      for (int h = 1; h <= K; ++h) {
        if (Text(s.RGrid, a, h) == "X") continue;  // hatched hole
        const int i = a - 1;
        QColor expected = Qt::white;
        if (h == s.InferredCategory[i]) expected = QColor(0, 128, 0);
        else if (h >= s.WorstCategory[i] && h <= s.BestCategory[i]) expected = QColor(0, 255, 0);
        const QRect cell = grid->CellRect(a, h);
        // Right of the centre: clear of the text at the cell's top-left corner.
        const QPoint at(cell.right() - 4, cell.center().y() + 2);
        QCOMPARE(image.pixelColor(at).rgb(), expected.rgb());
        ++checked;
      }
    }
    QVERIFY(checked > 0);

    QVERIFY(Trigger(*form, "InsertActionItem"));
    QVERIFY(!Visible(*form, "PageControlOut"));
    QVERIFY(!vesk::guitest::Item(*form, "ReportItem")->isEnabled());
  }

  void SelectingARangeCellShowsItsVector() {
    auto form = OpenSample();
    QVERIFY(form);
    QVERIFY(form->CalcRangeItemClick());
    const auto& s = form->state();
    // An action whose range holds a category besides the inferred one.
    int a = 0, h = 0;
    for (int i = 0; i < form->problem().NumActions && !a; ++i)
      for (int c = s.WorstCategory[i]; c <= s.BestCategory[i]; ++c)
        if (c != s.InferredCategory[i] && Text(s.RGrid, i + 1, c).isEmpty()) a = i + 1, h = c;
    QVERIFY2(a > 0, "the example has no action with a range wider than one category");
    ClickCell(form->resultGrids()->RGrid, a, h);
    QTRY_VERIFY(!Text(s.DGrid, 1, 0).isEmpty());
    const QString shown =
        form->resultGrids()->DGrid->model()->data(form->resultGrids()->DGrid->model()->index(1, 1)).toString();
    QCOMPARE(shown, Text(s.DGrid, 1, 1));

    // A cell outside the range clears the row.
    const int outside = s.BestCategory[a - 1] < form->problem().NumCategories ? form->problem().NumCategories : 0;
    if (outside == 0 && s.WorstCategory[a - 1] == 1) return;
    ClickCell(form->resultGrids()->RGrid, a, outside ? outside : 1);
    QTRY_VERIFY(Text(s.DGrid, 1, 0).isEmpty());
  }

  void TheVariabilityOrderShowsORGrid() {
    auto form = OpenSample();
    QVERIFY(form);
    QVERIFY(form->CalcRangeItemClick());
    QVERIFY(vesk::guitest::Item(*form, "VariabilityOrderItem")->isEnabled());
    QVERIFY(Trigger(*form, "VariabilityOrderItem"));
    QVERIFY(Visible(*form, "ORGrid"));
    QVERIFY(!Visible(*form, "RGrid"));
    QVERIFY(vesk::guitest::Item(*form, "VariabilityOrderItem")->isChecked());
    const auto& s = form->state();
    const QString first =
        form->resultGrids()->ORGrid->model()->headerData(1, Qt::Vertical, Qt::DisplayRole).toString();
    QCOMPARE(first, Text(form->problem().AGrid, s.VariabilityOrder[0] + 1, 0));
    QVERIFY(Trigger(*form, "InputOrderItem"));
    QVERIFY(Visible(*form, "RGrid"));
    QVERIFY(!Visible(*form, "ORGrid"));
  }

  void AnInconsistentRunOpensTheSuggestions() {
    const auto file = vesk::guitest::SharedExample("conflict.tri");
    if (!file) QSKIP("the shared examples are absent");
    ModalAnswerer answerer;
    TMainForm form;
    form.show();
    QVERIFY(form.OpenFile(*file));
    answerer.ExpectMessage("OK");  // "Inconsistent information!"
    QVERIFY(form.CalcRangeItemClick());
    QVERIFY(!form.state().Consistent);
    QVERIFY(vesk::guitest::Item(form, "InconsistencyItem")->isEnabled());
    QVERIFY(!vesk::guitest::Item(form, "VariabilityOrderItem")->isEnabled());

    QRect placed;
    answerer.Expect([&](QWidget* window) {
      placed = window->geometry();
      QAbstractButton* suggest = Button(window, "Suggest");
      if (!suggest) answerer.unexpected << "no Suggest button";
      else suggest->click();
      qobject_cast<QDialog*>(window)->reject();
    });
    answerer.ExpectMessage("OK");  // "There are no more alternatives"
    QVERIFY(Trigger(form, "InconsistencyItem"));
    QTRY_VERIFY(answerer.Idle());
    QCOMPARE(answerer.unexpected, QStringList());
    QCOMPARE(int(form.analysis().Suggestions.size()), 2);
    QCOMPARE(placed.top(), form.geometry().top() + 27);
    QCOMPARE(placed.width(), form.geometry().width());
    QVERIFY(answerer.messages.contains("There are no more alternatives"));
  }

  void TheVolumeWindowRunsASimulation() {
    const auto file = vesk::guitest::SharedExample("volume2.tri");
    if (!file) QSKIP("the shared examples are absent");
    ModalAnswerer answerer;
    TMainForm form;
    form.show();
    QVERIFY(form.OpenFile(*file));
    answerer.Expect([&](QWidget* window) {
      QAbstractButton* start = Button(window, "&Start simulation");
      QAbstractButton* exit = Button(window, "&Exit");
      if (!start || !exit) {
        answerer.unexpected << "the volume window lacks its buttons";
        qobject_cast<QDialog*>(window)->reject();
        return;
      }
      start->click();
      exit->click();
    });
    QVERIFY(Trigger(form, "VolumeComputationItem"));
    QTRY_VERIFY(answerer.Idle());
    QTRY_VERIFY(!QApplication::activeModalWidget());
    QCOMPARE(answerer.unexpected, QStringList());
    QVERIFY(form.volumeWindow().LastResult.has_value());
    // The triangle 0.5 <= lambda <= k1 <= 0.8 has the area 0.045.
    QVERIFY(std::abs(form.volumeWindow().LastResult->absolute - 0.045) < 0.003);
  }

  void ReportAndSaveWriteTheirFiles() {
    ModalAnswerer answerer;
    auto form = OpenSample();
    QVERIFY(form);
    QVERIFY(form->CalcRangeItemClick());
    const auto dir = vesk::test::FreshTempDir("mainform");
    const QString report = QString::fromStdString((dir / "out.rpt").string());
    const QString copy = QString::fromStdString((dir / "copy.tri").string());

    answerer.ExpectFile(report);
    QVERIFY(Trigger(*form, "ReportItem"));
    QTRY_VERIFY(answerer.Idle());
    QFile written(report);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QVERIFY(written.readAll().startsWith("INPUT FILE:\r\n"));

    form->problem().DataModified = true;
    answerer.ExpectFile(copy);
    QVERIFY(Trigger(*form, "SaveDataAsItem"));
    QTRY_VERIFY(answerer.Idle());
    QCOMPARE(answerer.unexpected, QStringList());
    QVERIFY(QFile::exists(copy));
    QVERIFY(!form->problem().DataModified);
    QCOMPARE(form->windowTitle(), "Vesk 2  -  " + copy);

    const vesk::guitest::ProblemSnapshot saved(form->problem());
    QVERIFY(form->OpenFile(copy));
    QVERIFY(vesk::guitest::ProblemSnapshot(form->problem()) == saved);
    std::filesystem::remove_all(dir);
  }

  void StructuralEditsThroughTheMenus_data() {
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<QStringList>("answers");  // "yes", or a text typed into an input box
    QTest::addColumn<QList<int>>("counts");    // n, m, K, NumConstraints afterwards
    // From New with 3 alternatives, 3 criteria, 3 categories: 3, 3, 3, 1.
    QTest::newRow("split") << QStringList{"SplitItem"} << QStringList{"1"} << QList<int>{3, 3, 4, 1};
    QTest::newRow("merge") << QStringList{"MergeItem"} << QStringList{"yes", "1"} << QList<int>{3, 3, 2, 1};
    QTest::newRow("insert criterion") << QStringList{"InsertCriterionItem"} << QStringList{}
                                      << QList<int>{4, 3, 3, 1};
    QTest::newRow("delete criterion") << QStringList{"DeleteCriterionItem"} << QStringList{"1"}
                                      << QList<int>{2, 3, 3, 1};
    QTest::newRow("insert action") << QStringList{"InsertActionItem"} << QStringList{} << QList<int>{3, 4, 3, 1};
    QTest::newRow("delete action") << QStringList{"DeleteActionItem"} << QStringList{"1"}
                                   << QList<int>{3, 2, 3, 1};
    QTest::newRow("insert and delete constraint")
        << QStringList{"InsertConstraintItem", "InsertConstraintItem", "DeleteConstraintItem"} << QStringList{"1"}
        << QList<int>{3, 3, 3, 2};
    QTest::newRow("context menu of CGrid") << QStringList{"CGridInsertConstraintItem"} << QStringList{}
                                           << QList<int>{3, 3, 3, 2};
  }

  void StructuralEditsThroughTheMenus() {
    QFETCH(QStringList, commands);
    QFETCH(QStringList, answers);
    QFETCH(QList<int>, counts);
    ModalAnswerer answerer;
    TMainForm form;
    form.show();
    AnswerNewDialog(answerer, "3", "3", "3");
    QVERIFY(Trigger(form, "NewItem"));
    QTRY_VERIFY(answerer.Idle());
    QCOMPARE(answerer.unexpected, QStringList());
    const auto& p = form.problem();
    QCOMPARE((QList<int>{p.NumCriteria, p.NumActions, p.NumCategories, p.NumConstraints}), (QList<int>{3, 3, 3, 1}));
    QCOMPARE(form.windowTitle(), QString("Vesk 2"));

    for (const QString& answer : answers) {
      if (answer == "yes") answerer.ExpectMessage("Yes");
      else answerer.ExpectInput(answer);
    }
    for (const QString& command : commands) QVERIFY2(Trigger(form, command), qPrintable(command));
    QTRY_VERIFY(answerer.Idle());
    QCOMPARE(answerer.unexpected, QStringList());
    QCOMPARE((QList<int>{p.NumCriteria, p.NumActions, p.NumCategories, p.NumConstraints}), counts);
    QVERIFY(p.DataModified);
    QVERIFY(vesk::core::CheckProblemInvariants(p).empty());
    // The grids follow the new shape.
    QCOMPARE(form.inputGrids()->AGrid->model()->rowCount(), p.NumActions + 1);
    QCOMPARE(form.inputGrids()->CGrid->model()->columnCount(), p.NumCriteria + 4);
  }

  void ClosingWithUnsavedChangesAsks_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("cancelTheSave");
    QTest::addColumn<bool>("closed");
    QTest::newRow("cancel") << "Cancel" << false << false;
    QTest::newRow("no") << "No" << false << true;
    QTest::newRow("yes, save cancelled") << "Yes" << true << false;
  }

  void ClosingWithUnsavedChangesAsks() {
    QFETCH(QString, answer);
    QFETCH(bool, cancelTheSave);
    QFETCH(bool, closed);
    ModalAnswerer answerer;
    auto form = OpenSample();
    QVERIFY(form);
    QVERIFY(Trigger(*form, "InsertActionItem"));
    QVERIFY(form->problem().DataModified);
    form->problem().Caption = "Vesk 2";  // no file known: the save asks for a name
    answerer.ExpectMessage(answer);
    if (cancelTheSave) answerer.Expect([](QWidget* dialog) { qobject_cast<QDialog*>(dialog)->reject(); });
    form->close();
    QTRY_VERIFY(answerer.Idle());
    QCOMPARE(answerer.messages.value(0), QString("Save current files?"));
    QCOMPARE(!form->isVisible(), closed);
    QCOMPARE(form->problem().NumActions, 11);
  }

 private:
  static QTabWidget* pageControl(TMainForm& form) { return form.findChild<QTabWidget*>("PageControlIn"); }
};

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  MainFormTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "test_mainform.moc"
