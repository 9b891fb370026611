#pragma once
// Hashed name tables of the model store. A name c1..cL hashes to the wrapping
// 32-bit sum of ci << (i odd ? i : i + 1) (shift counts mod 32); its home slot
// is that sum mod 131070, plus 1. On a collision the next slot is
// ((10 c1 + slot + c2) mod 131070) + 1. Probing stops at an empty slot or at a
// slot whose record carries exactly the name.
//
// The 131070 slots are held sparsely (only slots in use take memory), so that
// building a table for a small model costs nothing and the probe sequence is
// that of the full table.
#include <cstdint>
#include <string_view>
#include <vector>

namespace vesk::engine {

constexpr int kNameSlots = 131070;

uint32_t NameHashSum(std::string_view name);
int HomeSlot(std::string_view name);
int NextSlot(std::string_view name, int slot);

class NameTable {
 public:
  NameTable();
  uint32_t Get(int slot) const;       // 0 when empty
  void Set(int slot, uint32_t value);  // value 0 empties the slot
  void Clear();

  // Walks the probe sequence of `name`; `matches(value)` tells whether the
  // record stored under a slot carries the name. Returns the slot where the
  // walk stopped and sets `found`.
  template <class Matches>
  int Probe(std::string_view name, Matches matches, bool& found) const {
    int slot = HomeSlot(name);
    int steps = 0;
    for (;;) {
      const uint32_t v = Get(slot);
      if (v == 0) {
        found = false;
        return slot;
      }
      if (matches(v)) {
        found = true;
        return slot;
      }
      // The probe step shares factors with 131070 for some first letters, so
      // its cycle can be short; past a cycle's length walk the slots one by one.
      if (++steps < 4096) slot = NextSlot(name, slot);
      else slot = slot % kNameSlots + 1;
      if (steps > 4096 + kNameSlots) {
        found = false;
        return 0;
      }
    }
  }

 private:
  struct Cell {
    uint32_t slot;
    uint32_t value;
  };
  size_t Find(uint32_t slot) const;
  void Grow();
  std::vector<Cell> cells_;
  size_t used_ = 0;
};

}  // namespace vesk::engine
