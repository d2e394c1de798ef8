#pragma once
#include <cstdint>

#include "core/function_catalogue.h"

namespace korzenik {

/// What the two commands share between button presses. One per process, owned by the
/// application and handed to the dialog; tests make their own.
struct SolverState {
    std::int32_t iterationCounter = 1;   ///< number of the next result line
    std::int32_t previousFunction = 10;  ///< 10 names no function: the first pick is a change
    FunctionIndex functionIndex = 0;
    std::int32_t selectionStatus = 0;  ///< 0 none, 1 changed at the latest Confirm, 2 same
    std::int32_t noFunctionFlag = 0;   ///< raised by an evaluation with index 0
    std::int32_t stage = 0;            ///< 0 open, 1 committed, 2 root found at an end
    float committedStart = 0;
    float committedEnd = 0;
    float committedPrecision = 0;
    float bracketA = 0;
    float bracketB = 0;
    float approximation = 0;
};

/// Records the function matched at a Confirm. Returns true exactly when no function is chosen
/// (k is 0 and nothing was ever recorded since the last reset).
bool selectFunction(SolverState& s, FunctionIndex k);

/// True when an interval is in use and the interval or the function changed.
bool resetDue(const SolverState& s, float start, float end);

/// Back to the open stage with an empty list; the function and the committed values stay.
void resetSolverState(SolverState& s);

/// Commits the interval and precision and puts the bracket on the interval.
void commitInterval(SolverState& s, float start, float end, float precision);

/// Brings the committed values in line with the dialog without touching the stage.
void adoptInterval(SolverState& s, float start, float end, float precision);

}  // namespace korzenik
