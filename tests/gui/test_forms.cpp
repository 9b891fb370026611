// The secondary windows driven as the person drives them: the New Problem
// dialog's keys, field checks and buttons; a suggestion run in the
// inconsistency window and the accept step after it; a volume simulation;
// the about box and the help window; help pages; the engine's host.
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QUrl>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#if __has_include(<qpa/qwindowsysteminterface.h>)
#include <qpa/qwindowsysteminterface.h>
#define VESK_HAVE_WINDOW_SYSTEM_QUEUE 1
#endif

#include "ModalAnswerer.h"
#include "TestPaths.h"
#include "core/analysis/Inconsistency.h"
#include "core/analysis/Volume.h"
#include "core/problem/ProblemFile.h"
#include "core/problem/ScriptedDialogs.h"
#include "core/sorting/RobustAssignments.h"
#include "gui/TAboutBox.h"
#include "gui/TGetHelpForm.h"
#include "gui/TIAForm.h"
#include "gui/TNewFileForm.h"
#include "gui/TVolumeForm.h"
#include "gui/GridView.h"
#include "gui/HelpPages.h"
#include "gui/QtEngineHost.h"
#include "solver/LP_Unit_LPSolver.h"

using vesk::core::ScriptedDialogs;
using vesk::guitest::ModalAnswerer;
namespace core = vesk::core;
namespace gui = vesk::gui;

namespace {

QString Text(const core::Grid& g, int r, int c) { return QString::fromStdString(g.CellOrEmpty(r, c)); }

QStringList Messages(const ScriptedDialogs& d) {
  QStringList out;
  for (const auto& m : d.messages) out << QString::fromStdString(m.text);
  return out;
}

// Reads a problem file and runs the robust-assignment command on it.
bool LoadAndRun(const std::filesystem::path& file, core::Problem& problem, core::SortingState& state,
                ScriptedDialogs& dialogs) {
  if (!core::ReadProblemFile(problem, dialogs, file.string())) return false;
  return core::CalcRangeItemClick(problem, state, dialogs);
}

// Records the URLs the desktop is asked to open instead of starting a browser.
class UrlRecorder : public QObject {
  Q_OBJECT
 public:
  UrlRecorder() { QDesktopServices::setUrlHandler("file", this, "Open"); }
  ~UrlRecorder() override { QDesktopServices::unsetUrlHandler("file"); }
  QList<QUrl> opened;
 public slots:
  void Open(const QUrl& url) { opened << url; }
};

}  // namespace

class FormsTest : public QObject {
  Q_OBJECT
 private slots:
  // --- New Problem ---------------------------------------------------------

  void NewFieldsTakeDigitsAndBackspaceOnly() {
    ScriptedDialogs dialogs;
    gui::TNewFileForm form(dialogs);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    auto* alt = form.findChild<QLineEdit*>("EditAlt");
    QVERIFY(alt);
    QCOMPARE(form.windowTitle(), QString("New Problem"));
    QCOMPARE(alt->text(), QString("2"));
    alt->setFocus();
    alt->selectAll();
    QTest::keyClicks(alt, "a1-b2.x3 ");
    QCOMPARE(alt->text(), QString("123"));
    QTest::keyClick(alt, Qt::Key_Backspace);
    QCOMPARE(alt->text(), QString("12"));
    QVERIFY(dialogs.messages.empty());
  }

  void NewFieldCheckedWhenLeft_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << "EditAlt" << "" << "You must enter a value";
    QTest::newRow("not a number") << "EditAlt" << "x" << "Invalid number";
    QTest::newRow("below 2") << "EditAlt" << "1" << "Number is too low";
    QTest::newRow("above 1000") << "EditAlt" << "1001" << "Number is too high";
    QTest::newRow("1000 alternatives") << "EditAlt" << "1000" << "";
    QTest::newRow("13 criteria") << "EditCrit" << "13" << "Number is too high";
    QTest::newRow("12 criteria") << "EditCrit" << "12" << "";
    QTest::newRow("21 categories") << "EditCat" << "21" << "Number is too high";
  }

  void NewFieldCheckedWhenLeft() {
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, message);
    ScriptedDialogs dialogs;
    gui::TNewFileForm form(dialogs);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    auto* edit = form.findChild<QLineEdit*>(field);
    auto* other = form.findChild<QLineEdit*>(field == "EditAlt" ? "EditCrit" : "EditAlt");
    edit->setFocus();
    edit->setText(text);
    QTest::keyClick(edit, Qt::Key_Tab);
    if (message.isEmpty()) {
      QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form.findChild<QLineEdit*>(
                                                    field == "EditAlt" ? "EditCrit" : "EditCat")));
      QTest::qWait(20);
      QVERIFY(dialogs.messages.empty());
      return;
    }
    QTRY_COMPARE(Messages(dialogs), QStringList{message});
    QCOMPARE(dialogs.messages[0].kind, core::MessageKind::Error);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(edit));
    // Leaving for the other field by the mouse is a leaving too.
    QTest::mouseClick(other, Qt::LeftButton);
    QTRY_COMPARE(dialogs.messages.size(), std::size_t{2});
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(edit));
  }

  void NewCancelClosesWhateverTheFields() {
    ScriptedDialogs dialogs;
    gui::TNewFileForm form(dialogs);
    ModalAnswerer answerer;
    answerer.Expect([](QWidget* modal) {
      auto* alt = modal->findChild<QLineEdit*>("EditAlt");
      alt->setFocus();
      alt->clear();
      QTest::mouseClick(modal->findChild<QPushButton*>("CancelButton"), Qt::LeftButton);
    });
    QVERIFY(!form.Run().has_value());
    QVERIFY(dialogs.messages.empty());
    // Escape leaves as well, from a field that holds a refused text.
    answerer.Expect([](QWidget* modal) {
      auto* cat = modal->findChild<QLineEdit*>("EditCat");
      cat->setFocus();
      cat->setText("99");
      QTest::keyClick(cat, Qt::Key_Escape);
    });
    QVERIFY(!form.Run().has_value());
    QVERIFY(dialogs.messages.empty());
    QVERIFY(answerer.unexpected.isEmpty());
  }

  void NewOkReturnsTheFieldsOnlyWhenAllPass() {
    ScriptedDialogs dialogs;
    gui::TNewFileForm form(dialogs);
    ModalAnswerer answerer;
    bool stayedOpen = false;
    answerer.Expect([&](QWidget* modal) {
      modal->findChild<QLineEdit*>("EditAlt")->setText("7");
      modal->findChild<QLineEdit*>("EditCrit")->setText("3");
      auto* cat = modal->findChild<QLineEdit*>("EditCat");
      cat->setText("21");
      auto* ok = modal->findChild<QPushButton*>("OKButton");
      QTest::mouseClick(ok, Qt::LeftButton);
      stayedOpen = modal->isVisible() && QApplication::focusWidget() == cat;
      cat->setText("4");
      QTest::mouseClick(ok, Qt::LeftButton);
    });
    const auto fields = form.Run();
    QVERIFY(stayedOpen);
    QCOMPARE(Messages(dialogs), QStringList{"Number is too high"});
    QVERIFY(fields.has_value());
    QCOMPARE(fields->alternatives, std::string("7"));
    QCOMPARE(fields->criteria, std::string("3"));
    QCOMPARE(fields->categories, std::string("4"));
  }

  // --- Inconsistency analysis ---------------------------------------------

  void SuggestionRunOverConflictingInformation() {
    const auto dir = vesk::test::ExamplesDir();
    if (!dir || !std::filesystem::exists(*dir / "conflict.tri")) QSKIP("shared examples absent");
    ScriptedDialogs dialogs;
    core::Problem problem;
    core::SortingState state;
    QVERIFY(LoadAndRun(*dir / "conflict.tri", problem, state, dialogs));
    QVERIFY(core::InconsistencyCommandEnabled(problem, state));
    dialogs.ClearRecord();

    core::InconsistencyAnalysis analysis;
    analysis.NewSolutionFound = true;  // left over from an earlier opening
    analysis.NewSolution.assign(4, 0.25);
    QWidget mainWindow;
    mainWindow.setGeometry(120, 80, 640, 471);
    mainWindow.show();
    QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));
    gui::TIAForm form(problem, state, analysis, dialogs);
    ModalAnswerer answerer;
    QStringList rows;
    answerer.Expect([&](QWidget* modal) {
      const auto close = qScopeGuard([&] { form.reject(); });  // also when a check fails
      QCOMPARE(modal, static_cast<QWidget*>(&form));
      QCOMPARE(form.windowTitle(), QString("Inconsistency analysis"));
      // Outer rectangles: 27 pixels lower, as wide, 27 pixels less high.
      const QRect main = mainWindow.frameGeometry();
      QTRY_COMPARE(form.frameGeometry(), QRect(main.left(), main.top() + 27, main.width(), main.height() - 27));
      auto* igrid = form.findChild<gui::GridView*>("IGrid");
      auto* sgrid = form.findChild<gui::GridView*>("SuggestionGrid");
      auto* max = form.findChild<QSpinBox*>("MaxSuggestions");
      QVERIFY(igrid && sgrid && max);
      QVERIFY(!sgrid->isVisible());
      QCOMPARE(max->value(), 5);
      QCOMPARE(max->minimum(), 3);
      QCOMPARE(max->maximum(), 30);
      QCOMPARE(igrid->rowHeight(1), 20);
      QCOMPARE(igrid->font().pointSize(), 10);
      // Columns fit their texts from the Width control's value to three
      // times it; the descriptions from twice it, up to 40 characters.
      QVERIFY(igrid->columnWidth(2) >= 52 && igrid->columnWidth(2) <= 156);
      QVERIFY(igrid->columnWidth(1) >= 104);
      int longest = 0;
      for (int r = 1; r < state.IGrid.RowCount(); ++r)
        longest = std::max(longest, QFontMetrics(igrid->font()).horizontalAdvance(Text(state.IGrid, r, 1)));
      QVERIFY(igrid->columnWidth(1) >= longest);
      // A zero coefficient is shown empty, a zero right-hand side is not.
      const int n = problem.NumCriteria, rhs = n + 4;
      auto* model = igrid->gridModel();
      for (int r = 1; r < state.IGrid.RowCount(); ++r)
        for (int c = 2; c <= rhs; ++c)
          if (state.IGrid.Cell(r, c) == "0")
            QCOMPARE(model->data(model->index(r, c), Qt::DisplayRole).toString(), c == rhs ? QString("0") : QString());
      QTest::mouseClick(form.findChild<QPushButton*>("BSuggest"), Qt::LeftButton);
      QVERIFY(sgrid->isVisible());
      QCOMPARE(sgrid->columnWidth(2), 150);
      const core::Grid& g = analysis.SuggestionGrid;
      QCOMPARE(Text(g, 0, 0) + "|" + Text(g, 0, 1) + "|" + Text(g, 0, 2), QString(" # | Quant.| Constraints to remove"));
      for (int r = 1; r < g.RowCount(); ++r) rows << Text(g, r, 0) + "|" + Text(g, r, 1) + "|" + Text(g, r, 2);
      QCOMPARE(sgrid->gridModel()->rowCount(), g.RowCount());
    });
    form.ShowModalOver(&mainWindow, gui::CellSizes{20, 52, 10});
    QVERIFY(answerer.Idle());
    rows.sort();
    QVERIFY(rows == (QStringList{"1|1|4", "2|1|6"}) || rows == (QStringList{"1|1|6", "2|1|4"}));
    QCOMPARE(Messages(dialogs), QStringList{"There are no more alternatives"});
    QVERIFY(!dialogs.busy);
    // Nothing was found that drops no constraint, and the solution of the
    // earlier opening is not offered.
    QVERIFY(!core::AcceptNewSolution(problem, state, analysis, dialogs));
    QVERIFY(dialogs.questions.empty());
  }

  void NoDropSolutionIsOfferedAndAccepted() {
    ScriptedDialogs dialogs;
    core::Problem problem;
    core::SortingState state;
    QVERIFY(LoadAndRun(vesk::test::SourceDir() / "examples" / "sample.tri", problem, state, dialogs));
    QVERIFY(state.Consistent);
    dialogs.ClearRecord();
    core::InconsistencyAnalysis analysis;
    gui::TIAForm form(problem, state, analysis, dialogs);
    QWidget mainWindow;
    mainWindow.setGeometry(0, 0, 640, 471);
    ModalAnswerer answerer;
    answerer.Expect([&](QWidget*) {
      QTest::mouseClick(form.findChild<QPushButton*>("BSuggest"), Qt::LeftButton);
      form.reject();
    });
    form.ShowModalOver(&mainWindow, gui::CellSizes{});
    QCOMPARE(analysis.SuggestionGrid.RowCount(), 2);
    QCOMPARE(Text(analysis.SuggestionGrid, 1, 1), QString("0"));
    QCOMPARE(Text(analysis.SuggestionGrid, 1, 2), QString("No need to drop restrictions"));
    const std::vector<double> found = analysis.NewSolution;
    QCOMPARE(static_cast<int>(found.size()), problem.NumCriteria + 1);
    dialogs.AnswerConfirm(true);
    QVERIFY(core::AcceptNewSolution(problem, state, analysis, dialogs));
    QCOMPARE(dialogs.questions, std::vector<std::string>{core::kAcceptQuestion});
    QVERIFY(state.InferredParams == found);
    QCOMPARE(Text(state.DGrid, 2, 0), QString::fromStdString(core::FormatG(found[0])));
    QVERIFY(problem.ResultsAvailable);
  }

  void HelpButtonOpensTheInconsistencyPage() {
    ScriptedDialogs dialogs;
    core::Problem problem;
    core::SortingState state;
    core::InconsistencyAnalysis analysis;
    gui::TIAForm form(problem, state, analysis, dialogs);
    UrlRecorder recorder;
    form.BHelpClick();
    const QString path = gui::ManualFolder() + "inconsistency.htm";
    if (QFileInfo::exists(path)) {
      QCOMPARE(recorder.opened, QList<QUrl>{QUrl::fromLocalFile(path)});
      QVERIFY(dialogs.messages.empty());
    } else {
      QVERIFY(recorder.opened.isEmpty());
      QCOMPARE(Messages(dialogs),
               QStringList{"Cannot open help file " + path + ". Please check its existance and properties."});
    }
  }

  // --- Volume computation --------------------------------------------------

  void SeededSimulationShowsTheExpectedRun() {
    const auto dir = vesk::test::ExamplesDir();
    if (!dir || !std::filesystem::exists(*dir / "volume2.tri")) QSKIP("shared examples absent");
    std::ifstream in(*dir / "volume2.expected.json");
    const auto expected = nlohmann::json::parse(in)["volume"];
    ScriptedDialogs dialogs;
    core::Problem problem;
    core::SortingState state;
    QVERIFY(core::ReadProblemFile(problem, dialogs, (*dir / "volume2.tri").string()));
    core::VolumeWindow window;
    QVERIFY(core::VolumeComputationItemClick(problem, state, window, dialogs));
    gui::TVolumeForm form(problem, state, window, dialogs);
    form.SetSeed(expected["run"]["seed"].get<std::uint32_t>());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.windowTitle(), QString("Vesk - Volume Computation"));
    auto* dimension = form.findChild<QLabel*>("DimensionValue");
    auto* absolute = form.findChild<QLabel*>("AbsoluteValue");
    auto* relative = form.findChild<QLabel*>("RelativeValue");
    auto* bar = form.findChild<QProgressBar*>("ProgressBar");
    auto* precision = form.findChild<QSpinBox*>("PrecisionUpDown");
    QVERIFY(dimension && absolute && relative && bar && precision);
    QCOMPARE(absolute->text(), QString("0"));
    QVERIFY(absolute->font().bold());
    QCOMPARE(bar->maximum(), 5'000'000);
    QCOMPARE(bar->value(), 0);
    QCOMPARE(precision->value(), 3);
    QCOMPARE(precision->minimum(), 2);
    QCOMPARE(precision->maximum(), 5);

    // The bar and the labels move while the run goes on.
    QList<int> steps;
    QStringList shownDuringRun;
    connect(bar, &QProgressBar::valueChanged, this, [&](int v) {
      steps << v;
      shownDuringRun << absolute->text();
    });
    QTest::mouseClick(form.findChild<QPushButton*>("StartButton"), Qt::LeftButton);

    const long long samples = expected["samples"].get<long long>();
    const double abs = expected["run"]["absolute"].get<double>();
    const double rel = expected["run"]["relative"].get<double>();
    QCOMPARE(dimension->text(), QString::number(expected["dimension"].get<int>()));
    QCOMPARE(absolute->text(), QString::fromStdString(core::FormatSignificant(abs, 3)));
    QCOMPARE(relative->text(), QString::fromStdString(core::FormatSignificant(rel, 3)));
    QVERIFY(window.LastResult.has_value());
    QCOMPARE(window.LastResult->samples, samples);
    QCOMPARE(window.LastResult->hits, expected["run"]["hits"].get<long long>());
    QList<int> checkpoints;
    for (long long s = core::kVolumeCheckpoint; s <= samples; s += core::kVolumeCheckpoint)
      checkpoints << static_cast<int>(s);
    checkpoints << 5'000'000;
    QCOMPARE(steps, checkpoints);
    QVERIFY(!shownDuringRun.first().isEmpty());
    QCOMPARE(bar->value(), 5'000'000);
    QVERIFY(!dialogs.busy);
    QVERIFY(dialogs.messages.empty());

    // The precision is the run's: two digits now.
    precision->setValue(2);
    QCOMPARE(window.Precision, 2);
    QTest::mouseClick(form.findChild<QPushButton*>("StartButton"), Qt::LeftButton);
    QCOMPARE(absolute->text(), QString::fromStdString(core::FormatSignificant(window.LastResult->absolute, 2)));

    QTest::mouseClick(form.findChild<QPushButton*>("ExitButton"), Qt::LeftButton);
    QVERIFY(!form.isVisible());
  }

  // --- About box, help window, help pages ---------------------------------

  void AboutBoxShowsItsTextsAndPicture() {
    gui::TAboutBox box;
    QCOMPARE(box.windowTitle(), QString("About"));
    auto* title = box.findChild<QLabel*>("ProductName");
    QVERIFY(title);
    QCOMPARE(title->text(), QString("Vesk"));
    QVERIFY(title->font().bold());
    QCOMPARE(box.findChild<QLabel*>("Version")->text(), QString("Version 2.0 -  November 2002"));
    const QPixmap picture = box.findChild<QLabel*>("Picture")->pixmap();
    QVERIFY2(!picture.isNull(), "the JPEG picture does not decode: is the JPEG image plugin installed?");
    QVERIFY(picture.width() > 50 && picture.height() > 50);
    QVERIFY(!box.findChild<QLabel*>("ProgramIcon")->pixmap().isNull());
    ModalAnswerer answerer;
    answerer.Expect([](QWidget* modal) {
      auto* ok = modal->findChild<QPushButton*>("OKButton");
      QVERIFY(ok->isDefault());
      QTest::keyClick(modal, Qt::Key_Return);
    });
    QCOMPARE(box.exec(), int(QDialog::Accepted));
  }

  void HelpWindowLinesAndFolder() {
    gui::TGetHelpForm form("/opt/vesk/Manual/");
    QCOMPARE(form.windowTitle(), QString("How to get help"));
    QStringList texts;
    for (auto* label : form.findChildren<QLabel*>()) texts << label->text();
    QCOMPARE(texts, (QStringList{"You can learn how to use this program following the Online Manual.",
                                 "The help texts are based on HTML and assume that your system has a",
                                 "default system browser installed. The files should be located in the following",
                                 "location:", "/opt/vesk/Manual/"}));
    QCOMPARE(form.findChild<QLabel*>("ManualFolderLabel")->text(), QString("/opt/vesk/Manual/"));
  }

  void HelpPagesOpenOrSayWhereTheyWereLookedFor() {
    QCOMPARE(gui::ProgramFolder(), QCoreApplication::applicationDirPath() + "/");
    QCOMPARE(gui::ManualFolder(), gui::ProgramFolder() + "Manual/");
    UrlRecorder recorder;
    ScriptedDialogs dialogs;
    QVERIFY(!gui::ShowHelpPage("no_such_page.htm", dialogs));
    QCOMPARE(Messages(dialogs), QStringList{"Cannot open help file " + gui::ManualFolder() +
                                            "no_such_page.htm. Please check its existance and properties."});
    QCOMPARE(dialogs.messages[0].kind, core::MessageKind::Error);
    QVERIFY(recorder.opened.isEmpty());

    // A page that exists goes to the desktop's handler as a file URL.
    const bool madeFolder = !QDir(gui::ManualFolder()).exists();
    QVERIFY(QDir().mkpath(gui::ManualFolder()));
    const QString page = gui::ManualFolder() + "forms_test_page.htm";
    {
      QFile f(page);
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write("<html></html>");
    }
    dialogs.ClearRecord();
    const bool opened = gui::ShowHelpPage("forms_test_page.htm", dialogs);
    QFile::remove(page);
    if (madeFolder) QDir().rmdir(gui::ManualFolder());
    QVERIFY(opened);
    QCOMPARE(recorder.opened, QList<QUrl>{QUrl::fromLocalFile(page)});
    QVERIFY(dialogs.messages.empty());
  }

  // --- The engine's host ---------------------------------------------------

  void EngineHostHoldsUserInputBack() {
#ifndef VESK_HAVE_WINDOW_SYSTEM_QUEUE
    QSKIP("Qt's platform headers (qt6-base-private-dev) are needed to queue window-system input");
#else
    QPushButton button("Robust Assignments");
    button.resize(200, 40);
    button.show();
    QVERIFY(QTest::qWaitForWindowExposed(&button));
    int clicks = 0;
    connect(&button, &QPushButton::clicked, this, [&] { ++clicks; });
    QWindow* window = button.windowHandle();
    const QPointF at(20, 20);
    const QPointF global = window->mapToGlobal(at.toPoint());
    using WSI = QWindowSystemInterface;
    WSI::handleMouseEvent<WSI::AsynchronousDelivery>(window, at, global, Qt::LeftButton, Qt::LeftButton,
                                                     QEvent::MouseButtonPress);
    WSI::handleMouseEvent<WSI::AsynchronousDelivery>(window, at, global, Qt::NoButton, Qt::LeftButton,
                                                     QEvent::MouseButtonRelease);
    gui::QtEngineHost host(&button);
    for (int i = 0; i < 5; ++i) host.ProcessPendingEvents();
    QCOMPARE(clicks, 0);
    // The click was queued all along: it arrives once input is let through.
    WSI::flushWindowSystemEvents(QEventLoop::AllEvents);
    QCOMPARE(clicks, 1);
#endif
  }

  void EngineHostQuestionsAndPrompt() {
    gui::QtEngineHost host;
    ModalAnswerer answerer;
    answerer.ExpectMessage("OK");
    answerer.ExpectMessage("Cancel");
    QCOMPARE(host.MessageBox("MAXROWS IST ZU KLEIN"), vesk::engine::EngineHost::Answer::Ok);
    QCOMPARE(host.MessageBox("Var1 is unbounded ! CHANGE upper Bound ? (Y/N) "),
             vesk::engine::EngineHost::Answer::Cancel);
    QCOMPARE(answerer.messages, (QStringList{"MAXROWS IST ZU KLEIN", "Var1 is unbounded ! CHANGE upper Bound ? (Y/N) "}));

    // The number prompt asks again until it gets a number; Cancel gives none.
    QString prompt;
    answerer.Expect([&](QWidget* modal) {
      auto* input = qobject_cast<QInputDialog*>(modal);
      prompt = input->labelText();
      input->setTextValue("1,5");
      input->accept();
    });
    answerer.ExpectInput(" -2.5 ");
    double value = 0;
    QVERIFY(host.ReadNumber("Enter Lo-Bound of Variable Var1", value));
    QCOMPARE(prompt, QString("Enter Lo-Bound of Variable Var1"));
    QCOMPARE(value, -2.5);
    answerer.ExpectInput("", /*cancel=*/true);
    QVERIFY(!host.ReadNumber("Enter Up-Bound of Variable Var1", value));
    QVERIFY(answerer.unexpected.isEmpty());
  }

  void UnboundedColumnGetsTheBoundTyped() {
    // max x1 + x2 with x2 <= 3 and x1 free upwards: the engine asks about
    // x1; OK and the new upper bound 7 give the optimum 10.
    gui::QtEngineHost host;
    namespace lp = vesk::solver;
    lp::LpSetHost(&host);
    QCOMPARE(lp::LpSetSize(2, 1), 0);
    lp::LpSetObjective(1, 1);
    lp::LpSetObjective(2, 1);
    lp::LpSetCoefficient(1, 2, 1);
    lp::LpSetRowType(1, '<');
    lp::LpSetRhs(1, 3);
    ModalAnswerer answerer;
    answerer.ExpectMessage("OK");
    QString prompt;
    answerer.Expect([&](QWidget* modal) {
      auto* input = qobject_cast<QInputDialog*>(modal);
      prompt = input->labelText();
      input->setTextValue("7");
      input->accept();
    });
    const int status = lp::LpSolve();
    const double objective = lp::LpObjectiveValue();
    lp::LpRelease();
    lp::LpSetHost(nullptr);
    QCOMPARE(answerer.messages, QStringList{"Var1 is unbounded ! CHANGE upper Bound ? (Y/N) "});
    QCOMPARE(prompt, QString("Enter Up-Bound of Variable Var1"));
    QCOMPARE(status, 0);
    QCOMPARE(objective, 10.0);
    QVERIFY(answerer.unexpected.isEmpty());
  }

  void EngineFilesGoToAScratchFolder() {
    std::filesystem::path folder;
    {
      gui::QtEngineHost host;
      folder = host.WorkingFolder();
      QVERIFY(std::filesystem::is_directory(folder));
      QCOMPARE(host.WorkingFolder(), folder);
      QVERIFY(folder.parent_path() == std::filesystem::temp_directory_path());
      QVERIFY(folder != std::filesystem::current_path());
      std::ofstream(folder / "LP.LOG") << "x\n";
      host.NoteEngineHeapBytes(4096);
      QCOMPARE(host.HeapBytes(), 4096LL);
      const double t0 = host.ClockSeconds();
      QTest::qWait(30);
      QVERIFY(host.ClockSeconds() - t0 >= 0.02);
    }
    QVERIFY(!std::filesystem::exists(folder));
  }
};

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  FormsTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "test_forms.moc"
