#pragma once
// Locations of the shared data set and of the built command line, for tests.
#include <filesystem>
#include <optional>

namespace vesk::test {

// Folder of the public LP/MIP instances (reference.tsv beside them), or nothing
// when it is absent. VESK_LP_DATA overrides the configured location.
std::optional<std::filesystem::path> LpDataDir();

// Folder of the example problems with their expected results, or nothing when
// absent. VESK_EXAMPLES overrides the configured location.
std::optional<std::filesystem::path> ExamplesDir();

// The built vesk-cli program.
std::filesystem::path CliPath();

// The project's source folder.
std::filesystem::path SourceDir();

// A fresh, empty folder for one test, removed by the caller or left in /tmp.
std::filesystem::path FreshTempDir(const char* tag);

}  // namespace vesk::test
