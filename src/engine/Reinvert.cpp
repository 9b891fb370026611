// Reinvert: rebuilds the product-form inverse of the basis. The basis is
// permuted into a triangular front (PART1, row singletons), a triangular back
// (PART2, column singletons), the column singletons of the logicals, and a
// kernel that alone is factored numerically (PART5); the eta file then holds
// the PART1 column etas, the kernel etas, the PART2 column etas and the
// singleton scalings, in that order.
//
// Rows are exchanged many times while the permutation is found. Inside this
// routine every row is therefore addressed by its number at entry ("id"),
// with rowAt/posOf giving the current permutation; the renumbering of all
// entries and etas happens once at the end.
#include <algorithm>
#include <climits>
#include <cstdio>
#include <string>

#include "engine/BasisSolves.h"
#include "engine/EngineHostMessages.h"
#include "engine/EtaFile.h"
#include "engine/Reinvert.h"
#include "engine/Tolerances.h"
#include "engine/search/SolverConsole.h"

namespace vesk::engine {

namespace {

struct RowPermutation {
  std::vector<int> rowAt, posOf;
  explicit RowPermutation(int m) : rowAt(static_cast<size_t>(m) + 1), posOf(static_cast<size_t>(m) + 1) {
    for (int i = 0; i <= m; ++i) rowAt[i] = posOf[i] = i;
  }
  void Swap(int a, int b) {
    if (a == b) return;
    std::swap(rowAt[a], rowAt[b]);
    posOf[rowAt[a]] = a;
    posOf[rowAt[b]] = b;
  }
};

// The eta of an untransformed column whose entry in row `pivotRow` is the pivot.
void AppendColumnEta(EngineModel& M, const ColumnRecord& c, int pivotRow) {
  EtaFile& F = M.etaFile;
  double pivot = 0;
  for (const auto& e : c.entries)
    if (e.row == pivotRow) pivot = e.value;
  const double a = pivot < 0 ? -pivot : pivot;
  if (a < M.smallestPivot) M.smallestPivot = a;
  F.entries.push_back({pivotRow, 1.0 / pivot});
  for (const auto& e : c.entries)
    if (e.row != pivotRow) F.entries.push_back({e.row, e.value});
  F.nonzeros += c.Count();
  F.Close();
}

}  // namespace

bool Reinvert(EngineModel& M) {
  EngineHost& host = M.host;
  const bool talk = !M.quiet && ConsoleOn(M);
  std::string progress;
  if (talk) {
    progress = "INVERSION ";
    ConsoleField(M, kFieldProgress, progress);
  }
  M.smallestPivot = 1e21;
  const double start = host.ClockSeconds();
  ++M.inversionCount;
  M.etaFile.Clear();
  // The rows are renumbered at the end; the etas built here get their dense
  // copies after that.
  M.etaFile.denseAllowed = false;
  if (talk) progress += "PERBAS ";
  if (M.m > 0 && M.Row(M.m).name != M.objectiveRowName) {
    const int r = M.FindRow(M.objectiveRowName);
    if (r > 0 && r != M.m) M.SwapRows(r, M.m);
  }
  const int m = M.m;
  const int n = M.n;

  // Singleton collection and conflict repair.
  int p = m;
  int conflicts = 0;
  int nextCandidate = m + 1;
  std::vector<char> mark(static_cast<size_t>(m) + 1);
  std::vector<ColumnRecord*> singles;
  for (;;) {
    p = m;
    for (int j = m; j >= 1; --j)
      if (M.Col(j).Count() == 1) {
        M.SwapColumns(j, p);
        --p;
      }
    singles.assign(M.column.begin() + p + 2, M.column.begin() + m + 2);
    std::stable_sort(singles.begin(), singles.end(), [](const ColumnRecord* a, const ColumnRecord* b) {
      return a->entries[0].row < b->entries[0].row;
    });
    for (int k = p + 1; k <= m; ++k) {
      M.column[static_cast<size_t>(k + 1)] = singles[static_cast<size_t>(k - p - 1)];
      M.column[static_cast<size_t>(k + 1)]->number = k;
    }
    std::fill(mark.begin(), mark.end(), 0);
    int conflictAt = 0;
    for (int k = m; k > p; --k) {
      const int r = M.Col(k).entries[0].row;
      if (mark[r]) {
        conflictAt = k;
        break;
      }
      mark[r] = 1;
    }
    if (conflictAt == 0) break;
    ++conflicts;
    if (talk && conflicts % 10 == 0) ConsoleNamed(M, "Memo", ". ");
    const int c = nextCandidate++;
    if (c > n) {
      ConsoleLine(M, "WHOLE MATRIX SEARCHED");
      M.ClearModel();
      M.errorFlag = true;
      M.stopReason = StopReason::kWholeMatrixSearched;
      return false;
    }
    int out = conflictAt;
    if (M.Col(conflictAt).kind == kObjectiveLogical) {
      const int r = M.Col(conflictAt).entries[0].row;
      for (int t = conflictAt + 1; t <= m; ++t) {
        const ColumnRecord& s = M.Col(t);
        if (s.entries[0].row == r && s.kind != kObjectiveLogical) {
          out = t;
          break;
        }
      }
    }
    M.SwapColumns(out, c);
    M.Col(out).status = ColumnStatus::kWithin;
    M.Col(c).status = ColumnStatus::kAtLower;
  }

  // Rows of the singletons to positions p+1..m, so that the singleton at
  // position k has its entry in row k.
  RowPermutation P(m);
  for (int k = m; k > p; --k) P.Swap(P.posOf[M.Col(k).entries[0].row], k);

  // Row-wise lists of the entries of basic columns 1..p in rows 1..p.
  std::vector<int> rowStart(static_cast<size_t>(m) + 2, 0);
  for (int j = 1; j <= p; ++j)
    for (const auto& e : M.Col(j).entries)
      if (P.posOf[e.row] <= p) ++rowStart[static_cast<size_t>(e.row) + 1];
  for (int i = 1; i <= m + 1; ++i) rowStart[i] += rowStart[i - 1];
  std::vector<ColumnRecord*> rowCol(static_cast<size_t>(rowStart[static_cast<size_t>(m) + 1]));
  std::vector<double> rowVal(rowCol.size());
  {
    std::vector<int> fill(rowStart.begin(), rowStart.end() - 1);
    for (int j = 1; j <= p; ++j) {
      ColumnRecord* c = &M.Col(j);
      for (const auto& e : c->entries)
        if (P.posOf[e.row] <= p) {
          const int at = fill[e.row]++;
          rowCol[at] = c;
          rowVal[at] = e.value;
        }
    }
  }

  // PART1: row singletons among the unplaced columns.
  if (talk) progress += std::to_string(p) + " PART1 ";
  std::vector<int> count(static_cast<size_t>(m) + 1, 0);
  for (int i = 1; i <= m; ++i) count[i] = rowStart[i + 1] - rowStart[i];
  int k = 1;
  for (; k <= p; ++k) {
    ColumnRecord* chosen = nullptr;
    int chosenPos = 0;
    double best = 0;
    for (int pos = k; pos <= p; ++pos) {
      const int id = P.rowAt[pos];
      if (count[id] != 1) continue;
      double v = 0;
      ColumnRecord* col = nullptr;
      for (int q = rowStart[id]; q < rowStart[id + 1]; ++q)
        if (rowCol[q]->number >= k) {
          col = rowCol[q];
          v = rowVal[q];
          break;
        }
      const double a = v < 0 ? -v : v;
      if (col == nullptr || a <= kTriangularPivot) continue;
      if (pos == k) {
        chosen = col;
        chosenPos = pos;
        break;
      }
      if (chosen == nullptr || a > best + kPivotPreference) {
        chosen = col;
        chosenPos = pos;
        best = a;
      }
    }
    if (chosen == nullptr) break;
    for (const auto& e : chosen->entries)
      if (P.posOf[e.row] <= p) --count[e.row];
    M.SwapColumns(chosen->number, k);
    P.Swap(chosenPos, k);
    AppendColumnEta(M, *chosen, P.rowAt[k]);
  }
  const int f = k;

  // PART2: column singletons among the remaining rows, placed from the back.
  if (talk) progress += std::to_string(f) + " PART2 ";
  std::vector<int> colCount(static_cast<size_t>(p) + 2, 0);
  for (int j = f; j <= p; ++j)
    for (const auto& e : M.Col(j).entries)
      if (P.posOf[e.row] <= p) ++colCount[j];
  int b = p;
  while (b >= f) {
    int chosenPos = 0;
    int chosenRow = 0;
    double best = 0;
    for (int pos = b; pos >= f; --pos) {
      if (colCount[pos] != 1) continue;
      double v = 0;
      int id = 0;
      for (const auto& e : M.Col(pos).entries) {
        const int rp = P.posOf[e.row];
        if (rp >= f && rp <= b) {
          v = e.value;
          id = e.row;
          break;
        }
      }
      const double a = v < 0 ? -v : v;
      if (id == 0 || a <= kTriangularPivot) continue;
      if (chosenPos == 0 || a > best + kPivotPreference) {
        chosenPos = pos;
        chosenRow = id;
        best = a;
      }
    }
    if (chosenPos == 0) break;
    for (int q = rowStart[chosenRow]; q < rowStart[chosenRow + 1]; ++q) {
      const int cp = rowCol[q]->number;
      if (cp >= f && cp <= b) --colCount[cp];
    }
    std::swap(colCount[chosenPos], colCount[b]);
    M.SwapColumns(chosenPos, b);
    P.Swap(P.posOf[chosenRow], b);
    --b;
  }
  const int l = b;
  if (talk) progress += std::to_string(l) + " PART3";
  if (talk) progress += " PART4";

  // PART5: order the kernel columns (preassigned pivots), then factor.
  if (l >= f) {
    std::vector<int> recorded(static_cast<size_t>(l) + 2, 0);
    std::vector<int> active(static_cast<size_t>(m) + 1, 0);
    for (int j = f; j <= l; ++j)
      for (const auto& e : M.Col(j).entries) {
        const int rp = P.posOf[e.row];
        if (rp >= f && rp <= l) {
          ++recorded[j];
          ++active[e.row];
        }
      }
    // Rows per positive active count, so that the smallest count and the
    // number of rows holding it are known without a scan; idsAtOne sums the
    // ids of the rows whose count is 1 (the row itself when it is alone).
    int maxActive = 0;
    for (int pos = f; pos <= l; ++pos) maxActive = std::max(maxActive, active[P.rowAt[pos]]);
    std::vector<int> rowsWith(static_cast<size_t>(maxActive) + 2, 0);
    long long idsAtOne = 0;
    for (int pos = f; pos <= l; ++pos) {
      const int a = active[P.rowAt[pos]];
      if (a > 0) ++rowsWith[a];
      if (a == 1) idsAtOne += P.rowAt[pos];
    }
    int smallest = 1;
    int u = f, q = f;
    while (u <= l) {
      while (smallest <= maxActive && rowsWith[smallest] == 0) ++smallest;
      if (smallest > maxActive) break;
      const int c = smallest;
      const int rowsWithC = rowsWith[c];
      const int rowC = c == 1 && rowsWithC == 1 ? static_cast<int>(idsAtOne) : 0;
      int next = 0;
      if (c == 1 && rowsWithC == 1) {
        for (int t = rowStart[rowC]; t < rowStart[rowC + 1]; ++t) {
          const int cp = rowCol[t]->number;
          if (cp >= u && cp <= l) {
            next = cp;
            break;
          }
        }
      } else if (u == l) {
        next = u;
      } else {
        int bestScore = -1, bestRecorded = -1;
        for (int j = u; j <= l; ++j) {
          int score = 0;
          for (const auto& e : M.Col(j).entries) {
            const int a = active[e.row];
            if (a >= 1 && a <= c) {
              const int rp = P.posOf[e.row];
              if (rp >= f && rp <= l) ++score;
            }
          }
          if (score > bestScore || (score == bestScore && recorded[j] > bestRecorded)) {
            bestScore = score;
            bestRecorded = recorded[j];
            next = j;
          }
        }
      }
      if (next == 0) break;
      std::swap(recorded[next], recorded[u]);
      M.SwapColumns(next, u);
      for (const auto& e : M.Col(u).entries) {
        const int rp = P.posOf[e.row];
        if (rp < f || rp > l) continue;
        const int a = active[e.row];
        if (a <= 0) continue;
        --rowsWith[a];
        if (a == 1) idsAtOne -= e.row;
        active[e.row] = a - 1;
        if (a - 1 > 0) {
          ++rowsWith[a - 1];
          if (a - 1 == 1) idsAtOne += e.row;
          smallest = std::min(smallest, a - 1);
        } else if (rp >= q) {
          P.Swap(rp, q);
          ++q;
        }
      }
      ++u;
    }

    std::vector<double>& v = M.pivotColumn;
    const int firstKernelEta = M.etaFile.count + 1;
    int singular = 0;
    for (int kk = l; kk >= f;) {
      ScatterColumn(M, kk, v);
      Ftran(M, v, firstKernelEta, M.etaFile.count);
      int pivotPos = 0;
      double best = 0;
      for (int pos = kk; pos >= f; --pos) {
        const double x = v[P.rowAt[pos]];
        const double a = x < 0 ? -x : x;
        if (a > kKernelPivot && (pivotPos == 0 || a > best + kPivotPreference)) {
          pivotPos = pos;
          best = a;
        }
      }
      if (pivotPos == 0) {
        ++singular;
        if (talk && singular % 10 == 0) ConsoleNamed(M, "Memo", ".");
        const int logical = M.FindColumnNumber(M.rows[P.rowAt[kk]]->name);
        if (logical <= M.m) FatalEngineError(host, "MATRIX SINGULAR: NO LOGICAL COLUMN FOR ROW " + M.rows[P.rowAt[kk]]->name);
        M.SwapColumns(logical, kk);
        M.Col(kk).status = ColumnStatus::kWithin;
        M.Col(logical).status = ColumnStatus::kAtLower;
        continue;
      }
      P.Swap(pivotPos, kk);
      AppendEta(M, v, P.rowAt[kk], 1, m);
      --kk;
    }
    if (singular > 0) ConsoleLine(M, "\n\rMATRIX SINGULAR " + std::to_string(singular));
  }
  if (talk) progress += " PART5";

  // PART2 column etas, then the scalings of the non-unit singletons.
  if (talk) progress += " PART6";
  for (int j = l + 1; j <= p; ++j) AppendColumnEta(M, M.Col(j), P.rowAt[j]);
  for (int j = p + 1; j <= m; ++j) {
    const ColumnRecord& c = M.Col(j);
    const double a = c.entries[0].value;
    if (a != 1.0) {
      const double abs = a < 0 ? -a : a;
      if (abs < M.smallestPivot) M.smallestPivot = abs;
      M.etaFile.entries.push_back({c.entries[0].row, 1.0 / a});
      M.etaFile.nonzeros += 1;
      M.etaFile.Close();
    }
  }

  // One renumbering of every entry and eta for the row order found.
  bool moved = false;
  for (int i = 1; i <= m && !moved; ++i) moved = P.posOf[i] != i;
  if (moved) M.RenumberRows(P.posOf);
  AddDenseCopies(M);
  M.etaFile.denseAllowed = true;

  M.memoryEstimate = 3 * (4 * M.etaFile.nonzeros + 4LL * m);
  host.NoteEngineHeapBytes(M.memoryEstimate);
  if (talk) {
    std::string heap = std::to_string(host.HeapBytes() / 1000);
    if (heap.size() < 7) heap.resize(7, ' ');
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", M.smallestPivot);
    std::string piv = buf;
    if (piv.size() < 11) piv.resize(11, ' ');
    ConsoleField(M, kFieldHeap, heap);
    ConsoleField(M, kFieldSmallestPivot, piv);
  }
  if (M.freeColumns)
    for (int j = 1; j <= m; ++j) {
      ColumnRecord& c = M.Col(j);
      if (c.kind == kFreeStructural) {
        c.lower = -kEngineInfinity;
        c.upper = kEngineInfinity;
      }
    }
  ComputeBasicSolution(M);
  M.objectiveValue = -M.basicValues[static_cast<size_t>(m)];
  ComputePrices(M);
  const double now = host.ClockSeconds();
  M.lastInversionTime = now;
  M.inversionDuration = std::max(1.0 / 18.0, now - start);
  M.pivotsSinceInversion = 0;
  M.etaNonzerosAtInversion = M.etaFile.nonzeros;
  if (talk) ConsoleField(M, kFieldProgress, progress);
  return true;
}

}  // namespace vesk::engine
