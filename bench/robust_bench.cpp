// Robust assignments on generated problems: programs solved, total time and
// time per program of the whole command; with GLPK at hand, the same program
// sequence solved by GLPK, a fresh problem object per solve.
//
//   robust_bench            both sizes
//   robust_bench small      7 criteria x 200 actions x 5 categories
//   robust_bench large      12 criteria x 1000 actions x 20 categories
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "core/problem/Numbers.h"
#include "core/problem/Problem.h"
#include "core/problem/UserDialogs.h"
#include "core/sorting/Outranking.h"
#include "core/sorting/RobustAssignments.h"

#ifdef VESK_HAVE_GLPK
#include <glpk.h>
#endif

namespace {

using namespace vesk::core;
using Clock = std::chrono::steady_clock;

// Tells nothing, answers nothing; counts the messages.
class QuietDialogs : public UserDialogs {
 public:
  void ShowMessage(MessageKind kind, std::string_view text) override {
    ++messages;
    std::fprintf(stderr, "  %s: %.*s\n", std::string(MessageKindName(kind)).c_str(), static_cast<int>(text.size()),
                 text.data());
  }
  bool Confirm(std::string_view) override { return false; }
  std::optional<std::string> PromptText(std::string_view, std::string_view, std::string_view) override { return {}; }
  std::optional<std::string> ChooseOpenFile(std::string_view, std::string_view) override { return {}; }
  std::optional<std::string> ChooseSaveFile(std::string_view, std::string_view, std::string_view) override {
    return {};
  }
  int messages = 0;
};

struct Size {
  const char* name;
  int n, m, K, examples;
};

// Profiles evenly spread over [0, 100] on every criterion, q = 1, p = 3, a
// veto at 40; performances uniform in [0, 100]. Assignment examples are the
// categories a hidden parameter vector gives, kept only where that vector
// meets the example rows with a clear margin, so that the information is
// consistent.
Problem Generate(const Size& size, std::mt19937& rng) {
  const int n = size.n, m = size.m, K = size.K;
  Problem p;
  LayoutTables(p, n, m, K, true);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  for (int h = 1; h <= K - 1; ++h) {
    const int r = p.ProfileRow(h);
    for (int j = 1; j <= n; ++j) {
      const double g = 100.0 * h / K + 4.0 * (unit(rng) - 0.5);
      p.FGrid.SetCell(r, j, FormatGeneral(std::round(g * 10) / 10));
      p.FGrid.SetCell(r + 1, j, "1");
      p.FGrid.SetCell(r + 2, j, "3");
      p.FGrid.SetCell(r + 3, j, "0");
      p.FGrid.SetCell(r + 4, j, "40");
    }
  }
  for (int a = 1; a <= m; ++a) {
    std::string name = "a";
    name += std::to_string(a);
    p.AGrid.SetCell(a, 0, name);
    for (int j = 1; j <= n; ++j) p.AGrid.SetCell(a, 2 + j, FormatGeneral(std::round(unit(rng) * 1000) / 10));
  }

  // The hidden vector: weights at most 0.5 summing to 1, lambda in [0.55, 0.75].
  std::vector<double> params(static_cast<std::size_t>(n + 1));
  double sum = 0;
  for (int j = 1; j <= n; ++j) sum += params[j] = 0.5 + unit(rng);
  for (int j = 1; j <= n; ++j) params[j] /= sum;
  params[0] = 0.55 + 0.2 * unit(rng);

  const SortingData d = SortingData::FromProblem(p);
  std::vector<int> order(static_cast<std::size_t>(m));
  for (int a = 0; a < m; ++a) order[a] = a + 1;
  std::shuffle(order.begin(), order.end(), rng);
  int placed = 0;
  for (int a : order) {
    if (placed == size.examples) break;
    const int c = AssignCategory(d, a, params);
    const bool clearBelow = c == 1 || Credibility(d, a, c - 1, params) - params[0] >= 0.001;
    const bool clearAbove = c == K || params[0] - Credibility(d, a, c, params) >= 0.001;
    if (!clearBelow || !clearAbove) continue;
    // Every third example is imprecise by one category upward.
    const int high = (placed % 3 == 2 && c < K) ? c + 1 : c;
    p.AGrid.SetCell(a, 1, std::to_string(c));
    p.AGrid.SetCell(a, 2, std::to_string(high));
    ++placed;
  }
  return p;
}

#ifdef VESK_HAVE_GLPK
// The parameter space as the command states it: CGrid rows, then the example
// rows; bounds from BGrid.
struct Space {
  int columns = 0;
  std::vector<std::vector<double>> rows;
  std::vector<char> types;
  std::vector<double> rhs, lower, upper;
};

Space ReadSpace(const Problem& p, const SortingState& s) {
  Space sp;
  const int n = p.NumCriteria;
  sp.columns = n + 1;
  auto add = [&](const Grid& g, int r) {
    std::vector<double> row(static_cast<std::size_t>(n + 1));
    for (int c = 1; c <= n + 1; ++c) row[c - 1] = ParseReal(g.Cell(r, c)).value_or(0.0);
    sp.rows.push_back(row);
    sp.types.push_back(g.Cell(r, n + 2)[0]);
    sp.rhs.push_back(ParseReal(g.Cell(r, n + 3)).value_or(0.0));
  };
  for (int r = 1; r <= p.NumConstraints; ++r) add(p.CGrid, r);
  for (int e = 1; e <= s.NumExampleConstraints; ++e) add(s.ICGrid, e);
  for (int c = 1; c <= n + 1; ++c) {
    sp.lower.push_back(ParseReal(p.BGrid.Cell(1, c)).value_or(0.0));
    sp.upper.push_back(ParseReal(p.BGrid.Cell(2, c)).value_or(1.0));
  }
  return sp;
}

// One fresh GLPK problem per solve, as the solver interface builds a fresh
// engine model per solve. Returns max objective . x, or nothing.
std::optional<double> GlpkSolve(const Space& sp, const std::vector<double>& objective) {
  glp_prob* lp = glp_create_prob();
  glp_set_obj_dir(lp, GLP_MAX);
  const int rows = static_cast<int>(sp.rows.size());
  glp_add_rows(lp, rows);
  glp_add_cols(lp, sp.columns);
  std::vector<int> ia(1), ja(1);
  std::vector<double> ar(1);
  for (int i = 1; i <= rows; ++i) {
    const char t = sp.types[i - 1];
    glp_set_row_bnds(lp, i, t == '<' ? GLP_UP : t == '>' ? GLP_LO : GLP_FX, sp.rhs[i - 1], sp.rhs[i - 1]);
    for (int j = 1; j <= sp.columns; ++j) {
      const double v = sp.rows[i - 1][j - 1];
      if (v == 0) continue;
      ia.push_back(i);
      ja.push_back(j);
      ar.push_back(v);
    }
  }
  for (int j = 1; j <= sp.columns; ++j) {
    const double lo = sp.lower[j - 1], up = sp.upper[j - 1];
    glp_set_col_bnds(lp, j, lo == up ? GLP_FX : GLP_DB, lo, up);
    glp_set_obj_coef(lp, j, objective[j - 1]);
  }
  glp_load_matrix(lp, static_cast<int>(ia.size()) - 1, ia.data(), ja.data(), ar.data());
  glp_smcp parm;
  glp_init_smcp(&parm);
  parm.msg_lev = std::getenv("VESK_BENCH_GLPK_LOG") ? GLP_MSG_ALL : GLP_MSG_OFF;
  parm.meth = GLP_PRIMAL;
  std::optional<double> value;
  if (glp_simplex(lp, &parm) == 0 && glp_get_status(lp) == GLP_OPT) value = glp_get_obj_val(lp);
  glp_delete_prob(lp);
  return value;
}

// The searches of the command over GLPK, from the same inferred categories.
void GlpkReplay(const Problem& p, const SortingState& s) {
  const SortingData d = SortingData::FromProblem(p);
  const Space sp = ReadSpace(p, s);
  const int n = d.n, K = d.K;
  long long programs = 0, disagreements = 0;
  // The decisions the command reuses (see its searches): a move or refusal
  // found for w' decides every w that dominates or is dominated by it.
  struct Decision {
    std::vector<double> w;
    bool moved;
  };
  std::vector<Decision> up, down;
  auto atMost = [](const std::vector<double>& x, const std::vector<double>& y) {
    for (std::size_t j = 0; j < x.size(); ++j)
      if (x[j] > y[j]) return false;
    return true;
  };
  auto decide = [&](int a, int profile, bool upward) {
    const auto c = OutrankingCoefficients(d, a, profile);
    std::vector<double> w(c.begin(), c.end());
    for (const auto& k : upward ? up : down)
      if (k.moved == upward ? atMost(k.w, w) : atMost(w, k.w)) return k.moved;
    std::vector<double> obj(static_cast<std::size_t>(n + 1));
    const double sign = upward ? 1.0 : -1.0;
    obj[0] = -sign;
    for (int j = 1; j <= n; ++j) obj[j] = sign * w[j - 1];
    ++programs;
    const auto v = GlpkSolve(sp, obj);
    const bool moved = v && (upward ? *v > 0.00001 : -*v < -0.00001);
    (upward ? up : down).push_back({std::move(w), moved});
    return moved;
  };
  const auto start = Clock::now();
  for (int a = 1; a <= d.m; ++a) {
    const int inferred = s.InferredCategory[a - 1];
    int h = inferred + 1;
    while (h <= K && decide(a, h - 1, true)) ++h;
    disagreements += (h - 1 != s.BestCategory[a - 1]);
    h = inferred;
    while (h >= 2 && decide(a, h - 1, false)) --h;
    disagreements += (h != s.WorstCategory[a - 1]);
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  std::printf("  GLPK, same programs:  %lld programs in %.3f s, %.1f us per program; %lld range ends differ\n",
              programs, seconds, 1e6 * seconds / static_cast<double>(programs), disagreements);
}
#endif

void Run(const Size& size) {
  std::mt19937 rng(20021102u + static_cast<unsigned>(size.n * 1000 + size.m));
  Problem p = Generate(size, rng);
  int examples = 0;
  for (int a = 1; a <= size.m; ++a) examples += p.AGrid.Cell(a, 1) != "1" || p.AGrid.Cell(a, 2) != std::to_string(size.K);
  QuietDialogs dialogs;
  SortingState s;
  const auto start = Clock::now();
  const bool ran = CalcRangeItemClick(p, s, dialogs);
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  std::printf("%s: %d criteria x %d actions x %d categories, %d assignment examples (%d example rows)\n", size.name,
              size.n, size.m, size.K, examples, s.NumExampleConstraints);
  if (!ran || !s.Consistent) {
    std::printf("  the command stopped (%s)\n", ran ? "inconsistent information" : "message shown");
    return;
  }
  const long long programs = 1 + s.ParameterSpaceSolves;  // the inference program first
  std::printf("  robust assignments:   %lld programs (the inference program included) in %.3f s, %.1f us per program; index %s\n", programs, seconds,
              1e6 * seconds / static_cast<double>(programs), s.IndexText.c_str());
#ifdef VESK_HAVE_GLPK
  GlpkReplay(p, s);
#else
  std::printf("  (GLPK not available: no comparison)\n");
#endif
}

}  // namespace

int main(int argc, char** argv) {
  const Size sizes[] = {{"small", 7, 200, 5, 40}, {"large", 12, 1000, 20, 300}};
  const std::string only = argc > 1 ? argv[1] : "";
  for (const auto& size : sizes)
    if (only.empty() || only == size.name) Run(size);
  return 0;
}
