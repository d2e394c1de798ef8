#include "chart/markup.h"

namespace korzenik {

std::string colourHex(Colour colour) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out = "#";
    // 0x00BBGGRR: red first.
    for (int shift = 0; shift <= 16; shift += 8) {
        const Colour byte = (colour >> shift) & 0xFFu;
        out += kHex[byte >> 4];
        out += kHex[byte & 0xFu];
    }
    return out;
}

std::string escapeMarkup(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

}  // namespace korzenik
