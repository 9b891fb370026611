// Cancelling Robust Assignments from its progress panel: the Cancel button
// and Esc get through while the computation holds back every other input, and
// the window is left with the problem and the results it had before.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "MainFormDriver.h"
#include "ModalAnswerer.h"
#include "core/problem/UserDialogs.h"
#include "core/analysis/Volume.h"
#include "core/problem/ProblemFile.h"
#include "gui/TVolumeForm.h"
#include "gui/QtDialogs.h"
#include "gui/TMainForm.h"

using vesk::gui::TMainForm;

class CancelTest : public QObject {
  Q_OBJECT
 private slots:
  void CancelDuringRobustAssignments() {
    vesk::guitest::ModalAnswerer answerer;
    TMainForm form;
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QVERIFY(form.OpenFile(vesk::guitest::SampleProblem()));
    QVERIFY(form.CalcRangeItemClick());
    QTRY_VERIFY(answerer.unexpected.isEmpty());
    const QStringList firstMessages = answerer.messages;

    QWidget* panel = form.findChild<QWidget*>("CalcPanel");
    auto* cancel = form.findChild<QPushButton*>("CalcCancelButton");
    QVERIFY(panel && cancel);

    struct Press {
      const char* how;
      std::function<void()> press;
    };
    const Press presses[] = {
        {"button", [&] { QTest::mouseClick(cancel, Qt::LeftButton); }},
        {"Esc", [&] { QTest::keyClick(&form, Qt::Key_Escape); }},
    };
    for (const auto& p : presses) {
      const vesk::core::Problem problemBefore = form.problem();
      const vesk::core::SortingState stateBefore = form.state();
      // The person presses Cancel once the panel shows.
      bool pressed = false;
      QTimer timer;
      timer.setInterval(0);
      connect(&timer, &QTimer::timeout, this, [&] {
        if (pressed || !panel->isVisible()) return;
        pressed = true;
        QVERIFY(cancel->isVisible() && cancel->isEnabled());
        p.press();
      });
      timer.start();
      answerer.ExpectMessage("OK");
      QVERIFY2(!form.CalcRangeItemClick(), p.how);
      timer.stop();
      QVERIFY2(pressed, p.how);
      QTRY_VERIFY(answerer.Idle());
      QCOMPARE(answerer.messages.size(), firstMessages.size() + 1);
      QCOMPARE(answerer.messages.back(), QString(vesk::core::kComputationCancelled));
      answerer.messages = firstMessages;
      QVERIFY2(form.problem() == problemBefore, p.how);
      QVERIFY2(form.state() == stateBefore, p.how);
      QVERIFY(!panel->isVisible());
      QVERIFY(answerer.unexpected.isEmpty());
    }
    // Uncancelled, the command still runs to its end.
    QVERIFY(form.CalcRangeItemClick());
  }

  // The volume window's own Cancel; the box that says so is answered while
  // the gate is still open.
  void CancelDuringVolumeSimulation() {
    vesk::guitest::ModalAnswerer answerer;
    vesk::gui::QtDialogs dialogs;
    vesk::core::Problem problem;
    vesk::core::SortingState state;
    QVERIFY(vesk::core::ReadProblemFile(problem, dialogs, vesk::guitest::SampleProblem().toStdString()));
    vesk::core::VolumeWindow window;
    QVERIFY(vesk::core::VolumeComputationItemClick(problem, state, window, dialogs));
    window.SetPrecision(5);
    vesk::gui::TVolumeForm form(problem, state, window, dialogs);
    form.SetSeed(11u);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto* start = form.findChild<QPushButton*>("StartButton");
    auto* cancel = form.findChild<QPushButton*>("CancelButton");
    QVERIFY(start && cancel);
    QVERIFY(!cancel->isVisible());
    const vesk::core::VolumeWindow before = window;
    bool pressed = false;
    QTimer timer;
    timer.setInterval(0);
    connect(&timer, &QTimer::timeout, this, [&] {
      if (pressed || !cancel->isVisible()) return;
      pressed = true;
      QTest::mouseClick(cancel, Qt::LeftButton);
    });
    timer.start();
    // The box is answered by a real click on its OK button, which must get
    // through the open gate.
    QString shown;
    bool clickHeldBack = false;
    answerer.Expect([&](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      if (!box) return modal->close(), void();
      shown = box->text();
      QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
      if (box->isVisible()) {
        clickHeldBack = true;
        box->done(0);
      }
    });
    QTest::mouseClick(start, Qt::LeftButton);
    timer.stop();
    QVERIFY(pressed);
    QTRY_VERIFY(answerer.Idle());
    QCOMPARE(shown, QString(vesk::core::kComputationCancelled));
    QVERIFY(!clickHeldBack);
    QVERIFY(answerer.unexpected.isEmpty());
    QVERIFY(window == before);
    QVERIFY(!cancel->isVisible());
    QVERIFY(start->isEnabled());
  }
};

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  CancelTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "test_cancel.moc"
