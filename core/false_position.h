#pragma once
#include <cstdint>
#include <string>

#include "core/solver_state.h"

namespace korzenik {

/// What one false-position step did.
struct StepOutcome {
    float chordA = 0;          ///< bracketA at the start of the step
    float chordB = 0;          ///< bracketB at the start of the step
    float approximation = 0;   ///< the chord's zero, also stored in the state
    double functionValue = 0;  ///< f(approximation), unrounded
    bool converged = false;    ///< |f(approximation)| is within the committed precision
    /// A typed function had no finite value at a bracket end or at the chord's zero: the step
    /// stopped there, leaving the bracket as it was, and undefinedAt is that abscissa.
    bool undefined = false;
    float undefinedAt = 0;
    /// A typed function's values at the bracket ends were finite but the chord's zero was not a
    /// finite number: the step stopped, leaving the bracket as it was.
    bool noChordZero = false;
    std::string resultLine;  ///< "x=%.5f      |      f(x)=%f"
};

/// True when the function values at the bracket ends have opposite signs (or their product is
/// not a number), so the iteration may run. With no function chosen every value is 1, the answer
/// is false, and the evaluation raises noFunctionFlag (the state's own, as a rule).
bool bracketChangesSign(const SolverState& s, std::int32_t& noFunctionFlag);

/// The convergence test of a step: precision >= sqrt(single(value) * value), that is |value|
/// within the precision, one factor of the square rounded to single precision. A non-number on
/// either side makes it false, and so does a negative precision.
bool stepConverged(double value, float precision);

/// One step of the chord method on the state's bracket.
StepOutcome falsePositionStep(SolverState& s);

/// The result-list line for an approximation x with value fx.
std::string formatResultLine(float x, double fx);

}  // namespace korzenik
