// Model input by name: rows, columns, entries, right-hand sides and bounds,
// and the exchanges of columns and rows that keep names and numbers right.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/EngineHostMessages.h"
#include "engine/EngineModel.h"
#include "engine/Tolerances.h"
#include "engine/search/SolverConsole.h"

namespace vesk::engine {

int EngineModel::FindColumnNumber(std::string_view rawName) const {
  const std::string name = Cut(rawName);
  bool found = false;
  const int slot = columnTable.Probe(
      name, [&](uint32_t serial) { return columnStore[serial - 1]->name == name; }, found);
  if (!found) return 0;
  return columnStore[columnTable.Get(slot) - 1]->number;
}

int EngineModel::FindColumn(std::string_view rawName, uint8_t kind) {
  const std::string name = Cut(rawName);
  bool found = false;
  const int slot = columnTable.Probe(
      name, [&](uint32_t serial) { return columnStore[serial - 1]->name == name; }, found);
  if (found) return columnStore[columnTable.Get(slot) - 1]->number;
  if (kind == kLookUpOnly) return 0;
  ++n;
  if (n >= kMaxColumnNumber || slot == 0) {
    --n;
    FatalEngineError(host, "FATAL ERROR\n\rMAXcolumn TOO SMALL");
  }
  auto record = std::make_unique<ColumnRecord>();
  record->name = name;
  record->kind = kind;
  record->hashSlot = slot;
  record->number = n;
  column.push_back(record.get());
  columnStore.push_back(std::move(record));
  columnTable.Set(slot, static_cast<uint32_t>(columnStore.size()));
  return n;
}

int EngineModel::FindRow(std::string_view rawName) const {
  const std::string name = Cut(rawName);
  bool found = false;
  const int slot = rowTable.Probe(
      name, [&](uint32_t i) { return rows[i]->name == name; }, found);
  return found ? static_cast<int>(rowTable.Get(slot)) : 0;
}

bool EngineModel::DefineRow(std::string_view rawName, char type) {
  const std::string name = Cut(rawName);
  int8_t t;
  switch (type) {
    case 'E': t = kRowE; break;
    case 'G': t = kRowG; break;
    case 'L': t = kRowL; break;
    case 'N': t = kRowN; break;
    default:
      host.MessageBox("Unknown Row Type " + std::string(1, type) + " at row " + name);
      errorFlag = true;
      return false;
  }
  bool found = false;
  const int slot = rowTable.Probe(
      name, [&](uint32_t i) { return rows[i]->name == name; }, found);
  if (found) {
    host.MessageBox("ROW " + name + " ALREADY DEFINED");
    ClearModel();
    errorFlag = true;
    return false;
  }
  if (m + 1 > kMaxRows || slot == 0) {
    host.MessageBox("MAXROWS IST ZU KLEIN");
    ClearModel();
    errorFlag = true;
    return false;
  }
  ++m;
  if (rows.empty()) rows.emplace_back();  // row 0 is not used
  auto row = std::make_unique<RowRecord>();
  row->name = name;
  row->type = t;
  row->hashSlot = slot;
  rows.push_back(std::move(row));
  rowTable.Set(slot, static_cast<uint32_t>(m));
  return true;
}

void EngineModel::PutEntry(int i, int j, double v) {
  if (i == 0) FatalEngineError(host, "Row not defined");
  ColumnRecord& c = Col(j);
  if (i <= c.maxRow) {
    for (size_t k = 0; k < c.entries.size(); ++k) {
      if (c.entries[k].row != i) continue;
      if (std::fabs(v) >= kDroppedEntry) {
        c.entries[k].value = v;
      } else {
        c.entries[k] = c.entries.back();
        c.entries.pop_back();
      }
      return;
    }
  }
  c.entries.push_back({i, v});
  c.maxRow = std::max(c.maxRow, i);
  Row(i).entryCount += 1;
}

void EngineModel::SetCoefficient(std::string_view columnName, std::string_view rowName, double v) {
  if (v == 0) return;
  const int j = FindColumn(columnName, kStructural);
  PutEntry(FindRow(rowName), j, v);
}

void EngineModel::SetRhs(std::string_view rowName, double v) {
  if (v == 0) return;
  PutEntry(FindRow(rowName), 0, v);
}

void EngineModel::SetBound(std::string_view type, std::string_view columnName, double v) {
  ColumnRecord& c = Col(FindColumn(columnName, kStructural));
  if (type == "UP") {
    c.upper = v;
  } else if (type == "LO") {
    c.lower = v;
  } else if (type == "FR") {
    c.kind = kFreeStructural;
    freeColumns = true;
  } else if (type == "FX") {
    c.upper = v;
    c.lower = v;
  } else if (type == "MI") {
    c.lower = -kEngineInfinity;
    c.upper = 0;
  } else if (type == "BV") {
    c.isInteger = true;
    c.downPseudoCost = c.upPseudoCost = 1e10f;
    c.upper = 1;
  } else if (type == "UI") {
    c.upper = std::min({v, c.upper, 300000.0});
    c.isInteger = true;
    c.downPseudoCost = c.upPseudoCost = 1e10f;
  } else {
    host.MessageBox("Unknown Bound Type " + std::string(type) + " at column " + c.name);
  }
}

void EngineModel::SwapColumns(int j, int k) {
  if (j == k) return;
  ColumnRecord*& a = column[static_cast<size_t>(j + 1)];
  ColumnRecord*& b = column[static_cast<size_t>(k + 1)];
  std::swap(a, b);
  a->number = j;
  b->number = k;
}

void EngineModel::RenumberRows(const std::vector<int>& newOf) {
  std::vector<std::unique_ptr<RowRecord>> moved(rows.size());
  for (int i = 1; i <= m; ++i) moved[static_cast<size_t>(newOf[i])] = std::move(rows[static_cast<size_t>(i)]);
  rows.swap(moved);
  for (int i = 1; i <= m; ++i)
    if (newOf[i] != i) rowTable.Set(Row(newOf[i]).hashSlot, static_cast<uint32_t>(newOf[i]));
  for (int j = -1; j <= n; ++j) {
    ColumnRecord& c = Col(j);
    int top = 0;
    for (auto& e : c.entries) {
      e.row = newOf[e.row];
      top = std::max(top, e.row);
    }
    c.maxRow = top;
  }
  for (auto& e : etaFile.entries) e.row = newOf[e.row];
  if (!etaFile.dense.empty()) {
    std::vector<double> moved(static_cast<size_t>(m) + 1);
    for (int k = 1; k <= etaFile.count; ++k) {
      const int64_t b = etaFile.denseStart[k - 1], len = etaFile.denseStart[k] - b;
      if (len == 0) continue;
      double* v = etaFile.dense.data() + b - 1;  // v[i] for rows 1..len
      std::fill(moved.begin(), moved.end(), 0.0);
      for (int64_t i = 1; i <= len; ++i) moved[static_cast<size_t>(newOf[i])] = v[i];
      for (int64_t i = 1; i <= len; ++i) v[i] = moved[static_cast<size_t>(i)];
    }
  }
}

void EngineModel::SwapRows(int i, int k) {
  if (i == k) return;
  std::vector<int> newOf(static_cast<size_t>(m) + 1);
  for (int r = 0; r <= m; ++r) newOf[r] = r;
  newOf[i] = k;
  newOf[k] = i;
  RenumberRows(newOf);
}

void EngineModel::RebuildNameTables() {
  rowTable.Clear();
  columnTable.Clear();
  for (int i = 1; i <= m; ++i) {
    RowRecord& r = Row(i);
    bool found = false;
    const int slot = rowTable.Probe(
        r.name, [&](uint32_t v) { return rows[v]->name == r.name; }, found);
    r.hashSlot = slot;
    rowTable.Set(slot, static_cast<uint32_t>(i));
  }
  // Serial numbers follow the record store; insert in column-number order.
  for (size_t s = 0; s < columnStore.size(); ++s) columnStore[s]->hashSlot = 0;
  std::vector<uint32_t> serialOf(columnStore.size() + 2);
  for (size_t s = 0; s < columnStore.size(); ++s)
    serialOf[static_cast<size_t>(columnStore[s]->number + 1)] = static_cast<uint32_t>(s + 1);
  for (int j = -1; j <= n; ++j) {
    ColumnRecord& c = Col(j);
    bool found = false;
    const int slot = columnTable.Probe(
        c.name, [&](uint32_t v) { return columnStore[v - 1]->name == c.name; }, found);
    c.hashSlot = slot;
    columnTable.Set(slot, serialOf[static_cast<size_t>(j + 1)]);
  }
}

void EngineModel::LoadObjective() {
  const int r = FindRow(objectiveRowName);
  if (r == 0) {
    for (int j = 1; j <= n; ++j) Col(j).cost = 0;
    return;
  }
  if (r != m) SwapRows(r, m);
  const double sign = maximize ? 1.0 : -1.0;
  for (int j = 1; j <= n; ++j) {
    ColumnRecord& c = Col(j);
    if (c.kind != kStructural && c.kind != kFreeStructural) continue;
    double a = 0;
    for (const auto& e : c.entries)
      if (e.row == m) a = e.value;
    c.cost = a * sign;
  }
}

void EngineModel::CheckColumnBounds() {
  bool failed = false;
  for (int j = 1; j <= n; ++j) {
    ColumnRecord& c = Col(j);
    if (c.upper + kCrossedBounds >= c.lower) {
      c.lower = std::min(c.lower, c.upper);
    } else {
      failed = true;
      std::string name = c.name;
      if (name.size() < 14) name.resize(14, ' ');
      char buf[96];
      std::snprintf(buf, sizeof buf, "%14.10f%14.10f", c.lower, c.upper);
      ConsoleLine(*this, "VECTOR : " + name + buf + " **");
    }
  }
  if (failed) {
    ConsoleLine(*this, "MODEL IS INFEASIBLE");
    boundsCrossed = true;
  }
}

}  // namespace vesk::engine
