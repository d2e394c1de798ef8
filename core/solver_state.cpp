#include "core/solver_state.h"

#include "core/precision.h"

namespace korzenik {

bool selectFunction(SolverState& s, FunctionIndex k) {
    if (k != 0) {
        s.functionIndex = k;
        if (s.previousFunction == k) {
            s.selectionStatus = 2;
        } else {
            s.selectionStatus = 1;
            s.previousFunction = k;
        }
    }
    return k == 0 && s.selectionStatus == 0;
}

bool resetDue(const SolverState& s, float start, float end) {
    if (s.stage == 0) return false;
    return !sameSingle(s.committedStart, start) || !sameSingle(s.committedEnd, end) ||
           s.selectionStatus == 1;
}

void resetSolverState(SolverState& s) {
    s.iterationCounter = 1;
    s.selectionStatus = 0;
    s.stage = 0;
}

void commitInterval(SolverState& s, float start, float end, float precision) {
    s.committedStart = start;
    s.committedEnd = end;
    s.committedPrecision = precision;
    s.bracketA = start;
    s.bracketB = end;
    s.stage = 1;
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
