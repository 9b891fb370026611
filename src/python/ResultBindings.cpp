// The result classes of the module: RobustResult, Suggestion, SuggestResult
// and VolumeResult, with their dictionaries (the keys of the command line's
// JSON) and the robust results as a pandas DataFrame.
#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <cstdint>

#include "Results.h"

namespace vesk::python {
namespace {

namespace py = pybind11;

template <class T>
py::array_t<T> Array(const std::vector<int>& values) {
  py::array_t<T> out(static_cast<py::ssize_t>(values.size()));
  auto view = out.template mutable_unchecked<1>();
  for (std::size_t i = 0; i < values.size(); ++i) view(static_cast<py::ssize_t>(i)) = static_cast<T>(values[i]);
  return out;
}

py::object Categories(const std::optional<std::vector<int>>& values) {
  if (!values) return py::none();
  return Array<std::int64_t>(*values);
}

template <class T>
py::object OrNone(const std::optional<T>& value) {
  return value ? py::cast(*value) : py::none();
}

py::dict RobustDict(const RobustResult& r) {
  const core::RobustSummary& s = r.summary;
  py::dict d;
  d["consistent"] = s.consistent;
  d["alpha"] = s.alpha;
  d["inferred_params"] = py::cast(s.inferredParams);
  d["inferred_category"] = py::cast(s.inferredCategory);
  d["worst"] = OrNone(s.worst);
  d["best"] = OrNone(s.best);
  d["holes"] = OrNone(s.holes);
  d["variability_order"] = OrNone(s.variabilityOrder);
  d["index"] = OrNone(s.index);
  d["violated_rows"] = py::cast(s.violatedRows);
  d["messages"] = MessageList(r.messages);
  return d;
}

py::object RobustDataFrame(const RobustResult& r) {
  py::module_ pandas;
  try {
    pandas = py::module_::import("pandas");
  } catch (const py::error_already_set& e) {
    if (!e.matches(PyExc_ImportError)) throw;
    throw py::import_error("to_dataframe needs pandas (Debian package python3-pandas)");
  }
  const core::RobustSummary& s = r.summary;
  py::dict columns;
  columns["worst"] = s.worst ? py::object(Array<std::int64_t>(*s.worst)) : py::object(py::none());
  columns["inferred"] = Array<std::int64_t>(s.inferredCategory);
  columns["best"] = s.best ? py::object(Array<std::int64_t>(*s.best)) : py::object(py::none());
  columns["holes"] = OrNone(s.holes);
  py::object index = pandas.attr("Index")(py::cast(r.actions), py::arg("name") = "action");
  return pandas.attr("DataFrame")(columns, py::arg("index") = index);
}

py::dict SuggestionDict(const SuggestionItem& s) {
  py::dict d;
  d["count"] = s.count;
  d["constraints"] = py::cast(s.constraints);
  d["descriptions"] = py::cast(s.descriptions);
  return d;
}

py::dict SuggestDict(const SuggestResult& r) {
  py::list suggestions;
  for (const auto& s : r.items) suggestions.append(SuggestionDict(s));
  py::dict d;
  d["suggestions"] = suggestions;
  d["no_need"] = r.end == "no_need";
  d["messages"] = MessageList(r.messages);
  return d;
}

py::dict VolumeDict(const VolumeOutcome& v) {
  const core::VolumeResult& r = v.result;
  py::dict d;
  d["dimension"] = r.dimension;
  d["absolute"] = r.absolute;
  d["relative"] = OrNone(r.relative);
  d["samples"] = r.samples;
  d["hits"] = r.hits;
  d["inside_bounds"] = r.insideBounds;
  d["stderr"] = v.stderr_;
  d["messages"] = MessageList(v.messages);
  return d;
}

}  // namespace

py::dict ParameterDict(const std::vector<std::string>& keys, const std::vector<double>& values) {
  py::dict d;
  for (std::size_t i = 0; i < keys.size() && i < values.size(); ++i) d[py::str(keys[i])] = values[i];
  return d;
}

void RegisterResults(py::module_& m) {
  py::class_<RobustResult>(m, "RobustResult",
                           "The robust assignments of a problem: per action (input order) the worst, inferred and "
                           "best category (1 = worst), the holes, the variability order (0-based actions, widest "
                           "range first) and the robustness index; or, when the information is inconsistent, the "
                           "inferred categories and the violated rows of the inference program.")
      .def_property_readonly("consistent", [](const RobustResult& r) { return r.summary.consistent; })
      .def_property_readonly("alpha", [](const RobustResult& r) { return r.summary.alpha; },
                             "The optimal alpha of the inference program.")
      .def_property_readonly("inferred", [](const RobustResult& r) { return Array<std::int64_t>(r.summary.inferredCategory); },
                             "Category of each action under the inferred vector.")
      .def_property_readonly("worst", [](const RobustResult& r) { return Categories(r.summary.worst); },
                             "Lowest reachable category per action; None when inconsistent.")
      .def_property_readonly("best", [](const RobustResult& r) { return Categories(r.summary.best); },
                             "Highest reachable category per action; None when inconsistent.")
      .def_property_readonly("holes", [](const RobustResult& r) { return OrNone(r.summary.holes); },
                             "Per action the unreachable categories inside its range; None when inconsistent.")
      .def_property_readonly("variability_order", [](const RobustResult& r) { return Categories(r.summary.variabilityOrder); })
      .def_property_readonly("index", [](const RobustResult& r) { return OrNone(r.summary.index); },
                             "Geometric mean of the range widths; None when inconsistent.")
      .def_property_readonly("parameters", [](const RobustResult& r) { return ParameterDict(r.parameterKeys, r.summary.inferredParams); },
                             "The inferred vector: lambda and each weight by its criterion's name.")
      .def_property_readonly("inferred_params", [](const RobustResult& r) {
        return py::array_t<double>(static_cast<py::ssize_t>(r.summary.inferredParams.size()), r.summary.inferredParams.data());
      }, "The inferred vector as an array: lambda, k1..kn.")
      .def_property_readonly("violated_rows", [](const RobustResult& r) { return r.summary.violatedRows; },
                             "1-based rows of the inference program whose error is positive.")
      .def_property_readonly("actions", [](const RobustResult& r) { return r.actions; })
      .def_property_readonly("messages", [](const RobustResult& r) { return MessageList(r.messages); })
      .def("to_dict", &RobustDict, "The keys and values of `vesk-cli robust --json`.")
      .def("to_dataframe", &RobustDataFrame,
           "A pandas DataFrame indexed by action name: worst, inferred, best, holes (needs pandas).")
      .def("__repr__", [](const RobustResult& r) {
        std::string text = "<vesk.RobustResult: " + std::string(r.summary.consistent ? "consistent" : "inconsistent") +
                           ", " + std::to_string(r.actions.size()) + " actions";
        if (r.summary.index) text += ", index " + core::FormatSignificant(*r.summary.index, 4);
        return text + ">";
      });

  py::class_<SuggestionItem>(m, "Suggestion", "One set of constraints whose removal makes the information consistent.")
      .def_readonly("number", &SuggestionItem::number)
      .def_readonly("count", &SuggestionItem::count, "Constraints to drop (0: none needs dropping).")
      .def_readonly("constraints", &SuggestionItem::constraints, "Their 1-based rows in the constraint list.")
      .def_readonly("descriptions", &SuggestionItem::descriptions, "What each of them says, as the window tells it.")
      .def("to_dict", &SuggestionDict)
      .def("__repr__", [](const SuggestionItem& s) {
        std::string text = "<vesk.Suggestion " + std::to_string(s.number) + ": ";
        if (s.descriptions.empty()) text += "nothing to drop";
        for (std::size_t i = 0; i < s.descriptions.size(); ++i) text += (i ? " + " : "") + s.descriptions[i];
        return text + ">";
      });

  py::class_<SuggestResult>(m, "SuggestResult",
                            "The suggestions of one run, smallest sets first; a sequence of Suggestion.")
      .def("__len__", [](const SuggestResult& r) { return r.items.size(); })
      .def("__getitem__", [](const SuggestResult& r, py::ssize_t i) {
        const auto size = static_cast<py::ssize_t>(r.items.size());
        if (i < 0) i += size;
        if (i < 0 || i >= size) throw py::index_error("suggestion index out of range");
        return r.items[static_cast<std::size_t>(i)];
      })
      .def("__iter__", [](const SuggestResult& r) { return py::iter(py::cast(r.items)); })
      .def_readonly("end", &SuggestResult::end, "How the run ended: 'no_need', 'no_more_alternatives' or 'max'.")
      .def_property_readonly("no_need", [](const SuggestResult& r) { return r.end == "no_need"; })
      .def_property_readonly("new_solution", [](const SuggestResult& r) -> py::object {
        if (!r.newSolution) return py::none();
        return ParameterDict(r.parameterKeys, *r.newSolution);
      }, "The vector found when nothing needs dropping, else None.")
      .def_property_readonly("messages", [](const SuggestResult& r) { return MessageList(r.messages); })
      .def("to_dict", &SuggestDict, "The keys and values of `vesk-cli suggest --json`.")
      .def("__repr__", [](const SuggestResult& r) {
        return "<vesk.SuggestResult: " + std::to_string(r.items.size()) + " suggestions, " + r.end + ">";
      });

  py::class_<VolumeOutcome>(m, "VolumeResult", "A Monte-Carlo estimate of the admissible parameter region's volume.")
      .def_property_readonly("dimension", [](const VolumeOutcome& v) { return v.result.dimension; })
      .def_property_readonly("absolute", [](const VolumeOutcome& v) { return v.result.absolute; })
      .def_property_readonly("relative", [](const VolumeOutcome& v) { return OrNone(v.result.relative); },
                             "Volume relative to the region of the bounds alone; None when no sample met the bounds.")
      .def_property_readonly("samples", [](const VolumeOutcome& v) { return v.result.samples; })
      .def_property_readonly("hits", [](const VolumeOutcome& v) { return v.result.hits; })
      .def_property_readonly("inside_bounds", [](const VolumeOutcome& v) { return v.result.insideBounds; })
      .def_property_readonly("box", [](const VolumeOutcome& v) { return v.result.box; })
      .def_readonly("stderr", &VolumeOutcome::stderr_,
                    "Standard error of the absolute volume: box * sqrt(p (1 - p) / samples), p = hits / samples.")
      .def_property_readonly("messages", [](const VolumeOutcome& v) { return MessageList(v.messages); })
      .def("to_dict", &VolumeDict, "The keys and values of `vesk-cli volume --json`.")
      .def("__repr__", [](const VolumeOutcome& v) {
        return "<vesk.VolumeResult: " + core::FormatSignificant(v.result.absolute, 4) + " +- " +
               core::FormatSignificant(v.stderr_, 2) + " (" + std::to_string(v.result.samples) + " samples)>";
      });
}

}  // namespace vesk::python
