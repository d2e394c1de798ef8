#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>

#include "core/expression.h"

namespace korzenik {

/// 0 = no function chosen; 1..5 = the catalogue entries in drop-down order.
using FunctionIndex = std::int32_t;

inline constexpr int kFunctionCount = 5;

/// The drop-down labels in catalogue order (index 1 first).
inline constexpr std::array<std::string_view, kFunctionCount> kFunctionLabels = {
    "f(x) = x*x-4",
    "f(x) = x*x*x+5*x*x-2*x-4",
    "f(x) = sin(x)",
    "f(x) = 3*sin(x*x)+2*cos(x)",
    "f(x) = 2*sin(x*x*x)-cos(x*x)+5*cos(x)",
};

/// Value of catalogue function k at x, computed in double precision in a fixed order of
/// operations (the order fixes the last bits). Index 0 sets noFunctionFlag to 1 and yields 1;
/// indices outside 0..5 yield 1 as well and touch nothing.
double evaluateFunction(float x, FunctionIndex k, int& noFunctionFlag);

/// The drop-down's place after the catalogue's five: the function the user types.
inline constexpr FunctionIndex kOwnFunction = kFunctionCount + 1;

/// The function a command evaluates: a catalogue entry by its index, or, at kOwnFunction, the
/// expression the user typed (read by readExpression; without one it is defined nowhere).
struct ChosenFunction {
    FunctionIndex index = 0;
    const Expression* own = nullptr;

    /// Not explicit: a catalogue index on its own is a choice of function.
    ChosenFunction(FunctionIndex k, const Expression* expression = nullptr)
        : index(k), own(expression) {}

    /// Only a typed function can be undefined or infinite at a finite abscissa.
    bool typed() const { return index == kOwnFunction; }

    /// The value at x as evaluateFunction gives it for a catalogue entry; for the typed function
    /// the expression's value, not finite where it is not defined.
    double at(float x, int& noFunctionFlag) const {
        if (typed())
            return own ? evaluateExpression(*own, x) : std::numeric_limits<double>::quiet_NaN();
        return evaluateFunction(x, index, noFunctionFlag);
    }

    /// The values at count abscissae, each what at() gives; a typed function's program runs
    /// over them together.
    void atEach(const float* xs, double* values, std::size_t count, int& noFunctionFlag) const {
        if (typed() && own) return evaluateExpression(*own, xs, values, count);
        for (std::size_t i = 0; i < count; ++i) values[i] = at(xs[i], noFunctionFlag);
    }
};

/// Index of the entry whose label equals the text byte for byte, or 0 when none does.
FunctionIndex functionIndexForLabel(std::string_view label);

}  // namespace korzenik
