// vesk-paint: the command line's painter (see PainterProtocol.h). It is the
// only command-line program that loads Qt, and vesk-cli starts it only for an
// output that needs painting.
#include <CLI/CLI.hpp>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "paint/PainterProtocol.h"
#include "paint/ResultsStream.h"
#include "picture/RangesPicture.h"

namespace {

// All of standard input; false on a read error.
bool ReadStandardInput(std::string& bytes) {
  char buffer[1 << 16];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, stdin)) > 0;) bytes.append(buffer, got);
  return !std::ferror(stdin);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace vesk;
  CLI::App app{"Paints an output of vesk-cli from the problem and results on standard input; started by vesk-cli"};
  app.require_subcommand(1, 1);
  std::string output;
  CLI::App* picture = app.add_subcommand(paint::kPictureKind, "The picture of the ranges (.png or .svg)");
  picture->add_option("OUT", output, "Picture file to write")->required()->check(picture::PictureNameError);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return e.get_exit_code() == 0 ? paint::kPainted : paint::kPainterUsage;
  }

  std::string stream;
  core::Problem problem;
  core::SortingState state;
  if (!ReadStandardInput(stream) || !paint::ReadResultsStream(stream, problem, state)) {
    std::cerr << paint::kPainterProgram << ": standard input does not hold the results of a problem\n";
    return paint::kBadResults;
  }
  // Qt paints text only with an application object; without a window it
  // paints on the offscreen platform unless another one was asked for. Qt
  // sees none of the arguments: a file name must not read as a Qt option.
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  int qtArgc = 1;
  char* qtArgv[] = {argv[0], nullptr};
  QGuiApplication qt(qtArgc, qtArgv);
  return picture::RangesPicture(problem, state).Write(output) ? paint::kPainted : paint::kNotWritten;
}
