// Cancelling Robust Assignments from its progress panel: the Cancel button
// and Esc get through while the computation holds back every other input, and
// the window is left with the problem and the results it had before.
#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "MainFormDriver.h"
#include "ModalAnswerer.h"
#include "core/problem/UserDialogs.h"
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
};

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  CancelTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "test_cancel.moc"
