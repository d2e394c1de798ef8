// The number format of the dialog's edit boxes. Writing is printf's "%.*g" with precision 6 and
// a three-digit exponent; reading is a decimal conversion in the style of the C library's
// string-to-double, with the dialog's own acceptance rule around it. Both are done here with
// std::to_chars / std::from_chars so that a Polish desktop (decimal comma) changes nothing.

#include "app/data_exchange.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <limits>

#include "app/res/resource.h"
#include "app/res/strings.h"
#include "app/solver_dialog.h"
#include "core/precision.h"

namespace korzenik {

namespace {

/// The number of characters of an edit box that the reader looks at.
constexpr std::size_t kReadLimit = 31;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

/// White space as the C library's conversion skips it before a number.
bool isCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isExponentLetter(char c) { return c == 'e' || c == 'E' || c == 'd' || c == 'D'; }

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
    std::size_t intDigits = 0;
    std::size_t fracDigits = 0;
    while (i < s.size() && isDigit(s[i])) ++i, ++intDigits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i])) ++i, ++fracDigits;
    }
    if (intDigits + fracDigits == 0) return {};
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

    // from_chars takes neither a '+' nor the letter d, so the number is handed over rewritten.
    std::string normal = negative ? "-" : "";
    normal += mantissa;
    normal += 'e';
    std::array<char, 24> expDigits{};
    normal.append(
        expDigits.data(),
        std::to_chars(expDigits.data(), expDigits.data() + expDigits.size(), exponent).ptr);

    Conversion out;
    out.end = i;
    const auto res = std::from_chars(normal.data(), normal.data() + normal.size(), out.value,
                                     std::chars_format::general);
    if (res.ec == std::errc::result_out_of_range) {
        // The decimal exponent of the first significant digit tells overflow from underflow.
        long lead = static_cast<long>(intDigits) - 1;
        for (char c : mantissa) {
            if (c == '.') continue;
            if (c != '0') break;
            --lead;
        }
        const double magnitude = lead + exponent < 0 ? 0.0 : HUGE_VAL;
        out.value = negative ? -magnitude : magnitude;
    }
    return out;
}

}  // namespace

std::string formatDialogNumber(float value) {
    const double v = widen(value);
    if (std::isnan(v)) return "nan";
    if (std::isinf(v)) return v < 0 ? "-inf" : "inf";
    std::array<char, 64> buf{};
    const auto res =
        std::to_chars(buf.data(), buf.data() + buf.size(), v, std::chars_format::general, 6);
    std::string text(buf.data(), res.ptr);
    // to_chars writes at least two exponent digits; the dialog shows at least three.
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

}  // namespace korzenik

// The dialog's side of the exchange: each member against its control, in binding order.

namespace korzenik {

namespace {

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

/// Whether text begins with prefix, ignoring the case of ASCII letters.
bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (prefix.size() > text.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (asciiLower(text[i]) != asciiLower(prefix[i])) return false;
    }
    return true;
}

}  // namespace

bool CSolverDialog::UpdateData(bool saveAndValidate) { return DoDataExchange(saveAndValidate); }

bool CSolverDialog::DoDataExchange(bool save) {
    using namespace res;
    if (!m_resultsList.attached()) m_resultsList.attach(&m_host);
    if (!exchangeNumber(save, IDC_PRECISION, m_precision)) return false;
    exchangeText(save, IDC_XMAX, m_xMaxText);
    exchangeText(save, IDC_XMIN, m_xMinText);
    exchangeText(save, IDC_YMAX, m_yMaxText);
    exchangeText(save, IDC_YMIN, m_yMinText);
    if (!exchangeNumber(save, IDC_END, m_end)) return false;
    if (!exchangeNumber(save, IDC_START, m_start)) return false;
    exchangeCheck(save, IDC_AUTO, m_auto);
    exchangeLabel(save, IDC_FUNCTION, m_functionLabel);
    return true;
}

void CSolverDialog::writeText(int id, std::string_view text) {
    if (m_host.controlText(id) != text) m_host.setControlText(id, text);
}

void CSolverDialog::exchangeText(bool save, int id, std::string& member) {
    if (save) {
        member = m_host.controlText(id);
    } else {
        writeText(id, member);
    }
}

bool CSolverDialog::exchangeNumber(bool save, int id, float& member) {
    if (!save) {
        writeText(id, formatDialogNumber(member));
        return true;
    }
    const std::optional<float> value = parseDialogNumber(m_host.controlText(id));
    if (!value) {
        m_host.messageBox(res::kEnterNumber, res::kAppName, MessageIcon::Exclamation);
        m_host.focusAndSelectAll(id);
        return false;
    }
    member = *value;
    return true;
}

void CSolverDialog::exchangeCheck(bool save, int id, std::int32_t& member) {
    if (save) {
        member = m_host.checkState(id);
        return;
    }
    if (member < 0 || member > 2) member = 0;
    m_host.setCheckState(id, member);
}

void CSolverDialog::exchangeLabel(bool save, int id, std::string& member) {
    if (save) {
        const int selected = m_host.comboSelection(id);
        member = selected < 0 ? std::string() : m_host.comboItemText(id, selected);
        return;
    }
    // The first item from the top whose text begins with the member; none for an empty member,
    // and no match leaves the selection as it is.
    if (member.empty()) return;
    const int count = m_host.comboItemCount(id);
    for (int i = 0; i < count; ++i) {
        if (startsWithIgnoringCase(m_host.comboItemText(id, i), member)) {
            m_host.setComboSelection(id, i);
            return;
        }
    }
}

}  // namespace korzenik
