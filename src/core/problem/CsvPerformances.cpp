#include "core/problem/CsvPerformances.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "core/problem/NewProblem.h"
#include "core/problem/Numbers.h"
#include "core/problem/ProblemFile.h"

namespace vesk::core {
namespace {

bool Fail(CsvError& error, int line, int column, std::string message) {
  error = CsvError{line, column, std::move(message)};
  return false;
}

std::string ByteText(unsigned char byte) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "0x%02X", static_cast<unsigned>(byte));
  return buffer;
}

// The separator: ';' when the first line holds one outside quotes.
char DetectSeparator(std::string_view bytes) {
  bool quoted = false;
  for (char c : bytes) {
    if (c == '"') quoted = !quoted;
    else if (!quoted && (c == '\n' || c == '\r')) break;
    else if (!quoted && c == ';') return ';';
  }
  return ',';
}

// A number cell as the tables keep it: in the general format a problem file
// reads back as (so saving and opening again changes nothing), or nothing
// when it is not a number. A decimal comma counts as a point.
std::optional<std::string> NumberCell(std::string_view field) {
  const auto value = ParseReal(WithDecimalPoint(TrimBlanks(field)));
  if (!value) return std::nullopt;
  return FormatGeneral(*value);
}

}  // namespace

std::string WithDecimalPoint(std::string_view text) {
  std::string out(text);
  const auto comma = out.find(',');
  if (comma != std::string::npos && out.find(',', comma + 1) == std::string::npos && out.find('.') == std::string::npos)
    out[comma] = '.';
  return out;
}

std::optional<CsvRecords> ParseCsv(std::string_view bytes, CsvError& error, std::optional<char> separator) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  CsvRecords out;
  out.separator = separator ? *separator : DetectSeparator(bytes);
  const char sep = out.separator;

  int line = 1;
  std::size_t i = 0;
  const std::size_t size = bytes.size();
  std::vector<std::string> record;
  std::string field;
  int recordLine = 1;

  auto endRecord = [&] {
    record.push_back(std::move(field));
    field.clear();
    out.rows.push_back(std::move(record));
    out.lines.push_back(recordLine);
    record.clear();
  };
  auto control = [](unsigned char c) { return (c < 0x20 && c != '\t' && c != '\r' && c != '\n') || c == 0x7F; };

  while (i < size) {
    const int column = static_cast<int>(record.size()) + 1;
    if (bytes[i] == '"' && field.empty()) {
      // A quoted field: up to the closing quote, "" standing for one quote.
      const int startLine = line;
      ++i;
      bool closed = false;
      while (i < size) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c == '"') {
          if (i + 1 < size && bytes[i + 1] == '"') {
            field += '"';
            i += 2;
            continue;
          }
          ++i;
          closed = true;
          break;
        }
        if (control(c)) {
          error = CsvError{line, column, "the file is not text (byte " + ByteText(c) + ")"};
          return std::nullopt;
        }
        if (c == '\n') ++line;
        field += static_cast<char>(c);
        ++i;
      }
      if (!closed) {
        error = CsvError{startLine, column, "a quoted field is not closed"};
        return std::nullopt;
      }
      if (i < size && bytes[i] != sep && bytes[i] != '\r' && bytes[i] != '\n') {
        error = CsvError{line, column, "text after the closing quote"};
        return std::nullopt;
      }
      continue;
    }
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c == static_cast<unsigned char>(sep)) {
      record.push_back(std::move(field));
      field.clear();
      ++i;
    } else if (c == '\r' || c == '\n') {
      i += (c == '\r' && i + 1 < size && bytes[i + 1] == '\n') ? 2 : 1;
      endRecord();
      ++line;
      recordLine = line;
    } else if (control(c)) {
      error = CsvError{line, column, "the file is not text (byte " + ByteText(c) + ")"};
      return std::nullopt;
    } else {
      field += static_cast<char>(c);
      ++i;
    }
  }
  // The last record when the text does not end with a line end.
  if (!field.empty() || !record.empty()) endRecord();
  // Empty lines at the end are no records.
  while (!out.rows.empty() && out.rows.back().size() == 1 && out.rows.back()[0].empty()) {
    out.rows.pop_back();
    out.lines.pop_back();
  }
  return out;
}

std::optional<CsvPerformances> ReadCsvPerformances(std::string_view bytes, CsvError& error) {
  auto records = ParseCsv(bytes, error);
  if (!records) return std::nullopt;
  const auto& rows = records->rows;
  if (rows.empty()) {
    Fail(error, 1, 1, "the file is empty");
    return std::nullopt;
  }
  const auto& header = rows[0];
  const int n = static_cast<int>(header.size()) - 1;
  if (n < 1) {
    Fail(error, records->lines[0], 2, "the header names no criterion");
    return std::nullopt;
  }
  if (n > kMaxCriteria) {
    Fail(error, records->lines[0], kMaxCriteria + 2,
         "too many criteria (" + std::to_string(n) + "; at most " + std::to_string(kMaxCriteria) + ")");
    return std::nullopt;
  }
  if (rows.size() < 2) {
    Fail(error, records->lines[0] + 1, 1, "no action follows the header");
    return std::nullopt;
  }
  auto breaksLine = [](const std::string& name) { return name.find_first_of("\r\n") != std::string::npos; };

  CsvPerformances data;
  for (int j = 1; j <= n; ++j) {
    if (breaksLine(header[static_cast<std::size_t>(j)])) {
      Fail(error, records->lines[0], j + 1, "a criterion name holds a line break");
      return std::nullopt;
    }
    data.criterionNames.push_back(header[static_cast<std::size_t>(j)]);
  }
  for (std::size_t r = 1; r < rows.size(); ++r) {
    const auto& row = rows[r];
    const int line = records->lines[r];
    if (static_cast<int>(row.size()) != n + 1) {
      // The column of the first missing or the first extra field.
      const int column = static_cast<int>(row.size()) < n + 1 ? static_cast<int>(row.size()) + 1 : n + 2;
      Fail(error, line, column,
           "the line has " + std::to_string(row.size()) + " fields, the header " + std::to_string(n + 1));
      return std::nullopt;
    }
    if (breaksLine(row[0])) {
      Fail(error, line, 1, "an action name holds a line break");
      return std::nullopt;
    }
    std::vector<std::string> values;
    for (int j = 1; j <= n; ++j) {
      const std::string& field = row[static_cast<std::size_t>(j)];
      auto number = NumberCell(field);
      if (!number) {
        Fail(error, line, j + 1, "\"" + field.substr(0, 40) + "\" is not a number");
        return std::nullopt;
      }
      values.push_back(std::move(*number));
    }
    data.actionNames.push_back(row[0]);
    data.values.push_back(std::move(values));
  }
  return data;
}

std::string CsvErrorText(const CsvError& error) {
  return "Line " + std::to_string(error.line) + ", column " + std::to_string(error.column) + ": " +
         error.message;
}

bool CsvFitsCurrentProblem(const Problem& problem, const CsvPerformances& data) {
  return problem.TablesShown && problem.NumCriteria == data.NumCriteria() &&
         problem.NumActions == data.NumActions();
}

bool ApplyCsvPerformances(Problem& problem, const CsvPerformances& data, CsvTarget target) {
  const int n = data.NumCriteria(), m = data.NumActions();
  if (n < 1 || n > kMaxCriteria || m < 1) return false;
  if (target == CsvTarget::CurrentProblem && !CsvFitsCurrentProblem(problem, data)) return false;

  // Built in a copy and swapped in, so a refusal leaves the problem as it was.
  Problem next = problem;
  if (target == CsvTarget::NewProblem) {
    LayoutTables(next, n, m, *ParseInt(NewProblemFields{}.categories), /*withDefaults=*/true);
    next.Caption = kTitle;
  }
  for (int j = 1; j <= n; ++j) {
    const std::string& name = data.criterionNames[static_cast<std::size_t>(j - 1)];
    next.AGrid.SetCell(0, next.PerformanceColumn(j), name);
    next.FGrid.SetCell(0, j, name);
  }
  for (int i = 1; i <= m; ++i) {
    const auto a = static_cast<std::size_t>(i - 1);
    next.AGrid.SetCell(i, 0, data.actionNames[a]);
    for (int j = 1; j <= n; ++j)
      next.AGrid.SetCell(i, next.PerformanceColumn(j), data.values[a][static_cast<std::size_t>(j - 1)]);
  }
  next.DataModified = true;
  next.ResetResults();
  problem = std::move(next);
  return true;
}

bool ImportPerformancesItemClick(Problem& problem, UserDialogs& dialogs, const CsvPreview& preview) {
  const auto path = dialogs.ChooseOpenFile(kCsvOpenFilter, "");
  if (!path) return false;

  std::error_code ec;
  const auto size = std::filesystem::file_size(*path, ec);
  if (ec) {
    dialogs.Error("Cannot read " + *path);
    return false;
  }
  if (size > kMaxCsvBytes) {
    dialogs.Error(*path + ": the file is too large for a table of performances");
    return false;
  }
  std::ifstream file(*path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (!file && !file.eof()) {
    dialogs.Error("Cannot read " + *path);
    return false;
  }

  CsvError error;
  const auto data = ReadCsvPerformances(bytes, error);
  if (!data) {
    dialogs.Error(*path + ": " + CsvErrorText(error));
    return false;
  }
  const bool current = CsvFitsCurrentProblem(problem, *data);
  const auto target = preview(*data, current);
  if (!target) return false;
  if (*target == CsvTarget::NewProblem && problem.DataModified && dialogs.Confirm("Save current files?"))
    SaveData(problem, dialogs);
  return ApplyCsvPerformances(problem, *data, *target);
}

}  // namespace vesk::core
