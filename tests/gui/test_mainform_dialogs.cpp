// The Qt side of core's dialogs: file-chooser filters, the status line, and
// "Save current files?" with its Cancel before a problem is replaced.
#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <filesystem>
#include <fstream>

#include "MainFormDriver.h"
#include "ModalAnswerer.h"
#include "TestPaths.h"
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

  // New, Open and an import into a new problem ask before the modified
  // problem goes; Cancel keeps it and goes no further.
  void SaveQuestionOffersCancel_data() {
    QTest::addColumn<QString>("item");
    QTest::newRow("New") << "NewItem";
    QTest::newRow("Open") << "OpenItem";
    QTest::newRow("Import into a new problem") << "ImportPerformancesItem";
  }

  void SaveQuestionOffersCancel() {
    QFETCH(QString, item);
    const auto dir = vesk::test::FreshTempDir("gui-save-question");
    vesk::guitest::ModalAnswerer answerer;
    vesk::gui::TMainForm form;
    form.show();
    QVERIFY(form.OpenFile(vesk::guitest::SampleProblem()));
    form.problem().AGrid.SetCell(1, 3, "41");
    form.problem().DataModified = true;
    const vesk::guitest::ProblemSnapshot before(form.problem());
    if (item == "ImportPerformancesItem") {
      const auto csv = dir / "perf.csv";
      std::ofstream(csv) << "Action;c1;c2\na;1;2\nb;3;4\n";
      answerer.ExpectFile(QString::fromStdString(csv.string()));
      answerer.Expect([](QWidget* preview) {
        if (auto* fresh = preview->findChild<QRadioButton*>("CsvNewProblemButton")) fresh->setChecked(true);
        preview->findChild<QDialogButtonBox*>("CsvButtons")->button(QDialogButtonBox::Ok)->click();
      });
    }
    QStringList buttons;
    answerer.Expect([&](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      if (!box) {
        answerer.unexpected << modal->metaObject()->className();
        modal->close();
        return;
      }
      answerer.messages << box->text();
      for (QAbstractButton* b : box->buttons()) buttons << b->text().remove('&');
      box->button(QMessageBox::Cancel)->click();
    });
    QVERIFY(vesk::guitest::Trigger(form, item));
    QTRY_VERIFY(answerer.Idle());
    QTRY_VERIFY(!QApplication::activeModalWidget());
    QCOMPARE(answerer.unexpected, QStringList());
    QCOMPARE(answerer.messages, QStringList{"Save current files?"});
    buttons.sort();
    QCOMPARE(buttons, (QStringList{"Cancel", "No", "Yes"}));
    QVERIFY(vesk::guitest::ProblemSnapshot(form.problem()) == before);
    QVERIFY(form.problem().DataModified);
    std::filesystem::remove_all(dir);
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
