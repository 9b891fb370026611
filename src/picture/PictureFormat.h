#pragma once
// Which picture or document a file name asks for. Free of Qt, so that the
// command line checks its options without loading the painter.
#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <string_view>

namespace vesk::picture {

enum class PictureFormat { Png, Svg };

// Whether `path` ends in `extension` (given in lower case), in any case.
inline bool HasExtension(std::string_view path, std::string_view extension) {
  return path.size() >= extension.size() &&
         std::equal(extension.begin(), extension.end(), path.end() - static_cast<std::ptrdiff_t>(extension.size()),
                    [](char s, char p) { return s == std::tolower(static_cast<unsigned char>(p)); });
}

// The format named by a file's extension (".png" or ".svg", in any case), or
// nothing for any other name.
inline std::optional<PictureFormat> PictureFormatFor(std::string_view path) {
  if (HasExtension(path, ".png")) return PictureFormat::Png;
  if (HasExtension(path, ".svg")) return PictureFormat::Svg;
  return std::nullopt;
}

// Why `path` cannot name a picture, or "" when it can (the check of a
// command-line option).
inline std::string PictureNameError(const std::string& path) {
  return PictureFormatFor(path) ? std::string() : std::string("the picture must be a .png or .svg file");
}

// Why `path` cannot name the PDF report, or "" when it can.
inline std::string PdfNameError(const std::string& path) {
  return HasExtension(path, ".pdf") ? std::string() : std::string("the report must be a .pdf file");
}

}  // namespace vesk::picture
