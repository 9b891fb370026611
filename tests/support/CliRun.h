#pragma once
// Runs the built vesk-cli as a person would, for the tests of its commands.
#include <filesystem>
#include <string>
#include <string_view>

namespace vesk::test {

struct CliRun {
  int code = -1;  // exit code; -1 when the program did not exit normally
  std::string out, err;
};

// `text` in single quotes for the shell (a quote inside is escaped).
std::string ShellQuote(std::string_view text);

// A whole file as bytes ("" when it cannot be read).
std::string ReadFileText(const std::filesystem::path& path);

// Runs `program` with `arguments` (already quoted for the shell), standard
// input read from `input`, and collects its exit code and both outputs.
CliRun RunProgram(const std::filesystem::path& program, const std::string& arguments,
                  const std::filesystem::path& input = "/dev/null");

// RunProgram on the built vesk-cli, standard input empty.
CliRun RunCli(const std::string& arguments);

}  // namespace vesk::test
