#include "PdfText.h"

#include <cstdlib>
#include <regex>

#include "CliRun.h"

namespace vesk::test {

namespace {

std::optional<std::filesystem::path> Tool(const char* name) {
  const char* path = std::getenv("PATH");
  std::string folders = path ? path : "/usr/bin:/bin";
  for (std::size_t start = 0; start <= folders.size();) {
    const std::size_t end = std::min(folders.find(':', start), folders.size());
    const std::filesystem::path candidate = std::filesystem::path(folders.substr(start, end - start)) / name;
    if (std::filesystem::exists(candidate)) return candidate;
    start = end + 1;
  }
  return std::nullopt;
}

}  // namespace

bool PdfToolsInstalled() { return Tool("pdfinfo") && Tool("pdftotext"); }

std::optional<int> PdfPages(const std::filesystem::path& pdf) {
  const auto tool = Tool("pdfinfo");
  if (!tool) return std::nullopt;
  const CliRun run = RunProgram(*tool, ShellQuote(pdf.string()));
  std::smatch pages;
  if (run.code != 0 || !std::regex_search(run.out, pages, std::regex("Pages:\\s+([0-9]+)"))) return std::nullopt;
  return std::stoi(pages[1]);
}

std::string PdfText(const std::filesystem::path& pdf) {
  const auto tool = Tool("pdftotext");
  if (!tool) return {};
  const CliRun run = RunProgram(*tool, "-layout " + ShellQuote(pdf.string()) + " -");
  return run.code == 0 ? run.out : std::string();
}

}  // namespace vesk::test
