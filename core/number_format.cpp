#include "core/number_format.h"

#include <array>
#include <charconv>
#include <cmath>

namespace korzenik {

void appendFixed(std::string& out, double v, int digits) {
    if (std::isnan(v)) {
        out += "nan";
        return;
    }
    if (std::isinf(v)) {
        out += v < 0 ? "-inf" : "inf";
        return;
    }
    // The largest double has 309 integer digits; the widest precision used here is 6.
    std::array<char, 400> buf;  // to_chars writes what is read back
    const auto res =
        std::to_chars(buf.data(), buf.data() + buf.size(), v, std::chars_format::fixed, digits);
    out.append(buf.data(), res.ptr);
}

std::string formatFixed(double v, int digits) {
    std::string out;
    appendFixed(out, v, digits);
    return out;
}

}  // namespace korzenik
