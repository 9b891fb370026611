#pragma once
// Where a column stands with respect to its bounds. A nonbasic column (column
// number above m) stands at one of its bounds; a basic one (number 1..m) lies
// within its bounds or violates one of them, and then counts as infeasible.
#include <cstdint>

namespace vesk::engine {

enum class ColumnStatus : uint8_t {
  kAtLower,  // nonbasic, at its lower bound (0 for a free column without one)
  kAtUpper,  // nonbasic, at its upper bound
  kWithin,   // basic, within its bounds (also a basic free or objective column)
  kBelow,    // basic, below its lower bound
  kAbove,    // basic, above its upper bound
};

constexpr bool IsNonbasicStatus(ColumnStatus s) { return s == ColumnStatus::kAtLower || s == ColumnStatus::kAtUpper; }

}  // namespace vesk::engine
