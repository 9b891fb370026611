#pragma once
// How vesk-cli and its painter meet. vesk-cli links no Qt; what it paints is
// painted by the separate program vesk-paint, installed beside it and started
// only when an output needs painting:
//
//   vesk-paint KIND [--no-veto] [--uj] -- FILE.tri OUT
//
// The painter reads FILE.tri, applies the threshold switches, runs the
// robust-assignment command as vesk-cli does (same code, same input: the same
// results) and writes OUT. KIND names the output; "picture" is the ranges
// picture (PNG or SVG by OUT's extension). A further output is a further KIND
// with its own writer over the same problem and results.
namespace vesk::paint {

inline constexpr const char* kPainterProgram = "vesk-paint";
inline constexpr const char* kPictureKind = "picture";

// The painter's exit status.
enum PainterExit : int {
  kPainted = 0,      // OUT was written
  kNotWritten = 1,   // OUT could not be written
  kPainterUsage = 2, // wrong arguments
  kNoResults = 3,    // FILE did not read or the results could not be computed (reason on standard error)
};

}  // namespace vesk::paint
