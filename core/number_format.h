#pragma once
// How the tool writes and reads numbers: the fixed-point texts of the result lines and labels,
// and the "%.*g" format of the dialog's edit boxes with its strict reader. Everything here is
// pure and independent of the process locale: '.' is the only decimal point.
//
// Two implementations, one chosen at compile time: the standard library's floating-point
// std::to_chars / std::from_chars where it has them, and otherwise the C library's snprintf for
// writing and fast_float's from_chars (as exact as strtod, and much faster in WebAssembly) for
// reading. snprintf is exact as well, but it follows LC_NUMERIC, so the second is only chosen where
// the C library knows no locale but "C" (the browser build). KORZENIK_C_LIBRARY_NUMBERS forces it,
// so that both can be tested on one machine.
#include <optional>
#include <string>
#include <string_view>

namespace korzenik {

/// printf("%.*f", digits, v) in the C locale: the decimal separator is always '.', and
/// non-finite values are written "inf", "-inf" and "nan".
std::string formatFixed(double v, int digits);

/// Appends formatFixed(v, digits) to out.
void appendFixed(std::string& out, double v, int digits);

/// The text of a number as the dialog writes it: six significant digits, trailing zeros and a
/// trailing point dropped, exponent form below 1e-4 and from 1e6 on, with a signed exponent of at
/// least three digits ("2.5", "123.457", "1e-005", "1e+007"). Non-finite values are written
/// "inf", "-inf" and "nan".
std::string formatDialogNumber(float value);

/// The value of an edit box's text, or nothing when the text is not accepted as a number.
///
/// Only the first 31 characters are seen. Blanks (spaces and tabs) may surround the number; the
/// number is a sign, digits with an optional '.', and an exponent introduced by e, E, d or D.
/// A number that comes out as zero is accepted only when its text starts with the digit 0, so
/// "-0", "+0", ".0" and an underflow such as "1e-400" are refused. The result is rounded to
/// single precision ("1e-50" gives 0); a number whose magnitude rounds beyond the largest float
/// ("1e39", "3.4028236e38") is refused.
std::optional<float> parseDialogNumber(std::string_view text);

/// The double that the conversion step of parseDialogNumber yields, before the rounding to
/// single precision; nothing when the text is refused.
std::optional<double> parseDialogNumberAsDouble(std::string_view text);

/// The double nearest to an unsigned decimal literal — digits with an optional '.', then an
/// optional exponent e or E with an optional sign — which must be the whole text: an infinity
/// when it is too large, 0 or a subnormal when too small.
double convertDecimalLiteral(std::string_view literal);

/// Which implementation this build uses: "std::to_chars" or "C library".
std::string_view numberFormatImplementation();

}  // namespace korzenik
