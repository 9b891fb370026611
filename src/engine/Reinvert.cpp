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
#include "engine/Reinvert.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "engine/BasisSolves.h"
#include "engine/EngineChecks.h"
#include "engine/EngineHostMessages.h"
#include "engine/EtaFile.h"
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

// The progress output of one inversion: the progress line of its stages
// ("INVERSION PERBAS p PART1 f PART2 l PART3 PART4 PART5 PART6"), a dot per
// ten repairs, the repair lines and the memory fields. Outside quiet mode and
// with a console only, except the repair lines.
class InversionReporter {
 public:
  explicit InversionReporter(EngineModel& model) : M(model), talk_(!model.quiet && ConsoleOn(model)) {}

  void Begin() {
    if (!talk_) return;
    progress_ = "INVERSION ";
    ConsoleField(M, kFieldProgress, progress_);
  }
  void Stage(std::string_view text) {
    if (talk_) progress_ += text;
  }
  void Stage(int position, std::string_view text) {
    if (talk_) progress_ += std::to_string(position) + std::string(text);
  }
  void Conflict(int count) {
    if (talk_ && count % 10 == 0) ConsoleNamed(M, "Memo", ". ");
  }
  void WholeMatrixSearched() { ConsoleLine(M, "WHOLE MATRIX SEARCHED"); }
  void Dependent(int count) {
    if (talk_ && count % 10 == 0) ConsoleNamed(M, "Memo", ".");
  }
  void Singular(int count) {
    if (count > 0) ConsoleLine(M, "\n\rMATRIX SINGULAR " + std::to_string(count));
  }
  // The heap in thousands of bytes and the smallest pivot of the inversion.
  void Memory() {
    if (!talk_) return;
    std::string heap = std::to_string(M.host.HeapBytes() / 1000);
    if (heap.size() < 7) heap.resize(7, ' ');
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", M.smallestPivot);
    std::string pivot = buf;
    if (pivot.size() < 11) pivot.resize(11, ' ');
    ConsoleField(M, kFieldHeap, heap);
    ConsoleField(M, kFieldSmallestPivot, pivot);
  }
  void End() {
    if (talk_) ConsoleField(M, kFieldProgress, progress_);
  }

 private:
  EngineModel& M;
  const bool talk_;
  std::string progress_;
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

// One inversion, as its stages. Positions: singletons of the logical columns
// p+1..m, PART1 1..f-1, kernel f..l, PART2 l+1..p.
class Inversion {
 public:
  explicit Inversion(EngineModel& model) : M(model), report_(model), P_(model.m) {}

  bool Run() {
    Begin();
    if (!CollectSingletons()) return false;
    PlaceSingletonRows();
    BuildRowLists();
    PlaceRowSingletons();
    PlaceColumnSingletons();
    if (l_ >= f_) {
      OrderKernel();
      FactorKernel();
    }
    report_.Stage(" PART5");
    report_.Stage(" PART6");
    AppendTriangularEtas();
    RenumberRows();
    Finish();
    return true;
  }

 private:
  void Begin();
  bool CollectSingletons();
  void SortSingletons();
  int FirstConflict();
  bool RepairConflict(int conflictAt);
  void PlaceSingletonRows();
  void BuildRowLists();
  void PlaceRowSingletons();
  void PlaceColumnSingletons();
  void OrderKernel();
  int NextKernelColumn(int u, int c, int rowsWithC, int rowC);
  void FactorKernel();
  void AppendTriangularEtas();
  void RenumberRows();
  void Finish();

  EngineModel& M;
  InversionReporter report_;
  RowPermutation P_;
  double start_ = 0;
  int p_ = 0, f_ = 0, l_ = 0;  // the stage boundaries above
  int conflicts_ = 0;
  int nextCandidate_ = 0;  // the next nonbasic position a conflict brings in
  // Row-wise lists of the entries of basic columns 1..p in rows 1..p, by row id.
  std::vector<int> rowStart_;
  std::vector<ColumnRecord*> rowCol_;
  std::vector<double> rowVal_;
  // Kernel ordering: entries of each kernel column in kernel rows, and the
  // entries of each row in unplaced kernel columns.
  std::vector<int> recorded_, active_;
};

void Inversion::Begin() {
  report_.Begin();
  M.smallestPivot = 1e21;
  start_ = M.host.ClockSeconds();
  ++M.inversionCount;
  M.etaFile.Clear();
  // The rows are renumbered at the end; the etas built here get their dense
  // copies after that.
  M.etaFile.denseAllowed = false;
  report_.Stage("PERBAS ");
  if (M.m > 0 && M.Row(M.m).name != M.objectiveRowName) {
    const int r = M.FindRow(M.objectiveRowName);
    if (r > 0 && r != M.m) M.SwapRows(r, M.m);
  }
}

// Basic columns with one entry go to the back (positions p+1..m), sorted by
// the row of their entry. Two in one row make the basis singular: one of them
// leaves for the next nonbasic column in position order. Returns false when no
// nonbasic column is left ("WHOLE MATRIX SEARCHED": the model is cleared).
bool Inversion::CollectSingletons() {
  nextCandidate_ = M.m + 1;
  for (;;) {
    SortSingletons();
    const int conflictAt = FirstConflict();
    if (conflictAt == 0) return true;
    if (!RepairConflict(conflictAt)) return false;
  }
}

void Inversion::SortSingletons() {
  const int m = M.m;
  int p = m;
  for (int j = m; j >= 1; --j)
    if (M.Col(j).Count() == 1) {
      M.SwapColumns(j, p);
      --p;
    }
  std::vector<ColumnRecord*> singles(M.column.begin() + p + 2, M.column.begin() + m + 2);
  std::stable_sort(singles.begin(), singles.end(), [](const ColumnRecord* a, const ColumnRecord* b) {
    return a->entries[0].row < b->entries[0].row;
  });
  for (int k = p + 1; k <= m; ++k) {
    M.column[static_cast<size_t>(k + 1)] = singles[static_cast<size_t>(k - p - 1)];
    M.column[static_cast<size_t>(k + 1)]->number = k;
  }
  p_ = p;
}

// The position of the first singleton (from the back) whose row already holds
// one; 0 when there is none.
int Inversion::FirstConflict() {
  std::vector<char> mark(static_cast<size_t>(M.m) + 1, 0);
  for (int k = M.m; k > p_; --k) {
    const int r = M.Col(k).entries[0].row;
    if (mark[r]) return k;
    mark[r] = 1;
  }
  return 0;
}

bool Inversion::RepairConflict(int conflictAt) {
  ++conflicts_;
  report_.Conflict(conflicts_);
  const int c = nextCandidate_++;
  if (c > M.n) {
    report_.WholeMatrixSearched();
    M.ClearModel();
    M.errorFlag = true;
    M.stopReason = StopReason::kWholeMatrixSearched;
    return false;
  }
  // The objective's logical stays; a singleton of its row leaves instead.
  int out = conflictAt;
  if (M.Col(conflictAt).kind == kObjectiveLogical) {
    const int r = M.Col(conflictAt).entries[0].row;
    for (int t = conflictAt + 1; t <= M.m; ++t) {
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
  return true;
}

// Rows of the singletons to positions p+1..m, so that the singleton at
// position k has its entry in row k.
void Inversion::PlaceSingletonRows() {
  for (int k = M.m; k > p_; --k) P_.Swap(P_.posOf[M.Col(k).entries[0].row], k);
}

void Inversion::BuildRowLists() {
  const int m = M.m, p = p_;
  rowStart_.assign(static_cast<size_t>(m) + 2, 0);
  for (int j = 1; j <= p; ++j)
    for (const auto& e : M.Col(j).entries)
      if (P_.posOf[e.row] <= p) ++rowStart_[static_cast<size_t>(e.row) + 1];
  for (int i = 1; i <= m + 1; ++i) rowStart_[i] += rowStart_[i - 1];
  rowCol_.assign(static_cast<size_t>(rowStart_[static_cast<size_t>(m) + 1]), nullptr);
  rowVal_.assign(rowCol_.size(), 0.0);
  std::vector<int> fill(rowStart_.begin(), rowStart_.end() - 1);
  for (int j = 1; j <= p; ++j) {
    ColumnRecord* c = &M.Col(j);
    for (const auto& e : c->entries)
      if (P_.posOf[e.row] <= p) {
        const int at = fill[e.row]++;
        rowCol_[at] = c;
        rowVal_[at] = e.value;
      }
  }
}

// PART1: rows with a single entry in the unplaced columns take that column as
// the next triangular pivot, the largest such entry first (the row at the
// current position when it qualifies); each appends its column eta at once.
void Inversion::PlaceRowSingletons() {
  const int m = M.m, p = p_;
  report_.Stage(p, " PART1 ");
  std::vector<int> count(static_cast<size_t>(m) + 1, 0);
  for (int i = 1; i <= m; ++i) count[i] = rowStart_[i + 1] - rowStart_[i];
  int k = 1;
  for (; k <= p; ++k) {
    ColumnRecord* chosen = nullptr;
    int chosenPos = 0;
    double best = 0;
    for (int pos = k; pos <= p; ++pos) {
      const int id = P_.rowAt[pos];
      if (count[id] != 1) continue;
      double v = 0;
      ColumnRecord* col = nullptr;
      for (int q = rowStart_[id]; q < rowStart_[id + 1]; ++q)
        if (rowCol_[q]->number >= k) {
          col = rowCol_[q];
          v = rowVal_[q];
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
      if (P_.posOf[e.row] <= p) --count[e.row];
    M.SwapColumns(chosen->number, k);
    P_.Swap(chosenPos, k);
    AppendColumnEta(M, *chosen, P_.rowAt[k]);
  }
  f_ = k;
}

// PART2: columns with a single entry in the remaining rows are placed from the
// back, the largest such entry first.
void Inversion::PlaceColumnSingletons() {
  const int p = p_, f = f_;
  report_.Stage(f, " PART2 ");
  std::vector<int> colCount(static_cast<size_t>(p) + 2, 0);
  for (int j = f; j <= p; ++j)
    for (const auto& e : M.Col(j).entries)
      if (P_.posOf[e.row] <= p) ++colCount[j];
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
        const int rp = P_.posOf[e.row];
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
    for (int q = rowStart_[chosenRow]; q < rowStart_[chosenRow + 1]; ++q) {
      const int cp = rowCol_[q]->number;
      if (cp >= f && cp <= b) --colCount[cp];
    }
    std::swap(colCount[chosenPos], colCount[b]);
    M.SwapColumns(chosenPos, b);
    P_.Swap(P_.posOf[chosenRow], b);
    --b;
  }
  l_ = b;
  report_.Stage(l_, " PART3");
  report_.Stage(" PART4");
}

// The kernel's columns in the order of a preassigned-pivot procedure: a row
// with one active entry left places its column next; otherwise the column
// with the most entries in the rows of the smallest active count (ties to the
// column with more kernel entries, then to the lower position). A row whose
// last active column is placed moves to the front of the rows still open.
void Inversion::OrderKernel() {
  const int m = M.m, f = f_, l = l_;
  recorded_.assign(static_cast<size_t>(l) + 2, 0);
  active_.assign(static_cast<size_t>(m) + 1, 0);
  for (int j = f; j <= l; ++j)
    for (const auto& e : M.Col(j).entries) {
      const int rp = P_.posOf[e.row];
      if (rp >= f && rp <= l) {
        ++recorded_[j];
        ++active_[e.row];
      }
    }
  // Rows per positive active count, so that the smallest count and the
  // number of rows holding it are known without a scan; idsAtOne sums the
  // ids of the rows whose count is 1 (the row itself when it is alone).
  int maxActive = 0;
  for (int pos = f; pos <= l; ++pos) maxActive = std::max(maxActive, active_[P_.rowAt[pos]]);
  std::vector<int> rowsWith(static_cast<size_t>(maxActive) + 2, 0);
  long long idsAtOne = 0;
  for (int pos = f; pos <= l; ++pos) {
    const int a = active_[P_.rowAt[pos]];
    if (a > 0) ++rowsWith[a];
    if (a == 1) idsAtOne += P_.rowAt[pos];
  }
  int smallest = 1;
  int u = f, q = f;
  while (u <= l) {
    while (smallest <= maxActive && rowsWith[smallest] == 0) ++smallest;
    if (smallest > maxActive) break;
    const int c = smallest;
    const int rowsWithC = rowsWith[c];
    const int rowC = c == 1 && rowsWithC == 1 ? static_cast<int>(idsAtOne) : 0;
    const int next = NextKernelColumn(u, c, rowsWithC, rowC);
    if (next == 0) break;
    std::swap(recorded_[next], recorded_[u]);
    M.SwapColumns(next, u);
    for (const auto& e : M.Col(u).entries) {
      const int rp = P_.posOf[e.row];
      if (rp < f || rp > l) continue;
      const int a = active_[e.row];
      if (a <= 0) continue;
      --rowsWith[a];
      if (a == 1) idsAtOne -= e.row;
      active_[e.row] = a - 1;
      if (a - 1 > 0) {
        ++rowsWith[a - 1];
        if (a - 1 == 1) idsAtOne += e.row;
        smallest = std::min(smallest, a - 1);
      } else if (rp >= q) {
        P_.Swap(rp, q);
        ++q;
      }
    }
    ++u;
  }
}

// The kernel column to place at position u, given the smallest active row
// count c, how many rows hold it and (when c is 1 and one row holds it) that
// row's id; 0 when none is found.
int Inversion::NextKernelColumn(int u, int c, int rowsWithC, int rowC) {
  const int f = f_, l = l_;
  if (c == 1 && rowsWithC == 1) {
    for (int t = rowStart_[rowC]; t < rowStart_[rowC + 1]; ++t) {
      const int cp = rowCol_[t]->number;
      if (cp >= u && cp <= l) return cp;
    }
    return 0;
  }
  if (u == l) return u;
  int next = 0;
  int bestScore = -1, bestRecorded = -1;
  for (int j = u; j <= l; ++j) {
    int score = 0;
    for (const auto& e : M.Col(j).entries) {
      const int a = active_[e.row];
      if (a >= 1 && a <= c) {
        const int rp = P_.posOf[e.row];
        if (rp >= f && rp <= l) ++score;
      }
    }
    if (score > bestScore || (score == bestScore && recorded_[j] > bestRecorded)) {
      bestScore = score;
      bestRecorded = recorded_[j];
      next = j;
    }
  }
  return next;
}

// PART5: from the last kernel position down, each column transformed by the
// kernel etas made so far pivots on its largest entry in the kernel rows not
// yet used. A column without an entry above the kernel pivot tolerance
// depends on those before it and is replaced by the logical of its row.
void Inversion::FactorKernel() {
  const int m = M.m, f = f_, l = l_;
  std::vector<double>& v = M.pivotColumn;
  const int firstKernelEta = M.etaFile.count + 1;
  int singular = 0;
  for (int kk = l; kk >= f;) {
    ScatterColumn(M, kk, v);
    Ftran(M, v, firstKernelEta, M.etaFile.count);
    int pivotPos = 0;
    double best = 0;
    for (int pos = kk; pos >= f; --pos) {
      const double x = v[P_.rowAt[pos]];
      const double a = x < 0 ? -x : x;
      if (a > kKernelPivot && (pivotPos == 0 || a > best + kPivotPreference)) {
        pivotPos = pos;
        best = a;
      }
    }
    if (pivotPos == 0) {
      ++singular;
      report_.Dependent(singular);
      const std::string& rowName = M.rows[P_.rowAt[kk]]->name;
      const int logical = M.FindColumnNumber(rowName);
      if (logical <= M.m) FatalEngineError(M.host, "MATRIX SINGULAR: NO LOGICAL COLUMN FOR ROW " + rowName);
      M.SwapColumns(logical, kk);
      M.Col(kk).status = ColumnStatus::kWithin;
      M.Col(logical).status = ColumnStatus::kAtLower;
      continue;
    }
    P_.Swap(pivotPos, kk);
    AppendEta(M, v, P_.rowAt[kk], 1, m);
    --kk;
  }
  report_.Singular(singular);
}

// The PART2 column etas, then the scalings of the singletons whose entry is
// not 1 (unit singletons need no eta).
void Inversion::AppendTriangularEtas() {
  for (int j = l_ + 1; j <= p_; ++j) AppendColumnEta(M, M.Col(j), P_.rowAt[j]);
  for (int j = p_ + 1; j <= M.m; ++j) {
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
}

// One renumbering of every entry and eta for the row order found; then the
// etas that fill most rows get their dense copies.
void Inversion::RenumberRows() {
  bool moved = false;
  for (int i = 1; i <= M.m && !moved; ++i) moved = P_.posOf[i] != i;
  if (moved) M.RenumberRows(P_.posOf);
  AddDenseCopies(M);
  M.etaFile.denseAllowed = true;
}

void Inversion::Finish() {
  const int m = M.m;
  M.memoryEstimate = 3 * (4 * M.etaFile.nonzeros + 4LL * m);
  M.host.NoteEngineHeapBytes(M.memoryEstimate);
  report_.Memory();
  if (M.freeColumns)
    for (int j = 1; j <= m; ++j) {
      ColumnRecord& c = M.Col(j);
      if (c.kind == kFreeStructural) {
        c.lower = -kEngineInfinity;
        c.upper = kEngineInfinity;
      }
    }
  CheckEtaFile(M);
  ComputeBasicSolution(M);
  M.objectiveValue = -M.basicValues[static_cast<size_t>(m)];
  ComputePrices(M);
  const double now = M.host.ClockSeconds();
  M.lastInversionTime = now;
  M.inversionDuration = std::max(1.0 / 18.0, now - start_);
  M.pivotsSinceInversion = 0;
  M.etaNonzerosAtInversion = M.etaFile.nonzeros;
  CheckBasis(M);
  report_.End();
}

}  // namespace

bool Reinvert(EngineModel& M) {
  Inversion inversion(M);
  return inversion.Run();
}

}  // namespace vesk::engine
