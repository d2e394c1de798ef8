#pragma once
#include <string>

namespace korzenik {

/// printf("%.*f", digits, v) in the C locale, independent of the process locale: the decimal
/// separator is always '.', and non-finite values are written "inf", "-inf" and "nan".
std::string formatFixed(double v, int digits);

/// Appends formatFixed(v, digits) to out.
void appendFixed(std::string& out, double v, int digits);

}  // namespace korzenik
