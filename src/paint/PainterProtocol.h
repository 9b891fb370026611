#pragma once
// How vesk-cli and its painter meet. vesk-cli links no Qt; what it paints is
// painted by the separate program vesk-paint, installed beside it and started
// only for an output that needs painting:
//
//   vesk-paint KIND OUT < RESULTS
//
// RESULTS, on standard input, is the problem and its results as vesk-cli
// holds them (ResultsStream.h). KIND names the output; "picture" is the
// ranges picture (PNG or SVG by OUT's extension). A further output is a
// further KIND with its own writer over the same problem and results.
namespace vesk::paint {

inline constexpr const char* kPainterProgram = "vesk-paint";
inline constexpr const char* kPictureKind = "picture";

// The painter's exit status.
enum PainterExit : int {
  kPainted = 0,       // OUT was written
  kNotWritten = 1,    // OUT could not be written
  kPainterUsage = 2,  // wrong arguments
  kBadResults = 3,    // standard input is not a results stream, or its results do not fit its problem
};

}  // namespace vesk::paint
