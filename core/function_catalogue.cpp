#include "core/function_catalogue.h"

#include "core/precision.h"
#include "core/trigonometry.h"

namespace korzenik {

double evaluateFunction(float xs, FunctionIndex k, int& noFunctionFlag) {
    const double x = widen(xs);
    // Each entry is written one rounding per statement: doubled terms are sums of a value with
    // itself, and the factors 3 and 5 multiply an already rounded double.
    switch (k) {
        case 1: {
            const double t = x * x;
            return t - 4.0;
        }
        case 2: {
            double t = x + 5.0;
            t = t * x;
            t = t * x;
            const double u = x + x;
            t = t - u;
            return t - 4.0;
        }
        case 3: return sine(x);
        case 4: {
            const double s = sine(x * x) * 3.0;
            const double c = cosine(x);
            const double w = c + c;
            return s + w;
        }
        case 5: {
            const double q = x * x;
            const double r = q * x;
            const double sr = sine(r);
            const double s = sr + sr;
            const double t = s - cosine(q);
            return t + cosine(x) * 5.0;
        }
        case 0: noFunctionFlag = 1; return 1.0;
        default: return 1.0;
    }
}

FunctionIndex functionIndexForLabel(std::string_view label) {
    for (int i = 0; i < kFunctionCount; ++i) {
        if (kFunctionLabels[static_cast<std::size_t>(i)] == label) return i + 1;
    }
    return 0;
}

}  // namespace korzenik
