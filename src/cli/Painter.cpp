#include "cli/Painter.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <vector>

#include "paint/PainterProtocol.h"

extern char** environ;

namespace vesk::cli {
namespace {

// The painter is installed beside the running program.
std::filesystem::path PainterPath() {
  std::error_code ec;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return paint::kPainterProgram;
  return self.parent_path() / paint::kPainterProgram;
}

PaintOutcome Failure(std::string message) { return {PaintOutcome::Kind::Failed, std::move(message)}; }

// Starts the painter with standard input from /dev/null and standard output on
// standard error; the process id, or the spawn error.
int Spawn(const std::filesystem::path& painter, std::vector<std::string>& arguments, pid_t& pid) {
  std::vector<char*> argv;
  for (auto& a : arguments) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, STDERR_FILENO, STDOUT_FILENO);
  const int error = posix_spawn(&pid, painter.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return error;
}

}  // namespace

PaintOutcome RunPainter(std::string_view kind, const std::string& file, const ThresholdSwitches& switches,
                        const std::string& output) {
  const std::filesystem::path painter = PainterPath();
  const std::string cannot = "Cannot write " + output + ": ";
  const std::string named = "the painter " + painter.string();
  std::vector<std::string> arguments{paint::kPainterProgram, std::string(kind)};
  for (auto& s : ThresholdSwitchArguments(switches)) arguments.push_back(std::move(s));
  arguments.insert(arguments.end(), {"--", file, output});

  // What this program wrote so far comes before anything the painter writes.
  // An ignored SIGCHLD, inherited from whoever started this program, would
  // take the painter's exit status away before waitpid could read it.
  std::signal(SIGCHLD, SIG_DFL);
  std::cout.flush();
  std::cerr.flush();
  pid_t pid = 0;
  if (const int error = Spawn(painter, arguments, pid); error != 0) {
    if (error == ENOENT) return Failure(cannot + named + " is missing (it is installed beside vesk-cli)");
    return Failure(cannot + named + " could not be started: " + std::strerror(error));
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return Failure(cannot + "lost " + named + ": " + std::strerror(errno));
  }
  if (WIFSIGNALED(status))
    return Failure(cannot + named + " was stopped by signal " + std::to_string(WTERMSIG(status)) + " (" +
                   strsignal(WTERMSIG(status)) + ")");
  const int code = WEXITSTATUS(status);
  if (code == paint::kPainted) return {PaintOutcome::Kind::Written, {}};
  if (code == paint::kNotWritten) return {PaintOutcome::Kind::NotWritten, {}};
  return Failure(cannot + named + " ended with status " + std::to_string(code));
}

}  // namespace vesk::cli
