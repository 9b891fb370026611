#include "engine/NameTable.h"

namespace vesk::engine {

uint32_t NameHashSum(std::string_view name) {
  uint32_t sum = 0;
  for (size_t k = 0; k < name.size(); ++k) {
    const uint32_t i = static_cast<uint32_t>(k + 1);
    const uint32_t c = static_cast<unsigned char>(name[k]);
    const uint32_t shift = ((i % 2 == 1) ? i : i + 1) % 32;
    sum += c << shift;
  }
  return sum;
}

int HomeSlot(std::string_view name) { return static_cast<int>(NameHashSum(name) % kNameSlots) + 1; }

int NextSlot(std::string_view name, int slot) {
  const long long c1 = name.size() > 0 ? static_cast<unsigned char>(name[0]) : 0;
  const long long c2 = name.size() > 1 ? static_cast<unsigned char>(name[1]) : 0;
  return static_cast<int>((10 * c1 + slot + c2) % kNameSlots) + 1;
}

NameTable::NameTable() : cells_(64, Cell{0, 0}) {}

static inline size_t Mix(uint32_t slot) { return static_cast<size_t>(slot) * 2654435761u; }

size_t NameTable::Find(uint32_t slot) const {
  const size_t mask = cells_.size() - 1;
  size_t i = (Mix(slot) >> 7) & mask;
  while (cells_[i].slot != 0 && cells_[i].slot != slot) i = (i + 1) & mask;
  return i;
}

uint32_t NameTable::Get(int slot) const {
  const size_t i = Find(static_cast<uint32_t>(slot));
  return cells_[i].slot == 0 ? 0 : cells_[i].value;
}

void NameTable::Set(int slot, uint32_t value) {
  size_t i = Find(static_cast<uint32_t>(slot));
  if (cells_[i].slot == 0) {
    if (value == 0) return;
    if ((used_ + 1) * 2 > cells_.size()) {
      Grow();
      i = Find(static_cast<uint32_t>(slot));
    }
    cells_[i].slot = static_cast<uint32_t>(slot);
    ++used_;
  }
  cells_[i].value = value;  // a cleared slot keeps its cell with value 0
}

void NameTable::Grow() {
  std::vector<Cell> old;
  old.swap(cells_);
  cells_.assign(old.size() * 2, Cell{0, 0});
  for (const Cell& c : old) {
    if (c.slot == 0) continue;
    cells_[Find(c.slot)] = c;
  }
}

void NameTable::Clear() {
  cells_.assign(64, Cell{0, 0});
  used_ = 0;
}

}  // namespace vesk::engine
