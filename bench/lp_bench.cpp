// lp_bench: the engine against GLPK (and CBC for integer models) on the shared
// LP/MIP instances, through whole processes.
//
// For every instance of reference.tsv (the lp rows; the mip rows too with
// --mip): our objective from `vesk-cli lp --json`, its agreement with the
// reference (|z - r| <= max(1e-6 |r|, 1e-9)), iterations (and nodes), the
// median wall time of the whole `vesk-cli lp` process over several runs, the
// median wall time of `glpsol` on the same file (`--primal` for LP) and, for
// integer models, of `cbc`, when those programs are installed; the ratios of
// our time to theirs and the geometric mean of the ratios.
//
//   lp_bench [--runs N] [--mip] [--time-limit S] [--scale] [--data DIR] [--cli PATH] [NAME...]
//
// --scale passes --scale to vesk-cli (power-of-two scaling before the solve).
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "SharedData.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

struct Instance {
  std::string name, kind;
  double reference = 0;
};

struct ProcessRun {
  bool ok = false;  // started and exited with status 0
  int exitCode = -1;
  double seconds = 0;
  std::string out;
};

// Runs `args` with standard output captured (or discarded) and standard error
// discarded; the time is the wall time from spawn to exit.
ProcessRun RunProcess(const std::vector<std::string>& args, bool capture) {
  ProcessRun r;
  char outTemplate[] = "/tmp/lp_bench_XXXXXX";
  int outFd = capture ? mkstemp(outTemplate) : open("/dev/null", O_WRONLY);
  if (outFd < 0) return r;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, outFd, STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  std::vector<char*> argv;
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  auto start = std::chrono::steady_clock::now();
  int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc == 0) {
    int status = 0;
    waitpid(pid, &status, 0);
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.ok = r.exitCode == 0;
  }
  close(outFd);
  if (capture) {
    std::ifstream in(outTemplate);
    std::ostringstream s;
    s << in.rdbuf();
    r.out = s.str();
    fs::remove(outTemplate);
  }
  return r;
}

bool OnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  if (!path) return false;
  std::istringstream dirs(path);
  std::string dir;
  while (std::getline(dirs, dir, ':'))
    if (!dir.empty() && access((fs::path(dir) / program).c_str(), X_OK) == 0) return true;
  return false;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  if (v.empty()) return NAN;
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// The median wall time of `runs` runs, or nothing when a run failed.
std::optional<double> MedianTime(const std::vector<std::string>& args, int runs) {
  std::vector<double> times;
  for (int k = 0; k < runs; ++k) {
    ProcessRun r = RunProcess(args, false);
    if (!r.ok) return std::nullopt;
    times.push_back(r.seconds);
  }
  return Median(times);
}

std::string Ms(std::optional<double> s) {
  if (!s) return "-";
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.1f", *s * 1000);
  return buf;
}

std::string Ratio(std::optional<double> ours, std::optional<double> theirs) {
  if (!ours || !theirs || *theirs <= 0) return "-";
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.2f", *ours / *theirs);
  return buf;
}

struct GeoMean {
  double logSum = 0;
  int count = 0;
  void Add(std::optional<double> ours, std::optional<double> theirs) {
    if (!ours || !theirs || *theirs <= 0 || *ours <= 0) return;
    logSum += std::log(*ours / *theirs);
    ++count;
  }
  std::string Text() const {
    if (!count) return "-";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.3f over %d instances", std::exp(logSum / count), count);
    return buf;
  }
};

void Cell(std::ostream& out, const std::string& text, int width, bool left = false) {
  int pad = std::max(0, width - static_cast<int>(text.size()));
  if (left)
    out << text << std::string(static_cast<std::size_t>(pad), ' ');
  else
    out << std::string(static_cast<std::size_t>(pad), ' ') << text;
  out << ' ';
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 5;
  bool withMip = false;
  bool scale = false;
  int timeLimit = 60;
#ifdef VESK_LP_DATA_DIR
  fs::path data = VESK_LP_DATA_DIR;
#else
  fs::path data = "../shared/data/lp";
#endif
  if (const char* v = std::getenv("VESK_LP_DATA"); v && *v) data = v;
#ifdef VESK_CLI_PATH
  std::string cli = VESK_CLI_PATH;
#else
  std::string cli = "vesk-cli";
#endif
  std::vector<std::string> only;
  for (int k = 1; k < argc; ++k) {
    std::string a = argv[k];
    auto next = [&]() -> std::string {
      if (k + 1 >= argc) {
        std::cerr << "lp_bench: " << a << " needs a value\n";
        std::exit(2);
      }
      return argv[++k];
    };
    if (a == "--runs")
      runs = std::max(1, std::atoi(next().c_str()));
    else if (a == "--mip")
      withMip = true;
    else if (a == "--scale")
      scale = true;
    else if (a == "--time-limit")
      timeLimit = std::max(1, std::atoi(next().c_str()));
    else if (a == "--data")
      data = next();
    else if (a == "--cli")
      cli = next();
    else if (!a.empty() && a[0] == '-') {
      std::cerr << "usage: lp_bench [--runs N] [--mip] [--time-limit S] [--scale] [--data DIR] [--cli PATH] [NAME...]\n";
      return 2;
    } else
      only.push_back(a);
  }

  const auto table = vesk::test::ReadReferenceTable(data);
  if (table.empty()) {
    std::cerr << "lp_bench: no reference.tsv in " << data << "\n";
    return 1;
  }
  std::vector<Instance> instances;
  for (const auto& row : table) {
    if (row.kind == "mip" && !withMip) continue;
    if (!only.empty() && std::find(only.begin(), only.end(), row.name) == only.end()) continue;
    instances.push_back({row.name, row.kind, row.objective});
  }

  const bool glpk = OnPath("glpsol"), cbc = withMip && OnPath("cbc");
  std::cout << "lp_bench: " << runs << " runs per program, median wall time in ms; " << cli
            << (scale ? " --scale" : "") << "\n";
  if (!glpk) std::cout << "glpsol not found: no GLPK column\n";
  if (withMip && !cbc) std::cout << "cbc not found: no CBC column\n";
  const int w = 10;
  Cell(std::cout, "instance", 9, true);
  Cell(std::cout, "kind", 4, true);
  Cell(std::cout, "objective", 18);
  Cell(std::cout, "agrees", 6);
  Cell(std::cout, "iter", 7);
  if (withMip) Cell(std::cout, "nodes", 7);
  Cell(std::cout, "ours", w);
  Cell(std::cout, "glpsol", w);
  Cell(std::cout, "ratio", 6);
  if (withMip) {
    Cell(std::cout, "cbc", w);
    Cell(std::cout, "ratio", 6);
  }
  std::cout << "\n";

  GeoMean vsGlpk, vsGlpkMip, vsCbc;
  int agreed = 0;
  for (const Instance& in : instances) {
    const std::string file = (data / (in.name + ".mps")).string();
    std::vector<std::string> ours = {cli, "lp", "--json", file};
    if (scale) ours.push_back("--scale");
    if (in.kind == "mip") {
      ours.push_back("--param");
      ours.push_back("MAXTIME=" + std::to_string(timeLimit));
    }
    ProcessRun first = RunProcess(ours, true);
    std::string objective = "-", agrees = "no", iterations = "-", nodes = "-";
    std::optional<double> ourTime;
    try {
      auto j = nlohmann::json::parse(first.out);
      if (j["objective"].is_number()) {
        double z = j["objective"].get<double>();
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.12g", z);
        objective = buf;
        if (std::fabs(z - in.reference) <= std::max(1e-6 * std::fabs(in.reference), 1e-9) &&
            (in.kind == "lp" || j.value("proven", false))) {
          agrees = "yes";
          ++agreed;
        }
      } else {
        objective = j["status"].get<std::string>().substr(0, 18);
      }
      iterations = std::to_string(j["iterations"].get<long long>());
      if (j.contains("nodes")) nodes = std::to_string(j["nodes"].get<long long>());
    } catch (const std::exception&) {
      objective = "exit " + std::to_string(first.exitCode);
    }
    // Our time is measured whatever the verdict, so that a failing instance
    // still shows how long it took; an unfinished run exits with 1.
    {
      std::vector<double> times{first.seconds};
      for (int k = 1; k < runs; ++k) times.push_back(RunProcess(ours, false).seconds);
      ourTime = Median(times);
    }
    std::optional<double> glpkTime, cbcTime;
    if (glpk) {
      std::vector<std::string> g = {"glpsol", "--mps", file};
      if (in.kind == "lp")
        g.push_back("--primal");
      else {
        g.push_back("--tmlim");
        g.push_back(std::to_string(timeLimit));
      }
      glpkTime = MedianTime(g, runs);
    }
    if (cbc && in.kind == "mip") cbcTime = MedianTime({"cbc", file, "-sec", std::to_string(timeLimit), "-solve", "-quit"}, runs);
    if (in.kind == "lp") vsGlpk.Add(ourTime, glpkTime);
    if (in.kind == "mip") {
      vsGlpkMip.Add(ourTime, glpkTime);
      vsCbc.Add(ourTime, cbcTime);
    }

    Cell(std::cout, in.name, 9, true);
    Cell(std::cout, in.kind, 4, true);
    Cell(std::cout, objective, 18);
    Cell(std::cout, agrees, 6);
    Cell(std::cout, iterations, 7);
    if (withMip) Cell(std::cout, nodes, 7);
    Cell(std::cout, Ms(ourTime), w);
    Cell(std::cout, Ms(glpkTime), w);
    Cell(std::cout, Ratio(ourTime, glpkTime), 6);
    if (withMip) {
      Cell(std::cout, Ms(cbcTime), w);
      Cell(std::cout, Ratio(ourTime, cbcTime), 6);
    }
    std::cout << std::endl;
  }
  std::cout << "agree with the reference: " << agreed << " of " << instances.size() << "\n";
  std::cout << "geometric mean of ours/glpsol (lp): " << vsGlpk.Text() << "\n";
  if (withMip) {
    std::cout << "geometric mean of ours/glpsol (mip): " << vsGlpkMip.Text() << "\n";
    std::cout << "geometric mean of ours/cbc (mip): " << vsCbc.Text() << "\n";
  }
  return agreed == static_cast<int>(instances.size()) ? 0 : 1;
}
