// vesk.Problem: reading and writing problem files, building problems from
// Python data, reading and changing their tables, and the commands on them.
#include <pybind11/numpy.h>
#include <pybind11/stl.h>
#include <pybind11/stl/filesystem.h>

#include <cmath>
#include <filesystem>

#include "ScriptProblem.h"
#include "core/problem/NewProblem.h"
#include "core/problem/Numbers.h"
#include "core/problem/ProblemFile.h"
#include "core/problem/StructuralEdits.h"
#include "core/problem/Toggles.h"

namespace vesk::python {
namespace {

using namespace pybind11::literals;

constexpr const char* kThresholdKeys[] = {"q", "p", "u", "v"};  // rows 1..4 of a profile block

// ---- values in and out of cells ----

double CellNumber(const core::Grid& grid, int row, int column) {
  return core::ParseReal(grid.CellOrEmpty(row, column)).value_or(std::nan(""));
}

// `value` as finite numbers of the given shape (nested lists or arrays; with
// `broadcast`, anything NumPy broadcasts to it), row-major.
std::vector<double> Numbers(py::handle value, std::vector<py::ssize_t> shape, const std::string& what,
                            bool broadcast = false) {
  const py::module_ np = py::module_::import("numpy");
  py::object array = np.attr("asarray")(value, "dtype"_a = "float64");
  if (broadcast) array = np.attr("broadcast_to")(array, py::cast(shape));
  const auto typed = py::array_t<double, py::array::c_style | py::array::forcecast>::ensure(array);
  if (!typed) throw py::value_error(what + " must be numbers");
  std::vector<py::ssize_t> got(typed.shape(), typed.shape() + typed.ndim());
  if (got != shape) {
    auto text = [](const std::vector<py::ssize_t>& s) {
      std::string t = "(";
      for (std::size_t i = 0; i < s.size(); ++i) t += (i ? ", " : "") + std::to_string(s[i]);
      return t + (s.size() == 1 ? ",)" : ")");
    };
    throw py::value_error(what + " must have shape " + text(shape) + ", not " + text(got));
  }
  std::vector<double> out(typed.data(), typed.data() + typed.size());
  for (double x : out)
    if (!std::isfinite(x)) throw py::value_error(what + " must be finite numbers");
  return out;
}

py::array_t<double> Matrix(int rows, int columns, const std::function<double(int, int)>& at) {
  py::array_t<double> out({rows, columns});
  auto view = out.mutable_unchecked<2>();
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < columns; ++c) view(r, c) = at(r, c);
  return out;
}

std::vector<std::string> Texts(py::handle value, std::size_t count, const std::string& what) {
  if (py::isinstance<py::str>(value)) throw py::type_error(what + " must be a sequence of strings");
  const auto texts = value.cast<std::vector<std::string>>();
  if (texts.size() != count)
    throw py::value_error(what + " must hold " + std::to_string(count) + " names, not " + std::to_string(texts.size()));
  for (const auto& t : texts)
    if (t.find_first_of("\r\n") != std::string::npos) throw py::value_error(what + ": a name may not hold a line break");
  return texts;
}

std::vector<int> Directions(py::handle value, int n) {
  std::vector<int> out;
  for (double d : Numbers(value, {n}, "directions")) {
    if (d != 1 && d != -1) throw py::value_error("directions must be 1 (to maximise) or -1 (to minimise)");
    out.push_back(static_cast<int>(d));
  }
  return out;
}

// ---- the tables ----

void SetPerformances(core::Problem& p, py::handle value) {
  const int m = p.NumActions, n = p.NumCriteria;
  const auto x = Numbers(value, {m, n}, "performances");
  for (int a = 1; a <= m; ++a)
    for (int j = 1; j <= n; ++j) p.AGrid.SetCell(a, p.PerformanceColumn(j), core::FormatGeneral(x[(a - 1) * n + j - 1]));
}

void SetProfiles(core::Problem& p, py::handle value) {
  const int K = p.NumCategories, n = p.NumCriteria;
  const auto x = Numbers(value, {K - 1, n}, "profiles");
  for (int h = 1; h < K; ++h)
    for (int j = 1; j <= n; ++j) p.FGrid.SetCell(p.ProfileRow(h), j, core::FormatGeneral(x[(h - 1) * n + j - 1]));
}

void SetThresholds(core::Problem& p, py::handle value) {
  const int K = p.NumCategories, n = p.NumCriteria;
  const auto given = value.cast<py::dict>();
  for (auto item : given) {
    const std::string key = py::str(item.first);
    int k = 0;
    while (k < 4 && key != kThresholdKeys[k]) ++k;
    if (k == 4) throw py::key_error("thresholds are 'q', 'p', 'u' and 'v', not '" + key + "'");
  }
  for (int k = 0; k < 4; ++k) {
    if (!given.contains(kThresholdKeys[k])) continue;
    const auto x = Numbers(given[kThresholdKeys[k]], {K - 1, n}, std::string("threshold ") + kThresholdKeys[k], true);
    for (int h = 1; h < K; ++h)
      for (int j = 1; j <= n; ++j) p.FGrid.SetCell(p.ProfileRow(h) + 1 + k, j, core::FormatGeneral(x[(h - 1) * n + j - 1]));
  }
}

py::dict Thresholds(const core::Problem& p) {
  py::dict out;
  for (int k = 0; k < 4; ++k)
    out[kThresholdKeys[k]] = Matrix(p.NumCategories - 1, p.NumCriteria, [&](int h, int j) {
      return CellNumber(p.FGrid, p.ProfileRow(h + 1) + 1 + k, j + 1);
    });
  return out;
}

void SetDirections(core::Problem& p, py::handle value) {
  const auto d = Directions(value, p.NumCriteria);
  for (int j = 1; j <= p.NumCriteria; ++j) p.FGrid.SetCell(p.DirectionRow(), j, d[j - 1] == 1 ? "1" : "-1");
}

void SetNames(core::Problem& p, py::handle value) {
  const auto names = Texts(value, static_cast<std::size_t>(p.NumActions), "names");
  for (int a = 1; a <= p.NumActions; ++a) p.AGrid.SetCell(a, 0, names[a - 1]);
}

void SetCriteria(core::Problem& p, py::handle value) {
  const auto names = Texts(value, static_cast<std::size_t>(p.NumCriteria), "criteria");
  for (int j = 1; j <= p.NumCriteria; ++j) {
    p.AGrid.SetCell(0, p.PerformanceColumn(j), names[j - 1]);
    p.FGrid.SetCell(0, j, names[j - 1]);
  }
}

std::pair<int, int> Example(const core::Problem& p, int a) {
  return {core::ParseInt(p.AGrid.CellOrEmpty(a, 1)).value_or(1),
          core::ParseInt(p.AGrid.CellOrEmpty(a, 2)).value_or(p.NumCategories)};
}

void SetExample(ScriptProblem& sp, py::handle action, py::handle range) {
  core::Problem& p = sp.problem;
  const int a = ActionRow(p, action);
  const auto [low, high] = range.cast<std::pair<int, int>>();
  if (low < 1 || low > high || high > p.NumCategories)
    throw py::value_error("an example needs 1 <= low <= high <= " + std::to_string(p.NumCategories) + ", not (" +
                          std::to_string(low) + ", " + std::to_string(high) + ")");
  p.AGrid.SetCell(a, 1, std::to_string(low));
  p.AGrid.SetCell(a, 2, std::to_string(high));
  sp.Edited();
}

std::pair<double, double> Bound(const core::Problem& p, int v) {
  return {CellNumber(p.BGrid, 1, 1 + v), CellNumber(p.BGrid, 2, 1 + v)};
}

void SetBound(ScriptProblem& sp, py::handle key, py::handle range) {
  core::Problem& p = sp.problem;
  const int v = ParameterIndex(p, key);
  const auto [low, high] = range.cast<std::pair<double, double>>();
  if (!(0 <= low && low <= high && high <= 1))
    throw py::value_error("bounds need 0 <= lower <= upper <= 1, not (" + core::FormatGeneral(low) + ", " +
                          core::FormatGeneral(high) + ")");
  p.BGrid.SetCell(1, 1 + v, core::FormatGeneral(low));
  p.BGrid.SetCell(2, 1 + v, core::FormatGeneral(high));
  sp.Edited();
}

py::list Constraints(const core::Problem& p) {
  const auto keys = ParameterKeys(p);
  py::list out;
  for (int r = 2; r < p.CGrid.RowCount(); ++r) {
    py::dict coefficients;
    for (int v = 0; v <= p.NumCriteria; ++v) {
      const std::string& cell = p.CGrid.CellOrEmpty(r, 1 + v);
      coefficients[py::str(keys[v])] = cell.empty() ? 0.0 : CellNumber(p.CGrid, r, 1 + v);
    }
    out.append(py::dict("label"_a = p.CGrid.CellOrEmpty(r, 0), "coefficients"_a = coefficients,
                        "sign"_a = p.CGrid.CellOrEmpty(r, p.SignColumn()),
                        "rhs"_a = CellNumber(p.CGrid, r, p.RhsColumn())));
  }
  return out;
}

// Appends an added constraint, stored as the problem file stores it: a
// negative right-hand side turns the row round (every number negated, "<="
// and ">=" exchanged). Everything is checked before the problem changes.
std::string AddConstraint(ScriptProblem& sp, const py::dict& coefficients, const std::string& sign, double rhs) {
  core::Problem& p = sp.problem;
  std::string stored;
  if (sign == "<=" || sign == "<") stored = "<=";
  else if (sign == ">=" || sign == ">") stored = ">=";
  else if (sign == "=" || sign == "==") stored = "=";
  else throw py::value_error("the sign is '<=', '>=' or '=', not '" + sign + "'");
  if (!std::isfinite(rhs)) throw py::value_error("the right-hand side must be a finite number");
  std::vector<double> a(static_cast<std::size_t>(p.NumCriteria) + 1, 0.0);
  for (auto item : coefficients) {
    const int v = ParameterIndex(p, item.first);
    const double x = item.second.cast<double>();
    if (!std::isfinite(x)) throw py::value_error("coefficients must be finite numbers");
    a[static_cast<std::size_t>(v)] = x;
  }
  if (rhs < 0) {
    for (double& x : a) x = -x;
    rhs = -rhs;
    if (stored != "=") stored = stored == "<=" ? ">=" : "<=";
  }
  CancelCheck cancel;
  ScriptDialogs dialogs(cancel);
  core::InsertConstraint(p, dialogs);
  const int r = p.NumConstraints;
  // Numbered among the added constraints, as the file reader numbers them.
  p.CGrid.SetCell(r, 0, "ad" + std::to_string(r - 1));
  for (int v = 0; v <= p.NumCriteria; ++v) p.CGrid.SetCell(r, 1 + v, core::FormatGeneral(a[static_cast<std::size_t>(v)]));
  p.CGrid.SetCell(r, p.SignColumn(), stored);
  p.CGrid.SetCell(r, p.RhsColumn(), core::FormatGeneral(rhs));
  return p.CGrid.Cell(r, 0);
}

// Deletes an added constraint given by its label or its 0-based index among
// the added constraints, as "Delete Constraint" does.
void RemoveConstraint(ScriptProblem& sp, py::handle key) {
  core::Problem& p = sp.problem;
  const int count = p.NumConstraints - 1;
  int t = 0;  // 1..count
  if (py::isinstance<py::str>(key)) {
    const std::string label = key.cast<std::string>();
    for (int r = 2; r < p.CGrid.RowCount() && !t; ++r)
      if (p.CGrid.CellOrEmpty(r, 0) == label) t = r - 1;
    if (!t) throw py::key_error("no added constraint is labelled '" + label + "'");
  } else {
    if (!PyIndex_Check(key.ptr())) throw py::type_error("a constraint is given by its label or its 0-based index");
    const auto index = key.cast<long long>();
    const long long i = index < 0 ? index + count : index;
    if (i < 0 || i >= count) throw py::index_error("constraint index " + std::to_string(index) + " out of range (" +
                                                   std::to_string(count) + " added constraints)");
    t = static_cast<int>(i) + 1;
  }
  CancelCheck cancel;
  ScriptDialogs dialogs(cancel);
  dialogs.textAnswers.push_back(std::to_string(t));
  core::DeleteConstraint(p, dialogs);
}

// ---- reading, writing, building ----

ScriptProblem Read(const std::filesystem::path& path) {
  CancelCheck cancel;
  ScriptDialogs dialogs(cancel);
  ScriptProblem sp;
  const bool read = core::ReadProblemFile(sp.problem, dialogs, path.string());
  Conclude(read, dialogs);
  return sp;
}

std::string Write(ScriptProblem& sp, const std::filesystem::path& path) {
  CancelCheck cancel;
  ScriptDialogs dialogs(cancel);
  core::Problem problem = sp.problem;
  problem.SaveFileName = path.string();
  const bool written = core::WriteProblemFile(problem, dialogs, false);
  Conclude(written, dialogs);
  sp.problem = std::move(problem);
  return sp.problem.SaveFileName;
}

ScriptProblem New(int criteria, int actions, int categories) {
  CancelCheck cancel;
  ScriptDialogs dialogs(cancel);
  ScriptProblem sp;
  const core::NewProblemFields fields{std::to_string(actions), std::to_string(criteria), std::to_string(categories)};
  Conclude(core::CreateNewProblem(sp.problem, dialogs, fields), dialogs);
  return sp;
}

ScriptProblem FromArrays(py::handle performances, py::handle profiles, py::handle thresholds, py::handle directions,
                         py::handle names, py::handle criteria) {
  const py::module_ np = py::module_::import("numpy");
  const py::object perf = np.attr("asarray")(performances, "dtype"_a = "float64");
  const py::object prof = np.attr("asarray")(profiles, "dtype"_a = "float64");
  if (perf.attr("ndim").cast<int>() != 2) throw py::value_error("performances must be a table: one row per action");
  if (prof.attr("ndim").cast<int>() != 2) throw py::value_error("profiles must be a table: one row per profile");
  const auto m = perf.attr("shape")[py::int_(0)].cast<long long>();
  const auto n = perf.attr("shape")[py::int_(1)].cast<long long>();
  const auto K = prof.attr("shape")[py::int_(0)].cast<long long>() + 1;
  if (n < 1 || n > core::kMaxCriteria)
    throw py::value_error("a problem has 1.." + std::to_string(core::kMaxCriteria) + " criteria, not " + std::to_string(n));
  if (m < 1) throw py::value_error("a problem needs at least one action");
  if (K < 2) throw py::value_error("a problem needs at least one profile (two categories)");
  if (m > 1'000'000 || K > 10'000) throw py::value_error("the problem is too large");

  ScriptProblem sp;
  core::Problem& p = sp.problem;
  core::LayoutTables(p, static_cast<int>(n), static_cast<int>(m), static_cast<int>(K), /*withDefaults=*/true);
  // New's default bounds, written as the file reader writes numbers ("1", not "1.0").
  for (int r = 1; r <= 2; ++r)
    for (int c = 1; c <= p.NumCriteria + 1; ++c) p.BGrid.SetCell(r, c, core::FormatGeneral(CellNumber(p.BGrid, r, c)));
  SetPerformances(p, perf);
  SetProfiles(p, prof);
  if (!thresholds.is_none()) SetThresholds(p, thresholds);
  if (!directions.is_none()) SetDirections(p, directions);
  if (!names.is_none()) SetNames(p, names);
  if (!criteria.is_none()) SetCriteria(p, criteria);
  p.ResetResults();
  return sp;
}

// Cells that both hold numbers are compared as numbers ("1.0" is "1"), all
// others as text.
bool SameCells(const core::Grid& a, const core::Grid& b) {
  if (a.RowCount() != b.RowCount() || a.ColCount() != b.ColCount()) return false;
  for (int r = 0; r < a.RowCount(); ++r)
    for (int c = 0; c < a.ColCount(); ++c) {
      const auto x = core::ParseReal(a.Cell(r, c)), y = core::ParseReal(b.Cell(r, c));
      if (x && y ? *x != *y : a.Cell(r, c) != b.Cell(r, c)) return false;
    }
  return true;
}

// Two problems say the same: tables, counts and threshold switches.
bool SameProblem(const core::Problem& a, const core::Problem& b) {
  return SameCells(a.AGrid, b.AGrid) && SameCells(a.FGrid, b.FGrid) && SameCells(a.BGrid, b.BGrid) &&
         SameCells(a.CGrid, b.CGrid) && a.NumCriteria == b.NumCriteria && a.NumActions == b.NumActions &&
         a.NumCategories == b.NumCategories && a.NumConstraints == b.NumConstraints && a.UsevjDown == b.UsevjDown &&
         a.UseujDown == b.UseujDown;
}

// problem.examples and problem.bounds: live views of the problem's cells.
struct ExamplesView {
  py::object owner;
  ScriptProblem& Problem() const { return owner.cast<ScriptProblem&>(); }
};

struct BoundsView {
  py::object owner;
  ScriptProblem& Problem() const { return owner.cast<ScriptProblem&>(); }
};

// A property that reads the problem with `get` and changes it with `set`
// followed by the edit's bookkeeping.
template <class Get, class Set>
void Table(py::class_<ScriptProblem>& c, const char* name, Get get, Set set, const char* doc) {
  c.def_property(
      name, [get](const ScriptProblem& sp) { return get(sp.problem); },
      [set](ScriptProblem& sp, py::handle value) {
        core::Problem changed = sp.problem;
        set(changed, value);
        sp.problem = std::move(changed);
        sp.Edited();
      },
      doc);
}

}  // namespace

void RegisterProblem(py::module_& m) {
  py::class_<ExamplesView>(m, "Examples",
                           "The assignment examples: examples[action] is (low, high), 1 <= low <= high <= K; an "
                           "action is its 0-based index or its name. (1, K) is no example.")
      .def("__len__", [](const ExamplesView& v) { return v.Problem().problem.NumActions; })
      .def("__getitem__", [](const ExamplesView& v, py::handle action) {
        const core::Problem& p = v.Problem().problem;
        return Example(p, ActionRow(p, action));
      })
      .def("__setitem__", [](const ExamplesView& v, py::handle action, py::handle range) {
        SetExample(v.Problem(), action, range);
      })
      .def("__iter__", [](const ExamplesView& v) {
        const core::Problem& p = v.Problem().problem;
        py::list all;
        for (int a = 1; a <= p.NumActions; ++a) all.append(py::cast(Example(p, a)));
        return py::iter(all);
      })
      .def("clear", [](const ExamplesView& v) {
        ScriptProblem& sp = v.Problem();
        for (int a = 1; a <= sp.problem.NumActions; ++a) {
          sp.problem.AGrid.SetCell(a, 1, "1");
          sp.problem.AGrid.SetCell(a, 2, std::to_string(sp.problem.NumCategories));
        }
        sp.Edited();
      }, "Every action gets (1, K): no example.")
      .def("__repr__", [](const ExamplesView& v) {
        const core::Problem& p = v.Problem().problem;
        std::string text = "{";
        for (int a = 1; a <= p.NumActions; ++a) {
          const auto [low, high] = Example(p, a);
          if (low == 1 && high == p.NumCategories) continue;
          if (text.size() > 1) text += ", ";
          text += "'" + p.AGrid.CellOrEmpty(a, 0) + "': (" + std::to_string(low) + ", " + std::to_string(high) + ")";
        }
        return "<vesk.Examples " + text + "}>";
      });

  py::class_<BoundsView>(m, "Bounds",
                         "The bounds of lambda and the weights: bounds[key] is (lower, upper), 0 <= lower <= upper "
                         "<= 1; a key is 'lambda', 'k1'.. or a criterion's name.")
      .def("__len__", [](const BoundsView& v) { return v.Problem().problem.NumCriteria + 1; })
      .def("__getitem__", [](const BoundsView& v, py::handle key) {
        const core::Problem& p = v.Problem().problem;
        return Bound(p, ParameterIndex(p, key));
      })
      .def("__setitem__", [](const BoundsView& v, py::handle key, py::handle range) { SetBound(v.Problem(), key, range); })
      .def("keys", [](const BoundsView& v) { return ParameterKeys(v.Problem().problem); })
      .def("__iter__", [](const BoundsView& v) { return py::iter(py::cast(ParameterKeys(v.Problem().problem))); })
      .def("items", [](const BoundsView& v) {
        const core::Problem& p = v.Problem().problem;
        const auto keys = ParameterKeys(p);
        py::list items;
        for (int i = 0; i <= p.NumCriteria; ++i) items.append(py::make_tuple(keys[i], Bound(p, i)));
        return items;
      })
      .def("__repr__", [](const BoundsView& v) {
        const core::Problem& p = v.Problem().problem;
        const auto keys = ParameterKeys(p);
        std::string text;
        for (int i = 0; i <= p.NumCriteria; ++i)
          text += (i ? ", '" : "'") + keys[i] + "': (" + p.BGrid.CellOrEmpty(1, 1 + i) + ", " +
                  p.BGrid.CellOrEmpty(2, 1 + i) + ")";
        return "<vesk.Bounds {" + text + "}>";
      });

  py::class_<ScriptProblem> c(m, "Problem",
                              "A sorting problem: actions evaluated on criteria, categories separated by profiles, "
                              "and the imprecise information (bounds, added constraints, assignment examples).");
  c.def_static("read", &Read, "path"_a,
               "Reads a problem file (.tri, version 1 or 2). ProblemError with the reader's message when it does "
               "not read.")
      .def("write", &Write, "path"_a,
           "Writes the problem file (version 2) through a temporary file, as Save Data does; '.tri' is appended "
           "unless the name ends with it. Returns the path written.")
      .def_static("new", &New, "criteria"_a, "actions"_a, "categories"_a,
                  "A new problem with New's default values and New's limits.")
      .def_static("from_arrays", &FromArrays, "performances"_a, "profiles"_a, "thresholds"_a = py::none(),
                  "directions"_a = py::none(), "names"_a = py::none(), "criteria"_a = py::none(),
                  "A problem from Python data: performances (actions x criteria), profiles (K-1 x criteria, b1 "
                  "first), thresholds {'q','p','u','v'} each broadcast to (K-1 x criteria), directions (1 "
                  "maximise, -1 minimise), action names, criterion names. Everything else has New's defaults.")
      .def_property_readonly("n_criteria", [](const ScriptProblem& sp) { return sp.problem.NumCriteria; })
      .def_property_readonly("n_actions", [](const ScriptProblem& sp) { return sp.problem.NumActions; })
      .def_property_readonly("n_categories", [](const ScriptProblem& sp) { return sp.problem.NumCategories; })
      .def_property_readonly("has_results", &ScriptProblem::HasResults,
                             "The last robust assignments belong to the problem as it is now.");

  Table(c, "performances", [](const core::Problem& p) {
    return Matrix(p.NumActions, p.NumCriteria, [&](int a, int j) { return CellNumber(p.AGrid, a + 1, p.PerformanceColumn(j + 1)); });
  }, &SetPerformances, "Performances, actions x criteria (a copy; assign to change).");
  Table(c, "profiles", [](const core::Problem& p) {
    return Matrix(p.NumCategories - 1, p.NumCriteria, [&](int h, int j) { return CellNumber(p.FGrid, p.ProfileRow(h + 1), j + 1); });
  }, &SetProfiles, "Profile performances g(b_h), (K-1) x criteria.");
  Table(c, "thresholds", &Thresholds, &SetThresholds,
        "{'q','p','u','v'}: indifference, preference, discordance and veto thresholds, each (K-1) x criteria; "
        "assigning a dict changes the keys it holds.");
  Table(c, "directions", [](const core::Problem& p) {
    py::array_t<std::int64_t> out(p.NumCriteria);
    auto view = out.mutable_unchecked<1>();
    for (int j = 1; j <= p.NumCriteria; ++j) view(j - 1) = p.FGrid.CellOrEmpty(p.DirectionRow(), j) == "1" ? 1 : -1;
    return out;
  }, &SetDirections, "Per criterion 1 (maximise) or -1 (minimise).");
  Table(c, "names", [](const core::Problem& p) {
    std::vector<std::string> out;
    for (int a = 1; a <= p.NumActions; ++a) out.push_back(p.AGrid.CellOrEmpty(a, 0));
    return out;
  }, &SetNames, "The actions' names.");
  Table(c, "criteria", [](const core::Problem& p) {
    std::vector<std::string> out;
    for (int j = 1; j <= p.NumCriteria; ++j) out.push_back(p.FGrid.CellOrEmpty(0, j));
    return out;
  }, &SetCriteria, "The criteria's names.");

  c.def_property_readonly("examples", [](py::object self) { return ExamplesView{self}; })
      .def_property_readonly("bounds", [](py::object self) { return BoundsView{self}; })
      .def_property_readonly("constraints", [](const ScriptProblem& sp) { return Constraints(sp.problem); },
                             "The added constraints: label, coefficients by parameter, sign and right-hand side.")
      .def("add_constraint", &AddConstraint, "coefficients"_a, "sign"_a, "rhs"_a,
           "Adds a constraint on the parameters, e.g. add_constraint({'k1': 1, 'k2': -1}, '<=', 0); returns its "
           "label. A negative right-hand side is stored as the file stores it (the row turned round).")
      .def("remove_constraint", &RemoveConstraint, "constraint"_a,
           "Deletes an added constraint given by its label or its 0-based index.")
      .def_property("use_veto", [](const ScriptProblem& sp) { return sp.problem.UsevjDown; },
                    [](ScriptProblem& sp, bool on) { core::SetUsevj(sp.problem, on); },
                    "'Use vj': veto thresholds in use (off also turns use_discordance off).")
      .def_property("use_discordance", [](const ScriptProblem& sp) { return sp.problem.UseujDown; },
                    [](ScriptProblem& sp, bool on) {
                      if (on && !sp.problem.UsevjDown) throw py::value_error("use_discordance needs use_veto");
                      core::SetUseuj(sp.problem, on);
                    },
                    "'Use uj': discordance thresholds where u > p (only with use_veto).")
      .def("robust", &Robust, "The robust assignments (RobustResult).")
      .def("solution", &Solution, "action"_a, "category"_a,
           "A parameter vector that assigns the action (0-based index or name) to the category (1 = worst) "
           "inside its range, as a dict.")
      .def("suggest", &Suggest, "max_suggestions"_a = 5,
           "The smallest sets of constraints whose removal makes the information consistent (SuggestResult).")
      .def("volume", [](ScriptProblem& sp, int precision, py::object seed) {
        std::optional<std::uint32_t> start;
        if (!seed.is_none()) {
          const auto value = seed.cast<long long>();
          if (value < 0 || value > 0xFFFFFFFFLL) throw py::value_error("seed must lie in 0..2**32-1");
          start = static_cast<std::uint32_t>(value);
        }
        return Volume(sp, precision, start);
      }, "precision"_a = 3, "seed"_a = py::none(),
           "Monte-Carlo volume of the admissible parameter region; `seed` (0..2**32-1) instead of the clock makes "
           "the run reproducible (VolumeResult).")
      .def("report", [](ScriptProblem& sp, const std::filesystem::path& path) { Report(sp, path.string()); }, "path"_a,
           "Writes the results report (.rpt), computing the robust assignments first when needed.")
      .def("copy", [](const ScriptProblem& sp) { return sp; })
      .def("__copy__", [](const ScriptProblem& sp) { return sp; })
      .def("__deepcopy__", [](const ScriptProblem& sp, py::handle) { return sp; })
      .def("__eq__", [](const ScriptProblem& a, const ScriptProblem& b) { return SameProblem(a.problem, b.problem); })
      .def("__repr__", [](const ScriptProblem& sp) {
        const core::Problem& p = sp.problem;
        return "<vesk.Problem: " + std::to_string(p.NumCriteria) + " criteria, " + std::to_string(p.NumActions) +
               " actions, " + std::to_string(p.NumCategories) + " categories>";
      });
  c.attr("__hash__") = py::none();
}

}  // namespace vesk::python
