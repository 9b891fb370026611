#pragma once
// Small hand-built models for the engine tests and a host that records what
// the engine says.
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "engine/EngineModel.h"
#include "engine/ScratchEngineHost.h"
#include "engine/search/Drivers.h"

namespace vesk::engine::test {

// Records console lines and message boxes; answers the unbounded-column
// question with `answer` and ReadNumber with `number` (if set).
class RecordingHost : public ScratchEngineHost {
 public:
  bool ConsoleEnabled() const override { return true; }
  void ConsoleWriteLine(std::string_view text) override { lines.emplace_back(text); }
  Answer MessageBox(std::string_view text) override {
    boxes.emplace_back(text);
    return answer;
  }
  bool ReadNumber(std::string_view prompt, double& value) override {
    prompts.emplace_back(prompt);
    if (!hasNumber) return false;
    value = number;
    return true;
  }
  bool Said(std::string_view text) const {
    for (const auto& l : lines)
      if (l.find(text) != std::string::npos) return true;
    return false;
  }
  bool Asked(std::string_view text) const {
    for (const auto& b : boxes)
      if (b.find(text) != std::string::npos) return true;
    return false;
  }
  std::vector<std::string> lines, boxes, prompts;
  Answer answer = Answer::Cancel;
  bool hasNumber = false;
  double number = 0;
};

// A model stated by name; "OBJ" is the objective row (type 'N').
struct Lp {
  std::vector<std::pair<std::string, char>> rows;  // constraint rows
  std::vector<std::tuple<std::string, std::string, double>> entries;  // column, row, value
  std::vector<std::pair<std::string, double>> rhs;
  std::vector<std::tuple<std::string, std::string, double>> bounds;  // type, column, value
};

inline std::unique_ptr<EngineModel> State(EngineHost& host, const Lp& lp) {
  auto model = std::make_unique<EngineModel>(host);
  model->ClearModel();
  model->SetModelName("MIPSolver");
  model->DefineRow("OBJ", 'N');
  for (const auto& [name, type] : lp.rows) model->DefineRow(name, type);
  for (const auto& [col, row, v] : lp.entries) model->SetCoefficient(col, row, v);
  for (const auto& [row, v] : lp.rhs) model->SetRhs(row, v);
  for (const auto& [type, col, v] : lp.bounds) model->SetBound(type, col, v);
  model->SetModelPresent(true);
  model->SetObjectiveRowName("OBJ");
  return model;
}

// States, prepares and solves on the continuous path.
inline std::unique_ptr<EngineModel> Solve(EngineHost& host, const Lp& lp) {
  auto model = State(host, lp);
  PrepareForSolve(*model);
  SolveContinuous(*model);
  return model;
}

}  // namespace vesk::engine::test
