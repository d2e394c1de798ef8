// The edit boxes' number reader on any text. Besides crashes and undefined behaviour it checks
// what the dialog relies on:
// - the float is the double result rounded, and only the first 31 characters count;
// - no accepted value is infinite, and one (but a negative zero), written back as the dialog
//   writes it and read again, gives a text that no further round changes (so a second Confirm
//   sees what the first one settled), within the six significant digits of the written text;
// - on texts that the C library's own conversion reads the same way (no hexadecimal, infinity,
//   not-a-number or d/D exponent forms), acceptance and value agree with strtod in the C locale,
//   but for a magnitude that rounds beyond the largest float, which is refused.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "core/number_format.h"
#include "core/precision.h"
#include "fuzz/cpu_budget.h"

using korzenik::formatDialogNumber;
using korzenik::parseDialogNumber;
using korzenik::parseDialogNumberAsDouble;
using korzenik::single;
using korzenik::widen;

namespace {

void check(bool ok) {
    if (!ok) __builtin_trap();
}

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

/// What the reader should decide according to strtod, or nothing when strtod reads forms that
/// the reader does not take.
struct Expected {
    bool accepted;
    double value;
};

std::optional<Expected> byStrtod(std::string_view text) {
    text = text.substr(0, std::min<std::size_t>(text.size(), 31));
    text = text.substr(0, text.find('\0'));
    if (text.find_first_of("xXiInNpPdD") != std::string_view::npos) return std::nullopt;
    const std::string copy(text);
    std::size_t i = 0;
    while (i < copy.size() && (copy[i] == ' ' || copy[i] == '\t')) ++i;
    const char first = i < copy.size() ? copy[i] : '\0';
    char* end = nullptr;
    const double v = std::strtod(copy.c_str() + i, &end);
    const char* rest = end;
    while (*rest == ' ' || *rest == '\t') ++rest;
    const bool converted = end != copy.c_str() + i;
    const bool accepted =
        converted && *rest == '\0' && !(v == 0 && first != '0') && !std::isinf(single(v));
    return Expected{accepted, v};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A text is read in microseconds: a second of CPU time is a reader gone wrong.
    const korzenik::fuzz::CpuBudget budget(1);
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<float> value = parseDialogNumber(text);
    const std::optional<double> wide = parseDialogNumberAsDouble(text);

    check(value.has_value() == wide.has_value());
    if (value) check(sameBits(widen(*value), widen(single(*wide))));
    if (text.size() > 31) {
        const std::optional<double> prefix = parseDialogNumberAsDouble(text.substr(0, 31));
        check(prefix.has_value() == wide.has_value());
        if (wide) check(sameBits(*prefix, *wide));
    }

    if (const std::optional<Expected> expected = byStrtod(text)) {
        check(expected->accepted == wide.has_value());
        if (wide) check(sameBits(*wide, expected->value));
    }

    // A negative zero (from "-1e-50") is written "-0", which the reader refuses, as the dialog
    // always has; every other value must survive the round.
    if (value) check(std::isfinite(*value));
    if (value && !(*value == 0 && std::signbit(*value))) {
        const std::string written = formatDialogNumber(*value);
        const std::optional<float> reread = parseDialogNumber(written);
        check(reread.has_value());
        check(formatDialogNumber(*reread) == written);
        // Six significant digits: within half a unit of the sixth, plus the rounding to float.
        const double v = widen(*value);
        check(std::abs(widen(*reread) - v) <= std::abs(v) * 6e-6);
    }
    return 0;
}
