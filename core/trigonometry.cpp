// The standard library's sine and cosine: those of the platform's C library.
#include "core/trigonometry.h"

#include <cmath>

namespace korzenik {

double sine(double x) { return std::sin(x); }
double cosine(double x) { return std::cos(x); }

}  // namespace korzenik
