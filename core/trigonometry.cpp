// The standard library's elementary functions: those of the platform's C library.
#include "core/trigonometry.h"

#include <cmath>

namespace korzenik {

double sine(double x) { return std::sin(x); }
double cosine(double x) { return std::cos(x); }
double tangent(double x) { return std::tan(x); }
double exponential(double x) { return std::exp(x); }
double naturalLogarithm(double x) { return std::log(x); }
double commonLogarithm(double x) { return std::log10(x); }
double power(double x, double y) { return std::pow(x, y); }

}  // namespace korzenik
