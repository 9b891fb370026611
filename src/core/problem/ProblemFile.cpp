#include "core/problem/ProblemFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>
#include <vector>

#include "core/problem/Numbers.h"

namespace vesk::core {
namespace {

// Thrown once the message that ends reading has been shown.
struct ReadStopped {};

bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

// Character reader over the file's bytes with the reading primitives of the
// format: key search, whitespace-separated numbers, rest-of-line texts. Every
// primitive ends reading (ReadStopped) at an unexpected end of the file.
class Reader {
 public:
  Reader(std::string_view data, UserDialogs& dialogs) : data_(data), dialogs_(dialogs) {}

  std::string context;

  bool AtEnd() const { return pos_ >= data_.size(); }
  std::size_t Size() const { return data_.size(); }
  int TokenLine() const { return tokenLine_; }

  [[noreturn]] void Fail(const std::string& text) {
    dialogs_.Error(text);
    throw ReadStopped{};
  }
  [[noreturn]] void EndOfFile() { Fail("Unexpected e.o.f. when " + context); }
  void Warn(const std::string& text) { dialogs_.Warning(text); }

  // Next character; the end of the file ends reading.
  char Next() {
    if (AtEnd()) EndOfFile();
    char c = data_[pos_++];
    if (c == '\n') ++line_;
    return c;
  }

  // Passes over the rest of the current line, its LF included.
  void SkipLine() {
    while (!AtEnd()) {
      if (Next() == '\n') return;
    }
  }

  // Reads up to the key letter `key` at the start of a line: line ends are
  // passed over, a line starting with another character is skipped.
  void SkipToKey(char key) {
    for (;;) {
      char c = Next();
      if (c == key) return;
      if (c == '\r' || c == '\n') continue;
      SkipLine();
    }
  }

  // The first character that is not a blank.
  char NextNonBlank() {
    char c = Next();
    while (c == ' ') c = Next();
    return c;
  }

  std::string_view Token() {
    while (!AtEnd() && IsSeparator(data_[pos_])) Next();
    if (AtEnd()) EndOfFile();
    tokenLine_ = line_;
    const std::size_t start = pos_;
    while (!AtEnd() && !IsSeparator(data_[pos_])) ++pos_;
    return data_.substr(start, pos_ - start);
  }

  int ReadInt() {
    auto value = ParseInt(Token());
    if (!value) Fail("Error on reading " + context);
    return *value;
  }

  double ReadReal() {
    auto value = ParseReal(Token());
    if (!value) Fail("Error on reading " + context);
    return *value;
  }

  // A real as it is stored in a cell: general format.
  std::string ReadRealText() { return FormatGeneral(ReadReal()); }

  // The rest of the line without its line end (trailing CRs dropped, so a
  // name never grows a CR).
  std::string RestOfLine() {
    std::string text;
    while (!AtEnd()) {
      char c = Next();
      if (c == '\n') break;
      text.push_back(c);
    }
    while (!text.empty() && text.back() == '\r') text.pop_back();
    return text;
  }

  // Refuses a value read from the file that lies outside its range, naming
  // the line it came from.
  void Require(bool ok, const char* what, long long value) {
    if (!ok)
      Fail(std::string(what) + " " + std::to_string(value) + " out of range in line " + std::to_string(tokenLine_) +
           " when " + context);
  }

 private:
  std::string_view data_;
  UserDialogs& dialogs_;
  std::size_t pos_ = 0;
  int line_ = 1;
  int tokenLine_ = 1;
};

std::string Numbered(const char* prefix, long long value) { return prefix + std::to_string(value); }

// The reading steps, filling `p` (already a copy of the previous problem with
// fresh tables laid out by the reader itself).
void ReadInto(Problem& p, Reader& in) {
  // Version line and sizes.
  char version = '1';
  in.context = "reading size of the problem";
  char first = in.Next();
  if (first != 't') {
    if (first == 'c') {
      while (!in.AtEnd()) {
        char c = in.Next();
        if (c == '\n') break;
        if (c >= '1' && c <= '9') {
          if (c >= '2') version = c;
          break;
        }
      }
    } else if (first != '\r' && first != '\n') {
      in.SkipLine();
    }
    in.SkipToKey('t');
  }
  const bool names = version >= '2';

  const int n = in.ReadInt();
  const int nLine = in.TokenLine();
  const int K = in.ReadInt();
  const int m = in.ReadInt();
  in.SkipLine();
  if (n >= 20) in.Fail("Maximum number of criteria exceeded");
  const long long size = static_cast<long long>(in.Size());
  // Every action line holds at least n+3 numbers and every profile line n+1,
  // each of at least one character and a separator: larger counts cannot be
  // in the file.
  auto requireCount = [&](bool ok, const char* what, long long value) {
    if (!ok)
      in.Fail(std::string(what) + " " + std::to_string(value) + " out of range in line " + std::to_string(nLine) +
              " when " + in.context);
  };
  requireCount(n >= 1, "Number of criteria", n);
  requireCount(K >= 2 && (static_cast<long long>(K) - 1) * 2 * (n + 1) <= size, "Number of categories", K);
  requireCount(m >= 1 && static_cast<long long>(m) * 2 * (n + 3) <= size, "Number of actions", m);

  LayoutTables(p, n, m, K, false);

  in.context = "reading directions of preference";
  in.SkipToKey('d');
  const int last = p.DirectionRow();
  for (int j = 1; j <= n; ++j) p.FGrid.SetCell(last, j, in.ReadInt() == 1 ? "1" : "-1");
  in.SkipLine();

  in.context = "reading profiles";
  for (int h = 1; h <= K - 1; ++h) {
    in.SkipToKey('p');
    (void)in.ReadInt();
    for (int j = 1; j <= n; ++j) p.FGrid.SetCell(p.ProfileRow(h), j, in.ReadRealText());
    in.SkipLine();
  }

  in.context = "reading thesholds";
  const long long thresholdLines = static_cast<long long>(K - 1) * n;
  for (long long line = 0; line < thresholdLines; ++line) {
    in.SkipToKey('s');
    const int h = in.ReadInt();
    const int hLine = in.TokenLine();
    const int j = in.ReadInt();
    in.context = "reading thesholds " + std::to_string(h) + "/" + std::to_string(j);
    if (h < 1 || h > K - 1)
      in.Fail("Profile number " + std::to_string(h) + " out of range in line " + std::to_string(hLine) + " when " +
              in.context);
    in.Require(j >= 1 && j <= n, "Criterion number", j);
    const int row = p.ProfileRow(h);
    p.FGrid.SetCell(row + 1, j, in.ReadRealText());
    p.FGrid.SetCell(row + 2, j, in.ReadRealText());
    if (names) {
      std::string u = in.ReadRealText();
      std::string v = in.ReadRealText();
      in.SkipLine();
      p.FGrid.SetCell(row + 3, j, std::move(u));
      p.FGrid.SetCell(row + 4, j, std::move(v));
    } else {
      in.SkipLine();
      p.FGrid.SetCell(row + 3, j, "0");
      p.FGrid.SetCell(row + 4, j, "0");
    }
  }

  for (int i = 1; i <= m; ++i) {
    in.context = "reading action " + std::to_string(i);
    in.SkipToKey('a');
    p.AGrid.SetCell(i, 0, std::to_string(in.ReadInt()));
    for (int j = 1; j <= n; ++j) p.AGrid.SetCell(i, p.PerformanceColumn(j), in.ReadRealText());
    const int low = in.ReadInt();
    in.Require(low >= 1 && low <= K, "Lower category", low);
    const int high = in.ReadInt();
    in.Require(high >= 1 && high <= K, "Upper category", high);
    if (low > high)
      in.Fail("Lower category " + std::to_string(low) + " above upper category " + std::to_string(high) +
              " in line " + std::to_string(in.TokenLine()) + " when " + in.context);
    p.AGrid.SetCell(i, 1, std::to_string(low));
    p.AGrid.SetCell(i, 2, std::to_string(high));
    if (names) {
      // One separator, then the name up to the end of the line. A line that
      // ends right after the upper category has an empty name.
      char separator = in.Next();
      std::string name;
      if (separator != '\n') name = in.RestOfLine();
      p.AGrid.SetCell(i, 0, std::move(name));
    } else {
      in.SkipLine();
    }
  }

  // Bounds on the weights: 2n "K I"/"K S" lines; "K m"/"K M" set every
  // weight's bound and do not count.
  for (int c = 0; c < 2 * n;) {
    in.context = "reading bound " + std::to_string(c);
    in.SkipToKey('K');
    const char kind = in.NextNonBlank();
    if (kind == 'I' || kind == 'S') {
      const int j = in.ReadInt();
      in.Require(j >= 1 && j <= n, "Criterion number", j);
      p.BGrid.SetCell(kind == 'I' ? 1 : 2, 1 + j, in.ReadRealText());
      ++c;
      in.SkipLine();
    } else if (kind == 'm' || kind == 'M') {
      const std::string value = in.ReadRealText();
      for (int j = 1; j <= n; ++j) p.BGrid.SetCell(kind == 'm' ? 1 : 2, 1 + j, value);
      in.SkipLine();
    } else {
      in.Warn("Unknown symbol when " + in.context);
    }
  }

  in.context = "reading No. Constraints";
  in.SkipToKey('K');
  while (in.Next() != 'N') {
  }
  const int count = in.ReadInt();
  in.Require(count >= 0, "Number of constraints", count);
  in.SkipLine();

  // Added constraints, gathered first and put into CGrid at once.
  std::vector<std::vector<std::string>> rows;
  for (int t = 1; t <= count; ++t) {
    in.context = "reading constraint " + std::to_string(t);
    in.SkipToKey('K');
    const char kind = in.NextNonBlank();
    std::vector<std::string> row(static_cast<std::size_t>(n) + 4);
    row[0] = Numbered("ad", t);
    if (kind == 'e' || kind == 'g') {
      std::vector<double> coefficients(static_cast<std::size_t>(n) + 1);
      for (double& a : coefficients) a = in.ReadReal();
      const double rhs = in.ReadReal();
      std::string sign = kind == 'e' ? "=" : ">=";
      const double factor = rhs < 0 ? -1.0 : 1.0;
      if (rhs < 0 && sign == ">=") sign = "<=";
      for (int c = 0; c <= n; ++c) row[1 + c] = FormatGeneral(factor * coefficients[c]);
      row[n + 2] = sign;
      row[n + 3] = FormatGeneral(factor * rhs);
    } else if (kind == 'E' || kind == 'G') {
      row[1] = "0";
      row[n + 2] = kind == 'E' ? "=" : ">=";
      row[n + 3] = "0";
      for (int j = 1; j <= n; ++j) {
        const int s = in.ReadInt();
        in.Require(s >= -n && s <= n, "Criterion number", s);
        if (s > 0) row[1 + s] = "1";
        if (s < 0) row[1 - s] = "-1";
      }
    } else {
      in.Warn("Unknown symbol when " + in.context);
      continue;
    }
    rows.push_back(std::move(row));
  }
  p.NumConstraints = 1 + static_cast<int>(rows.size());
  p.CGrid.Resize(1 + p.NumConstraints, n + 4);
  for (std::size_t r = 0; r < rows.size(); ++r)
    for (int c = 0; c < n + 4; ++c) p.CGrid.SetCell(2 + static_cast<int>(r), c, std::move(rows[r][c]));

  for (int t = 1; t <= 2; ++t) {
    in.context = "reading lambda bound " + std::to_string(t);
    in.SkipToKey('L');
    const char kind = in.NextNonBlank();
    if (kind == 'M' || kind == 'm') {
      std::string value = in.ReadRealText();
      in.SkipLine();
      p.BGrid.SetCell(kind == 'M' ? 2 : 1, 1, std::move(value));
    } else {
      in.Warn("Unknown symbol when " + in.context);
    }
  }

  if (names) {
    in.context = "reading criteria names";
    in.SkipToKey('n');
    in.SkipLine();
    for (int j = 1; j <= n; ++j) {
      if (in.AtEnd()) in.EndOfFile();
      std::string name = in.RestOfLine();
      p.AGrid.SetCell(0, p.PerformanceColumn(j), name);
      p.FGrid.SetCell(0, j, std::move(name));
    }
  }
}

std::string FullName(const std::string& path) {
  std::error_code ec;
  auto full = std::filesystem::absolute(path, ec);
  if (ec) return path;
  return full.lexically_normal().string();
}

bool EndsWith(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

// ---- writing ----

std::string Position(int row, int column, const char* table) {
  return "row " + std::to_string(row) + ", column " + std::to_string(column) + " of table \"" + table + "\"";
}

// The first reason why the problem cannot be written so that it reads back,
// or nothing.
std::optional<std::string> Unwritable(const Problem& p) {
  const int n = p.NumCriteria, m = p.NumActions, K = p.NumCategories;
  if (!p.TablesShown || n < 1 || K < 2) return "There is no problem to save: create one with New or open a file";
  if (n > kMaxCriteria) return "Maximum number of criteria exceeded";
  if (m < 1) return "Cannot save a problem without actions: insert an action first";
  if (p.AGrid.RowCount() != 1 + m || p.AGrid.ColCount() != 3 + n || p.FGrid.RowCount() != 2 + 5 * (K - 1) ||
      p.FGrid.ColCount() != 1 + n || p.BGrid.RowCount() != 3 || p.BGrid.ColCount() != 2 + n ||
      p.CGrid.RowCount() < 2 || p.CGrid.ColCount() != n + 4)
    return "Cannot save: the tables do not match the size of the problem";

  auto number = [](const std::string& text) { return ParseReal(text).has_value(); };
  auto notNumber = [](int r, int c, const char* table) {
    return "Cannot save: " + Position(r, c, table) + " does not hold a number";
  };
  auto lineBreak = [](int r, int c, const char* table) {
    return "Cannot save: " + Position(r, c, table) + " holds a line break";
  };
  auto breaksLine = [](const std::string& name) {
    return name.find('\n') != std::string::npos || (!name.empty() && name.back() == '\r');
  };

  for (int j = 1; j <= n; ++j)
    if (breaksLine(p.FGrid.CellOrEmpty(0, j))) return lineBreak(0, j, "Fixed Par.");
  for (int r = 1; r < p.DirectionRow(); ++r)
    for (int j = 1; j <= n; ++j)
      if (!number(p.FGrid.CellOrEmpty(r, j))) return notNumber(r, j, "Fixed Par.");

  for (int i = 1; i <= m; ++i) {
    if (breaksLine(p.AGrid.CellOrEmpty(i, 0))) return lineBreak(i, 0, "Actions");
    for (int j = 1; j <= n; ++j)
      if (!number(p.AGrid.CellOrEmpty(i, p.PerformanceColumn(j))))
        return notNumber(i, p.PerformanceColumn(j), "Actions");
    auto low = ParseInt(p.AGrid.CellOrEmpty(i, 1));
    auto high = ParseInt(p.AGrid.CellOrEmpty(i, 2));
    for (int c = 1; c <= 2; ++c) {
      auto value = c == 1 ? low : high;
      if (!value || *value < 1 || *value > K)
        return "Cannot save: " + Position(i, c, "Actions") + " does not hold a category between 1 and " +
               std::to_string(K);
    }
    if (*low > *high)
      return "Cannot save: the lower category of row " + std::to_string(i) +
             " of table \"Actions\" is above its upper category";
  }

  for (int r = 1; r <= 2; ++r)
    for (int c = 1; c <= n + 1; ++c)
      if (!number(p.BGrid.CellOrEmpty(r, c))) return notNumber(r, c, "Bounds");

  for (int r = 2; r < p.CGrid.RowCount(); ++r) {
    if (p.CGrid.CellOrEmpty(r, 0).rfind('a', 0) != 0) continue;
    for (int c = 1; c <= n + 1; ++c) {
      const std::string& text = p.CGrid.CellOrEmpty(r, c);
      if (!text.empty() && !number(text)) return notNumber(r, c, "Constraints");
    }
    const std::string& sign = p.CGrid.CellOrEmpty(r, n + 2);
    if (sign.empty() || (sign[0] != '<' && sign[0] != '=' && sign[0] != '>'))
      return "Cannot save: " + Position(r, n + 2, "Constraints") + " holds no sign (<, = or >)";
    if (!number(p.CGrid.CellOrEmpty(r, n + 3))) return notNumber(r, n + 3, "Constraints");
  }
  return std::nullopt;
}

}  // namespace

bool WriteReplacing(const std::string& target, const std::string& text) {
  static std::atomic<unsigned> counter{0};
  const std::string temp = target + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  bool ok = true;
  struct stat old {};
  if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) (void)::fchmod(fd, old.st_mode & 07777);
  const char* data = text.data();
  std::size_t left = text.size();
  while (ok && left > 0) {
    const ssize_t done = ::write(fd, data, left);
    if (done < 0) {
      if (errno == EINTR) continue;
      ok = false;
    } else {
      data += done;
      left -= static_cast<std::size_t>(done);
    }
  }
  if (ok && ::fsync(fd) != 0) ok = false;
  if (::close(fd) != 0) ok = false;
  if (ok && ::rename(temp.c_str(), target.c_str()) != 0) ok = false;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}


std::string WithoutExtension(const std::string& name) {
  std::filesystem::path p(name);
  if (!p.has_extension()) return name;
  return p.replace_extension().string();
}

std::string CaptionFor(const std::string& fullName) { return std::string(kTitle) + "  -  " + fullName; }

bool ReadProblemData(Problem& problem, UserDialogs& dialogs, std::string_view bytes, const std::string& fullName) {
  try {
    Reader in(bytes, dialogs);
    Problem fresh = problem;
    ReadInto(fresh, in);
    fresh.Caption = CaptionFor(fullName);
    fresh.SaveFileName = WithoutExtension(fullName);
    fresh.OpenFileName = fullName;
    fresh.DataModified = false;
    fresh.TablesShown = true;
    fresh.ResetResults();
    problem = std::move(fresh);
    return true;
  } catch (const ReadStopped&) {
    return false;
  } catch (const std::bad_alloc&) {
    dialogs.Error("Out of memory: Try closing other applications");
    return false;
  }
}

bool ReadProblemFile(Problem& problem, UserDialogs& dialogs, const std::string& path) {
  std::string bytes;
  {
    // Only regular files: a folder, a device or a pipe could never be read to
    // its end.
    std::error_code ec;
    std::ifstream file;
    if (std::filesystem::is_regular_file(path, ec)) file.open(path, std::ios::binary);
    if (!file.is_open()) {
      dialogs.Error("Error on reading : Could not open file");
      return false;
    }
    try {
      bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    } catch (const std::bad_alloc&) {
      dialogs.Error("Out of memory: Try closing other applications");
      return false;
    }
    if (file.bad()) {
      dialogs.Error("Error on reading : Could not open file");
      return false;
    }
  }
  return ReadProblemData(problem, dialogs, bytes, FullName(path));
}

std::optional<std::string> ProblemFileText(const Problem& p, UserDialogs& dialogs) {
  if (auto reason = Unwritable(p)) {
    dialogs.Error(*reason);
    return std::nullopt;
  }
  const int n = p.NumCriteria, m = p.NumActions, K = p.NumCategories;
  std::string out;
  auto line = [&out](const std::string& text) {
    out += text;
    out += "\r\n";
  };
  line("c version 2");
  line("c Size of the problem:");
  line("t " + std::to_string(n) + "\t" + std::to_string(K) + "\t" + std::to_string(m));
  line("c Directions of preference:");
  std::string directions = "d";
  for (int j = 1; j <= n; ++j) directions += p.FGrid.Cell(p.DirectionRow(), j) == "1" ? "\t1" : "\t-1";
  line(directions);
  line("c Profiles:");
  for (int h = 1; h <= K - 1; ++h) {
    std::string text = "p " + std::to_string(h);
    for (int j = 1; j <= n; ++j) text += "\t" + p.FGrid.Cell(p.ProfileRow(h), j);
    line(text);
  }
  line("c Thresholds:");
  for (int h = 1; h <= K - 1; ++h) {
    const int row = p.ProfileRow(h);
    for (int j = 1; j <= n; ++j) {
      std::string text = "s " + std::to_string(h) + "\t" + std::to_string(j);
      for (int k = 1; k <= 4; ++k) text += "\t" + p.FGrid.Cell(row + k, j);
      line(text);
    }
  }
  line("c Actions:");
  for (int i = 1; i <= m; ++i) {
    std::string text = "a " + std::to_string(i - 1);
    for (int j = 1; j <= n; ++j) text += "\t" + p.AGrid.Cell(i, p.PerformanceColumn(j));
    text += "\t" + p.AGrid.Cell(i, 1) + "\t" + p.AGrid.Cell(i, 2) + "\t" + p.AGrid.Cell(i, 0);
    line(text);
  }
  line("c Upper bounds on weights:");
  for (int j = 1; j <= n; ++j) line("K S " + std::to_string(j) + "\t" + p.BGrid.Cell(2, 1 + j));
  line("c Lower bounds on weights:");
  for (int j = 1; j <= n; ++j) line("K I " + std::to_string(j) + "\t" + p.BGrid.Cell(1, 1 + j));
  line("c Additional constraints:");
  std::vector<int> added;
  for (int r = 2; r < p.CGrid.RowCount(); ++r)
    if (p.CGrid.Cell(r, 0).rfind('a', 0) == 0) added.push_back(r);
  line("K N " + std::to_string(added.size()));
  for (int r : added) {
    const std::string& sign = p.CGrid.Cell(r, n + 2);
    std::string text = sign[0] == '=' ? "K e" : "K g";
    if (sign[0] == '<') {
      // Written as the greater-or-equal row: every coefficient and the
      // right-hand side negated.
      for (int c = 1; c <= n + 1; ++c) {
        const std::string& cell = p.CGrid.Cell(r, c);
        text += "\t" + FormatGeneral(cell.empty() ? 0.0 : -*ParseReal(cell));
      }
      text += "\t" + FormatGeneral(-*ParseReal(p.CGrid.Cell(r, n + 3)));
    } else {
      for (int c = 1; c <= n + 1; ++c) {
        const std::string& cell = p.CGrid.Cell(r, c);
        text += "\t" + (cell.empty() ? std::string("0") : cell);
      }
      text += "\t" + p.CGrid.Cell(r, n + 3);
    }
    line(text);
  }
  line("c Bounds on lambda:");
  line("L M " + p.BGrid.Cell(2, 1));
  line("L m " + p.BGrid.Cell(1, 1));
  line("n name of criteria:");
  for (int j = 1; j <= n; ++j) line(p.FGrid.Cell(0, j));
  line("c *** END OF FILE ***");
  return out;
}

bool WriteProblemFile(Problem& problem, UserDialogs& dialogs, bool askForName) {
  bool written = false;
  if (auto text = ProblemFileText(problem, dialogs)) {
    std::optional<std::string> name = problem.SaveFileName;
    if (askForName) {
      name = dialogs.ChooseSaveFile(kSaveFilter, "tri", problem.SaveFileName);
      if (name) problem.SaveFileName = *name;
    }
    if (name) {
      std::string target = *name;
      if (!EndsWith(target, ".tri")) target += ".tri";
      if (WriteReplacing(target, *text)) {
        const std::string full = FullName(target);
        problem.DataModified = false;
        problem.Caption = CaptionFor(full);
        problem.SaveFileName = full;
        written = true;
      } else {
        dialogs.Error(kDiskWriteError);
      }
    }
  }
  problem.OpenFileName = problem.SaveFileName;
  return written;
}

bool SaveData(Problem& problem, UserDialogs& dialogs) {
  return WriteProblemFile(problem, dialogs, problem.Caption == kTitle);
}

namespace {

// "Save current files?" before the problem is replaced: false when the person
// wanted the work saved and the save was cancelled or failed.
bool SaveBeforeReplacing(Problem& problem, UserDialogs& dialogs) {
  if (problem.DataModified && dialogs.Confirm("Save current files?")) return SaveData(problem, dialogs);
  return true;
}

}  // namespace

bool OpenProblem(Problem& problem, UserDialogs& dialogs) {
  if (!SaveBeforeReplacing(problem, dialogs)) return false;
  auto path = dialogs.ChooseOpenFile(kOpenFilter, problem.OpenFileName);
  if (!path) return false;
  return ReadProblemFile(problem, dialogs, *path);
}

OpenResult OpenProblemFile(Problem& problem, UserDialogs& dialogs, const std::string& path) {
  // Only a path known to be absent counts as not found: one that cannot be
  // looked at (a folder without access) goes on to the read and its message.
  std::error_code ec;
  const bool absent = path.empty() || (!std::filesystem::exists(path, ec) && !ec);
  if (absent) {
    dialogs.Error("File not found: " + path);
    return OpenResult::NotFound;
  }
  if (!SaveBeforeReplacing(problem, dialogs)) return OpenResult::NotOpened;
  return ReadProblemFile(problem, dialogs, path) ? OpenResult::Opened : OpenResult::NotOpened;
}

}  // namespace vesk::core
