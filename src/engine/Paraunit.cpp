#include "engine/Paraunit.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "engine/EngineHostMessages.h"

namespace vesk::engine {

const std::vector<std::string>& BuiltInParameterLines() {
  static const std::vector<std::string> lines = {
      "1 ITERLOG=0 0 30000",
      "2 LOGFILE=N",
      "1 PRICING=30000 1 30000",
      "1 SUCH-TIEFE=7 1 30000",
      "0 INTEGER-CRIT=1E-7 0 1",
      "1 MIN-NODES=100 2 30000",
      "1 BASIS-INTERVALL=0 0 100000",
      "0 DJ-MIN=-1E-6 -1000 -1E-12",
      "1 MAXITER=2E9 0 2E9",
      "1 MAXTIME=2E9 0 2E9",
      "0 LO-LIMIT=-1E30 -1E30 1E30",
      "0 UP-LIMIT=1E30 -1E30 1E30",
      "0 MAXMEMORY[MB]=30 0 500",
      "2 TIGHT=N",
      "2 ASSESS-PSE=Y",
      "2 RESTART=Y",
      "2 PSE=Y",
      "1 STRAT-1=90 0 100",
      "1 STRAT-2=100 0 100",
      "2 STRAT-3=Y",
      "3 DRUCKER=LASER",
      "3 DESTINATION=LPT3",
      "3 FORMAT=LANDSCAPE",
      "1 PITCH=20 10 20",
      "1 RAND=3 0 100",
      "1 LINES-PER-PAGE=89 0 1000",
      "1 LINES-PER-INCH=8 0 10",
  };
  return lines;
}

std::string UpperCaseEngine(std::string_view text) {
  std::string out(text);
  for (char& ch : out) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c >= 'a' && c <= 'z') ch = static_cast<char>(c - 'a' + 'A');
    else if (c == 132) ch = static_cast<char>(142);
    else if (c == 148) ch = static_cast<char>(153);
    else if (c == 129) ch = static_cast<char>(154);
  }
  return out;
}

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n'))
    s.remove_suffix(1);
  return s;
}

std::vector<std::string> SplitBlanks(std::string_view s) {
  std::vector<std::string> out;
  size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && s[i] == ' ') ++i;
    size_t j = i;
    while (j < s.size() && s[j] != ' ') ++j;
    if (j > i) out.emplace_back(s.substr(i, j - i));
    i = j;
  }
  return out;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool ParseEngineNumber(std::string_view token, double& value) {
  std::string t;
  for (size_t i = 0; i < token.size(); ++i) {
    const char c = token[i];
    if (c == '.') {
      if (i == 0 || !IsDigit(token[i - 1])) t.push_back('0');
      t.push_back('.');
      if (i + 1 >= token.size() || !IsDigit(token[i + 1])) t.push_back('0');
    } else {
      t.push_back(c);
    }
  }
  std::string_view v = t;
  if (!v.empty() && v.front() == '+') v.remove_prefix(1);
  if (v.empty()) return false;
  double x = 0;
  const auto [ptr, ec] = std::from_chars(v.data(), v.data() + v.size(), x);
  if (ec != std::errc() || ptr != v.data() + v.size()) return false;
  value = x;
  return true;
}

std::string ShortNumber(double x) {
  if (x == 0) return "0";
  const double a = std::fabs(x);
  char buf[64];
  // Magnitudes between these are written with decimals, others with an exponent.
  constexpr double kPlainSmallest = 1e-6, kPlainLargest = 1e6;
  if (a > kPlainSmallest && a < kPlainLargest) {
    int decimals = 7 - std::max(0, static_cast<int>(std::lround(std::log10(a))));
    std::snprintf(buf, sizeof buf, "%.*f", decimals, x);
    std::string s = buf;
    if (s.find('.') != std::string::npos) {
      while (!s.empty() && s.back() == '0') s.pop_back();
      if (!s.empty() && s.back() == '.') s.pop_back();
    }
    return s;
  }
  std::snprintf(buf, sizeof buf, "%.6E", x);
  std::string s = buf;
  const size_t e = s.find('E');
  std::string mantissa = s.substr(0, e);
  std::string exponent = s.substr(e + 1);
  if (mantissa.find('.') != std::string::npos) {
    while (!mantissa.empty() && mantissa.back() == '0') mantissa.pop_back();
    if (!mantissa.empty() && mantissa.back() == '.') mantissa.pop_back();
  }
  std::string sign;
  if (!exponent.empty() && (exponent[0] == '+' || exponent[0] == '-')) {
    if (exponent[0] == '-') sign = "-";
    exponent.erase(0, 1);
  }
  while (exponent.size() > 1 && exponent[0] == '0') exponent.erase(0, 1);
  return mantissa + "E" + sign + exponent;
}

void ParameterTable::ParseLine(EngineHost& host, std::string rawLine, ParameterEntry& entry) {
  const std::string line = UpperCaseEngine(Trim(rawLine));
  if (line.empty()) return;
  const size_t blank = line.find(' ');
  const std::string typeToken = line.substr(0, blank);
  int type = 0;
  {
    const auto [ptr, ec] = std::from_chars(typeToken.data(), typeToken.data() + typeToken.size(), type);
    if (ec != std::errc() || ptr != typeToken.data() + typeToken.size()) {
      host.MessageBox("WRONG NUMBER FORMAT " + typeToken);
      type = 0;
    }
  }
  entry.type = static_cast<uint8_t>(type);
  const std::string rest = blank == std::string::npos ? std::string() : line.substr(blank + 1);
  const size_t eq = rest.find('=');
  if (eq == std::string::npos) {
    host.MessageBox("Error in File in row " + line);
    return;
  }
  std::string name;
  for (char c : rest.substr(0, eq))
    if (c != ' ') name.push_back(c);
  entry.name = name;
  const std::string valueText(Trim(std::string_view(rest).substr(eq + 1)));
  switch (type) {
    case kRealParameter:
    case kIntegerParameter: {
      const auto tokens = SplitBlanks(valueText);
      double numbers[3] = {0, 0, 0};
      for (size_t i = 0; i < 3 && i < tokens.size(); ++i) {
        if (!ParseEngineNumber(tokens[i], numbers[i])) {
          host.MessageBox("WRONG NUMBER FORMAT " + tokens[i]);
          numbers[i] = 0;
        }
      }
      entry.value = numbers[0];
      entry.minimum = numbers[1];
      entry.maximum = numbers[2];
      if (type == kIntegerParameter && entry.value != std::floor(entry.value))
        host.MessageBox("Value for PARAMETER " + name + " is not LONGINT");
      break;
    }
    case kBooleanParameter:
      if (valueText == "Y" || valueText == "J") entry.value = 1.0;
      else if (valueText == "N") entry.value = 0.0;
      else host.MessageBox("Value for PARAMETER " + name + " is not BOOLEAN");
      break;
    default:
      entry.text = valueText;
      break;
  }
}

void ParameterTable::FillFromLines(EngineHost& host, const std::vector<std::string>& lines) {
  if (static_cast<int>(lines.size()) > kMaxPar)
    FatalEngineError(host, "IN UNIT PARAUNIT the variable MAXPAR is too small\n\rincrease MAXPAR and recompile");
  entries_.assign(lines.size(), ParameterEntry{});
  for (size_t i = 0; i < lines.size(); ++i) ParseLine(host, lines[i], entries_[i]);
}

int ParameterTable::Lookup(std::string_view name) const {
  for (size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i].name == name) return static_cast<int>(i);
  return -1;
}

int ParameterTable::FindParameter(EngineHost& host, std::string_view name, bool report) const {
  const int index = Lookup(name);
  if (index >= 0) return index;
  const std::string text = "Parameter " + std::string(name) + " not found";
  if (report) host.MessageBox(text);
  throw EngineFatalError(text);
}

namespace {
void CheckType(EngineHost& host, const ParameterEntry& e, uint8_t type) {
  if (e.type != type) host.MessageBox("Wrong Parametertype " + e.name);
}
}  // namespace

double ParameterTable::RealValue(EngineHost& host, std::string_view name) const {
  const auto& e = entries_[FindParameter(host, name, true)];
  CheckType(host, e, kRealParameter);
  return e.value;
}

long long ParameterTable::IntegerValue(EngineHost& host, std::string_view name) const {
  const auto& e = entries_[FindParameter(host, name, true)];
  CheckType(host, e, kIntegerParameter);
  return std::llround(e.value);
}

bool ParameterTable::BooleanValue(EngineHost& host, std::string_view name) const {
  const auto& e = entries_[FindParameter(host, name, true)];
  CheckType(host, e, kBooleanParameter);
  return e.value == 1.0;
}

std::string ParameterTable::TextValue(EngineHost& host, std::string_view name) const {
  const auto& e = entries_[FindParameter(host, name, true)];
  CheckType(host, e, kTextParameter);
  return e.text;
}

bool ParameterTable::SetValue(int index, std::string_view rawText, std::string& error) {
  ParameterEntry& e = entries_[index];
  const std::string text = UpperCaseEngine(Trim(rawText));
  switch (e.type) {
    case kRealParameter:
    case kIntegerParameter: {
      double v = 0;
      if (!ParseEngineNumber(text, v)) {
        error = "WRONG NUMBER FORMAT " + text;
        return false;
      }
      if (e.type == kIntegerParameter && v != std::floor(v)) {
        error = "Value for PARAMETER " + e.name + " is not LONGINT";
        return false;
      }
      e.value = v;
      return true;
    }
    case kBooleanParameter:
      if (text == "Y" || text == "J") e.value = 1.0;
      else if (text == "N") e.value = 0.0;
      else {
        error = "Value for PARAMETER " + e.name + " is not BOOLEAN";
        return false;
      }
      return true;
    default:
      e.text = std::string(Trim(rawText));
      return true;
  }
}

}  // namespace vesk::engine
