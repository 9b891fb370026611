// The inconsistency window on the real main window: suggestions that say what
// they drop, shown before the run's closing message; "Apply" takes exactly
// those constraints out as one step Undo takes back, and the rerun is
// consistent; "Close" keeps the problem.
#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include "MainFormDriver.h"
#include "ModalAnswerer.h"
#include "gui/GridView.h"
#include "gui/TMainForm.h"

using vesk::gui::GridView;
using vesk::gui::TMainForm;
using vesk::guitest::ModalAnswerer;
using vesk::guitest::ProblemSnapshot;

namespace {

QPushButton* Named(QWidget* window, const char* name) { return window->findChild<QPushButton*>(name); }

QString Cell(GridView* grid, int row, int column) {
  auto* model = grid->gridModel();
  return model->data(model->index(row, column), Qt::DisplayRole).toString();
}

// Opens conflict.tri and runs Robust Assignments ("Inconsistent information!").
bool OpenConflict(TMainForm& form, ModalAnswerer& answerer) {
  const auto file = vesk::guitest::SharedExample("conflict.tri");
  if (!file || !form.OpenFile(*file)) return false;
  answerer.ExpectMessage("OK");
  return form.CalcRangeItemClick() && !form.state().Consistent;
}

}  // namespace

class InconsistencyTest : public QObject {
  Q_OBJECT
 private slots:
  void init() {
    if (!vesk::guitest::SharedExample("conflict.tri")) QSKIP("the shared examples are absent");
  }

  void ApplyTakesOutTheSuggestionAndUndoBringsItBack() {
    ModalAnswerer answerer;
    TMainForm form;
    form.show();
    QVERIFY(OpenConflict(form, answerer));
    const ProblemSnapshot before(form.problem());

    QStringList shownAtMessage, says;
    answerer.Expect([&](QWidget* window) {
      auto* grid = window->findChild<GridView*>("SuggestionGrid");
      QAbstractButton* apply = Named(window, "BApply");
      if (!grid || !apply) {
        answerer.unexpected << "the window lacks its suggestion grid or Apply";
        qobject_cast<QDialog*>(window)->reject();
        return;
      }
      Named(window, "BSuggest")->click();
      // Suggestion 1 drops constraint 6, "C(action 8)<=1".
      for (int r = 1; r < grid->gridModel()->rowCount(); ++r) says << Cell(grid, r, 3);
      grid->setCurrentIndex(grid->gridModel()->index(1, 1));
      if (!apply->isEnabled()) answerer.unexpected << "Apply is disabled with a suggestion selected";
      apply->click();
    });
    // The message comes once both suggestions are in the grid.
    answerer.Expect([&](QWidget* box) {
      auto* grid = form.findChild<GridView*>("SuggestionGrid");
      if (grid && grid->isVisible())
        for (int r = 1; r < grid->gridModel()->rowCount(); ++r) shownAtMessage << Cell(grid, r, 2);
      answerer.messages << qobject_cast<QMessageBox*>(box)->text();
      qobject_cast<QMessageBox*>(box)->accept();
    });
    QVERIFY(vesk::guitest::Trigger(form, "InconsistencyItem"));
    QTRY_VERIFY(answerer.Idle());
    QCOMPARE(answerer.unexpected, QStringList());
    QCOMPARE(answerer.messages.last(), QString("There are no more alternatives"));
    QCOMPARE(shownAtMessage, (QStringList{"6", "4"}));
    QCOMPARE(says, (QStringList{"6: action 8 in C1", "4: action 6 in C2"}));

    // Exactly that constraint went: action 8's example [1, 1] lost its upper
    // side; the rerun is consistent and current.
    ProblemSnapshot expected = before;
    expected.A.SetCell(8, 2, "3");
    QVERIFY(ProblemSnapshot(form.problem()) == expected);
    QVERIFY(form.state().Consistent);
    QVERIFY(form.problem().ResultsAvailable);
    QVERIFY(!vesk::guitest::Item(form, "InconsistencyItem")->isEnabled());

    QVERIFY(vesk::guitest::Trigger(form, "UndoItem"));
    QVERIFY(ProblemSnapshot(form.problem()) == before);
    QVERIFY(vesk::guitest::Trigger(form, "RedoItem"));
    QVERIFY(ProblemSnapshot(form.problem()) == expected);
  }

  void CloseKeepsTheProblem() {
    ModalAnswerer answerer;
    TMainForm form;
    form.show();
    QVERIFY(OpenConflict(form, answerer));
    const ProblemSnapshot before(form.problem());
    answerer.Expect([&](QWidget* window) {
      QAbstractButton* apply = Named(window, "BApply");
      if (!apply || apply->isEnabled()) answerer.unexpected << "Apply enabled without a suggestion";
      Named(window, "BClose")->click();
    });
    QVERIFY(vesk::guitest::Trigger(form, "InconsistencyItem"));
    QTRY_VERIFY(answerer.Idle());
    QCOMPARE(answerer.unexpected, QStringList());
    QVERIFY(ProblemSnapshot(form.problem()) == before);
    QVERIFY(!form.state().Consistent);
    QVERIFY(vesk::guitest::Item(form, "InconsistencyItem")->isEnabled());
  }
};

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  InconsistencyTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "test_inconsistency.moc"
