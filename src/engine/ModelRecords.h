#pragma once
// Records of the engine's model store: columns with their sparse entries and
// rows.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/ColumnStatus.h"

namespace vesk::engine {

constexpr double kEngineInfinity = 1e21;  // absent bound
constexpr double kInfiniteBound = 1e20;   // magnitudes above count as infinite
constexpr double kLargeBound = 1e10;      // a nonbasic column never stands at a bound beyond
constexpr int kMaxRows = 65535;
constexpr int kMaxColumnNumber = 131068;  // column numbers stay below
constexpr size_t kNameLength = 25;

// ColumnKind
enum : uint8_t {
  kStructural = 0,
  kSlack = 1,             // L row, coefficient +1
  kSurplus = 2,           // G row, coefficient -1
  kArtificial = 3,        // E row, coefficient +1, bounds 0..0
  kObjectiveLogical = 4,  // N row, coefficient +1, free
  kFreeStructural = 5,    // bound type FR
  kLookUpOnly = 253,      // FindColumn: never create
};

// RowRecord types
enum : int8_t { kRowE = 0, kRowG = 1, kRowL = -1, kRowN = 2 };

struct MatrixEntry {
  int32_t row;
  double value;
};

struct ColumnRecord {
  std::vector<MatrixEntry> entries;  // unordered nonzeros
  int32_t hashSlot = 0;
  int32_t number = 0;  // current column number (position), kept by SwapColumns
  int32_t maxRow = 0;  // no entry lies in a row above this (speeds up PutEntry)
  std::string name;
  double lower = 0;
  double upper = kEngineInfinity;
  double cost = 0;
  double value = 0;
  double reducedCost = 0;
  float downPseudoCost = 0;
  float upPseudoCost = 0;
  float integerValue = 0;
  float integerReducedCost = 0;
  bool isInteger = false;
  ColumnStatus status = ColumnStatus::kAtLower;
  uint8_t kind = 0;
  bool eligible = true;

  int Count() const { return static_cast<int>(entries.size()); }
};

struct RowRecord {
  std::string name;
  int8_t type = kRowN;
  int32_t entryCount = 1;
  int32_t reserved = 5;
  int32_t hashSlot = 0;
};

}  // namespace vesk::engine
