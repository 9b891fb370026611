#pragma once
// Which picture a file name asks for. Free of Qt, so that the command line
// checks its picture option without loading the painter.
#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <string_view>

namespace vesk::picture {

enum class PictureFormat { Png, Svg };

// The format named by a file's extension (".png" or ".svg", in any case), or
// nothing for any other name.
inline std::optional<PictureFormat> PictureFormatFor(std::string_view path) {
  const auto endsWith = [path](std::string_view suffix) {
    return path.size() >= suffix.size() &&
           std::equal(suffix.begin(), suffix.end(), path.end() - static_cast<std::ptrdiff_t>(suffix.size()),
                      [](char s, char p) { return s == std::tolower(static_cast<unsigned char>(p)); });
  };
  if (endsWith(".png")) return PictureFormat::Png;
  if (endsWith(".svg")) return PictureFormat::Svg;
  return std::nullopt;
}

// Why `path` cannot name a picture, or "" when it can (the check of a
// command-line option).
inline std::string PictureNameError(const std::string& path) {
  return PictureFormatFor(path) ? std::string() : std::string("the picture must be a .png or .svg file");
}

}  // namespace vesk::picture
