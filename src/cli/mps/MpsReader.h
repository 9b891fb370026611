#pragma once
// Reading MPS files (fixed and free format) into a plain model record.
//
// The record keeps what the file says, in the file's own sense and order:
// constraint rows (the first N row is the objective; further N rows are free
// rows and are dropped with their entries), columns in the order of their first
// appearance with their entries, right-hand sides, ranges, bounds and integer
// flags. Nothing is converted for a particular solver here.
#include <cstddef>
#include <filesystem>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vesk::mps {

inline constexpr double kInfinity = std::numeric_limits<double>::infinity();

// A malformed file: `line` is the 1-based line number (0 when the problem is
// not tied to one line, e.g. a missing section); what() reads
// "line N: problem".
class MpsError : public std::runtime_error {
 public:
  MpsError(std::size_t line, const std::string& problem);
  std::size_t line() const { return line_; }
  const std::string& problem() const { return problem_; }

 private:
  std::size_t line_;
  std::string problem_;
};

struct MpsRow {
  std::string name;
  char type = 'E';                // 'E', 'L' or 'G'
  double rhs = 0;
  std::optional<double> range;    // the RANGES value R as written (sign kept)
};

struct MpsEntry {
  int row;       // index into MpsModel::rows
  double value;
};

struct MpsColumn {
  std::string name;
  std::vector<MpsEntry> entries;  // constraint rows only, in file order
  double cost = 0;                // coefficient in the objective row
  double lower = 0;               // -kInfinity for none
  double upper = kInfinity;       // +kInfinity for none
  bool integer = false;
};

enum class MpsFormat { Fixed, Free };
enum class ObjectiveSense { Unspecified, Minimise, Maximise };

struct MpsModel {
  std::string name;
  MpsFormat format = MpsFormat::Fixed;
  ObjectiveSense sense = ObjectiveSense::Unspecified;  // from an OBJSENSE section
  std::string objectiveName;    // empty when the file has no N row
  // Number of constraint rows listed before the objective row in ROWS.
  std::size_t objectivePosition = 0;
  // The RHS value v given for the objective row: objective = c'x - v.
  double objectiveRhs = 0;
  std::vector<MpsRow> rows;
  std::vector<MpsColumn> columns;
  // Things the reader accepted but that a person may want to know about
  // (ignored further RHS/RANGES/BOUNDS sets, negative UP bounds, ...).
  std::vector<std::string> warnings;

  double ObjectiveConstant() const { return -objectiveRhs; }
  std::size_t IntegerColumnCount() const;
  std::size_t NonzeroCount() const;  // constraint entries only
};

// Reads MPS text. The format is decided from the text: it is read as fixed
// format when every data line fits the fixed fields (columns 2-3, 5-12, 15-22,
// 25-36, 40-47, 50-61), and as free format (fields separated by white space)
// otherwise. Throws MpsError for malformed input.
MpsModel ReadMps(std::string_view text);

// Reads an MPS file of at most 256 MiB. Throws MpsError (line 0) when the
// file cannot be read.
MpsModel ReadMpsFile(const std::filesystem::path& path);

}  // namespace vesk::mps
