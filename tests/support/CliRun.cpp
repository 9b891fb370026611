#include "CliRun.h"

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "TestPaths.h"

namespace vesk::test {

std::string ShellQuote(std::string_view text) {
  std::string quoted(1, '\'');
  for (char c : text) {
    if (c == '\'') quoted += "'\\''";
    else quoted += c;
  }
  quoted += '\'';
  return quoted;
}

std::string ReadFileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

CliRun RunProgram(const std::filesystem::path& program, const std::string& arguments,
                  const std::filesystem::path& input) {
  const auto dir = FreshTempDir("clirun");
  const auto out = dir / "stdout", err = dir / "stderr";
  std::string command = ShellQuote(program.string());
  command += ' ';
  command += arguments;
  command += " >";
  command += ShellQuote(out.string());
  command += " 2>";
  command += ShellQuote(err.string());
  command += " <";
  command += ShellQuote(input.string());
  const int status = std::system(command.c_str());
  CliRun run;
  run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = ReadFileText(out);
  run.err = ReadFileText(err);
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
  return run;
}

CliRun RunCli(const std::string& arguments) { return RunProgram(CliPath(), arguments); }

}  // namespace vesk::test
