// The Qt side of core's dialogs: file-chooser filters and the status line.
#include <QApplication>
#include <QLabel>
#include <QtTest>

#include "MainFormDriver.h"
#include "gui/QtDialogs.h"
#include "gui/TMainForm.h"

class MainFormDialogsTest : public QObject {
  Q_OBJECT
 private slots:
  void FiltersBecomeQtNameFilters_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("open") << "TRI parameters & constraints (*.tri)|*.tri|All files (*.*)|*.*"
                          << QStringList{"TRI parameters & constraints (*.tri)", "All files (*.*)"};
    QTest::newRow("patterns not in the text") << "Reports|*.rpt;*.txt" << QStringList{"Reports (*.rpt *.txt)"};
    QTest::newRow("empty") << "" << QStringList{};
  }

  void FiltersBecomeQtNameFilters() {
    QFETCH(QString, filter);
    QFETCH(QStringList, expected);
    QCOMPARE(vesk::gui::QtNameFilters(filter.toStdString()), expected);
  }

  void HintsGoToTheStatusLine() {
    vesk::gui::TMainForm form;
    form.show();
    vesk::guitest::Item(form, "CalcRangeItem")->showStatusText(&form);
    auto* panel = form.findChild<QLabel*>("StatusPanel");
    QVERIFY(panel);
    QCOMPARE(panel->text(), QString("Calculate range of assignments for each action"));
    QCOMPARE(panel->width(), 315);
  }
};

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  MainFormDialogsTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "test_mainform_dialogs.moc"
