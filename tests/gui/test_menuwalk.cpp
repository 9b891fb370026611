// Every command of the menus and context menus, in every state of the window:
// the empty window, with a problem, with results, after an inconsistent run.
// Each box is declined (Cancel, No, OK) as a person who backs out would; the
// window must survive and the problem must stay sound, and unchanged unless
// the command changes it without asking.
#include <QApplication>
#include <QtTest>

#include "MainFormDriver.h"
#include "ModalAnswerer.h"
#include "core/problem/Invariants.h"
#include "gui/TMainForm.h"

using vesk::gui::TMainForm;
using vesk::guitest::ModalAnswerer;
using vesk::guitest::ProblemSnapshot;

namespace {

enum class WindowState { Empty, Problem, Results, Inconsistent };

// Commands that change the problem without a question.
const QStringList kChangesWithoutAsking = {"InsertCriterionItem", "InsertActionItem", "InsertConstraintItem",
                                           "AGridInsertActionItem", "AGridInsertCriterionItem",
                                           "FGridInsertCriterionItem", "CGridInsertConstraintItem",
                                           "RecentFileItem1"};

const QStringList kCommands = {
    "NewItem", "OpenItem", "ReportItem", "SaveDataItem", "SaveDataAsItem", "ImportPerformancesItem",
    "ExportResultsItem", "ExportPictureItem", "PrintFormItem", "PrintSetupItem",
    "SplitItem", "MergeItem", "InsertCriterionItem", "DeleteCriterionItem", "InsertActionItem",
    "DeleteActionItem", "EraseExamplesItem", "InsertConstraintItem", "DeleteConstraintItem",
    "VolumeComputationItem", "CalcRangeItem", "InputOrderItem", "VariabilityOrderItem", "InconsistencyItem",
    "OnlineManualItem", "HowToUseHelpItem", "AboutItem", "AGridInsertActionItem", "AGridDeleteActionItem",
    "AGridInsertCriterionItem", "AGridDeleteCriterionItem", "FGridInsertCriterionItem",
    "FGridDeleteCriterionItem", "CGridInsertConstraintItem", "CGridDeleteConstraintItem", "AGridPopupHelp",
    "FGridPopupHelp", "BGridPopupHelp", "CGridPopupHelp", "RGridPopupHelp", "ORGridPopupHelp",
    "IPGridPopupHelp", "UndoItem", "RedoItem", "RecentFileItem1", "ExitItem"};

}  // namespace

Q_DECLARE_METATYPE(WindowState)

class MenuWalkTest : public QObject {
  Q_OBJECT
 private slots:
  void EveryCommandInEveryState_data() {
    QTest::addColumn<WindowState>("state");
    QTest::addColumn<QString>("command");
    const std::pair<WindowState, const char*> states[] = {{WindowState::Empty, "empty"},
                                                          {WindowState::Problem, "problem"},
                                                          {WindowState::Results, "results"},
                                                          {WindowState::Inconsistent, "inconsistent"}};
    for (const auto& [state, label] : states)
      for (const QString& command : kCommands)
        QTest::newRow(qPrintable(QString(label) + " " + command)) << state << command;
  }

  void EveryCommandInEveryState() {
    QFETCH(WindowState, state);
    QFETCH(QString, command);
    ModalAnswerer answerer;
    TMainForm form;
    form.show();
    switch (state) {
      case WindowState::Empty: break;
      case WindowState::Problem: QVERIFY(form.OpenFile(vesk::guitest::SampleProblem())); break;
      case WindowState::Results:
        QVERIFY(form.OpenFile(vesk::guitest::SampleProblem()));
        QVERIFY(form.CalcRangeItemClick());
        QVERIFY(form.problem().ResultsAvailable);
        break;
      case WindowState::Inconsistent: {
        const auto file = vesk::guitest::SharedExample("conflict.tri");
        if (!file) QSKIP("the shared examples are absent");
        QVERIFY(form.OpenFile(*file));
        answerer.ExpectMessage("OK");  // "Inconsistent information!"
        QVERIFY(form.CalcRangeItemClick());
        QVERIFY(!form.state().Consistent);
        break;
      }
    }
    QCOMPARE(answerer.unexpected, QStringList());
    QVERIFY(answerer.Idle());

    const ProblemSnapshot before(form.problem());
    answerer.declineUnqueued = true;
    QVERIFY2(vesk::guitest::Trigger(form, command), "no such command");
    QTRY_VERIFY(!QApplication::activeModalWidget());

    const auto broken = vesk::core::CheckProblemInvariants(form.problem());
    QVERIFY2(broken.empty(), broken.empty() ? "" : broken.front().c_str());
    if (!kChangesWithoutAsking.contains(command)) QVERIFY(ProblemSnapshot(form.problem()) == before);
    if (command == "ExitItem") QVERIFY(!form.isVisible());
    else QVERIFY(form.isVisible());
    // The command left no cursor or progress panel behind.
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(!form.findChild<QWidget*>("CalcPanel")->isVisible());
  }
};

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  MenuWalkTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "test_menuwalk.moc"
