#pragma once
#include <array>
#include <cstdint>
#include <string_view>

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

/// Index of the entry whose label equals the text byte for byte, or 0 when none does.
FunctionIndex functionIndexForLabel(std::string_view label);

}  // namespace korzenik
