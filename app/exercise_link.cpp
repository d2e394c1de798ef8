#include "app/exercise_link.h"

#include <array>
#include <cstdint>

#include "app/res/resource.h"
#include "app/solver_dialog.h"
#include "core/expression.h"
#include "core/function_catalogue.h"
#include "core/number_format.h"
#include "core/utf8.h"

namespace korzenik {

namespace {

/// The parameters in the order a fragment made here gives them, each with the control it sets.
struct Parameter {
    std::string_view name;
    int id;
};
constexpr std::array<Parameter, 6> kParameters = {{
    {"f", res::IDC_FUNCTION},
    {"e", res::IDC_EXPRESSION},
    {"a", res::IDC_START},
    {"b", res::IDC_END},
    {"p", res::IDC_PRECISION},
    {"auto", res::IDC_AUTO},
}};

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

/// Decodes a percent-encoded text into out ('+' is itself, as anywhere in an address but in a
/// form's); false when a '%' is not followed by two hexadecimal digits.
bool percentDecode(std::string_view text, std::string& out) {
    out.resize(text.size());
    std::size_t size = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '%') {
            if (text.size() - i < 3) return false;
            const int high = hexDigit(text[i + 1]);
            const int low = hexDigit(text[i + 2]);
            if (high < 0 || low < 0) return false;
            c = static_cast<char>(high * 16 + low);
            i += 2;
        }
        out[size++] = c;
    }
    out.resize(size);
    return true;
}

/// Whether a field could hold the text: UTF-8 without a character that cannot be typed into it
/// (a control character other than the tab), at most kEditTextLimit UTF-16 code units long.
bool fitsField(std::string_view text) {
    std::size_t units = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto [code, size] = decodeUtf8(text.substr(i));
        if (size == 0) return false;
        if ((code < 0x20 && code != '\t') || code == 0x7F) return false;
        units += code >= 0x10000 ? 2 : 1;
        i += size;
    }
    return units <= kEditTextLimit;
}

/// Whether a parameter's value sets its control: a function's place in the drop-down, Auto 0 or
/// 1, or a text that fits the field and that the dialog reads as a number, or for the typed
/// function's field as a function.
bool acceptable(int id, std::string_view value) {
    if (id == res::IDC_FUNCTION) {
        return value.size() == 1 && value[0] >= '1' && value[0] <= '0' + kOwnFunction;
    }
    if (id == res::IDC_AUTO) return value == "0" || value == "1";
    if (!fitsField(value)) return false;
    if (id == res::IDC_EXPRESSION) return readExpression(value).ok();
    return parseDialogNumber(value).has_value();
}

}  // namespace

void openExercise(DialogHost& controls, std::string_view fragment) {
    // Each parameter's value, and how many times it was given.
    std::array<std::string_view, kParameters.size()> given;
    std::array<int, kParameters.size()> count{};
    std::string decoded;
    for (std::size_t at = 0; at <= fragment.size();) {
        std::size_t next = fragment.find('&', at);
        if (next == std::string_view::npos) next = fragment.size();
        const std::string_view pair = fragment.substr(at, next - at);
        at = next + 1;
        const std::size_t equals = pair.find('=');
        if (!percentDecode(pair.substr(0, equals), decoded)) continue;
        std::size_t i = 0;
        while (i < kParameters.size() && kParameters[i].name != decoded) ++i;
        if (i == kParameters.size()) continue;
        ++count[i];
        given[i] = equals == std::string_view::npos ? "" : pair.substr(equals + 1);
    }
    for (std::size_t i = 0; i < kParameters.size(); ++i) {
        const int id = kParameters[i].id;
        if (count[i] != 1 || !percentDecode(given[i], decoded) || !acceptable(id, decoded)) {
            continue;
        }
        if (id == res::IDC_FUNCTION) {
            controls.setComboSelection(id, decoded[0] - '1');
            enableExpressionField(controls);
        } else if (id == res::IDC_AUTO) {
            controls.setCheckState(id, decoded[0] - '0');
        } else if (controls.controlText(id) != decoded) {
            controls.setControlText(id, decoded);
        }
    }
}

std::string exerciseFragment(const DialogHost& controls) {
    constexpr std::string_view kHex = "0123456789ABCDEF";
    std::string out;
    for (const auto& [name, id] : kParameters) {
        // A function's place and Auto's state are one digit each.
        const int digit = id == res::IDC_FUNCTION ? controls.comboSelection(id) + 1
                          : id == res::IDC_AUTO   ? controls.checkState(id)
                                                  : -1;
        const std::string value =
            digit < 0 ? controls.controlText(id) : std::string(1, static_cast<char>('0' + digit));
        if (!acceptable(id, value)) continue;
        if (!out.empty()) out += '&';
        out.append(name).append("=");
        for (char c : value) {
            const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                               (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' ||
                               c == '~';
            const auto byte = static_cast<std::uint8_t>(c);
            if (plain) {
                out += c;
            } else {
                out.append({'%', kHex[byte >> 4], kHex[byte & 0x0Fu]});
            }
        }
    }
    return out;
}

}  // namespace korzenik
