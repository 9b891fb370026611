#pragma once
// The problem: four text tables at fixed positions plus a few counts and flags.
//
// AGrid  actions: row 0 headers "Action" "ELow" "EHigh" criterion names;
//        row i (1..m): name, ELow, EHigh, performances on criteria 1..n (column 2+j).
// FGrid  profiles: column j (1..n) is criterion j, row 0 its name; profile h
//        (1..K-1) owns rows 1+5(h-1) .. 5+5(h-1): g(b_h), q, p, u, v;
//        the last row (1+5(K-1)) holds the directions.
// BGrid  bounds: column 1 lambda, column 1+j k_j; row 1 lower, row 2 upper.
// CGrid  constraints: column 1 lambda, 1+j k_j, n+2 sign, n+3 RHS; row 1 is
//        the "Norm" row; rows 2.. are added constraints labelled "ad%d".
#include <string>
#include <string_view>

#include "core/problem/Grid.h"

namespace vesk::core {

inline constexpr int kMaxCriteria = 19;
inline constexpr const char* kTitle = "Vesk 2";

struct Problem {
  Grid AGrid;
  Grid FGrid;
  Grid BGrid;
  Grid CGrid;

  int NumCriteria = 0;     // n
  int NumActions = 0;      // m
  int NumCategories = 0;   // K
  int NumConstraints = 0;  // rows of CGrid below the header, the Norm row included

  bool DataModified = false;
  bool ResultsAvailable = false;
  bool TablesShown = false;  // false before the first New or Open

  bool UsevjDown = true;   // "Use vj": veto thresholds in use
  bool UseujDown = false;  // "Use uj": discordance thresholds in use (only while "Use vj" is down)

  std::string Caption = kTitle;      // window caption
  std::string SaveFileName = "output";  // the save dialog's file name (the current file)
  std::string OpenFileName;          // the open dialog's file name (quoted by the report)

  // Counts every ResetResults, so that views and result holders can tell that
  // what they show no longer belongs to the problem.
  unsigned long long ResultsGeneration = 0;

  // Fixed positions.
  int ProfileRow(int h) const { return 1 + 5 * (h - 1); }  // g(b_h) row of profile h
  int DirectionRow() const { return 1 + 5 * (NumCategories - 1); }
  int SignColumn() const { return NumCriteria + 2; }
  int RhsColumn() const { return NumCriteria + 3; }
  int PerformanceColumn(int j) const { return 2 + j; }

  // Called by every change to the problem: clears ResultsAvailable and bumps
  // ResultsGeneration (the window hides its outputs and disables the report).
  void ResetResults();

  bool operator==(const Problem&) const = default;
};

// Sizes and labels the four tables for n criteria, m actions and K categories
// exactly as New does, including New's default values when `withDefaults` is
// set. Without defaults only the headers, labels, lambda bounds "0.5"/"1.0"
// and the Norm row are written (what the file reader expects before it fills
// the tables). Sets the counts, NumConstraints := 1, and TablesShown.
void LayoutTables(Problem& problem, int n, int m, int K, bool withDefaults);

// The action (1..m) `text` names: its number, the row, when the text reads as
// an integer 1..m; otherwise the first action whose name is the text (blanks
// around it ignored). 0 when no action is so named.
int ActionNamed(const Problem& problem, std::string_view text);

// Writes the Norm row into CGrid row 1 ("Norm", "0", "1" per weight, "=", "1").
void WriteNormRow(Problem& problem);

// True when the "u%d" rows of FGrid are shown (both toggles down), and the
// "v%d" rows ("Use vj" down).
inline bool URowsShown(const Problem& p) { return p.UsevjDown && p.UseujDown; }
inline bool VRowsShown(const Problem& p) { return p.UsevjDown; }

}  // namespace vesk::core
