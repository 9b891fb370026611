#pragma once
// How the parameters (lambda, k_1..k_n) are named for the person: the bare
// "k%d" of the program's tables, and with the criterion each weight belongs
// to.
#include <string>

#include "core/problem/Problem.h"

namespace vesk::core {

// "lambda" for j = 0, "k%d" for weight j.
std::string ParameterName(int j);

// The name of criterion j (FGrid's header, kept equal to AGrid's), or "" for
// lambda and for a criterion the problem does not have.
std::string CriterionName(const Problem& problem, int j);

// Headers and labels: "k1 cost"; "lambda", and "k1" when the criterion has no
// name.
std::string ParameterLabel(const Problem& problem, int j);

// In a sentence: "k1 (cost)"; "lambda", and "k1" when the criterion has no
// name.
std::string ParameterWithCriterion(const Problem& problem, int j);

}  // namespace vesk::core
