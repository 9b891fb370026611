#pragma once
// Performances read from CSV text (the results go out through CsvResults.h).
//
// The reader takes what spreadsheets write: "," or ";" between fields (the
// header line decides), fields in double quotes (a doubled quote inside stands
// for one quote, line breaks allowed), CR LF or LF line ends, an optional
// UTF-8 byte order mark. A number cell takes "." or "," as its decimal mark.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/problem/Problem.h"
#include "core/problem/UserDialogs.h"

namespace vesk::core {

inline constexpr const char* kCsvOpenFilter = "CSV files (*.csv)|*.csv|All files (*.*)|*.*";

// Files larger than this are refused before they are read.
inline constexpr std::size_t kMaxCsvBytes = 16u * 1024u * 1024u;

// A failure of the reader: where the first bad cell starts (1-based line of
// the file and 1-based field of its record) and what is wrong there. The
// message reads "Line L, column C: ...".
struct CsvError {
  int line = 0;
  int column = 0;
  std::string message;
};

// The records of a CSV text, each a list of fields (quotes removed). Lines
// that are entirely empty at the end of the text are dropped.
struct CsvRecords {
  char separator = ',';
  std::vector<std::vector<std::string>> rows;
  std::vector<int> lines;  // the file line each record starts on
};

// Splits `bytes` into records; the separator is `separator` when one is given,
// otherwise ";" when the first line holds one outside quotes, "," otherwise.
// A NUL or other control byte (TAB, CR and LF excepted), an unclosed quote or
// text after a closing quote is an error.
std::optional<CsvRecords> ParseCsv(std::string_view bytes, CsvError& error, std::optional<char> separator = {});

// A number text with a decimal comma (one ",", no ".") written with a point;
// any other text as it is.
std::string WithDecimalPoint(std::string_view text);

// Performances read from a CSV file: a header of criterion names (its first
// field is passed over), then one record per action, its name first and then
// one number per criterion. Numbers are kept as the tables hold them: in the
// general format ("2.5", "1e-07"), as a problem file reads back.
struct CsvPerformances {
  std::vector<std::string> criterionNames;  // n
  std::vector<std::string> actionNames;     // m
  std::vector<std::vector<std::string>> values;  // m x n
  int NumCriteria() const { return static_cast<int>(criterionNames.size()); }
  int NumActions() const { return static_cast<int>(actionNames.size()); }
};

// Reads the performances; on failure `error` names the first bad cell: an
// empty file, a record whose length differs from the header's, a cell that is
// not a number, no criterion or more than kMaxCriteria, no action, a name
// holding a line break.
std::optional<CsvPerformances> ReadCsvPerformances(std::string_view bytes, CsvError& error);

// "Line L, column C: message".
std::string CsvErrorText(const CsvError& error);

// Where the performances go.
enum class CsvTarget { NewProblem, CurrentProblem };

// True when the performances fit the current problem (tables shown, the same
// numbers of criteria and actions).
bool CsvFitsCurrentProblem(const Problem& problem, const CsvPerformances& data);

// Applies the performances. NewProblem builds a problem of n criteria, m
// actions and New's default categories and tables, keeping the toggles;
// CurrentProblem (only when it fits) replaces the names and performances of
// AGrid and the criterion names of FGrid and keeps everything else. Either way
// DataModified is set and ResetResults is called. Returns false, changing
// nothing, when the target is not possible.
bool ApplyCsvPerformances(Problem& problem, const CsvPerformances& data, CsvTarget target);

// "Import performances...": the open dialog, the read (a failure is shown
// with the line and column of the bad cell and changes nothing), then
// `preview` with the performances and whether the current problem is a
// possible target; it returns the chosen target, or nothing on Cancel. Before
// a new problem replaces a modified one, "Save current files?" is asked as by
// New. True when the problem changed.
using CsvPreview = std::function<std::optional<CsvTarget>(const CsvPerformances&, bool currentPossible)>;
bool ImportPerformancesItemClick(Problem& problem, UserDialogs& dialogs, const CsvPreview& preview);

}  // namespace vesk::core
