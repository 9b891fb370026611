// mip_bench: the zero-one programs of the inconsistency analysis, solved
// through the solver interface (relaxation and branch-and-bound search), and
// the same programs solved by GLPK's glp_intopt when it is present.
//
// A program has 6 continuous columns (lambda and 5 weights, bounds 0 and
// 1e21), R at-least rows a.x + 999 y_r >= 0.00011 over outranking-like
// coefficients in [0, 1], one binary y_r per row with objective -1, and the
// equality sum k = 1. The rows are drawn around a hidden vector; `pairs` rows
// are then contradicted by their negation, so exactly `pairs` rows must be
// dropped. Each further round re-solves with the exclusion cuts of the
// suggestions found so far (sum of their y at most |S| - 1), as the analysis
// does for its next suggestion; "cuts" counts them. "nodes" is the search's
// node count. With --mps, each program is also written to DIR as a free MPS
// file (minimising the number of dropped rows) for other solvers. Each solve
// is given --limit seconds (default 600); a solve stopped by it shows "limit"
// in place of its time and ends the rounds of its size.
//
//   mip_bench [--rows R ...] [--pairs P] [--repeat N] [--cuts K] [--limit S] [--mps DIR]
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "engine/ScratchEngineHost.h"
#include "solver/LP_Unit_LPSolver.h"

#ifdef VESK_HAVE_GLPK
#include <glpk.h>
#endif

namespace {

constexpr int kCriteria = 5;
constexpr int kV = kCriteria + 1;

struct Program {
  std::vector<std::vector<double>> a;  // over lambda, k
  std::vector<double> b;
  std::vector<std::vector<int>> cuts;  // 1-based rows
};

Program Make(int rows, int pairs, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> u(0, 1);
  Program z;
  std::vector<double> k(kCriteria);
  double sum = 0;
  for (double& v : k) sum += (v = 0.2 + u(rng));
  for (double& v : k) v /= sum;
  const double lambda = 0.55 + 0.3 * u(rng);
  while (static_cast<int>(z.a.size()) < rows - pairs) {
    std::vector<double> w(kCriteria);
    double sigma = 0;
    for (int j = 0; j < kCriteria; ++j) sigma += k[j] * (w[j] = u(rng));
    if (std::fabs(sigma - lambda) < 0.002) continue;
    const double s = sigma > lambda ? 1 : -1;
    std::vector<double> row{-s};
    for (double v : w) row.push_back(s * v);
    z.a.push_back(row);
    z.b.push_back(0.00011);
  }
  for (int p = 0; p < pairs; ++p) {
    std::vector<double> opposite;
    for (double v : z.a[static_cast<size_t>(p * 7)]) opposite.push_back(-v);
    z.a.push_back(opposite);
    z.b.push_back(0.00011);
  }
  return z;
}

struct Outcome {
  int status = -1;
  double objective = 0;
  double seconds = 0;
  long long nodes = -1;
  std::vector<int> dropped;
};

double Now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double g_limitSeconds = 600;

// Reads the node count from the search's closing console line, and asks the
// engine to stop once the time limit has passed.
class CountingHost : public vesk::engine::ScratchEngineHost {
 public:
  bool ConsoleEnabled() const override { return true; }
  bool CancelRequested() override { return Now() > deadline; }
  double deadline = Now() + g_limitSeconds;
  void ConsoleWriteLine(std::string_view text) override {
    const auto at = text.find("Searched nodes ");
    if (at != std::string_view::npos) nodes = std::atoll(std::string(text.substr(at + 15)).c_str());
  }
  long long nodes = -1;
};

void WriteMps(const Program& z, const std::string& path) {
  std::ofstream out(path);
  const int R = static_cast<int>(z.a.size());
  out << "NAME INCONS\nROWS\n N OBJ\n";
  for (int r = 1; r <= R; ++r) out << " G R" << r << "\n";
  out << " E NORM\n";
  for (size_t c = 0; c < z.cuts.size(); ++c) out << " L CUT" << c + 1 << "\n";
  out << "COLUMNS\n";
  out.precision(17);
  for (int j = 1; j <= kV; ++j) {
    for (int r = 1; r <= R; ++r) {
      const double v = z.a[static_cast<size_t>(r - 1)][static_cast<size_t>(j - 1)];
      if (v != 0) out << " X" << j << " R" << r << " " << v << "\n";
    }
    if (j > 1) out << " X" << j << " NORM 1\n";
  }
  out << " M1 'MARKER' 'INTORG'\n";
  for (int r = 1; r <= R; ++r) {
    out << " Y" << r << " OBJ 1\n Y" << r << " R" << r << " 999\n";
    for (size_t c = 0; c < z.cuts.size(); ++c)
      if (std::find(z.cuts[c].begin(), z.cuts[c].end(), r) != z.cuts[c].end()) out << " Y" << r << " CUT" << c + 1 << " 1\n";
  }
  out << " M2 'MARKER' 'INTEND'\nRHS\n";
  for (int r = 1; r <= R; ++r) out << " RHS R" << r << " " << z.b[static_cast<size_t>(r - 1)] << "\n";
  out << " RHS NORM 1\n";
  for (size_t c = 0; c < z.cuts.size(); ++c) out << " RHS CUT" << c + 1 << " " << z.cuts[c].size() - 1 << "\n";
  out << "BOUNDS\n";
  // Bounds in the fixed-format columns, which every reader takes.
  for (int r = 1; r <= R; ++r) {
    char line[64];
    std::snprintf(line, sizeof line, " UP BND       Y%-7d  1\n", r);
    out << line;
  }
  out << "ENDATA\n";
}

Outcome SolveOurs(const Program& z) {
  using namespace vesk::solver;
  const int R = static_cast<int>(z.a.size());
  const int rows = R + 1 + static_cast<int>(z.cuts.size());
  CountingHost host;
  LpSetHost(&host);
  const double start = Now();
  LpSetSize(kV + R, rows);
  for (int j = 1; j <= kV; ++j) LpSetColumnType(j, 'C');
  for (int r = 1; r <= R; ++r) {
    LpSetColumnType(kV + r, 'B');
    LpSetObjective(kV + r, -1);
    for (int j = 1; j <= kV; ++j) LpSetCoefficient(r, j, z.a[static_cast<size_t>(r - 1)][static_cast<size_t>(j - 1)]);
    LpSetCoefficient(r, kV + r, 999);
    LpSetRowType(r, '>');
    LpSetRhs(r, z.b[static_cast<size_t>(r - 1)]);
  }
  for (int j = 2; j <= kV; ++j) LpSetCoefficient(R + 1, j, 1);
  LpSetRowType(R + 1, '=');
  LpSetRhs(R + 1, 1);
  for (size_t c = 0; c < z.cuts.size(); ++c) {
    const int i = R + 2 + static_cast<int>(c);
    for (int r : z.cuts[c]) LpSetCoefficient(i, kV + r, 1);
    LpSetRowType(i, '<');
    LpSetRhs(i, static_cast<double>(z.cuts[c].size()) - 1);
  }
  Outcome o;
  o.status = LpSolve();
  o.seconds = Now() - start;
  o.nodes = host.nodes;
  LpSetHost(nullptr);
  if (o.status == 0) {
    o.objective = LpObjectiveValue();
    for (int r = 1; r <= R; ++r)
      if (LpColumnValue(kV + r) == 1) o.dropped.push_back(r);
  }
  return o;
}

#ifdef VESK_HAVE_GLPK
Outcome SolveGlpk(const Program& z) {
  const int R = static_cast<int>(z.a.size());
  const double start = Now();
  glp_prob* lp = glp_create_prob();
  glp_set_obj_dir(lp, GLP_MAX);
  const int rows = R + 1 + static_cast<int>(z.cuts.size());
  glp_add_rows(lp, rows);
  glp_add_cols(lp, kV + R);
  for (int j = 1; j <= kV; ++j) glp_set_col_bnds(lp, j, GLP_LO, 0, 0);
  for (int r = 1; r <= R; ++r) {
    glp_set_col_kind(lp, kV + r, GLP_BV);
    glp_set_obj_coef(lp, kV + r, -1);
    glp_set_row_bnds(lp, r, GLP_LO, z.b[static_cast<size_t>(r - 1)], 0);
  }
  glp_set_row_bnds(lp, R + 1, GLP_FX, 1, 1);
  std::vector<int> ia{0}, ja{0};
  std::vector<double> ar{0};
  auto put = [&](int i, int j, double v) {
    if (v == 0) return;
    ia.push_back(i), ja.push_back(j), ar.push_back(v);
  };
  for (int r = 1; r <= R; ++r) {
    for (int j = 1; j <= kV; ++j) put(r, j, z.a[static_cast<size_t>(r - 1)][static_cast<size_t>(j - 1)]);
    put(r, kV + r, 999);
  }
  for (int j = 2; j <= kV; ++j) put(R + 1, j, 1);
  for (size_t c = 0; c < z.cuts.size(); ++c) {
    const int i = R + 2 + static_cast<int>(c);
    for (int r : z.cuts[c]) put(i, kV + r, 1);
    glp_set_row_bnds(lp, i, GLP_UP, 0, static_cast<double>(z.cuts[c].size()) - 1);
  }
  glp_load_matrix(lp, static_cast<int>(ia.size()) - 1, ia.data(), ja.data(), ar.data());
  glp_iocp parm;
  glp_init_iocp(&parm);
  parm.presolve = GLP_ON;
  parm.msg_lev = GLP_MSG_OFF;
  // A dropped row needs y_r of only about 1e-7 in the relaxation; with the
  // default integrality tolerance (1e-5) GLPK takes such a y_r for 0 and
  // reports that nothing needs to be dropped.
  parm.tol_int = 1e-9;
  parm.tm_lim = static_cast<int>(std::min(g_limitSeconds * 1000, 2e9));
  Outcome o;
  const int rc = glp_intopt(lp, &parm);
  o.seconds = Now() - start;
  o.status = rc == 0 && glp_mip_status(lp) == GLP_OPT ? 0 : 3;
  if (o.status == 0) o.objective = glp_mip_obj_val(lp);
  glp_delete_prob(lp);
  return o;
}
#endif

template <class F>
Outcome Median(int repeat, F solve) {
  std::vector<Outcome> runs;
  for (int k = 0; k < repeat; ++k) runs.push_back(solve());
  std::sort(runs.begin(), runs.end(), [](const Outcome& a, const Outcome& b) { return a.seconds < b.seconds; });
  return runs[runs.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<int> sizes;
  int pairs = 3, repeat = 3, cuts = 2;
  std::string mpsFolder;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--rows") && i + 1 < argc) {
      while (i + 1 < argc && argv[i + 1][0] != '-') sizes.push_back(std::atoi(argv[++i]));
    } else if (!std::strcmp(argv[i], "--pairs") && i + 1 < argc) {
      pairs = std::atoi(argv[++i]);
    } else if (!std::strcmp(argv[i], "--repeat") && i + 1 < argc) {
      repeat = std::max(1, std::atoi(argv[++i]));
    } else if (!std::strcmp(argv[i], "--cuts") && i + 1 < argc) {
      cuts = std::max(0, std::atoi(argv[++i]));
    } else if (!std::strcmp(argv[i], "--limit") && i + 1 < argc) {
      g_limitSeconds = std::max(1.0, std::atof(argv[++i]));
    } else if (!std::strcmp(argv[i], "--mps") && i + 1 < argc) {
      mpsFolder = argv[++i];
    } else {
      std::fprintf(stderr, "usage: mip_bench [--rows R ...] [--pairs P] [--repeat N] [--cuts K] [--limit S] [--mps DIR]\n");
      return 2;
    }
  }
  if (sizes.empty()) sizes = {50, 200, 500};
  std::printf("%-6s %-5s %8s %8s %9s %10s %10s %10s %8s\n", "rows", "cuts", "dropped", "glpk", "nodes", "ours_s", "glpk_s",
              "ratio", "agree");
  std::fflush(stdout);
  for (int rows : sizes) {
    Program z = Make(rows, pairs, 11u + static_cast<unsigned>(rows));
    for (int round = 0; round <= cuts; ++round) {
      if (!mpsFolder.empty())
        WriteMps(z, mpsFolder + "/incons_" + std::to_string(rows) + "_cut" + std::to_string(round) + ".mps");
      const Outcome ours = Median(repeat, [&] { return SolveOurs(z); });
      double glpkSeconds = NAN, glpkObjective = NAN;
#ifdef VESK_HAVE_GLPK
      const Outcome g = Median(repeat, [&] { return SolveGlpk(z); });
      glpkSeconds = g.seconds;
      glpkObjective = g.status == 0 ? g.objective : NAN;
#endif
      const bool agree = ours.status == 0 && std::isfinite(glpkObjective) &&
                         std::fabs(ours.objective - glpkObjective) <= 1e-6 * std::max(1.0, std::fabs(glpkObjective));
      // A solve without a proven optimum shows "limit" when the time limit
      // stopped it, and "failed" otherwise; the ratio needs both times.
      auto timeText = [](bool solved, double seconds) {
        if (!solved) return std::string(seconds >= g_limitSeconds ? "limit" : "failed");
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.4f", seconds);
        return std::string(buf);
      };
      const bool glpkSolved = std::isfinite(glpkObjective);
      char ratio[32] = "-";
      if (ours.status == 0 && glpkSolved) std::snprintf(ratio, sizeof ratio, "%.2f", ours.seconds / glpkSeconds);
      std::printf("%-6d %-5d %8.0f %8.3g %9lld %10s %10s %10s %8s\n", rows, round,
                  ours.status == 0 ? -ours.objective : NAN, -glpkObjective, ours.nodes,
                  timeText(ours.status == 0, ours.seconds).c_str(),
                  std::isnan(glpkSeconds) ? "-" : timeText(glpkSolved, glpkSeconds).c_str(), ratio,
                  glpkSolved ? (agree ? "yes" : "NO") : "-");
      std::fflush(stdout);
      if (ours.status != 0 || ours.dropped.empty()) break;
      z.cuts.push_back(ours.dropped);
    }
  }
  vesk::solver::LpRelease();
  return 0;
}
