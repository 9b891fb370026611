// The desktop program: the main window, optionally on a problem file named on
// the command line, and an unattended picture-taking mode for runs without a
// person.
#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QLocale>
#include <QTimer>
#include <clocale>
#include <cstdio>

#include "gui/TMainForm.h"

namespace {

// --screenshot: open, compute, picture, exit. Non-zero when a step failed.
int TakeScreenshot(vesk::gui::TMainForm& form, const QString& file, const QString& out) {
  form.dialogs().SetUnattended(true);
  form.show();
  QApplication::processEvents();
  if (!file.isEmpty()) {
    if (!form.OpenFile(file)) {
      std::fprintf(stderr, "vesk: could not read %s\n", qPrintable(file));
      return 1;
    }
    if (!form.CalcRangeItemClick()) {
      std::fprintf(stderr, "vesk: Robust Assignments did not finish\n");
      return 1;
    }
  }
  QApplication::processEvents();
  if (!form.grab().save(out)) {
    std::fprintf(stderr, "vesk: could not write the picture %s\n", qPrintable(out));
    return 1;
  }
  if (form.dialogs().ErrorCount() > 0) {
    std::fprintf(stderr, "vesk: the run showed errors (see above); picture in %s\n", qPrintable(out));
    return 1;
  }
  std::fprintf(stderr, "vesk: picture of the window in %s\n", qPrintable(out));
  return 0;
}

struct Options {
  QCommandLineOption screenshot{
      "screenshot",
      "Runs without a person: skips the about box, opens the file, runs Robust Assignments, saves a picture of "
      "the window to OUT.png and exits (0 on success, 1 with a message when a step failed). Messages go to "
      "standard error, questions are answered No. Without a display run it under xvfb-run -a.",
      "OUT.png"};
  QCommandLineOption noAbout{"no-about", "Does not show the about box at start."};
  QCommandLineOption runRobust{"run-robust", "Runs Robust Assignments once the file named is open."};

  void AddTo(QCommandLineParser& parser) const {
    parser.setApplicationDescription("Vesk: multicriteria sorting with imprecise information.");
    parser.addHelpOption();
    parser.addPositionalArgument("file.tri", "A problem file to open at start.");
    parser.addOption(screenshot);
    parser.addOption(noAbout);
    parser.addOption(runRobust);
  }
};

bool AsksForHelp(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const QByteArray arg(argv[i]);
    if (arg == "-h" || arg == "--help" || arg == "-?" || arg == "--help-all") return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  const Options options;
  if (AsksForHelp(argc, argv)) {
    // The help needs no display.
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    options.AddTo(parser);
    parser.process(app);
    return 0;
  }
  QApplication app(argc, argv);
  // The names under which the settings (the recent files) are kept.
  QApplication::setOrganizationName("Vesk");
  QApplication::setApplicationName("vesk");
  // "." is the decimal separator of every number, whatever the locale
  // (QApplication has just set the process locale from the environment).
  QLocale::setDefault(QLocale::c());
  std::setlocale(LC_NUMERIC, "C");

  QCommandLineParser parser;
  options.AddTo(parser);
  parser.process(app);

  const QStringList files = parser.positionalArguments();
  const QString file = files.isEmpty() ? QString() : QFileInfo(files.front()).absoluteFilePath();

  vesk::gui::TMainForm form;
  if (parser.isSet(options.screenshot)) return TakeScreenshot(form, file, parser.value(options.screenshot));

  form.show();
  if (!parser.isSet(options.noAbout)) form.ShowAboutBox();
  if (!file.isEmpty() && form.OpenFile(file) && parser.isSet(options.runRobust)) form.CalcRangeItemClick();
  return app.exec();
}
