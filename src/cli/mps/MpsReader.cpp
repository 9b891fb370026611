#include "cli/mps/MpsReader.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <unordered_map>
#include <unordered_set>

#include "core/problem/Text.h"

namespace vesk::mps {

MpsError::MpsError(std::size_t line, const std::string& problem)
    : std::runtime_error(line ? "line " + std::to_string(line) + ": " + problem : problem),
      line_(line),
      problem_(problem) {}

std::size_t MpsModel::IntegerColumnCount() const {
  std::size_t count = 0;
  for (const auto& c : columns) count += c.integer ? 1 : 0;
  return count;
}

std::size_t MpsModel::NonzeroCount() const {
  std::size_t count = 0;
  for (const auto& c : columns) count += c.entries.size();
  return count;
}

namespace {

// Thrown while reading as fixed format when a data line does not fit the
// fixed fields; the text is then read as free format.
struct NotFixedFormat {
  std::size_t line;
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Fields are separated by blanks (space, tab) only.
std::string_view Trim(std::string_view s) { return core::Trim(s, core::kBlanks); }
std::string_view TrimRight(std::string_view s) { return core::TrimRight(s, core::kBlanks); }

std::vector<std::string_view> Tokens(std::string_view s) {
  std::vector<std::string_view> out;
  std::size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && IsBlank(s[i])) ++i;
    std::size_t start = i;
    while (i < s.size() && !IsBlank(s[i])) ++i;
    if (i > start) out.push_back(s.substr(start, i - start));
  }
  return out;
}

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

// Shortens a name or token for a message, so that a corrupt file cannot make
// the message itself huge.
std::string Quote(std::string_view s) {
  constexpr std::size_t kMax = 40;
  std::string out = "'";
  out += s.substr(0, kMax);
  if (s.size() > kMax) out += "...";
  out += "'";
  return out;
}

// Numbers as MPS writes them: "1.", ".5", "-.301", "+2", "1.5E+03". With
// `allowInfinite`, "inf"/"infinity" (any case, optional sign) are accepted.
std::optional<double> ParseNumber(std::string_view s, bool allowInfinite) {
  if (s.empty()) return std::nullopt;
  bool negative = false;
  if (s.front() == '+' || s.front() == '-') {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  if (s.empty() || s.front() == '+' || s.front() == '-') return std::nullopt;
  std::string lower = Upper(s);
  if (lower == "INF" || lower == "INFINITY") {
    if (!allowInfinite) return std::nullopt;
    return negative ? -kInfinity : kInfinity;
  }
  // Only digits, one point, and an exponent: this keeps out "nan", hex and
  // the words from_chars would otherwise take.
  for (char c : s) {
    if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == 'e' || c == 'E' || c == '+' ||
          c == '-'))
      return std::nullopt;
  }
  double value = 0;
  auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), value, std::chars_format::general);
  if (ec != std::errc() || ptr != s.data() + s.size() || !std::isfinite(value)) return std::nullopt;
  return negative ? -value : value;
}

enum class Section { None, Name, ObjSense, Rows, Columns, Rhs, Ranges, Bounds, End };

// Fixed-format fields of one data line: 2-3, 5-12, 15-22, 25-36, 40-47, 50-61.
// Name fields keep leading blanks and lose trailing ones.
struct FixedFields {
  std::array<std::string_view, 6> f;
};

std::optional<FixedFields> SplitFixed(std::string_view line) {
  static constexpr std::array<std::pair<int, int>, 6> kFields = {
      {{2, 3}, {5, 12}, {15, 22}, {25, 36}, {40, 47}, {50, 61}}};
  for (std::size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (static_cast<unsigned char>(c) < 0x20) return std::nullopt;  // tabs and control characters
    if (c == ' ') continue;
    int col = static_cast<int>(i) + 1;
    bool inField = false;
    for (auto [a, b] : kFields) inField = inField || (col >= a && col <= b);
    if (!inField) return std::nullopt;
  }
  FixedFields out;
  for (std::size_t k = 0; k < kFields.size(); ++k) {
    auto [a, b] = kFields[k];
    std::size_t start = static_cast<std::size_t>(a - 1);
    if (start >= line.size()) continue;
    out.f[k] = TrimRight(line.substr(start, static_cast<std::size_t>(b - a + 1)));
  }
  return out;
}

class Reader {
 public:
  Reader(std::string_view text, MpsFormat format) : text_(text) { model_.format = format; }

  MpsModel Run() {
    std::size_t pos = 0;
    while (pos <= text_.size() && section_ != Section::End) {
      std::size_t eol = text_.find('\n', pos);
      if (eol == std::string_view::npos) eol = text_.size();
      std::string_view line = text_.substr(pos, eol - pos);
      pos = eol + 1;
      ++lineNo_;
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      if (line.empty() || line.front() == '*') continue;
      if (Trim(line).empty()) continue;
      if (!IsBlank(line.front()))
        Header(line);
      else
        Data(line);
    }
    if (section_ != Section::End) Fail(0, "missing ENDATA line");
    if (!seenRows_) Fail(0, "missing ROWS section");
    if (!seenColumns_) Fail(0, "missing COLUMNS section");
    return std::move(model_);
  }

 private:
  [[noreturn]] void Fail(std::size_t line, const std::string& problem) { throw MpsError(line, problem); }
  [[noreturn]] void Fail(const std::string& problem) { Fail(lineNo_, problem); }

  void Header(std::string_view line) {
    auto tokens = Tokens(line);
    std::string key = Upper(tokens[0]);
    static const std::pair<const char*, Section> kSections[] = {
        {"NAME", Section::Name},     {"OBJSENSE", Section::ObjSense}, {"ROWS", Section::Rows},
        {"COLUMNS", Section::Columns}, {"RHS", Section::Rhs},        {"RANGES", Section::Ranges},
        {"BOUNDS", Section::Bounds}, {"ENDATA", Section::End}};
    Section next = Section::None;
    for (auto [word, s] : kSections)
      if (key == word) next = s;
    if (next == Section::None) Fail("unknown section " + Quote(tokens[0]));
    if (next <= section_) Fail("section " + key + " out of order or repeated");
    if (next > Section::Columns && next != Section::End && !seenColumns_) Fail("section " + key + " before COLUMNS");
    if (section_ == Section::ObjSense && !senseRead_) Fail("OBJSENSE section without MIN or MAX");
    section_ = next;
    switch (next) {
      case Section::Name:
        if (tokens.size() > 1) model_.name = std::string(tokens[1]);
        break;
      case Section::ObjSense:
        if (tokens.size() > 1) ReadSense(tokens[1]);
        if (tokens.size() > 2) Fail("unexpected text after OBJSENSE");
        break;
      case Section::Rows:
        seenRows_ = true;
        break;
      case Section::Columns:
        if (!seenRows_) Fail("COLUMNS before ROWS");
        seenColumns_ = true;
        break;
      default:
        if (tokens.size() > 1 && next != Section::End)
          Fail("unexpected text after " + key);
        break;
    }
  }

  void ReadSense(std::string_view word) {
    std::string w = Upper(word);
    if (senseRead_) Fail("OBJSENSE given twice");
    if (w == "MIN" || w == "MINIMIZE" || w == "MINIMISE")
      model_.sense = ObjectiveSense::Minimise;
    else if (w == "MAX" || w == "MAXIMIZE" || w == "MAXIMISE")
      model_.sense = ObjectiveSense::Maximise;
    else
      Fail("OBJSENSE must be MIN or MAX, not " + Quote(word));
    senseRead_ = true;
  }

  // The fixed-format fields of a data line; a line that does not fit them
  // ends the fixed reading.
  FixedFields Fixed(std::string_view line) {
    auto fields = SplitFixed(line);
    if (!fields) throw NotFixedFormat{lineNo_};
    return *fields;
  }

  void Data(std::string_view line) {
    switch (section_) {
      case Section::None:
      case Section::Name:
        Fail("data line before the ROWS section");
      case Section::ObjSense: {
        auto t = Tokens(line);
        if (t.size() != 1) Fail("OBJSENSE line must hold MIN or MAX");
        ReadSense(t[0]);
        return;
      }
      case Section::Rows:
        return RowLine(line);
      case Section::Columns:
        return ColumnLine(line);
      case Section::Rhs:
      case Section::Ranges:
        return RhsOrRangeLine(line);
      case Section::Bounds:
        return BoundLine(line);
      case Section::End:
        return;
    }
  }

  void RowLine(std::string_view line) {
    std::string_view type, name;
    if (model_.format == MpsFormat::Fixed) {
      auto f = Fixed(line).f;
      for (std::size_t k = 2; k < 6; ++k)
        if (!f[k].empty()) Fail("unexpected text after the row name");
      type = Trim(f[0]);
      name = f[1];
    } else {
      auto t = Tokens(line);
      if (t.size() != 2) Fail("a ROWS line must hold a type and a name");
      type = t[0];
      name = t[1];
    }
    if (name.empty()) Fail("missing row name");
    std::string typeText = Upper(type);
    if (typeText.size() != 1 || std::string_view("NELG").find(typeText[0]) == std::string_view::npos)
      Fail("unknown row type " + Quote(type) + " (expected N, E, L or G)");
    std::string key(name);
    if (rowIndex_.count(key)) Fail("row " + Quote(name) + " defined twice");
    char t = typeText[0];
    if (t == 'N') {
      if (!objectiveSeen_) {
        objectiveSeen_ = true;
        model_.objectiveName = key;
        model_.objectivePosition = model_.rows.size();
        rowIndex_.emplace(std::move(key), kObjective);
      } else {
        rowIndex_.emplace(std::move(key), kFreeRow);
      }
      return;
    }
    rowIndex_.emplace(std::move(key), static_cast<int>(model_.rows.size()));
    model_.rows.push_back(MpsRow{std::string(name), t, 0, std::nullopt});
  }

  // Looks up a row named in COLUMNS, RHS or RANGES.
  int Row(std::string_view name) {
    auto it = rowIndex_.find(std::string(name));
    if (it == rowIndex_.end()) Fail("row " + Quote(name) + " is not defined in ROWS");
    return it->second;
  }

  double Number(std::string_view text, const char* what, bool allowInfinite = false) {
    text = Trim(text);
    if (text.empty()) Fail(std::string("missing ") + what);
    auto v = ParseNumber(text, allowInfinite);
    if (!v) Fail("malformed " + std::string(what) + " " + Quote(text));
    return *v;
  }

  bool MarkerLine(std::string_view line) {
    auto t = Tokens(line);
    std::size_t k = 0;
    while (k < t.size() && t[k] != "'MARKER'") ++k;
    if (k == t.size()) return false;
    if (k + 2 != t.size()) Fail("a MARKER line must end with 'INTORG' or 'INTEND'");
    if (t[k + 1] == "'INTORG'") {
      if (inIntegerBlock_) Fail("'INTORG' inside an integer block");
      inIntegerBlock_ = true;
    } else if (t[k + 1] == "'INTEND'") {
      if (!inIntegerBlock_) Fail("'INTEND' without 'INTORG'");
      inIntegerBlock_ = false;
    } else {
      Fail("unknown MARKER keyword " + Quote(t[k + 1]));
    }
    return true;
  }

  // A fixed-format line of the form NAME ROW VALUE [ROW VALUE] (COLUMNS, RHS,
  // RANGES): fills the name and the pairs, returns how many pairs it holds.
  std::size_t FixedPairs(std::string_view line, std::string_view where, std::string_view& name,
                         std::array<std::string_view, 2>& rows, std::array<std::string_view, 2>& values) {
    auto f = Fixed(line).f;
    if (!Trim(f[0]).empty()) Fail("unexpected text in columns 2-3" + std::string(where));
    name = f[1];
    rows = {f[2], f[4]};
    values = {f[3], f[5]};
    if (rows[0].empty()) Fail("missing row name");
    const std::size_t pairs = (rows[1].empty() && Trim(values[1]).empty()) ? 1 : 2;
    if (pairs == 2 && rows[1].empty()) Fail("missing second row name");
    return pairs;
  }

  void ColumnLine(std::string_view line) {
    if (MarkerLine(line)) return;
    std::string_view name;
    std::array<std::string_view, 2> rows{}, values{};
    std::size_t pairs = 0;
    if (model_.format == MpsFormat::Fixed) {
      pairs = FixedPairs(line, " of a COLUMNS line", name, rows, values);
    } else {
      auto t = Tokens(line);
      if (t.size() != 3 && t.size() != 5) Fail("a COLUMNS line must hold a column and one or two row/value pairs");
      name = t[0];
      rows = {t[1], t.size() == 5 ? t[3] : std::string_view()};
      values = {t[2], t.size() == 5 ? t[4] : std::string_view()};
      pairs = t.size() == 5 ? 2 : 1;
    }
    if (name.empty()) Fail("missing column name");
    int j = ColumnFor(name);
    for (std::size_t p = 0; p < pairs; ++p) {
      int i = Row(rows[p]);
      double v = Number(values[p], "coefficient");
      MpsColumn& col = model_.columns[static_cast<std::size_t>(j)];
      if (!entrySeen_.insert(EntryKey(j, i)).second)
        Fail("second entry for row " + Quote(rows[p]) + " in column " + Quote(name));
      if (i == kFreeRow || v == 0) continue;
      if (i == kObjective)
        col.cost = v;
      else
        col.entries.push_back(MpsEntry{i, v});
    }
  }

  int ColumnFor(std::string_view name) {
    if (currentColumn_ >= 0 && model_.columns[static_cast<std::size_t>(currentColumn_)].name == name)
      return currentColumn_;
    std::string key(name);
    auto it = columnIndex_.find(key);
    if (it != columnIndex_.end()) {
      // A column may come back after others; its entries are merged.
      currentColumn_ = it->second;
      return currentColumn_;
    }
    currentColumn_ = static_cast<int>(model_.columns.size());
    columnIndex_.emplace(key, currentColumn_);
    MpsColumn col;
    col.name = std::move(key);
    col.integer = inIntegerBlock_;
    model_.columns.push_back(std::move(col));
    return currentColumn_;
  }

  static std::uint64_t EntryKey(int column, int row) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(column)) << 32) |
           static_cast<std::uint32_t>(row);
  }

  // True when this line belongs to the first named set of its section (RHS,
  // RANGES or BOUNDS); lines of further sets are ignored with one warning.
  bool InFirstSet(std::string_view set, std::optional<std::string>& first, const char* section) {
    if (set.empty()) return true;  // an omitted (or blank) set name means the set in use
    if (!first) {
      first = std::string(set);
      return true;
    }
    if (*first == set) return true;
    if (!warnedSets_.count(section)) {
      warnedSets_.insert(section);
      model_.warnings.push_back("line " + std::to_string(lineNo_) + ": further " + section + " set " +
                                Quote(set) + " ignored (only " + Quote(*first) + " is used)");
    }
    return false;
  }

  void RhsOrRangeLine(std::string_view line) {
    bool isRhs = section_ == Section::Rhs;
    std::string_view set;
    std::array<std::string_view, 2> rows{}, values{};
    std::size_t pairs = 0;
    if (model_.format == MpsFormat::Fixed) {
      pairs = FixedPairs(line, "", set, rows, values);
    } else {
      // An odd number of fields starts with the set name.
      auto t = Tokens(line);
      if (t.size() < 2 || t.size() > 5) Fail("wrong number of fields");
      std::size_t k = 0;
      if (t.size() % 2 == 1) set = t[k++];
      pairs = (t.size() - k) / 2;
      for (std::size_t p = 0; p < pairs; ++p) {
        rows[p] = t[k + 2 * p];
        values[p] = t[k + 2 * p + 1];
      }
    }
    if (!InFirstSet(set, isRhs ? rhsSet_ : rangeSet_, isRhs ? "RHS" : "RANGES")) return;
    for (std::size_t p = 0; p < pairs; ++p) {
      int i = Row(rows[p]);
      double v = Number(values[p], isRhs ? "right-hand side" : "range");
      if (i == kFreeRow) continue;
      if (isRhs) {
        if (!rhsSeen_.insert(i).second) Fail("second right-hand side for row " + Quote(rows[p]));
        if (i == kObjective)
          model_.objectiveRhs = v;
        else
          model_.rows[static_cast<std::size_t>(i)].rhs = v;
      } else {
        if (i == kObjective) Fail("range given for the objective row " + Quote(rows[p]));
        auto& row = model_.rows[static_cast<std::size_t>(i)];
        if (row.range) Fail("second range for row " + Quote(rows[p]));
        row.range = v;
      }
    }
  }

  void BoundLine(std::string_view line) {
    std::string_view type, set, column, valueText;
    if (model_.format == MpsFormat::Fixed) {
      auto f = Fixed(line).f;
      if (!f[4].empty() || !Trim(f[5]).empty()) Fail("unexpected text after the bound value");
      type = Trim(f[0]);
      set = f[1];
      column = f[2];
      valueText = f[3];
    } else {
      auto t = Tokens(line);
      if (t.empty()) return;
      type = t[0];
      bool needsValue = BoundNeedsValue(Upper(type));
      if (needsValue) {
        if (t.size() == 4) {
          set = t[1], column = t[2], valueText = t[3];
        } else if (t.size() == 3) {
          // "UP column value", or "UP set column" with the value missing.
          if (!ParseNumber(t[2], true) && columnIndex_.count(std::string(t[2])))
            set = t[1], column = t[2];
          else
            column = t[1], valueText = t[2];
        } else {
          Fail("wrong number of fields in a BOUNDS line");
        }
      } else if (t.size() == 2) {
        column = t[1];
      } else if (t.size() == 3) {
        // "FR set column" or "FR column value": decided by which is a column.
        if (columnIndex_.count(std::string(t[2])) || !columnIndex_.count(std::string(t[1])))
          set = t[1], column = t[2];
        else
          column = t[1], valueText = t[2];
      } else if (t.size() == 4) {
        set = t[1], column = t[2], valueText = t[3];
      } else {
        Fail("wrong number of fields in a BOUNDS line");
      }
    }
    std::string kind = Upper(type);
    static const char* const kKinds[] = {"UP", "LO", "FX", "FR", "MI", "PL", "BV", "LI", "UI"};
    bool known = false;
    for (const char* k : kKinds) known = known || kind == k;
    if (!known) Fail("unknown bound type " + Quote(type));
    if (column.empty()) Fail("missing column name");
    if (!InFirstSet(set, boundSet_, "BOUNDS")) return;
    auto it = columnIndex_.find(std::string(column));
    if (it == columnIndex_.end()) Fail("bound for column " + Quote(column) + " that is not in COLUMNS");
    MpsColumn& c = model_.columns[static_cast<std::size_t>(it->second)];
    double v = BoundNeedsValue(kind) ? Number(valueText, "bound value", true) : 0;
    if (kind == "UP") {
      if (v < 0 && c.lower == 0) {
        c.lower = -kInfinity;
        model_.warnings.push_back("line " + std::to_string(lineNo_) + ": negative UP bound on column " +
                                  Quote(column) + " sets its lower bound to -infinity");
      }
      c.upper = v;
    } else if (kind == "LO") {
      c.lower = v;
    } else if (kind == "FX") {
      c.lower = c.upper = v;
    } else if (kind == "FR") {
      c.lower = -kInfinity;
      c.upper = kInfinity;
    } else if (kind == "MI") {
      c.lower = -kInfinity;
    } else if (kind == "PL") {
      c.upper = kInfinity;
    } else if (kind == "BV") {
      c.integer = true;
      c.lower = 0;
      c.upper = 1;
    } else if (kind == "LI") {
      c.integer = true;
      c.lower = v;
    } else {  // UI
      c.integer = true;
      c.upper = v;
    }
    if (c.integer && ((kind == "LI" || kind == "UI") && std::isfinite(v) && v != std::floor(v)))
      model_.warnings.push_back("line " + std::to_string(lineNo_) + ": fractional " + kind +
                                " bound on integer column " + Quote(column));
  }

  static bool BoundNeedsValue(const std::string& kind) {
    return kind == "UP" || kind == "LO" || kind == "FX" || kind == "LI" || kind == "UI";
  }

  static constexpr int kObjective = -1;
  static constexpr int kFreeRow = -2;

  std::string_view text_;
  MpsModel model_;
  std::size_t lineNo_ = 0;
  Section section_ = Section::None;
  bool seenRows_ = false, seenColumns_ = false, senseRead_ = false, objectiveSeen_ = false;
  bool inIntegerBlock_ = false;
  int currentColumn_ = -1;
  std::unordered_map<std::string, int> rowIndex_, columnIndex_;
  std::unordered_set<std::uint64_t> entrySeen_;
  std::unordered_set<int> rhsSeen_;
  std::optional<std::string> rhsSet_, rangeSet_, boundSet_;
  std::unordered_set<std::string> warnedSets_;
};

}  // namespace

MpsModel ReadMps(std::string_view text) {
  // Fixed format first: names may hold blanks there, so a file whose lines
  // all fit the fixed fields must be read that way. A line that does not fit
  // (a long name, a tab, text between the fields) means free format. When
  // both readings fail, the one that got further reports its error: a fixed
  // file with one misplaced field is told about that line, not about the
  // first name with a blank.
  std::optional<MpsError> fixedError;
  try {
    return Reader(text, MpsFormat::Fixed).Run();
  } catch (const NotFixedFormat& e) {
    fixedError = MpsError(e.line, "text outside the fixed MPS fields (columns 2-3, 5-12, 15-22, 25-36, 40-47, 50-61)");
  } catch (const MpsError& e) {
    fixedError = e;
  }
  try {
    return Reader(text, MpsFormat::Free).Run();
  } catch (const MpsError& e) {
    // An error not tied to a line (a missing section) comes after every line.
    auto reach = [](const MpsError& x) { return x.line() == 0 ? SIZE_MAX : x.line(); };
    if (fixedError && reach(*fixedError) >= reach(e)) throw *fixedError;
    throw;
  }
}

MpsModel ReadMpsFile(const std::filesystem::path& path) {
  // The size is capped so that a device or a pipe without end cannot take
  // all memory; the engine's capacity is far below what such a file holds.
  constexpr std::size_t kMaxBytes = std::size_t{1} << 28;
  std::ifstream in(path, std::ios::binary);
  if (!in) throw MpsError(0, "cannot open the file");
  std::string text;
  std::vector<char> chunk(1 << 16);
  while (in) {
    in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    text.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
    if (text.size() > kMaxBytes) throw MpsError(0, "the file is larger than 256 MiB");
  }
  if (in.bad()) throw MpsError(0, "cannot read the file");
  return ReadMps(text);
}

}  // namespace vesk::mps
