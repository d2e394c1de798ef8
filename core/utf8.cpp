#include "core/utf8.h"

#include <cstdint>

namespace korzenik {

// The bounds of the second byte rule out the overlong forms (E0, F0), the surrogates (ED) and
// what lies beyond U+10FFFF (F4); every other continuation byte is 80 to BF.
Utf8Character decodeUtf8(std::string_view s) {
    if (s.empty()) return {};
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(s[i]); };
    const std::uint8_t b0 = byte(0);
    if (b0 < 0x80) return {b0, 1};
    std::size_t n = 0;
    std::uint8_t lo = 0x80, hi = 0xBF;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        n = 2;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        n = 3;
        if (b0 == 0xE0) lo = 0xA0;
        if (b0 == 0xED) hi = 0x9F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        n = 4;
        if (b0 == 0xF0) lo = 0x90;
        if (b0 == 0xF4) hi = 0x8F;
    } else {
        return {};
    }
    if (s.size() < n || byte(1) < lo || byte(1) > hi) return {};
    char32_t code = b0 & (0x7Fu >> n);
    for (std::size_t i = 1; i < n; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF) return {};
        code = code << 6 | (byte(i) & 0x3Fu);
    }
    return {code, n};
}

}  // namespace korzenik
