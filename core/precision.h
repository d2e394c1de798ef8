#pragma once
// The tool stores every real in single precision and computes in double precision. Each
// rounding to float is a deliberate point of an algorithm, so it is written out with single();
// each widening with widen() keeps -Wdouble-promotion quiet where widening is the intent.

namespace korzenik {

/// Rounds a double to the nearest float (IEEE 754 round-to-nearest-even).
constexpr float single(double v) { return static_cast<float>(v); }

/// Widens a float to double; exact.
constexpr double widen(float v) { return static_cast<double>(v); }

/// Float equality as the solver decides it: +0 equals -0, and a NaN on either side counts as equal,
/// so a NaN never triggers a reset or an update.
constexpr bool sameSingle(float a, float b) { return a == b || a != a || b != b; }

}  // namespace korzenik
