// The printed report from the window: "Export Report as PDF..." read back with
// poppler's tools, in the order the window shows, and its refusals.
#include <QApplication>
#include <QDateTime>
#include <QPrinter>
#include <QtTest>
#include <filesystem>
#include <regex>

#include "MainFormDriver.h"
#include "ModalAnswerer.h"
#include "PdfText.h"
#include "TestPaths.h"
#include "gui/TMainForm.h"
#include "picture/ReportDocument.h"

using vesk::gui::TMainForm;
using vesk::guitest::ModalAnswerer;
namespace fs = std::filesystem;

class ReportTest : public QObject {
  Q_OBJECT
 private slots:
  void init() {
    if (!vesk::test::PdfToolsInstalled()) QSKIP("pdfinfo and pdftotext (poppler-utils) are not installed");
  }

  // In variability order the results table lists the actions as ORGrid does.
  void PdfFollowsTheOrderShown() {
    const auto dir = vesk::test::FreshTempDir("gui-report");
    ModalAnswerer answerer;
    TMainForm form;
    form.show();
    QVERIFY(form.OpenFile(vesk::guitest::SampleProblem()));
    QVERIFY(!vesk::guitest::Item(form, "ExportReportPdfItem")->isEnabled());
    QVERIFY(form.CalcRangeItemClick());
    QVERIFY(vesk::guitest::Trigger(form, "VariabilityOrderItem"));
    const auto out = dir / "report.pdf";
    answerer.ExpectFile(QString::fromStdString(out.string()));
    QVERIFY(vesk::guitest::Trigger(form, "ExportReportPdfItem"));
    QTRY_VERIFY(answerer.Idle());
    QVERIFY(answerer.messages.isEmpty());
    QVERIFY(vesk::test::PdfPages(out));
    const std::string text = vesk::test::PdfText(out);
    QVERIFY(text.find("Actions by variability order") != std::string::npos);

    // Each action's name on a line of the results table, in ORGrid's order.
    const auto& s = form.state();
    const std::size_t table = text.find("Worst");
    QVERIFY(table != std::string::npos);
    std::size_t at = table;
    for (int p = 0; p < form.problem().NumActions; ++p) {
      const int a = s.VariabilityOrder[static_cast<std::size_t>(p)] + 1;
      const std::string row = form.problem().AGrid.Cell(a, 0) + " ";
      const std::size_t found = text.find(row, at);
      QVERIFY2(found != std::string::npos, row.c_str());
      at = found + row.size();
    }
    QCOMPARE(form.problem().DataModified, false);
  }

  // Printing lays the same document out on the printer's pages.
  void PrintedOnAPrinter() {
    const auto dir = vesk::test::FreshTempDir("gui-report");
    TMainForm form;
    QVERIFY(form.OpenFile(vesk::guitest::SampleProblem()));
    QVERIFY(form.CalcRangeItemClick());
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const auto out = dir / "printed.pdf";
    printer.setOutputFileName(QString::fromStdString(out.string()));
    vesk::picture::ReportDocument(form.problem(), form.state(), QDateTime::currentDateTime()).Print(printer);
    QVERIFY(vesk::test::PdfPages(out).value_or(0) >= 1);
    const std::string text = vesk::test::PdfText(out);
    for (int a = 1; a <= form.problem().NumActions; ++a)
      QVERIFY2(text.find(form.problem().AGrid.Cell(a, 0)) != std::string::npos, form.problem().AGrid.Cell(a, 0).c_str());
    QVERIFY(text.find("k2 quality") != std::string::npos);
  }

  void StaleResultsOrAnotherNameWriteNothing() {
    const auto dir = vesk::test::FreshTempDir("gui-report");
    ModalAnswerer answerer;
    TMainForm form;
    form.show();
    QVERIFY(form.OpenFile(vesk::guitest::SampleProblem()));
    QVERIFY(form.CalcRangeItemClick());
    const auto other = dir / "report.txt";
    answerer.ExpectFile(QString::fromStdString(other.string()));
    answerer.ExpectMessage();
    QVERIFY(vesk::guitest::Trigger(form, "ExportReportPdfItem"));
    QTRY_VERIFY(answerer.Idle());
    QCOMPARE(answerer.messages, QStringList{"A report is saved as a .pdf file"});
    QVERIFY(!fs::exists(other));

    // An edit leaves the results stale: the commands refuse.
    form.problem().AGrid.SetCell(1, 3, "41");
    form.problem().ResetResults();
    form.UpdateWindow();
    QVERIFY(!vesk::guitest::Item(form, "ExportReportPdfItem")->isEnabled());
    QVERIFY(!vesk::guitest::Item(form, "PrintReportItem")->isEnabled());
    form.ExportReportPdfItemClick();
    QVERIFY(answerer.unexpected.isEmpty());
  }
};

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ReportTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "test_report.moc"
