#pragma once
// Invariant checks of the engine, called at the boundaries of its stages and
// compiled only into debug builds (without NDEBUG) and into the checked build
// of the engine tests (VESK_ENGINE_CHECKS). Elsewhere they are empty. A failed
// check names the invariant on standard error and aborts.
#include "engine/EngineModel.h"

#if !defined(NDEBUG) && !defined(VESK_ENGINE_CHECKS)
#define VESK_ENGINE_CHECKS 1
#endif

namespace vesk::engine {

#ifdef VESK_ENGINE_CHECKS
// The basis heading: every column record at its position with its number,
// found again through its name-table slot; likewise the rows; the objective
// row last.
void CheckBasisHeading(const EngineModel& model);
// Every column status consistent with its position and value: basic columns
// within their bounds or below or above them (the objective's and free basic
// columns within), nonbasic columns at a bound that is finite; the infeasible
// list holding exactly the basic columns below or above their bounds, each
// beyond its bound.
void CheckColumnStatuses(const EngineModel& model);
// The eta file well formed: its index arrays agree with its count, every eta
// opens with a finite nonzero pivot pair and stays within the rows, dense
// copies span every row.
void CheckEtaFile(const EngineModel& model);
// The heading and the statuses.
void CheckBasis(const EngineModel& model);
// Preconditions of a step: column q enters from a bound (a nonbasic position
// with a nonbasic status) and, when the basis changes (leavingRow > 0), the
// column leaving row leavingRow is a bounded basic column off the objective
// row.
void CheckStepStart(const EngineModel& model, int q, int leavingRow);
#else
inline void CheckBasisHeading(const EngineModel&) {}
inline void CheckColumnStatuses(const EngineModel&) {}
inline void CheckEtaFile(const EngineModel&) {}
inline void CheckBasis(const EngineModel&) {}
inline void CheckStepStart(const EngineModel&, int, int) {}
#endif

}  // namespace vesk::engine
