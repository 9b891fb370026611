// vesk-paint: the command line's painter (see PainterProtocol.h). It is the
// only command-line program that loads Qt, and vesk-cli starts it only for an
// output that needs painting.
#include <CLI/CLI.hpp>
#include <QGuiApplication>
#include <cstdlib>
#include <iostream>
#include <sstream>

#include "cli/SortingCommand.h"
#include "core/sorting/RobustAssignments.h"
#include "paint/PainterProtocol.h"
#include "picture/RangesPicture.h"

namespace {

using namespace vesk;

// The results vesk-cli computed, computed again from the same file and
// switches; the messages that computation shows were shown by vesk-cli
// already, so they are told only when it fails.
bool ComputeResults(const std::string& file, const cli::ThresholdSwitches& switches, core::Problem& problem,
                    core::SortingState& state) {
  std::ostringstream said;
  cli::CliDialogs dialogs(said);
  if (cli::ReadProblemForCommand(problem, dialogs, file, switches) &&
      core::CalcRangeItemClick(problem, state, dialogs))
    return true;
  std::cerr << paint::kPainterProgram << ": no results for " << file << ":\n" << said.str();
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Paints the outputs of vesk-cli that need painting; started by vesk-cli"};
  app.require_subcommand(1, 1);
  std::string file, output;
  cli::ThresholdSwitches switches;
  CLI::App* picture = app.add_subcommand(paint::kPictureKind, "The picture of the ranges (.png or .svg)");
  picture->add_option("FILE", file, "Problem file (.tri)")->required();
  picture->add_option("OUT", output, "Picture file to write")->required()->check(cli::PictureNameError);
  cli::AddThresholdSwitches(*picture, switches);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return e.get_exit_code() == 0 ? paint::kPainted : paint::kPainterUsage;
  }

  core::Problem problem;
  core::SortingState state;
  if (!ComputeResults(file, switches, problem, state)) return paint::kNoResults;
  // Qt paints text only with an application object; without a window it
  // paints on the offscreen platform unless another one was asked for. Qt
  // sees none of the arguments: a file name must not read as a Qt option.
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  int qtArgc = 1;
  char* qtArgv[] = {argv[0], nullptr};
  QGuiApplication qt(qtArgc, qtArgv);
  return picture::RangesPicture(problem, state).Write(output) ? paint::kPainted : paint::kNotWritten;
}
