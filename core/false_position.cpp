// One step of the false-position (chord) method. The chord through (A, f(A)) and (B, f(B))
// meets the axis at x = (f(A)·B − f(B)·A) / (f(A) − f(B)). The step stores x, evaluates f
// there, reports whether |f(x)| is within the committed precision, and otherwise replaces the
// end whose value has the sign of f(x), so the bracket keeps its sign change. It is plain false
// position: the end that stays is evaluated again next time, never scaled.
//
// Arithmetic is double precision; single() marks the few places where the result is rounded to
// float. Those rounding points fix the printed digits and the whole sequence of approximations,
// so they must stay exactly where they are.

#include "core/false_position.h"

#include <cmath>

#include "core/number_format.h"
#include "core/precision.h"

namespace korzenik {

namespace {

double f(SolverState& s, float x) { return chosenFunction(s).at(x, s.noFunctionFlag); }

}  // namespace

std::string formatResultLine(float x, double fx) {
    std::string line;
    line.reserve(64);  // one allocation for the usual line
    line += "x=";
    appendFixed(line, widen(x), 5);
    line += "      |      f(x)=";
    appendFixed(line, fx, 6);
    return line;
}

bool stepConverged(double value, float precision) {
    return widen(precision) >= std::sqrt(widen(single(value)) * value);
}

bool bracketChangesSign(const SolverState& s, std::int32_t& noFunctionFlag) {
    const ChosenFunction function = chosenFunction(s);
    const auto value = [&](float x) { return function.at(x, noFunctionFlag); };
    const double b = widen(single(value(s.bracketB)));
    const double p = value(s.bracketA) * b;
    return !(p >= 0);  // a NaN product is not >= 0, so it lets the iteration run
}

StepOutcome falsePositionStep(SolverState& s) {
    StepOutcome out;
    const float a = s.bracketA;
    const float b = s.bracketB;
    out.chordA = a;
    out.chordB = b;

    const double fa = f(s, a);
    const double fb = f(s, b);
    // A typed function may have no value where the chord needs one; the step stops at the first
    // such abscissa instead of drawing or listing what is not a number.
    const bool typed = chosenFunction(s).typed();
    const auto undefinedAt = [&](float at) {
        out.undefined = true;
        out.undefinedAt = at;
        return out;
    };
    if (typed && !std::isfinite(fa)) return undefinedAt(a);
    if (typed && !std::isfinite(fb)) return undefinedAt(b);
    const float p = single(fa * widen(b));
    const float n = single(widen(p) - fb * widen(a));
    const double d = widen(single(fa)) - fb;
    // The chord's zero: where the line through both bracket ends crosses the axis.
    const float x = single(widen(n) / d);
    // Values too large for single precision at both ends leave the chord without a zero.
    if (typed && !std::isfinite(x)) {
        out.noChordZero = true;
        return out;
    }

    const double y = f(s, x);
    if (typed && !std::isfinite(y)) return undefinedAt(x);
    s.approximation = x;
    const double ys = widen(single(y));
    out.approximation = x;
    out.functionValue = y;
    out.resultLine = formatResultLine(x, y);
    out.converged = stepConverged(y, s.committedPrecision);

    if (!out.converged) {
        if (fa * ys > 0) s.bracketA = x;
        if (fb * ys > 0) s.bracketB = x;
    }
    return out;
}

}  // namespace korzenik
