#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "core/function_catalogue.h"

namespace korzenik {

/// Where the interval stands. Only Open is ever told apart: Committed and RootAtEnd behave alike
/// in every decision, RootAtEnd only records that a Confirm reported an endpoint root.
enum class Stage : std::int32_t {
    Open = 0,       ///< nothing committed since the last reset
    Committed = 1,  ///< an interval was committed
    RootAtEnd = 2,  ///< an end of the interval was found to be a root
};

/// What the latest Confirm found about the function it was given.
enum class SelectionStatus : std::int32_t {
    None = 0,     ///< nothing recorded since the last reset
    Changed = 1,  ///< a function other than the previous one
    Same = 2,     ///< the previous function again
};

/// previousFunction before any function was ever selected: no catalogue index, so the first pick
/// counts as a change.
inline constexpr FunctionIndex kNoFunctionRecorded = 10;

/// What the two commands share between button presses. One per process, owned by the
/// application and handed to the dialog; tests make their own.
struct SolverState {
    std::int32_t iterationCounter = 1;  ///< number of the next result line
    FunctionIndex previousFunction = kNoFunctionRecorded;
    FunctionIndex functionIndex = 0;
    SelectionStatus selectionStatus = SelectionStatus::None;
    std::int32_t noFunctionFlag = 0;  ///< raised by an evaluation with index 0
    Stage stage = Stage::Open;
    float committedStart = 0;
    float committedEnd = 0;
    float committedPrecision = 0;
    float bracketA = 0;
    float bracketB = 0;
    float approximation = 0;
    std::string ownFunctionText;  ///< the typed function as read at the latest Confirm
    Expression ownFunction;       ///< its program, used while functionIndex is kOwnFunction
};

/// The function the state's commands evaluate.
inline ChosenFunction chosenFunction(const SolverState& s) {
    return {s.functionIndex, &s.ownFunction};
}

/// Records the function matched at a Confirm. Returns true exactly when no function is chosen
/// (k is 0 and nothing was recorded since the last reset).
bool selectFunction(SolverState& s, FunctionIndex k);

/// Records the typed function read from text at a Confirm: a change of function when the
/// previous Confirm chose another entry or typed another text.
void selectOwnFunction(SolverState& s, std::string_view text, Expression expression);

/// True when an interval is in use and the interval or the function changed.
bool resetDue(const SolverState& s, float start, float end);

/// Back to the open stage with an empty list; the function and the committed values stay.
void resetSolverState(SolverState& s);

/// Commits the interval and precision and puts the bracket on the interval.
void commitInterval(SolverState& s, float start, float end, float precision);

/// Brings the committed values in line with the dialog without touching the stage.
void adoptInterval(SolverState& s, float start, float end, float precision);

}  // namespace korzenik
