// make_page TEMPLATE STYLE OUTPUT_DIR: writes the page (OUTPUT_DIR/index.html) and its style sheet
// (OUTPUT_DIR/korzenik.css) from the dialogs' layout table, so that every control stands where
// the window has it, with its text and mnemonic, before the module has even loaded, and no
// position or text is typed twice. The template's @NAME@ markers are replaced; the style sheet is
// STYLE with the window's measures and the controls' rectangles added in front.
//
// Every control of the main dialog that has an identifier gets it as the element's id, and its
// number as data-id for the page's script. Template order is tab order and z-order: the first
// control lies on top, and the see-through ones above all.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "app/res/dialog_template.h"
#include "app/res/resource.h"
#include "app/res/strings.h"
#include "app/window.h"

namespace {

using namespace korzenik;
using res::ControlClass;
using res::ControlTemplate;
using res::DialogTemplate;

constexpr std::pair<int, std::string_view> kIdentifierNames[] = {
    {res::IDC_CHART_FRAME, "IDC_CHART_FRAME"},
    {res::IDC_START, "IDC_START"},
    {res::IDC_END, "IDC_END"},
    {res::IDC_PRECISION, "IDC_PRECISION"},
    {res::IDC_CONFIRM, "IDC_CONFIRM"},
    {res::IDC_COMPUTE, "IDC_COMPUTE"},
    {res::IDC_AUTO, "IDC_AUTO"},
    {res::IDC_RESULTS, "IDC_RESULTS"},
    {res::IDC_XMIN, "IDC_XMIN"},
    {res::IDC_XMAX, "IDC_XMAX"},
    {res::IDC_YMIN, "IDC_YMIN"},
    {res::IDC_YMAX, "IDC_YMAX"},
    {res::IDC_FUNCTION, "IDC_FUNCTION"},
};

std::string identifierName(int id) {
    for (const auto& [value, name] : kIdentifierNames) {
        if (value == id) return std::string(name);
    }
    return {};
}

std::string escapeHtml(std::string_view text) {
    std::string out;
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

/// A caption as the window system shows it: "&&" is one '&', and "&X" underlines X and makes it
/// the mnemonic (lower case; 0 when there is none).
struct Caption {
    std::string html;
    std::string plain;
    char mnemonic = 0;
};

Caption caption(std::string_view text, bool prefix) {
    Caption out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!prefix || text[i] != '&' || i + 1 == text.size()) {
            out.html += escapeHtml(text.substr(i, 1));
            out.plain += text[i];
            continue;
        }
        const char next = text[++i];
        if (next == '&') {
            out.html += "&amp;";
            out.plain += '&';
            continue;
        }
        out.html += "<u>" + escapeHtml(text.substr(i, 1)) + "</u>";
        out.plain += next;
        if (out.mnemonic == 0) {
            out.mnemonic = static_cast<char>(next >= 'A' && next <= 'Z' ? next - 'A' + 'a' : next);
        }
    }
    return out;
}

bool has(const ControlTemplate& c, std::uint32_t style) { return (c.styles & style) != 0; }

bool isText(const ControlTemplate& c) {
    return c.cls == ControlClass::Static && !has(c, res::kWhiteRect | res::kIcon);
}

/// What a screen reader calls a control: the text right above it across the same width, else
/// the caption of the smallest group box around it.
std::string accessibleName(const DialogTemplate& d, const ControlTemplate& c) {
    for (const ControlTemplate& s : d.controls) {
        if (isText(s) && s.x == c.x && s.w == c.w && s.y + s.h <= c.y && c.y - (s.y + s.h) <= 4) {
            return caption(s.text, !has(s, res::kNoPrefix)).plain;
        }
    }
    const ControlTemplate* group = nullptr;
    for (const ControlTemplate& g : d.controls) {
        if (g.cls == ControlClass::Button && has(g, res::kGroupBox) && g.x <= c.x && g.y <= c.y &&
            c.x + c.w <= g.x + g.w && c.y + c.h <= g.y + g.h && (!group || g.w < group->w)) {
            group = &g;
        }
    }
    return group ? caption(group->text, true).plain : std::string();
}

std::string alignment(const ControlTemplate& c) {
    if (has(c, res::kAlignCenter)) return " center";
    if (has(c, res::kAlignRight)) return " right";
    return "";
}

/// The element of one control. idPrefix names the controls of the About box, which the page's
/// script does not mirror.
std::string controlHtml(const DialogTemplate& d, std::size_t index, std::string_view layoutClass,
                        std::string_view idPrefix) {
    const ControlTemplate& c = d.controls[index];
    std::string id;
    if (c.id != res::IDC_STATIC) {
        if (idPrefix.empty()) {
            id = " id=\"" + identifierName(c.id) + "\" data-id=\"" + std::to_string(c.id) + "\"";
        } else if (c.id == res::IDOK) {
            id = " id=\"" + std::string(idPrefix) + "-ok\"";
        }
    }
    const std::string cls = std::string(layoutClass) + std::to_string(index);
    const std::string unreachable = has(c, res::kTabStop) ? "" : " tabindex=\"-1\"";
    const std::string label = " aria-label=\"" + escapeHtml(accessibleName(d, c)) + "\"";
    const Caption text = caption(c.text, !has(c, res::kNoPrefix));

    switch (c.cls) {
        case ControlClass::ComboBox:
            return "<select" + id + " class=\"" + cls + "\"" + unreachable + label + "></select>";
        case ControlClass::Edit:
            return "<input type=\"text\"" + id + " class=\"" + cls + " edit\"" + unreachable +
                   label + " autocomplete=\"off\" spellcheck=\"false\">";
        case ControlClass::ListBox:
            return "<div" + id + " class=\"" + cls + " list\" role=\"listbox\" tabindex=\"-1\"" +
                   "></div>";
        case ControlClass::Button:
            if (has(c, res::kGroupBox)) {
                return "<fieldset class=\"" + cls + " group\"><legend>" + text.html +
                       "</legend></fieldset>";
            }
            if (has(c, res::kAutoCheckBox)) {
                return "<label class=\"" + cls + " check\"><input type=\"checkbox\"" + id +
                       unreachable + ">" + text.html + "</label>";
            }
            {
                std::string keys;
                if (text.mnemonic != 0) {
                    const char upper = static_cast<char>(
                        text.mnemonic >= 'a' && text.mnemonic <= 'z' ? text.mnemonic - 'a' + 'A'
                                                                     : text.mnemonic);
                    keys = " data-mnemonic=\"" + escapeHtml(std::string(1, text.mnemonic)) +
                           "\" aria-keyshortcuts=\"Alt+" + escapeHtml(std::string(1, upper)) + "\"";
                }
                const std::string role = has(c, res::kDefPushButton) ? " default" : "";
                return "<button type=\"button\"" + id + " class=\"" + cls + role + "\"" +
                       unreachable + keys + ">" + text.html + "</button>";
            }
        case ControlClass::Static:
            if (has(c, res::kWhiteRect)) return "<div" + id + " class=\"" + cls + " frame\"></div>";
            if (has(c, res::kIcon)) {
                return "<img class=\"" + cls + "\" src=\"korzenik.svg\" alt=\"\" width=\"32\" " +
                       "height=\"32\">";
            }
            return "<div" + id + " class=\"" + cls + " static" + alignment(c) +
                   (has(c, res::kTransparent) ? " transparent" : "") + "\">" + text.html + "</div>";
    }
    return {};
}

std::string controlsHtml(const DialogTemplate& d, std::string_view layoutClass,
                         std::string_view idPrefix) {
    std::string out;
    for (std::size_t i = 0; i < d.controls.size(); ++i) {
        out += controlHtml(d, i, layoutClass, idPrefix) + "\n";
    }
    return out;
}

std::string px(int dialogUnits) {
    return std::to_string(dialogUnits * res::kPixelsPerDialogUnit) + "px";
}

/// The rectangles of a dialog's controls in pixels, with their stacking.
std::string layoutCss(const DialogTemplate& d, std::string_view layoutClass) {
    std::string out;
    const std::size_t count = d.controls.size();
    for (std::size_t i = 0; i < count; ++i) {
        const ControlTemplate& c = d.controls[i];
        out += "." + std::string(layoutClass) + std::to_string(i) + "{left:" + px(c.x) +
               ";top:" + px(c.y);
        // An icon takes its own size; a drop-down's height includes its dropped list, so the
        // closed box keeps the height the style sheet gives it.
        if (!has(c, res::kIcon)) {
            out += ";width:" + px(c.w);
            if (c.cls != ControlClass::ComboBox) out += ";height:" + px(c.h);
        }
        const std::size_t z = has(c, res::kTransparent) ? count + 1 : count - i;
        out += ";z-index:" + std::to_string(z) + "}\n";
    }
    return out;
}

std::string cssColour(Colour c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", c & 0xFFu, (c >> 8) & 0xFFu,
                  (c >> 16) & 0xFFu);
    return text;
}

std::string windowCss() {
    const auto n = [](int v) { return std::to_string(v) + "px"; };
    return ":root{--face:" + cssColour(kFaceColour) + ";--window-width:" + n(kWindowWidth) +
           ";--window-height:" + n(kWindowHeight) + ";--client-left:" + n(kClientLeft) +
           ";--client-top:" + n(kClientTop) + ";--client-width:" + n(kClientWidth) +
           ";--client-height:" + n(kClientHeight) + ";--about-width:" + px(res::kAboutBox.w) +
           ";--about-height:" + px(res::kAboutBox.h) + "}\n";
}

bool readFile(const char* path, std::string* out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool writeFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    out.close();
    return static_cast<bool>(out);
}

/// The template with each @NAME@ replaced by its text, in one pass; false at an unknown marker.
bool fillTemplate(std::string_view in,
                  std::span<const std::pair<std::string_view, std::string>> with,
                  std::string* out) {
    for (std::size_t at = 0; at < in.size();) {
        const std::size_t open = in.find('@', at);
        out->append(in.substr(at, open - at));
        if (open == std::string_view::npos) break;
        const std::size_t close = in.find('@', open + 1);
        const std::string_view marker = in.substr(open, close - open + 1);
        bool known = false;
        for (const auto& [name, text] : with) {
            if (name == marker) {
                out->append(text);
                known = true;
            }
        }
        if (!known) return false;
        at = close + 1;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fputs("usage: make_page TEMPLATE STYLE OUTPUT_DIR\n", stderr);
        return 2;
    }
    std::string pageTemplate, style;
    if (!readFile(argv[1], &pageTemplate) || !readFile(argv[2], &style)) {
        std::fputs("make_page: cannot read the template or the style sheet\n", stderr);
        return 2;
    }
    const Caption aboutEntry = caption(res::kAboutMenuText, true);
    const std::pair<std::string_view, std::string> markers[] = {
        {"@MAIN_CAPTION@", escapeHtml(res::kMainDialog.caption)},
        {"@MAIN_CONTROLS@", controlsHtml(res::kMainDialog, "k", "")},
        {"@CLIENT_WIDTH@", std::to_string(kClientWidth)},
        {"@CLIENT_HEIGHT@", std::to_string(kClientHeight)},
        {"@ABOUT_CAPTION@", escapeHtml(res::kAboutBox.caption)},
        {"@ABOUT_CONTROLS@", controlsHtml(res::kAboutBox, "a", "aboutbox")},
        {"@ABOUT_ENTRY@", aboutEntry.html},
        {"@ABOUT_ENTRY_KEY@", std::string(1, aboutEntry.mnemonic)},
    };
    std::string page;
    if (!fillTemplate(pageTemplate, markers, &page)) {
        std::fputs("make_page: the template has a marker this program does not know\n", stderr);
        return 2;
    }
    style = windowCss() + layoutCss(res::kMainDialog, "k") + layoutCss(res::kAboutBox, "a") + style;
    const std::string dir = argv[3];
    if (!writeFile(dir + "/index.html", page) || !writeFile(dir + "/korzenik.css", style)) {
        std::fputs("make_page: cannot write the page\n", stderr);
        return 2;
    }
    return 0;
}
