#pragma once
// The eta file: the basis inverse in product form, and the operations on it.
// Positions 1..m of the column array are the basic columns (position i basic
// in row i); vectors are dense, 1-based by row.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vesk::engine {

class EngineModel;

struct EtaEntry {
  int32_t row;
  double value;
};

// The basis inverse in product form, E_count ... E_1. Eta k (1-based) holds
// entries [start[k-1], start[k]); its first pair is (pivot row, 1 / pivot).
// A dense eta also has its values in `dense`, one per row 1..len at
// [denseStart[k-1], denseStart[k]) (zero in the pivot row and for the entries
// dropped), and keeps no further pairs when every other row holds a value; a
// sparse eta has an empty dense range.
struct EtaFile {
  std::vector<EtaEntry> entries;
  std::vector<int64_t> start{0};
  std::vector<double> dense;
  std::vector<int64_t> denseStart{0};
  std::vector<long long> nonzerosUpTo{0};  // nonzeros of etas 1..k
  int count = 0;
  int capacity = 0;
  long long nonzeros = 0;
  bool denseAllowed = true;  // off while a reinversion builds the file

  void Clear() {
    entries.clear();
    start.assign(1, 0);
    dense.clear();
    denseStart.assign(1, 0);
    nonzerosUpTo.assign(1, 0);
    count = 0;
    nonzeros = 0;
  }
  // Keeps etas 1..k.
  void CutBack(int k) {
    const std::size_t K = static_cast<std::size_t>(k);
    entries.resize(static_cast<std::size_t>(start[K]));
    start.resize(K + 1);
    dense.resize(static_cast<std::size_t>(denseStart[K]));
    denseStart.resize(K + 1);
    nonzeros = nonzerosUpTo[K];
    nonzerosUpTo.resize(K + 1);
    count = k;
  }
  void Close() {  // ends the eta being appended (its nonzeros already counted)
    start.push_back(static_cast<int64_t>(entries.size()));
    denseStart.push_back(static_cast<int64_t>(dense.size()));
    nonzerosUpTo.push_back(nonzeros);
    ++count;
  }
};

// Applies etas first..last, in increasing order, to x in place.
void Ftran(const EngineModel& model, std::vector<double>& x, int first, int last);
// y := y * E_count ... E_1 (the backward transformation over the whole file).
void Btran(const EngineModel& model, std::vector<double>& y);
// Appends the eta of a transformed column v with pivot row r (rows lo..hi):
// the pair (r, 1 / v_r), then every other entry above the relative drop
// tolerance. Keeps the smallest pivot of the model up to date.
void AppendEta(EngineModel& model, const std::vector<double>& v, int r, int lo, int hi);
// Gives every eta of the file that fills most rows a dense copy of its values
// as well (its pairs stay), for the forward solve; used once a reinversion
// has renumbered the rows.
void AddDenseCopies(EngineModel& model);

}  // namespace vesk::engine
