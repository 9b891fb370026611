// solver_bench: fresh solves per second through the solver interface on the
// programs the application states most, and the same count for GLPK's primal
// simplex (presolve off, a fresh problem object per solve) when it is present.
//
// A program has 21 columns (the cutting level lambda in [0.5, 1] and 20
// weights in [0, 1]), a few hundred dense rows of outranking-like
// coefficients k_j in [0, 1] of the forms
//   sum_j k_j w_j - lambda >= 0        (an action at least as good as a profile)
//   lambda - sum_j k_j w_j >= 0.0001   (strictly worse)
// and the equality sum_j w_j = 1. The rows are drawn around a hidden feasible
// point, so every program is feasible and bounded. Each program is solved
// many times, each time stated afresh, with a different objective: dense
// random ones and single columns maximised or minimised (as the robust
// analysis does).
//
//   solver_bench [--solves N] [--rows R ...]
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "solver/LP_Unit_LPSolver.h"

#ifdef VESK_HAVE_GLPK
#include <glpk.h>
#endif

namespace {

constexpr int kColumns = 21;  // lambda, then 20 weights

struct Program {
  int rows = 0;                  // including the equality row (the last)
  std::vector<double> a;         // rows x kColumns, row-major
  std::vector<char> type;        // '<' '=' '>'
  std::vector<double> rhs;       // all >= 0
  std::vector<double> lower, upper;
};

Program MakeProgram(int constraintRows, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  std::vector<double> w(kColumns, 0.0);
  double sum = 0;
  for (int j = 1; j < kColumns; ++j) sum += w[static_cast<std::size_t>(j)] = 0.05 + unit(rng);
  for (int j = 1; j < kColumns; ++j) w[static_cast<std::size_t>(j)] /= sum;
  const double lambda = 0.55 + 0.3 * unit(rng);

  Program p;
  p.rows = constraintRows + 1;
  p.a.assign(static_cast<std::size_t>(p.rows) * kColumns, 0.0);
  p.type.assign(static_cast<std::size_t>(p.rows), '>');
  p.rhs.assign(static_cast<std::size_t>(p.rows), 0.0);
  for (int i = 0; i < constraintRows;) {
    std::vector<double> k(kColumns, 0.0);
    double s = 0;
    for (int j = 1; j < kColumns; ++j) {
      double u = unit(rng);
      double v = u < 0.45 ? 1.0 : (u < 0.8 ? 0.0 : unit(rng));  // partial concordance
      k[static_cast<std::size_t>(j)] = v;
      s += v * w[static_cast<std::size_t>(j)];
    }
    double sign;
    if (s >= lambda) {
      sign = 1;  // sum k w - lambda >= 0
    } else if (s <= lambda - 0.0001) {
      sign = -1;  // lambda - sum k w >= 0.0001
      p.rhs[static_cast<std::size_t>(i)] = 0.0001;
    } else {
      continue;
    }
    double* row = &p.a[static_cast<std::size_t>(i) * kColumns];
    row[0] = -sign;
    for (int j = 1; j < kColumns; ++j) row[j] = sign * k[static_cast<std::size_t>(j)];
    ++i;
  }
  double* eq = &p.a[static_cast<std::size_t>(constraintRows) * kColumns];
  for (int j = 1; j < kColumns; ++j) eq[j] = 1;
  p.type.back() = '=';
  p.rhs.back() = 1;
  p.lower.assign(kColumns, 0.0);
  p.upper.assign(kColumns, 1.0);
  p.lower[0] = 0.5;
  return p;
}

// Objective number t: even t a dense random one, odd t one column maximised
// or minimised in turn.
std::vector<double> MakeObjective(int t, unsigned seed) {
  std::vector<double> c(kColumns, 0.0);
  if (t % 2 == 0) {
    std::mt19937 rng(seed + static_cast<unsigned>(t));
    std::uniform_real_distribution<double> d(-1.0, 1.0);
    for (double& v : c) v = d(rng);
  } else {
    int k = (t / 2) % (2 * kColumns);
    c[static_cast<std::size_t>(k / 2)] = k % 2 ? -1.0 : 1.0;
  }
  return c;
}

// Returns the interface's result code; the objective in `z`.
int SolveVesk(const Program& p, const std::vector<double>& c, double& z) {
  using namespace vesk::solver;
  LpSetSize(kColumns, p.rows);
  for (int i = 1; i <= p.rows; ++i) {
    const double* row = &p.a[static_cast<std::size_t>(i - 1) * kColumns];
    for (int j = 1; j <= kColumns; ++j)
      if (row[j - 1] != 0) LpSetCoefficient(i, j, row[j - 1]);
    LpSetRhs(i, p.rhs[static_cast<std::size_t>(i - 1)]);
    LpSetRowType(i, p.type[static_cast<std::size_t>(i - 1)]);
  }
  for (int j = 1; j <= kColumns; ++j) {
    LpSetColumnType(j, 'C');
    LpSetLowerBound(j, p.lower[static_cast<std::size_t>(j - 1)]);
    LpSetUpperBound(j, p.upper[static_cast<std::size_t>(j - 1)]);
    LpSetObjective(j, c[static_cast<std::size_t>(j - 1)]);
  }
  int rc = LpSolve();
  z = LpObjectiveValue();
  LpRelease();
  return rc;
}

#ifdef VESK_HAVE_GLPK
// Returns true when GLPK reports an optimum; the objective in `z`.
bool SolveGlpk(const Program& p, const std::vector<double>& c, double& z) {
  glp_prob* lp = glp_create_prob();
  glp_set_obj_dir(lp, GLP_MAX);
  glp_add_rows(lp, p.rows);
  glp_add_cols(lp, kColumns);
  std::vector<int> ia{0}, ja{0};
  std::vector<double> ar{0};
  for (int i = 1; i <= p.rows; ++i) {
    double b = p.rhs[static_cast<std::size_t>(i - 1)];
    char t = p.type[static_cast<std::size_t>(i - 1)];
    glp_set_row_bnds(lp, i, t == '>' ? GLP_LO : (t == '<' ? GLP_UP : GLP_FX), b, b);
    const double* row = &p.a[static_cast<std::size_t>(i - 1) * kColumns];
    for (int j = 1; j <= kColumns; ++j)
      if (row[j - 1] != 0) {
        ia.push_back(i);
        ja.push_back(j);
        ar.push_back(row[j - 1]);
      }
  }
  for (int j = 1; j <= kColumns; ++j) {
    glp_set_col_bnds(lp, j, GLP_DB, p.lower[static_cast<std::size_t>(j - 1)], p.upper[static_cast<std::size_t>(j - 1)]);
    glp_set_obj_coef(lp, j, c[static_cast<std::size_t>(j - 1)]);
  }
  glp_load_matrix(lp, static_cast<int>(ia.size()) - 1, ia.data(), ja.data(), ar.data());
  glp_smcp parm;
  glp_init_smcp(&parm);
  parm.msg_lev = GLP_MSG_OFF;
  parm.presolve = GLP_OFF;
  bool ok = glp_simplex(lp, &parm) == 0 && glp_get_status(lp) == GLP_OPT;
  z = glp_get_obj_val(lp);
  glp_delete_prob(lp);
  return ok;
}
#endif

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace

int main(int argc, char** argv) {
  int solves = 200;
  std::vector<int> rowCounts;
  for (int k = 1; k < argc; ++k) {
    std::string a = argv[k];
    if (a == "--solves" && k + 1 < argc) {
      solves = std::max(1, std::atoi(argv[++k]));
    } else if (a == "--rows" && k + 1 < argc) {
      rowCounts.push_back(std::max(1, std::atoi(argv[++k])));
    } else {
      std::cerr << "usage: solver_bench [--solves N] [--rows R ...]\n";
      return 2;
    }
  }
  if (rowCounts.empty()) rowCounts = {100, 300, 500};
  constexpr int kPrograms = 4;  // different matrices per row count
  // Every solve here is a fresh one: no basis carried over from the last.
  vesk::solver::LpSetWarmStart(false);
#ifdef VESK_HAVE_GLPK
  glp_term_out(GLP_OFF);
#endif

  std::printf("solver_bench: %d fresh solves per row count, %d columns, %d programs each\n", solves, kColumns,
              kPrograms);
  std::printf("%6s %12s %12s %8s %10s %10s\n", "rows", "vesk/s", "glpk/s", "ratio", "agree", "vesk fail");
  int exitCode = 0;
  for (int rows : rowCounts) {
    std::vector<Program> programs;
    for (int p = 0; p < kPrograms; ++p) programs.push_back(MakeProgram(rows, 1000u * static_cast<unsigned>(rows) + p));
    std::vector<double> ours(static_cast<std::size_t>(solves));
    int failures = 0;
    auto start = std::chrono::steady_clock::now();
    for (int t = 0; t < solves; ++t) {
      const Program& p = programs[static_cast<std::size_t>(t % kPrograms)];
      if (SolveVesk(p, MakeObjective(t, 7u), ours[static_cast<std::size_t>(t)]) != 0) ++failures;
    }
    double vesk = solves / Seconds(start);
    std::string glpkRate = "-", ratio = "-", agree = "-";
#ifdef VESK_HAVE_GLPK
    std::vector<double> theirs(static_cast<std::size_t>(solves));
    std::vector<bool> glpkOk(static_cast<std::size_t>(solves));
    start = std::chrono::steady_clock::now();
    for (int t = 0; t < solves; ++t) {
      const Program& p = programs[static_cast<std::size_t>(t % kPrograms)];
      glpkOk[static_cast<std::size_t>(t)] = SolveGlpk(p, MakeObjective(t, 7u), theirs[static_cast<std::size_t>(t)]);
    }
    double glpk = solves / Seconds(start);
    int agreeing = 0;
    for (std::size_t t = 0; t < ours.size(); ++t)
      if (glpkOk[t] && std::fabs(ours[t] - theirs[t]) <= 1e-6 * std::max(1.0, std::fabs(theirs[t]))) ++agreeing;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.0f", glpk);
    glpkRate = buf;
    std::snprintf(buf, sizeof buf, "%.2f", vesk / glpk);
    ratio = buf;
    std::snprintf(buf, sizeof buf, "%d/%d", agreeing, solves);
    agree = buf;
    if (agreeing != solves) exitCode = 1;
#endif
    if (failures) exitCode = 1;
    std::printf("%6d %12.0f %12s %8s %10s %10d\n", rows, vesk, glpkRate.c_str(), ratio.c_str(), agree.c_str(),
                failures);
  }
  std::printf("ratio = vesk solves per second / glpk solves per second (above 1: vesk is faster)\n");
  return exitCode;
}
