#pragma once
// What poppler's tools (pdfinfo, pdftotext) read from a PDF file, for the
// tests of the printed report. They come with poppler-utils.
#include <filesystem>
#include <optional>
#include <string>

namespace vesk::test {

// Whether pdfinfo and pdftotext can be run.
bool PdfToolsInstalled();

// The number of pages pdfinfo reads, or nothing when it refuses the file.
std::optional<int> PdfPages(const std::filesystem::path& pdf);

// The text of every page as pdftotext lays it out (-layout), "" when it fails.
std::string PdfText(const std::filesystem::path& pdf);

}  // namespace vesk::test
