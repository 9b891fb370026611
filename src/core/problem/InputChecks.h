#pragma once
// The checks run on the bounds and on the constraints before every
// computation. Each checks everything and reports each fault as an error box;
// the bound and right-hand-side checks may rewrite cells (which sets
// DataModified).
#include "core/problem/Problem.h"
#include "core/problem/UserDialogs.h"

namespace vesk::core {

// Every BGrid column c = 1..n+1 (1 is lambda, 1+j is k_j):
// - a lower bound that is not a number: "Invalid lower bound in column c";
//   below 0: "Lower bound in column c was <0: changed it to 0. Column c is
//   k1 (cost).", cell "0.0";
// - an upper bound that is not a number: "Invalid upper bound in column c";
//   above 1: "Upper bound in column c was >1: changed it to 1. Column c is
//   k1 (cost).", cell "1.0" (the parameter named with its criterion).
// - both numbers and, after those changes, lower above upper: "Lower bound
//   exceeds upper bound in column c".
// True when no column failed; a changed cell alone does not fail.
bool CheckBounds(Problem& problem, UserDialogs& dialogs);

// Every added constraint (CGrid rows 2..), numbered from 1: an empty RHS
// becomes "0"; a RHS that is not a number gives "Invalid RHS is row t", a
// negative one "Negative RHS is row t". True when no row failed.
bool CheckConstraintRHS(Problem& problem, UserDialogs& dialogs);

// Refuses (error message naming the row, false) an added constraint (CGrid
// rows 2..) whose sign cell does not start with '<', '=' or '>'; every row is
// checked. Nothing is rewritten.
bool CheckConstraintSigns(const Problem& problem, UserDialogs& dialogs);

}  // namespace vesk::core
