#include "paint/ResultsStream.h"

#include <charconv>
#include <concepts>
#include <optional>
#include <set>
#include <vector>

namespace vesk::paint {
namespace {

// Every field of the problem and of the results, in declaration order, for
// writing and reading alike. A field added to either struct belongs here too
// (the stream's test reads back the results of the example problems and
// compares them whole).
template <class P, class S, class Visit>
void Fields(P& p, S& s, Visit& v) {
  v(p.AGrid); v(p.FGrid); v(p.BGrid); v(p.CGrid);
  v(p.NumCriteria); v(p.NumActions); v(p.NumCategories); v(p.NumConstraints);
  v(p.DataModified); v(p.ResultsAvailable); v(p.TablesShown); v(p.UsevjDown); v(p.UseujDown);
  v(p.Caption); v(p.SaveFileName); v(p.OpenFileName); v(p.ResultsGeneration);

  v(s.ICGrid); v(s.IPGrid); v(s.IGrid); v(s.NumExampleConstraints);
  v(s.RGrid); v(s.ORGrid); v(s.DGrid);
  v(s.InferredParams); v(s.InconsistencyMeasure); v(s.Consistent); v(s.KeepParameters); v(s.ViolatedRows);
  v(s.InferredCategory); v(s.WorstCategory); v(s.BestCategory); v(s.VariabilityOrder);
  v(s.SelectedParams); v(s.SelectedAlpha); v(s.ParameterSpaceSolves);
  v(s.IndexText); v(s.VariationText);
  v(s.InconsistencyEnabled); v(s.VariabilityOrderEnabled); v(s.ShowVariabilityOrder); v(s.OutputShown);
  v(s.InferredConstraintsTabShown); v(s.IndicesTabShown);
  v(s.Generation);
}

class Writer {
 public:
  explicit Writer(std::string& out) : out_(out) {}

  void operator()(std::string_view bytes) {
    out_ += std::to_string(bytes.size());
    out_ += ':';
    out_ += bytes;
    out_ += ',';
  }
  void operator()(bool flag) { (*this)(std::string_view(flag ? "1" : "0")); }
  template <std::integral T>
  void operator()(T value) {
    (*this)(std::string_view(std::to_string(value)));
  }
  void operator()(double value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    (*this)(std::string_view(text, static_cast<std::size_t>(end - text)));
  }
  void operator()(const std::string& text) { (*this)(std::string_view(text)); }
  template <class T>
  void operator()(const std::vector<T>& values) {
    Elements(values);
  }
  void operator()(const std::set<int>& values) { Elements(values); }
  void operator()(const core::Grid& grid) {
    (*this)(grid.RowCount());
    (*this)(grid.ColCount());
    for (int r = 0; r < grid.RowCount(); ++r)
      for (int c = 0; c < grid.ColCount(); ++c) (*this)(grid.Cell(r, c));
  }

 private:
  template <class Container>
  void Elements(const Container& values) {
    (*this)(values.size());
    for (const auto& value : values) (*this)(value);
  }

  std::string& out_;
};

class Reader {
 public:
  explicit Reader(std::string_view in) : in_(in) {}

  // True when every value read well and nothing is left over.
  bool Finished() const { return ok_ && in_.empty(); }

  void operator()(std::string& text) {
    if (const auto bytes = Next()) text.assign(*bytes);
  }
  void operator()(bool& flag) {
    const auto bytes = Next();
    if (bytes && (*bytes == "0" || *bytes == "1")) flag = *bytes == "1";
    else ok_ = false;
  }
  template <std::integral T>
  void operator()(T& value) {
    const auto bytes = Next();
    if (!bytes || !Whole(*bytes, std::from_chars(bytes->data(), bytes->data() + bytes->size(), value))) ok_ = false;
  }
  void operator()(double& value) {
    const auto bytes = Next();
    if (!bytes || !Whole(*bytes, std::from_chars(bytes->data(), bytes->data() + bytes->size(), value))) ok_ = false;
  }
  template <class T>
  void operator()(std::vector<T>& values) {
    values.assign(Count(), T{});
    for (T& value : values) (*this)(value);
  }
  void operator()(std::set<int>& values) {
    values.clear();
    for (std::size_t k = Count(); k > 0 && ok_; --k) {
      int value = 0;
      (*this)(value);
      values.insert(value);
    }
  }
  void operator()(core::Grid& grid) {
    int rows = 0, columns = 0;
    (*this)(rows);
    (*this)(columns);
    // Every cell takes at least "0:,".
    if (!ok_ || rows < 0 || columns < 0 ||
        static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns) > in_.size() / 3) {
      ok_ = false;
      return;
    }
    grid = core::Grid(rows, columns);
    std::string cell;
    for (int r = 0; r < rows && ok_; ++r)
      for (int c = 0; c < columns && ok_; ++c) {
        (*this)(cell);
        grid.SetCell(r, c, std::move(cell));
      }
  }

 private:
  static bool Whole(std::string_view bytes, std::from_chars_result result) {
    return result.ec == std::errc() && result.ptr == bytes.data() + bytes.size();
  }

  // The bytes of the next netstring.
  std::optional<std::string_view> Next() {
    std::size_t length = 0;
    const std::size_t colon = in_.find(':');
    if (!ok_ || colon == std::string_view::npos || colon == 0 ||
        !Whole(in_.substr(0, colon), std::from_chars(in_.data(), in_.data() + colon, length)) ||
        length > in_.size() - colon - 1 || in_.size() - colon - 1 - length < 1 || in_[colon + 1 + length] != ',') {
      ok_ = false;
      return std::nullopt;
    }
    const std::string_view bytes = in_.substr(colon + 1, length);
    in_.remove_prefix(colon + 2 + length);
    return bytes;
  }

  // An element count; every element takes at least "0:,".
  std::size_t Count() {
    std::size_t count = 0;
    (*this)(count);
    if (!ok_ || count > in_.size() / 3) {
      ok_ = false;
      return 0;
    }
    return count;
  }

  std::string_view in_;
  bool ok_ = true;
};

}  // namespace

std::string WriteResultsStream(const core::Problem& problem, const core::SortingState& state) {
  std::string out(kResultsStreamHeader);
  Writer writer(out);
  Fields(problem, state, writer);
  return out;
}

bool ReadResultsStream(std::string_view stream, core::Problem& problem, core::SortingState& state) {
  if (!stream.starts_with(kResultsStreamHeader)) return false;
  stream.remove_prefix(kResultsStreamHeader.size());
  Reader reader(stream);
  Fields(problem, state, reader);
  return reader.Finished() && ResultsFit(problem, state);
}

bool ResultsFit(const core::Problem& problem, const core::SortingState& state) {
  const int m = problem.NumActions, K = problem.NumCategories;
  const auto perAction = [m](const std::vector<int>& values) { return values.size() == static_cast<std::size_t>(m); };
  const auto ranges = [m, K](const core::Grid& grid) { return grid.RowCount() - 1 == m && grid.ColCount() - 1 == K; };
  return m >= 0 && K >= 0 && perAction(state.InferredCategory) && perAction(state.WorstCategory) &&
         perAction(state.BestCategory) && perAction(state.VariabilityOrder) && ranges(state.RGrid) &&
         (!state.ShowVariabilityOrder || ranges(state.ORGrid));
}

}  // namespace vesk::paint
