#pragma once
// The engine's fixed tolerances, each with what it guards. They are constants
// of the method, not parameters: every solve uses the same ones, so the same
// model gives the same pivots.
namespace vesk::engine {

// ---- Model input and the factor ----------------------------------------------

// A matrix or right-hand-side entry of smaller magnitude is not stored.
inline constexpr double kDroppedEntry = 1e-11;
// Bounds crossed by no more than this are taken as one value, not as an
// infeasible model.
inline constexpr double kCrossedBounds = 1e-11;
// A column whose bounds lie closer than this is fixed: it is never priced and
// never enters the basis.
inline constexpr double kZeroRange = 1e-11;
// A basic value beyond its bound by more than this (times the bound's
// magnitude when that exceeds 1) is infeasible.
inline constexpr double kBoundViolation = 1e-9;
// A transformed kernel column whose largest entry is no larger than this is
// dependent on the columns factored before it.
inline constexpr double kKernelPivot = 1e-11;
// Among pivot candidates a later one replaces the current choice only when it
// is larger by more than this (scan order decides near ties).
inline constexpr double kPivotPreference = 1e-11;
// An eta entry below this times the magnitude of its pivot is dropped.
inline constexpr double kEtaRelativeDrop = 1e-13;
// A pivot of the triangular phases of the factorization must exceed this.
inline constexpr double kTriangularPivot = 1e-5;
// The crash basis takes a column for a row only through an entry above this.
inline constexpr double kCrashEntry = 1e-5;

// ---- The simplex -------------------------------------------------------------

// Price of one unit of a basic column's infeasibility in the composite
// objective that drives feasibility and optimality together.
inline constexpr double kPhase1Price = 1e10;
// A total infeasibility below this counts as feasible.
inline constexpr double kNegligibleInfeasibility = 1e-9;
// A candidate whose pivot element is smaller is set aside for the pass; a
// smaller pivot of a step also makes the next update check every row.
inline constexpr double kRejectedPivot = 1e-6;
// A set-aside candidate is retried only with a pivot element above this.
inline constexpr double kRetryPivot = 1e-9;
// An entry of the transformed entering column of no larger magnitude limits no
// step.
inline constexpr double kPivotColumnZero = 1e-11;
// Step lengths closer than this are a tie in the ratio test.
inline constexpr double kStepTie = 1e-11;
// A step shorter than this is degenerate: the basic values stay as they are.
inline constexpr double kDegenerateStep = 1e-11;
// The long step stops on the breakpoint after which the merit's slope is no
// more than this fraction of its slope at the start.
inline constexpr double kSlopeEnd = 1e-9;
// A step progresses when it moves the objective row or an infeasible row by a
// transformed entry above this.
inline constexpr double kProgressEntry = 1e-9;
// A free column's reduced cost of no larger magnitude counts as zero.
inline constexpr double kReducedCostZero = 1e-11;
// In quiet mode a run with few candidates left and an infeasibility sum above
// this ends as infeasible.
inline constexpr double kQuietInfeasibility = 1e-5;
// The shift of every row (and the scale of the widened zero ranges) of the
// perturbation against stalling.
inline constexpr double kPerturbation = 1e-8;

// ---- Bound tightening and the branch-and-bound search -------------------------

// A computed integer bound is rounded forgiving this relative error.
inline constexpr double kIntegralRounding = 1e-9;
// A tightened bound replaces the old one only when it moves it by more.
inline constexpr double kTighteningStep = 1e-5;
// A restored basis is taken as the snapshot's optimum when its objective lies
// this close to the saved one.
inline constexpr double kSnapshotObjective = 1e-4;
// Waiting nodes whose bounds lie this close are ties (the newer goes first).
inline constexpr double kWaitingTie = 1e-5;
// Smallest pseudo-cost the dual ratio estimate gives, and the smallest
// branching score that counts as a real degradation.
inline constexpr double kPseudoCostFloor = 1e-5;
// A dive whose objective moved by more than this switches to short dives.
inline constexpr double kDiveMove = 1e-5;
// Relative margin given away for the LP's rounding when a node is measured
// against the cutoff (fixing by reduced cost, the incumbent's gap).
inline constexpr double kCutoffMargin = 1e-6;
// The dual repair's smallest pivot element and its dual feasibility tolerance.
inline constexpr double kRepairPivot = 1e-7;
inline constexpr double kRepairDual = 1e-9;
// An incumbent's integer column may lie this much beyond INTEGER-CRIT from a
// whole number and its whole value this much beyond a bound; its rows hold
// within this relative tolerance, its continuous columns within a thousand
// times the bound violation.
inline constexpr double kIncumbentIntegrality = 1e-12;
inline constexpr double kIncumbentBound = 1e-9;
inline constexpr double kIncumbentRow = 1e-6;
inline constexpr double kIncumbentColumnFactor = 1e3;

// The feasibility tolerance of a bound: an absolute 1e-11 is below the spacing
// of doubles for large bounds, so the tolerance grows with the bound.
inline double BoundTolerance(double bound) {
  const double a = bound < 0 ? -bound : bound;
  return kBoundViolation * (a > 1.0 ? a : 1.0);
}

}  // namespace vesk::engine
