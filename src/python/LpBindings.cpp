// vesk.lp: the engine on MPS files and on models stated from Python.
#include <pybind11/numpy.h>
#include <pybind11/stl.h>
#include <pybind11/stl/filesystem.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <map>

#include "Computation.h"
#include "cli/mps/MpsReader.h"
#include "cli/mps/MpsToEngine.h"
#include "core/problem/Numbers.h"
#include "engine/EngineFatalError.h"

namespace vesk::python {
namespace {

using namespace pybind11::literals;

PyObject* g_lpError = nullptr;

// A file that does not read, a model the engine cannot hold, or an engine
// failure: raised as vesk.lp.LpError.
struct LpFailure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct LpResult {
  mps::SolveResult result;
  std::vector<std::string> columns;
  std::vector<std::string> engineMessages;
};

mps::SolveOptions Options(py::object maximize, const py::dict& params, bool scale) {
  mps::SolveOptions options;
  if (!maximize.is_none()) options.maximise = maximize.cast<bool>();
  options.scale = scale;
  for (auto item : params) options.parameters.emplace_back(py::str(item.first), py::str(item.second));
  return options;
}

// Solves with the interpreter lock released; a model read from `path` when it
// is given, else `model`.
LpResult Solve(const mps::MpsModel* model, const std::string& path, const mps::SolveOptions& options) {
  CancelCheck cancel;
  ScriptDialogs dialogs(cancel);
  LpResult solved = RunReleased(cancel, dialogs, [&](ScriptDialogs&, ScriptEngineHost& host) {
    mps::MpsModel read;
    if (!model) {
      try {
        read = mps::ReadMpsFile(path);
      } catch (const mps::MpsError& e) {
        throw LpFailure(path + ": " + e.what());
      }
      model = &read;
    }
    LpResult out;
    try {
      out.result = mps::SolveMps(*model, options, host);
    } catch (const mps::ModelRefused& e) {
      throw LpFailure(e.what());
    } catch (const engine::EngineFatalError& e) {
      throw LpFailure(std::string("the engine stopped: ") + e.what());
    }
    for (const auto& c : model->columns) out.columns.push_back(c.name);
    return out;
  });
  solved.engineMessages = dialogs.engineMessages;
  return solved;
}

py::dict LpDict(const LpResult& r) {
  const mps::SolveResult& s = r.result;
  py::dict d;
  d["status"] = s.status;
  d["objective"] = s.hasObjective ? py::cast(s.objective) : py::none();
  d["iterations"] = s.iterations;
  d["seconds"] = s.seconds;
  if (s.integer) {
    d["nodes"] = s.nodes;
    d["proven"] = s.proven;
  }
  if (!s.hasObjective) {
    d["columns"] = py::none();
  } else {
    py::dict columns;
    for (std::size_t j = 0; j < r.columns.size(); ++j) columns[py::str(r.columns[j])] = s.values[j];
    d["columns"] = columns;
  }
  return d;
}

// A model stated from Python.
struct Model {
  mps::MpsModel model;
  std::map<std::string, int> columnIndex;

  int Column(py::handle key) const {
    if (py::isinstance<py::str>(key)) {
      const auto found = columnIndex.find(key.cast<std::string>());
      if (found == columnIndex.end()) throw py::key_error("no column named '" + key.cast<std::string>() + "'");
      return found->second;
    }
    if (!PyIndex_Check(key.ptr())) throw py::type_error("a column is given by its index or its name");
    const auto j = key.cast<long long>();
    if (j < 0 || j >= static_cast<long long>(model.columns.size()))
      throw py::index_error("column index " + std::to_string(j) + " out of range");
    return static_cast<int>(j);
  }

  int AddColumn(py::object name, double cost, double lower, double upper, bool integer) {
    if (!std::isfinite(cost)) throw py::value_error("the cost must be a finite number");
    if (std::isnan(lower) || std::isnan(upper) || lower > upper || lower == mps::kInfinity || upper == -mps::kInfinity)
      throw py::value_error("the bounds need lower <= upper, lower < inf, upper > -inf");
    mps::MpsColumn c;
    c.name = name.is_none() ? "C" + std::to_string(model.columns.size()) : name.cast<std::string>();
    if (columnIndex.count(c.name)) throw py::value_error("a column is already named '" + c.name + "'");
    c.cost = cost;
    c.lower = lower;
    c.upper = upper;
    c.integer = integer;
    const int j = static_cast<int>(model.columns.size());
    columnIndex[c.name] = j;
    model.columns.push_back(std::move(c));
    return j;
  }

  int AddRow(py::handle coefficients, const std::string& sense, double rhs, py::object name) {
    mps::MpsRow row;
    if (sense == "<=" || sense == "L") row.type = 'L';
    else if (sense == ">=" || sense == "G") row.type = 'G';
    else if (sense == "=" || sense == "==" || sense == "E") row.type = 'E';
    else throw py::value_error("the sense is '<=', '>=' or '=', not '" + sense + "'");
    if (!std::isfinite(rhs)) throw py::value_error("the right-hand side must be a finite number");
    const int i = static_cast<int>(model.rows.size());
    row.name = name.is_none() ? "R" + std::to_string(i) : name.cast<std::string>();
    row.rhs = rhs;
    // {column: value} or pairs (column, value); every check before any change.
    py::object items = py::isinstance<py::dict>(coefficients) ? coefficients.attr("items")() : py::reinterpret_borrow<py::object>(coefficients);
    std::map<int, double> entries;
    for (auto item : items) {
      const auto pair = item.cast<py::sequence>();
      if (pair.size() != 2) throw py::value_error("a row's entries are (column, value) pairs");
      const int j = Column(pair[0]);
      const double value = pair[1].cast<double>();
      if (!std::isfinite(value)) throw py::value_error("coefficients must be finite numbers");
      if (!entries.emplace(j, value).second) throw py::value_error("a column appears twice in the row");
    }
    for (const auto& [j, value] : entries)
      if (value != 0) model.columns[static_cast<std::size_t>(j)].entries.push_back({i, value});
    model.rows.push_back(std::move(row));
    return i;
  }
};

}  // namespace

void RegisterLp(py::module_& m) {
  py::module_ lp = m.def_submodule("lp", "Vesk's LP/MIP engine: MPS files and small models stated from Python.");
  g_lpError = PyErr_NewExceptionWithDoc("vesk.lp.LpError",
                                        "An MPS file that does not read, a model the engine cannot hold, or an "
                                        "engine failure.",
                                        PyExc_Exception, nullptr);
  lp.add_object("LpError", py::handle(g_lpError));
  py::register_exception_translator([](std::exception_ptr p) {
    try {
      if (p) std::rethrow_exception(p);
    } catch (const LpFailure& e) {
      PyErr_SetString(g_lpError, e.what());
    } catch (const mps::ParameterError& e) {
      PyErr_SetString(PyExc_ValueError, e.what());
    }
  });
  // `from vesk.lp import Model` and `import vesk.lp` find the submodule.
  py::module_::import("sys").attr("modules")["vesk.lp"] = lp;

  py::class_<LpResult>(lp, "Result", "The engine's outcome of one solve.")
      .def_property_readonly("status", [](const LpResult& r) { return r.result.status; }, "The engine's status text.")
      .def_property_readonly("objective", [](const LpResult& r) -> py::object {
        return r.result.hasObjective ? py::cast(r.result.objective) : py::none();
      }, "The objective in the model's sense (constant included), or None without a point.")
      .def_property_readonly("values", [](const LpResult& r) -> py::object {
        if (!r.result.hasObjective) return py::none();
        return py::array_t<double>(static_cast<py::ssize_t>(r.result.values.size()), r.result.values.data());
      }, "Column values in column order, or None without a point.")
      .def_readonly("columns", &LpResult::columns, "Column names, in the order of `values`.")
      .def_property_readonly("iterations", [](const LpResult& r) { return r.result.iterations; })
      .def_property_readonly("nodes", [](const LpResult& r) { return r.result.nodes; })
      .def_property_readonly("proven", [](const LpResult& r) { return r.result.proven; },
                             "Optimality proven (no limit stopped the run).")
      .def_property_readonly("finished", [](const LpResult& r) { return r.result.finished; },
                             "A verdict (optimal, infeasible, unbounded), not a run stopped by a limit.")
      .def_property_readonly("integer", [](const LpResult& r) { return r.result.integer; })
      .def_property_readonly("seconds", [](const LpResult& r) { return r.result.seconds; })
      .def_property_readonly("warnings", [](const LpResult& r) { return r.result.warnings; })
      .def_readonly("engine_messages", &LpResult::engineMessages)
      .def("to_dict", &LpDict, "The keys and values of `vesk-cli lp --json --solution`.")
      .def("__repr__", [](const LpResult& r) {
        return "<vesk.lp.Result " + r.result.status +
               (r.result.hasObjective ? ", objective " + core::FormatGeneral(r.result.objective) : "") + ">";
      });

  lp.def("solve_mps", [](const std::filesystem::path& path, py::object maximize, const py::dict& params, bool scale) {
    return Solve(nullptr, path.string(), Options(std::move(maximize), params, scale));
  }, "path"_a, "maximize"_a = py::none(), "params"_a = py::dict(), "scale"_a = false,
     "Solves an MPS file (fixed or free format): minimising unless `maximize` or the file's OBJSENSE says "
     "otherwise; `params` are engine parameters {NAME: VALUE}; `scale` scales rows and columns first.");

  py::class_<Model>(lp, "Model", "A linear or mixed-integer model: columns with costs, bounds and types, rows with "
                                 "a sense and a right-hand side.")
      .def(py::init([](const std::string& name, bool maximize) {
        Model model;
        model.model.name = name;
        model.model.objectiveName = "OBJ";
        model.model.sense = maximize ? mps::ObjectiveSense::Maximise : mps::ObjectiveSense::Minimise;
        return model;
      }), "name"_a = "MODEL", "maximize"_a = false)
      .def("add_column", &Model::AddColumn, "name"_a = py::none(), "cost"_a = 0.0, "lower"_a = 0.0,
           "upper"_a = std::numeric_limits<double>::infinity(), "integer"_a = false,
           "Adds a column and returns its index; -inf/inf for no bound.")
      .def("add_row", &Model::AddRow, "coefficients"_a, "sense"_a, "rhs"_a, "name"_a = py::none(),
           "Adds a row {column: value} (columns by index or name) with sense '<=', '>=' or '=' and returns its "
           "index.")
      .def_property("maximize", [](const Model& m) { return m.model.sense == mps::ObjectiveSense::Maximise; },
                    [](Model& m, bool on) { m.model.sense = on ? mps::ObjectiveSense::Maximise : mps::ObjectiveSense::Minimise; })
      .def_property_readonly("n_columns", [](const Model& m) { return m.model.columns.size(); })
      .def_property_readonly("n_rows", [](const Model& m) { return m.model.rows.size(); })
      .def("solve", [](const Model& m, const py::dict& params, bool scale) {
        return Solve(&m.model, {}, Options(py::none(), params, scale));
      }, "params"_a = py::dict(), "scale"_a = false, "Solves the model with the engine (lp.Result).");
}

}  // namespace vesk::python
