#pragma once
// Commands that change the shape of a problem: split and merge categories,
// insert and delete criteria, actions and constraints, erase the assignment
// examples. Each asks what it needs through UserDialogs, keeps the table
// layout of Problem.h, sets DataModified and calls ResetResults. Each returns
// true when it changed the problem; Cancel, No or a refusal leave the problem
// exactly as it was and return false.
#include "core/problem/InputGrid.h"
#include "core/problem/Problem.h"
#include "core/problem/UserDialogs.h"

namespace vesk::core {

enum class StructuralCommand {
  SplitCategory,
  MergeCategories,
  InsertCriterion,
  DeleteCriterion,
  InsertAction,
  DeleteAction,
  EraseExamples,
  InsertConstraint,
  DeleteConstraint,
};

// Whether the menu bar offers the command when its menu opens (the context
// menus of the tables always offer theirs).
bool StructuralCommandEnabled(const Problem& problem, StructuralCommand command);

// Number prompts carry the question as their caption (the words below) and
// again, with the numbers allowed, on their prompt line ("Split category No.
// (1-3):"). The delete commands take the number of what the person has
// selected (`offered`, 0 for nothing) as the prompt's starting answer.

// The criterion (1..n) whose data column `column` of `table` is, or 0 (a
// label, ELow or EHigh, lambda, the sign or the RHS).
int CriterionOfColumn(const Problem& problem, InputTable table, int column);
// The added constraint (1..NumConstraints-1) of CGrid row `row`, or 0.
int ConstraintOfRow(const Problem& problem, int row);

// "Split category No.:" k in 1..K: profile b_k starts as a copy of b_(k-1)
// (b_1 for k = 1), category k becomes k and k+1, K grows by one.
bool SplitCategory(Problem& problem, UserDialogs& dialogs);

// "Are you sure you want to merge two categories?", then "Merge the
// categories from No. :" k in 1..K-1: categories k and k+1 become one and
// profile b_k disappears. Refused without a question while K <= 2.
bool MergeCategories(Problem& problem, UserDialogs& dialogs);

// Appends criterion n+1 ("g%d", zero data, direction "1", bounds "0"/"0",
// coefficient "0" in the added constraints and "1" in the Norm row). A 20th
// criterion is refused with "Maximum number of criteria exceeded".
bool InsertCriterion(Problem& problem, UserDialogs& dialogs);

// "Delete criterion No.:" k in 1..n. The criterion's columns go; the columns
// to its right, with their names, move left; the positional headers of BGrid
// and CGrid ("k%d", "<,=,>", "RHS") stay in sequence. Refused without a
// question when only one criterion is left.
bool DeleteCriterion(Problem& problem, UserDialogs& dialogs);
bool DeleteCriterion(Problem& problem, UserDialogs& dialogs, int offered);

// Appends an action named one more than the previous last name; when that
// name is not an integer (or there is no action), one more than the largest
// integer name, or "0" when no name is an integer.
bool InsertAction(Problem& problem, UserDialogs& dialogs);

// "Delete action No.:" (prompt line "Delete action (1-m or name):"): the
// answer names an action by its number, its row 1..m, or else by its name
// (blanks around it ignored); the first action so named is deleted.
// Anything else shows "Action <typed text> not found" and changes nothing.
bool DeleteAction(Problem& problem, UserDialogs& dialogs);
bool DeleteAction(Problem& problem, UserDialogs& dialogs, int offered);

// "Do you really want to erase all assignment examples?": on Yes every
// action gets [1, K].
bool EraseExamples(Problem& problem, UserDialogs& dialogs);

// Appends constraint row "ad%d" of the new NumConstraints: zero
// coefficients, sign "<=", RHS "0".
bool InsertConstraint(Problem& problem, UserDialogs& dialogs);

// "Delete Constraint" / "Delete constraint No.:" t in 1..NumConstraints-1;
// the rows below move up, the labels stay in place. Refused without a
// question when there is no added constraint.
bool DeleteConstraint(Problem& problem, UserDialogs& dialogs);
bool DeleteConstraint(Problem& problem, UserDialogs& dialogs, int offered);

}  // namespace vesk::core
