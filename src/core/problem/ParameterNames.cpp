#include "core/problem/ParameterNames.h"

namespace vesk::core {

std::string ParameterName(int j) {
  if (j == 0) return "lambda";
  std::string name = "k";
  name += std::to_string(j);
  return name;
}

std::string CriterionName(const Problem& p, int j) {
  if (j < 1 || j > p.NumCriteria) return {};
  return p.FGrid.CellOrEmpty(0, j);
}

std::string ParameterLabel(const Problem& p, int j) {
  const std::string criterion = CriterionName(p, j);
  return criterion.empty() ? ParameterName(j) : ParameterName(j) + " " + criterion;
}

std::string ParameterWithCriterion(const Problem& p, int j) {
  const std::string criterion = CriterionName(p, j);
  return criterion.empty() ? ParameterName(j) : ParameterName(j) + " (" + criterion + ")";
}

}  // namespace vesk::core
