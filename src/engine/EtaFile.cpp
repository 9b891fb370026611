// The forward and backward transformations with the eta file and the
// building of its etas.
#include "engine/EtaFile.h"

#include <cmath>

#include "engine/EngineModel.h"
#include "engine/Tolerances.h"

namespace vesk::engine {

void Ftran(const EngineModel& M, std::vector<double>& x, int first, int last) {
  const EtaFile& F = M.etaFile;
  const EtaEntry* E = F.entries.data();
  const int64_t* S = F.start.data();
  const int64_t* DS = F.denseStart.data();
  const double* D = F.dense.data();
  double* X = x.data();
  for (int k = first; k <= last; ++k) {
    const int64_t b = S[k - 1], e = S[k];
    const int r = E[b].row;
    const double t = X[r] * E[b].value;
    if (t != 0.0) {
      const int64_t db = DS[k - 1], len = DS[k] - db;
      if (len > 0) {
        // Zero in the pivot row and where an entry was dropped.
        const double* v = D + db - 1;
        for (int64_t i = 1; i <= len; ++i) X[i] -= t * v[i];
      } else {
        for (int64_t q = b + 1; q < e; ++q) X[E[q].row] -= t * E[q].value;
      }
    }
    X[r] = t;
  }
}

void AppendEta(EngineModel& M, const std::vector<double>& v, int r, int lo, int hi) {
  EtaFile& F = M.etaFile;
  const double pivot = v[static_cast<size_t>(r)];
  const double a = std::fabs(pivot);
  if (a < M.smallestPivot) M.smallestPivot = a;
  const double threshold = kEtaRelativeDrop * a;
  const double* x = v.data();
  F.entries.push_back({r, 1.0 / pivot});
  // A column filling most of the rows also gets its values densely, so that
  // the forward solve runs over contiguous values without row numbers. Its
  // pairs are still stored unless every row but the pivot row holds one: the
  // backward solve then sums in the order of the pairs it would have held.
  // The dense values are written at once and taken back if too few are kept.
  long long kept = 0;
  bool dense = F.denseAllowed && lo == 1 && hi == M.m;
  if (dense) {
    const size_t base = F.dense.size();
    F.dense.resize(base + static_cast<size_t>(hi));
    double* out = F.dense.data() + base - 1;
    for (int i = 1; i <= hi; ++i) {
      const double ai = x[i];
      const bool keep = std::fabs(ai) > threshold && i != r;
      kept += keep;
      out[i] = keep ? ai : 0.0;
    }
    dense = 5 * kept >= 2LL * M.m;
    if (!dense) F.dense.resize(base);
  }
  if (!dense || kept < M.m - 1) {
    kept = 0;
    for (int i = lo; i <= hi; ++i) {
      const double ai = x[i];
      if (std::fabs(ai) > threshold && i != r) {
        F.entries.push_back({i, ai});
        ++kept;
      }
    }
  }
  F.nonzeros += kept + 1;
  F.Close();
}

void AddDenseCopies(EngineModel& M) {
  EtaFile& F = M.etaFile;
  const int m = M.m;
  F.dense.clear();
  F.denseStart.assign(1, 0);
  for (int k = 1; k <= F.count; ++k) {
    const int64_t b = F.start[static_cast<size_t>(k - 1)], e = F.start[static_cast<size_t>(k)];
    if (5 * (e - b - 1) >= 2LL * m) {
      const size_t base = F.dense.size();
      F.dense.resize(base + static_cast<size_t>(m), 0.0);
      double* v = F.dense.data() + base - 1;
      for (int64_t q = b + 1; q < e; ++q) v[F.entries[static_cast<size_t>(q)].row] = F.entries[static_cast<size_t>(q)].value;
    }
    F.denseStart.push_back(static_cast<int64_t>(F.dense.size()));
  }
}

void Btran(const EngineModel& M, std::vector<double>& y) {
  const EtaFile& F = M.etaFile;
  const EtaEntry* E = F.entries.data();
  const int64_t* S = F.start.data();
  const int64_t* DS = F.denseStart.data();
  const double* D = F.dense.data();
  double* Y = y.data();
  for (int k = F.count; k >= 1; --k) {
    const int64_t b = S[k - 1], e = S[k];
    const int64_t db = DS[k - 1], len = DS[k] - db;
    const int r = E[b].row;
    if (e == b + 1 && len == 0) {  // a scaling: nothing to sum
      Y[r] *= E[b].value;
      continue;
    }
    // Four partial sums keep the additions from waiting on each other.
    double s0 = 0, s1 = 0, s2 = 0, s3 = 0;
    if (len > 0 && e == b + 1) {
      // Dense with a value in every row but r: pair j (from 0) would be row
      // j + 1 before r and j + 2 after it.
      const double* v = D + db - 1;
      const int64_t pairs = len - 1, blocks = pairs / 4 * 4;
      const int64_t split = r - 1;
      auto row = [split](int64_t j) { return j < split ? j + 1 : j + 2; };
      int64_t j = 0;
      for (; j + 4 <= blocks && j + 4 <= split; j += 4) {
        s0 += v[j + 1] * Y[j + 1];
        s1 += v[j + 2] * Y[j + 2];
        s2 += v[j + 3] * Y[j + 3];
        s3 += v[j + 4] * Y[j + 4];
      }
      for (; j < blocks && j < split; j += 4) {
        s0 += v[row(j)] * Y[row(j)];
        s1 += v[row(j + 1)] * Y[row(j + 1)];
        s2 += v[row(j + 2)] * Y[row(j + 2)];
        s3 += v[row(j + 3)] * Y[row(j + 3)];
      }
      for (; j < blocks; j += 4) {
        s0 += v[j + 2] * Y[j + 2];
        s1 += v[j + 3] * Y[j + 3];
        s2 += v[j + 4] * Y[j + 4];
        s3 += v[j + 5] * Y[j + 5];
      }
      for (; j < pairs; ++j) s0 += v[row(j)] * Y[row(j)];
    } else {
      int64_t q = b + 1;
      for (; q + 3 < e; q += 4) {
        s0 += E[q].value * Y[E[q].row];
        s1 += E[q + 1].value * Y[E[q + 1].row];
        s2 += E[q + 2].value * Y[E[q + 2].row];
        s3 += E[q + 3].value * Y[E[q + 3].row];
      }
      for (; q < e; ++q) s0 += E[q].value * Y[E[q].row];
    }
    const double s = (s0 + s1) + (s2 + s3);
    Y[r] = (Y[r] - s) * E[b].value;
  }
}

}  // namespace vesk::engine
