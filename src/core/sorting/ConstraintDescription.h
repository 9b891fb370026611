#pragma once
// What a row of the constraint list (IGrid) stands for, and how the
// inconsistency window names it for the person: an assignment example as
// "Supplier 2 in C2..C3", an added constraint by its label and its text
// ("ad1: k1 - k2 <= 0"), a bound as "k3 >= 0.1".
#include <optional>
#include <string>

#include "core/problem/Problem.h"
#include "core/sorting/SortingState.h"

namespace vesk::core {

enum class ConstraintOriginKind { Example, Added, LowerBound, UpperBound };

struct ConstraintOrigin {
  ConstraintOriginKind kind = ConstraintOriginKind::Example;
  // Example: the action (AGrid row, 1-based). Added: the CGrid row (2..).
  // Bounds: the variable (0 lambda, j k_j).
  int index = 0;
  bool operator==(const ConstraintOrigin&) const = default;
};

// Where IGrid data row `row` (1-based) comes from, or nothing when the row is
// not in the list or the list no longer belongs to the problem (the problem
// changed since the robust-assignment command that built it). Example rows
// come first, one or two per action with an example, in action order; an
// added constraint's rows carry its label; bound rows read "LB "/"UB " and the
// variable's header. Both rows of an '=' constraint name the same CGrid row.
std::optional<ConstraintOrigin> ConstraintRowOrigin(const Problem& problem, const SortingState& state, int row);

// The description of a constraint, as the inconsistency window shows it:
//   Example     "<action name> in C<low>..C<high>" ("in C<h>" when low = high)
//   Added       "<label>: <terms> <sign> <rhs>", terms as "k1 - 0.5 k2 + lambda"
//               (zero coefficients left out; "0" when all are)
//   LowerBound  "<k_j or lambda> >= <lower>"
//   UpperBound  "<k_j or lambda> <= <upper>"
// Numbers in the general format.
std::string DescribeConstraint(const Problem& problem, const ConstraintOrigin& origin);

// The description of IGrid data row `row`, or its "Descr" cell when its
// origin cannot be told.
std::string DescribeConstraintRow(const Problem& problem, const SortingState& state, int row);

}  // namespace vesk::core
