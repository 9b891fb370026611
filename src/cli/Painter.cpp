#include "cli/Painter.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <vector>

#include "paint/PainterProtocol.h"
#include "paint/ResultsStream.h"

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

// A file in memory holding `bytes`, read from its start; -1 with errno set
// when it cannot be made.
int MemoryFile(const std::string& bytes) {
  const int fd = memfd_create("vesk-results", MFD_CLOEXEC);
  if (fd < 0) return -1;
  for (std::size_t done = 0; done < bytes.size();) {
    const ssize_t wrote = write(fd, bytes.data() + done, bytes.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) {
      const int error = wrote < 0 ? errno : EIO;
      close(fd);
      errno = error;
      return -1;
    }
    done += static_cast<std::size_t>(wrote);
  }
  if (lseek(fd, 0, SEEK_SET) != 0) {
    const int error = errno;
    close(fd);
    errno = error;
    return -1;
  }
  return fd;
}

// Starts the painter with standard input from `input` and standard output on
// standard error; 0 with the process id, or the spawn error.
int Spawn(const std::filesystem::path& painter, std::vector<std::string>& arguments, int input, pid_t& pid) {
  std::vector<char*> argv;
  for (auto& a : arguments) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, STDERR_FILENO, STDOUT_FILENO);
  const int error = posix_spawn(&pid, painter.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return error;
}

}  // namespace

PaintOutcome RunPainter(std::string_view kind, const core::Problem& problem, const core::SortingState& state,
                        const std::string& output) {
  const std::filesystem::path painter = PainterPath();
  const std::string cannot = "Cannot write " + output + ": ";
  const std::string named = "the painter " + painter.string();
  const auto failure = [](std::string message) { return PaintOutcome{PaintOutcome::Kind::Failed, std::move(message)}; };

  const int input = MemoryFile(paint::WriteResultsStream(problem, state));
  if (input < 0) return failure(cannot + "the results for " + named + " could not be kept: " + std::strerror(errno));
  std::vector<std::string> arguments{paint::kPainterProgram, std::string(kind), output};
  // What this program wrote so far comes before anything the painter writes.
  // An ignored SIGCHLD, inherited from whoever started this program, would
  // take the painter's exit status away before waitpid could read it.
  std::cout.flush();
  std::cerr.flush();
  std::signal(SIGCHLD, SIG_DFL);
  pid_t pid = 0;
  const int spawnError = Spawn(painter, arguments, input, pid);
  int status = 0, waitError = 0;
  if (spawnError == 0) {
    while (waitpid(pid, &status, 0) < 0 && !waitError)
      if (errno != EINTR) waitError = errno;
  }
  close(input);

  if (spawnError == ENOENT) return failure(cannot + named + " is missing (it is installed beside vesk-cli)");
  if (spawnError != 0) return failure(cannot + named + " could not be started: " + std::strerror(spawnError));
  if (waitError != 0) return failure(cannot + "lost " + named + ": " + std::strerror(waitError));
  if (WIFSIGNALED(status))
    return failure(cannot + named + " was stopped by signal " + std::to_string(WTERMSIG(status)) + " (" +
                   strsignal(WTERMSIG(status)) + ")");
  const int code = WEXITSTATUS(status);
  if (code == paint::kPainted) return {PaintOutcome::Kind::Written, {}};
  if (code == paint::kNotWritten) return {PaintOutcome::Kind::NotWritten, {}};
  return failure(cannot + named + " ended with status " + std::to_string(code));
}

}  // namespace vesk::cli
