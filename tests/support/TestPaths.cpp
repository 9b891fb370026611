#include "TestPaths.h"

#include <atomic>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace vesk::test {
namespace {

std::optional<std::filesystem::path> ExistingDir(const char* env, const std::filesystem::path& fallback) {
  std::filesystem::path p = fallback;
  if (const char* v = std::getenv(env); v && *v) p = v;
  std::error_code ec;
  if (std::filesystem::is_directory(p, ec)) return p;
  return std::nullopt;
}

}  // namespace

std::optional<std::filesystem::path> LpDataDir() {
  return ExistingDir("VESK_LP_DATA", std::filesystem::path(VESK_SHARED_DIR) / "data" / "lp");
}

std::optional<std::filesystem::path> ExamplesDir() {
  return ExistingDir("VESK_EXAMPLES", std::filesystem::path(VESK_SHARED_DIR) / "examples");
}

std::filesystem::path CliPath() { return VESK_CLI_PATH; }

std::filesystem::path SourceDir() { return VESK_SOURCE_DIR; }

std::filesystem::path FreshTempDir(const char* tag) {
  static std::atomic<int> counter{0};
  auto dir = std::filesystem::temp_directory_path() /
             ("vesk-" + std::string(tag) + "-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

}  // namespace vesk::test
