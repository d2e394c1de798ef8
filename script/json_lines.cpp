#include "script/json_lines.h"

#include <array>
#include <charconv>
#include <cstdint>

#include "core/utf8.h"

namespace korzenik::script {

namespace {

std::string integer(int v) {
    std::array<char, 16> buf{};
    return std::string(buf.data(), std::to_chars(buf.data(), buf.data() + buf.size(), v).ptr);
}

std::string kindAnd(std::string_view kind) { return "{\"event\":" + encodeJsonString(kind); }

}  // namespace

std::string encodeJsonString(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out = "\"";
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x80) {
            const std::size_t n = decodeUtf8(text.substr(i)).size;
            if (n == 0) {
                out += "\xEF\xBF\xBD";  // U+FFFD for a byte that starts no valid sequence
                ++i;
            } else {
                out.append(text.substr(i, n));
                i += n;
            }
            continue;
        }
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\b': out += "\\b"; break;
            case '\f': out += "\\f"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (u < 0x20 || u == 0x7F) {
                    out += "\\u00";
                    out += kHex[u >> 4];
                    out += kHex[u & 0xF];
                } else {
                    out += c;
                }
        }
        ++i;
    }
    out += '"';
    return out;
}

std::string messageEvent(std::string_view icon, std::string_view caption, std::string_view text) {
    return kindAnd("message") + ",\"icon\":" + encodeJsonString(icon) +
           ",\"caption\":" + encodeJsonString(caption) + ",\"text\":" + encodeJsonString(text) +
           "}";
}

std::string focusEvent(std::string_view control) {
    return kindAnd("focus") + ",\"control\":" + encodeJsonString(control) + "}";
}

std::string focusEvent(std::string_view control, int first, int count) {
    return kindAnd("focus") + ",\"control\":" + encodeJsonString(control) + ",\"select\":[" +
           integer(first) + "," + integer(count) + "]}";
}

std::string appendEvent(std::string_view text) {
    return kindAnd("append") + ",\"text\":" + encodeJsonString(text) + "}";
}

std::string selectEvent(int index) {
    return kindAnd("select") + ",\"index\":" + integer(index) + "}";
}

std::string deleteEvent(int index) {
    return kindAnd("delete") + ",\"index\":" + integer(index) + "}";
}

std::string stateEvent(const DialogSnapshot& s) {
    std::string out = kindAnd("state");
    const auto field = [&](std::string_view key, std::string_view value) {
        out += ",\"";
        out += key;
        out += "\":";
        out += encodeJsonString(value);
    };
    field("function", s.function);
    if (!s.expression.empty()) field("expression", s.expression);
    field("start", s.start);
    field("end", s.end);
    field("precision", s.precision);
    out += ",\"auto\":" + integer(s.autoState);
    field("xmin", s.xmin);
    field("xmax", s.xmax);
    field("ymin", s.ymin);
    field("ymax", s.ymax);
    out += ",\"lines\":[";
    for (std::size_t i = 0; i < s.lines.size(); ++i) {
        if (i > 0) out += ',';
        out += encodeJsonString(s.lines[i]);
    }
    out += "],\"selected\":" + integer(s.selected) + "}";
    return out;
}

}  // namespace korzenik::script
