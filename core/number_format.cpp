// The tool's number texts. Writing is printf's "%.*f" and "%.*g" (precision 6, three-digit
// exponent); reading is a decimal conversion in the style of the C library's string-to-double,
// with the dialog's own acceptance rule around it. The scanning and the rules are written once;
// only the digits themselves come from one of two exact converters (see the header).

#include "core/number_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>

#include "core/precision.h"

#if defined(__cpp_lib_to_chars) && !defined(KORZENIK_C_LIBRARY_NUMBERS)
#define KORZENIK_STD_CHARCONV 1
#else
#define KORZENIK_STD_CHARCONV 0
#include <fast_float/fast_float.h>
#endif

namespace korzenik {

namespace {

/// The number of characters of an edit box that the reader looks at.
constexpr std::size_t kReadLimit = 31;

// The largest double has 309 integer digits; the widest precision used here is 6.
using NumberBuffer = std::array<char, 400>;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

/// White space as the C library's conversion skips it before a number.
bool isCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isExponentLetter(char c) { return c == 'e' || c == 'E' || c == 'd' || c == 'D'; }

/// Writes v with printf's "%.*f" (fixed) or "%.*g" (general) into buf; returns the end.
char* printNumber(NumberBuffer& buf, double v, int digits, bool general) {
#if KORZENIK_STD_CHARCONV
    const auto format = general ? std::chars_format::general : std::chars_format::fixed;
    return std::to_chars(buf.data(), buf.data() + buf.size(), v, format, digits).ptr;
#else
    const int n = std::snprintf(buf.data(), buf.size(), general ? "%.*g" : "%.*f", digits, v);
    return buf.data() + std::clamp(n, 0, static_cast<int>(buf.size()) - 1);
#endif
}

/// The double nearest to a plain decimal "[-]digits[.digits]e[-]digits" (nothing else is handed
/// over): an infinity on overflow, and 0 or a subnormal on underflow, as strtod gives them.
double convertPlainDecimal(const std::string& text) {
#if KORZENIK_STD_CHARCONV
    double value = 0;
    const auto res =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (res.ec != std::errc::result_out_of_range) return value;
    // Out of range either way: the decimal exponent of the first significant digit tells which.
    const bool negative = text[0] == '-';
    const std::size_t e = text.find('e');
    long lead = -1;
    bool seenPoint = false;
    bool significant = false;
    for (std::size_t i = negative ? 1 : 0; i < e; ++i) {
        if (text[i] == '.') {
            seenPoint = true;
        } else if (!significant && text[i] == '0') {
            if (seenPoint) --lead;
        } else {
            significant = true;
            if (!seenPoint) ++lead;
        }
    }
    const long exponent = std::strtol(text.c_str() + e + 1, nullptr, 10);
    const double magnitude = lead + exponent < 0 ? 0.0 : HUGE_VAL;
    return negative ? -magnitude : magnitude;
#else
    // Exact like strtod, without its long double arithmetic (in software in WebAssembly).
    double value = 0;
    fast_float::from_chars(text.data(), text.data() + text.size(), value);
    return value;
#endif
}

struct Conversion {
    double value = 0;
    std::size_t end = 0;  ///< index just after the number; 0 when nothing was converted
};

// Exponents are clamped far beyond any double so that a long run of exponent digits cannot
// overflow; 31 characters of mantissa cannot bring such a value back into range.
constexpr long kExponentClamp = 100000;

/// Converts the longest decimal number at the start of s (after white space), like strtod in the
/// C locale without its hexadecimal, infinity and not-a-number forms, and with d/D accepted as
/// exponent letters. Out-of-range results are an infinity (overflow) or a zero (underflow).
Conversion convertDecimal(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && isCSpace(s[i])) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    const std::size_t mantissaStart = i;
    std::size_t digits = 0;
    while (i < s.size() && isDigit(s[i])) ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i])) ++i, ++digits;
    }
    if (digits == 0) return {};
    const std::string_view mantissa = s.substr(mantissaStart, i - mantissaStart);

    long exponent = 0;
    if (i < s.size() && isExponentLetter(s[i])) {
        std::size_t j = i + 1;
        bool expNegative = false;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
            expNegative = s[j] == '-';
            ++j;
        }
        if (j < s.size() && isDigit(s[j])) {  // an exponent letter without digits is not taken
            while (j < s.size() && isDigit(s[j])) {
                if (exponent < kExponentClamp) exponent = exponent * 10 + (s[j] - '0');
                ++j;
            }
            if (expNegative) exponent = -exponent;
            i = j;
        }
    }

    // Handed over rewritten: neither converter needs to know '+' or the letter d then.
    std::string plain = negative ? "-" : "";
    plain += mantissa;
    plain += 'e';
    std::array<char, 24> expDigits{};
    plain.append(
        expDigits.data(),
        std::to_chars(expDigits.data(), expDigits.data() + expDigits.size(), exponent).ptr);
    return {convertPlainDecimal(plain), i};
}

}  // namespace

void appendFixed(std::string& out, double v, int digits) {
    if (std::isnan(v)) {
        out += "nan";
        return;
    }
    if (std::isinf(v)) {
        out += v < 0 ? "-inf" : "inf";
        return;
    }
    NumberBuffer buf;
    out.append(buf.data(), printNumber(buf, v, digits, false));
}

std::string formatFixed(double v, int digits) {
    std::string out;
    appendFixed(out, v, digits);
    return out;
}

std::string formatDialogNumber(float value) {
    const double v = widen(value);
    if (std::isnan(v)) return "nan";
    if (std::isinf(v)) return v < 0 ? "-inf" : "inf";
    NumberBuffer buf;
    std::string text(buf.data(), printNumber(buf, v, 6, true));
    // The converters write at least two exponent digits; the dialog shows at least three.
    if (const std::size_t e = text.find('e'); e != std::string::npos) {
        const std::size_t digitsAt = e + 2;  // after the letter and the sign
        const std::size_t digits = text.size() - digitsAt;
        if (digits < 3) text.insert(digitsAt, 3 - digits, '0');
    }
    return text;
}

std::optional<double> parseDialogNumberAsDouble(std::string_view text) {
    text = text.substr(0, std::min(text.size(), kReadLimit));
    text = text.substr(0, text.find('\0'));  // a control's text ends at its first NUL
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    const char first = i < text.size() ? text[i] : '\0';
    const std::string_view rest = text.substr(i);

    const Conversion c = convertDecimal(rest);
    if (c.value == 0 && first != '0') return std::nullopt;
    // A value that a float cannot hold would be stored as an infinity, which the field could
    // then neither show as a number nor read back.
    if (std::isinf(single(c.value))) return std::nullopt;
    std::size_t j = c.end;
    while (j < rest.size() && isBlank(rest[j])) ++j;
    if (j != rest.size()) return std::nullopt;
    return c.value;
}

std::optional<float> parseDialogNumber(std::string_view text) {
    const std::optional<double> v = parseDialogNumberAsDouble(text);
    if (!v) return std::nullopt;
    return single(*v);
}

double convertDecimalLiteral(std::string_view literal) { return convertDecimal(literal).value; }

std::string_view numberFormatImplementation() {
    return KORZENIK_STD_CHARCONV ? "std::to_chars" : "C library";
}

}  // namespace korzenik
