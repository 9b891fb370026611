// "Import performances..." and "Export results..." through the File menu: the
// file chooser, the preview with its target choice, the message of a bad file.
#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QtTest>
#include <filesystem>
#include <fstream>

#include "MainFormDriver.h"
#include "ModalAnswerer.h"
#include "TestPaths.h"
#include "gui/TMainForm.h"

using vesk::gui::TMainForm;
using vesk::guitest::ModalAnswerer;
using vesk::guitest::ProblemSnapshot;

namespace {

QString WriteCsv(const std::filesystem::path& dir, const char* name, const std::string& bytes) {
  const auto path = dir / name;
  std::ofstream(path, std::ios::binary) << bytes;
  return QString::fromStdString(path.string());
}

// Ten actions on four criteria, as the shipped sample has.
std::string TenByFour() {
  std::string csv = "Action;c1;c2;c3;c4\r\n";
  for (int i = 1; i <= 10; ++i)
    csv += "act " + std::to_string(i) + ";" + std::to_string(i) + ",5;" + std::to_string(10 * i) + ";1;2\r\n";
  return csv;
}

}  // namespace

class CsvTest : public QObject {
  Q_OBJECT
 private slots:
  void ImportIntoCurrentProblemThroughPreview() {
    const auto dir = vesk::test::FreshTempDir("gui-csv");
    ModalAnswerer answerer;
    TMainForm form;
    form.show();
    QVERIFY(form.OpenFile(vesk::guitest::SampleProblem()));
    const auto examples = form.problem().AGrid.Cell(1, 1) + form.problem().AGrid.Cell(1, 2);
    const auto profiles = form.problem().FGrid;

    answerer.ExpectFile(WriteCsv(dir, "perf.csv", TenByFour()));
    int previewRows = 0, previewColumns = 0;
    bool choiceShown = false;
    QString firstCell;
    answerer.Expect([&](QWidget* modal) {
      auto* table = modal->findChild<QTableWidget*>("CsvPreviewTable");
      auto* current = modal->findChild<QRadioButton*>("CsvCurrentProblemButton");
      if (!table || !current) {
        modal->close();
        return;
      }
      previewRows = table->rowCount();
      previewColumns = table->columnCount();
      firstCell = table->item(0, 1)->text();
      choiceShown = current->isVisible();
      current->setChecked(true);
      modal->findChild<QDialogButtonBox*>("CsvButtons")->button(QDialogButtonBox::Ok)->click();
    });
    QVERIFY(vesk::guitest::Trigger(form, "ImportPerformancesItem"));
    QTRY_VERIFY(answerer.Idle());
    QCOMPARE(answerer.unexpected, QStringList());
    QCOMPARE(previewRows, 10);
    QCOMPARE(previewColumns, 5);
    QCOMPARE(firstCell, QString("1.5"));
    QVERIFY(choiceShown);

    const auto& p = form.problem();
    QCOMPARE(p.AGrid.Cell(3, 0), std::string("act 3"));
    QCOMPARE(p.AGrid.Cell(3, 3), std::string("3.5"));
    QCOMPARE(p.AGrid.Cell(0, 6), std::string("c4"));
    QCOMPARE(p.FGrid.Cell(0, 4), std::string("c4"));
    QCOMPARE(p.AGrid.Cell(1, 1) + p.AGrid.Cell(1, 2), examples);  // examples kept
    for (int r = 1; r < profiles.RowCount(); ++r) QCOMPARE(p.FGrid.Cell(r, 1), profiles.Cell(r, 1));
    QVERIFY(p.DataModified);
    QVERIFY(form.windowTitle().startsWith(QString::fromStdString(p.Caption)));
    std::filesystem::remove_all(dir);
  }

  void BadFileShowsTheCellAndChangesNothing() {
    const auto dir = vesk::test::FreshTempDir("gui-csv");
    ModalAnswerer answerer;
    TMainForm form;
    form.show();
    QVERIFY(form.OpenFile(vesk::guitest::SampleProblem()));
    const ProblemSnapshot before(form.problem());
    answerer.ExpectFile(WriteCsv(dir, "bad.csv", "Action,g1\na,1\nb,lots\n"));
    answerer.ExpectMessage("OK");
    QVERIFY(vesk::guitest::Trigger(form, "ImportPerformancesItem"));
    QTRY_VERIFY(answerer.Idle());
    QTRY_VERIFY(!QApplication::activeModalWidget());
    QCOMPARE(answerer.unexpected, QStringList());
    QCOMPARE(answerer.messages.size(), 1);
    QVERIFY2(answerer.messages[0].contains("Line 3, column 2: \"lots\" is not a number"),
             qPrintable(answerer.messages[0]));
    QVERIFY(ProblemSnapshot(form.problem()) == before);
    QVERIFY(!form.problem().DataModified);
    std::filesystem::remove_all(dir);
  }

  void ExportOnlyWhileResultsAreCurrent() {
    const auto dir = vesk::test::FreshTempDir("gui-csv");
    ModalAnswerer answerer;
    TMainForm form;
    form.show();
    QVERIFY(form.OpenFile(vesk::guitest::SampleProblem()));
    QVERIFY(!vesk::guitest::Item(form, "ExportResultsItem")->isEnabled());
    QVERIFY(form.CalcRangeItemClick());
    QVERIFY(vesk::guitest::Item(form, "ExportResultsItem")->isEnabled());
    const auto out = dir / "results.csv";
    answerer.ExpectFile(QString::fromStdString(out.string()));
    QVERIFY(vesk::guitest::Trigger(form, "ExportResultsItem"));
    QTRY_VERIFY(answerer.Idle());
    QTRY_VERIFY(std::filesystem::exists(out));
    std::ifstream in(out);
    std::string header;
    std::getline(in, header);
    QCOMPARE(QString::fromStdString(header).trimmed(), QString("Action,Worst category,Inferred category,Best category,Holes"));
    std::filesystem::remove_all(dir);
  }
};

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  CsvTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "test_csv.moc"
