#include "core/solver_state.h"

#include <utility>

#include "core/precision.h"

namespace korzenik {

bool selectFunction(SolverState& s, FunctionIndex k) {
    if (k != 0) {
        s.functionIndex = k;
        if (s.previousFunction == k) {
            s.selectionStatus = SelectionStatus::Same;
        } else {
            s.selectionStatus = SelectionStatus::Changed;
            s.previousFunction = k;
        }
    }
    return k == 0 && s.selectionStatus == SelectionStatus::None;
}

void selectOwnFunction(SolverState& s, std::string_view text, Expression expression) {
    const bool same = s.previousFunction == kOwnFunction && s.ownFunctionText == text;
    s.functionIndex = kOwnFunction;
    s.previousFunction = kOwnFunction;
    s.selectionStatus = same ? SelectionStatus::Same : SelectionStatus::Changed;
    s.ownFunctionText = text;
    s.ownFunction = std::move(expression);
}

bool resetDue(const SolverState& s, float start, float end) {
    if (s.stage == Stage::Open) return false;
    return !sameSingle(s.committedStart, start) || !sameSingle(s.committedEnd, end) ||
           s.selectionStatus == SelectionStatus::Changed;
}

void resetSolverState(SolverState& s) {
    s.iterationCounter = 1;
    s.selectionStatus = SelectionStatus::None;
    s.stage = Stage::Open;
}

void commitInterval(SolverState& s, float start, float end, float precision) {
    s.committedStart = start;
    s.committedEnd = end;
    s.committedPrecision = precision;
    s.bracketA = start;
    s.bracketB = end;
    s.stage = Stage::Committed;
}

void adoptInterval(SolverState& s, float start, float end, float precision) {
    if (!sameSingle(s.committedStart, start) || !sameSingle(s.committedEnd, end)) {
        s.bracketA = start;
        s.bracketB = end;
        s.committedStart = start;
        s.committedEnd = end;
        s.committedPrecision = precision;
    }
    if (!sameSingle(s.committedPrecision, precision)) s.committedPrecision = precision;
}

}  // namespace korzenik
