// make_page TEMPLATE STYLE OUTPUT_DIR: writes the page (OUTPUT_DIR/index.html) and its style sheet
// (OUTPUT_DIR/korzenik.css) from the dialogs' layout table, so that every control stands where
// the window has it, with its text and mnemonic, before the module has even loaded, and no
// position or text is typed twice. The template's @NAME@ markers are replaced; the style sheet is
// STYLE with the window's measures and the controls' rectangles added in front.
//
// Every control of the main dialog that has an identifier gets it as the element's id, and its
// number as data-id for the page's script. Template order is tab order and z-order: the first
// control lies on top, and the see-through ones above all.
//
// The controls inside a group box stand in a pane of their own at the group's place, so that a
// narrow screen can lay the groups out one under the other. The pane of the group that holds the
// chart's white backdrop also holds the canvas with the window's pixels, and everything in it is
// placed in units of one window pixel times --s, the CSS pixels per window pixel that the page's
// script picks so that each window pixel is a whole number of device pixels.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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

bool isGroupBox(const ControlTemplate& c) {
    return c.cls == ControlClass::Button && has(c, res::kGroupBox);
}

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

/// The index of the smallest group box whose rectangle holds the control, or kNone.
std::size_t groupOf(const DialogTemplate& d, std::size_t index) {
    const ControlTemplate& c = d.controls[index];
    std::size_t group = kNone;
    for (std::size_t i = 0; i < d.controls.size(); ++i) {
        const ControlTemplate& g = d.controls[i];
        if (i != index && isGroupBox(g) && g.x <= c.x && g.y <= c.y && c.x + c.w <= g.x + g.w &&
            c.y + c.h <= g.y + g.h && (group == kNone || g.w < d.controls[group].w)) {
            group = i;
        }
    }
    return group;
}

/// The chart's white backdrop, or nullptr.
const ControlTemplate* backdrop(const DialogTemplate& d) {
    for (const ControlTemplate& c : d.controls) {
        if (has(c, res::kWhiteRect)) return &c;
    }
    return nullptr;
}

/// The group box that holds the chart's white backdrop, or kNone.
std::size_t chartGroup(const DialogTemplate& d) {
    const ControlTemplate* b = backdrop(d);
    return b ? groupOf(d, static_cast<std::size_t>(b - d.controls.data())) : kNone;
}

/// The static text that names an edit box: right above it across the same width; or kNone.
std::size_t labelOf(const DialogTemplate& d, const ControlTemplate& c) {
    if (c.cls != ControlClass::Edit) return kNone;
    for (std::size_t i = 0; i < d.controls.size(); ++i) {
        const ControlTemplate& s = d.controls[i];
        if (isText(s) && s.x == c.x && s.w == c.w && s.y + s.h <= c.y && c.y - (s.y + s.h) <= 4) {
            return i;
        }
    }
    return kNone;
}

/// The edit box that a static text names, or nullptr.
const ControlTemplate* labelledBy(const DialogTemplate& d, std::size_t index) {
    for (const ControlTemplate& c : d.controls) {
        if (labelOf(d, c) == index) return &c;
    }
    return nullptr;
}

/// What a screen reader calls a control that no text names: the caption of its group box.
std::string groupName(const DialogTemplate& d, std::size_t index) {
    const std::size_t group = groupOf(d, index);
    return group == kNone ? std::string() : caption(d.controls[group].text, true).plain;
}

/// What a screen reader says before a number that the dialog writes into a label, which alone
/// would not tell what it is.
constexpr std::pair<int, std::string_view> kLabelPrefixes[] = {
    {res::IDC_XMIN, "najmniejsze x: "},
    {res::IDC_XMAX, "największe x: "},
    {res::IDC_YMIN, "najmniejsze y: "},
    {res::IDC_YMAX, "największe y: "},
};

std::string_view labelPrefix(int id) {
    for (const auto& [value, prefix] : kLabelPrefixes) {
        if (value == id) return prefix;
    }
    return {};
}

/// The results list's name for a screen reader.
constexpr std::string_view kResultsName = "Kolejne przybliżenia";

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
    std::string name;
    if (c.id != res::IDC_STATIC) {
        if (idPrefix.empty()) {
            name = identifierName(c.id);
            id = " id=\"" + name + "\" data-id=\"" + std::to_string(c.id) + "\"";
        } else if (c.id == res::IDOK) {
            id = " id=\"" + std::string(idPrefix) + "-ok\"";
        }
    }
    const std::string cls = std::string(layoutClass) + std::to_string(index);
    const std::string unreachable = has(c, res::kTabStop) ? "" : " tabindex=\"-1\"";
    const std::string label =
        labelOf(d, c) == kNone ? " aria-label=\"" + escapeHtml(groupName(d, index)) + "\"" : "";
    const Caption text = caption(c.text, !has(c, res::kNoPrefix));

    switch (c.cls) {
        case ControlClass::ComboBox:
            return "<select" + id + " class=\"" + cls + "\"" + unreachable + label + "></select>";
        case ControlClass::Edit:
            // A phone shows its full keyboard for a text field: the number pads of some
            // languages offer a comma but no point, and some no minus sign.
            return "<input type=\"text\"" + id + " class=\"" + cls + " edit\"" + unreachable +
                   label + " autocomplete=\"off\" autocapitalize=\"off\" spellcheck=\"false\">";
        case ControlClass::ListBox:
            // Reachable with Tab, unlike the window's list box, so that its lines can be read.
            return "<div" + id + " class=\"" + cls + " list\" role=\"listbox\" tabindex=\"0\"" +
                   " aria-label=\"" + escapeHtml(kResultsName) + "\"></div>";
        case ControlClass::Button:
            if (has(c, res::kGroupBox)) {
                return "<fieldset class=\"group\" aria-hidden=\"true\"><legend>" + text.html +
                       "</legend></fieldset>";
            }
            if (has(c, res::kAutoCheckBox)) {
                return "<label class=\"" + cls + " check\"><input type=\"checkbox\"" + id +
                       unreachable + "><span>" + text.html + "</span></label>";
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
            {
                const std::string classes = cls + " static" + alignment(c) +
                                            (has(c, res::kTransparent) ? " transparent" : "");
                if (const ControlTemplate* edit = labelledBy(d, index); edit && idPrefix.empty()) {
                    return "<label for=\"" + identifierName(edit->id) + "\" class=\"" + classes +
                           "\">" + text.html + "</label>";
                }
                // The dialog writes the text of a label with an identifier; the element that
                // holds it is the control, after the words that say what it is.
                const std::string_view prefix = labelPrefix(c.id);
                if (!prefix.empty()) {
                    return "<div class=\"" + classes + "\"><span class=\"hidden\">" +
                           escapeHtml(prefix) + "</span><span" + id + ">" + text.html +
                           "</span></div>";
                }
                return "<div" + id + " class=\"" + classes + "\">" + text.html + "</div>";
            }
    }
    return {};
}

/// The canvas with the window's pixels: the client area's, placed in the chart's pane.
std::string surfaceHtml() {
    return "<div class=\"crop\"><canvas id=\"surface\" width=\"" + std::to_string(kClientWidth) +
           "\" height=\"" + std::to_string(kClientHeight) +
           "\" role=\"img\" aria-label=\"Wykres\" "
           "aria-describedby=\"chart-text\"></canvas></div>\n";
}

/// The controls of a dialog in template order, those of each group box in a pane of their own
/// where the first of them stands.
std::string controlsHtml(const DialogTemplate& d, std::string_view layoutClass,
                         std::string_view idPrefix) {
    const std::size_t count = d.controls.size();
    const std::size_t chart = chartGroup(d);
    std::vector<std::size_t> groups(count);
    for (std::size_t i = 0; i < count; ++i) groups[i] = groupOf(d, i);
    std::vector<bool> done(count);
    std::string out;
    for (std::size_t i = 0; i < count; ++i) {
        if (done[i]) continue;
        const std::size_t g = groups[i];
        if (g == kNone && !isGroupBox(d.controls[i])) {
            out += controlHtml(d, i, layoutClass, idPrefix) + "\n";
            continue;
        }
        const std::size_t pane = g == kNone ? i : g;
        const bool isChart = pane == chart;
        out += "<div class=\"" + std::string(layoutClass) + std::to_string(pane) + " pane" +
               (isChart ? " chart" : " controls") + "\" role=\"group\" aria-label=\"" +
               escapeHtml(caption(d.controls[pane].text, true).plain) + "\">\n" +
               controlHtml(d, pane, layoutClass, idPrefix) + "\n";
        if (isChart) out += "<div class=\"view\"><div class=\"plate\">\n" + surfaceHtml();
        for (std::size_t j = 0; j < count; ++j) {
            if (groups[j] != pane) continue;
            out += controlHtml(d, j, layoutClass, idPrefix) + "\n";
            done[j] = true;
        }
        if (isChart) out += "</div></div>\n";
        out += "</div>\n";
        done[pane] = true;
    }
    return out;
}

std::string px(int dialogUnits) {
    return std::to_string(dialogUnits * res::kPixelsPerDialogUnit) + "px";
}

/// A length of window pixels, scaled with the chart when scaled is set.
std::string length(int pixels, bool scaled) {
    const std::string n = std::to_string(pixels) + "px";
    return scaled ? "calc(var(--s)*" + n + ")" : n;
}

/// The rectangles of a dialog's controls in pixels, with their stacking: each inside its group's
/// pane relative to the group's corner, those of the chart's group scaled with the chart.
std::string layoutCss(const DialogTemplate& d, std::string_view layoutClass) {
    std::string out;
    const std::size_t count = d.controls.size();
    const std::size_t chart = chartGroup(d);
    for (std::size_t i = 0; i < count; ++i) {
        const ControlTemplate& c = d.controls[i];
        const std::size_t g = isGroupBox(c) ? kNone : groupOf(d, i);
        const int x = g == kNone ? c.x : c.x - d.controls[g].x;
        const int y = g == kNone ? c.y : c.y - d.controls[g].y;
        // A group box's own rectangle is its pane's; the chart's pane grows with the chart.
        const bool scaled = g == chart && g != kNone;
        const bool scaledSize = scaled || (isGroupBox(c) && i == chart);
        const auto units = [](int v) { return v * res::kPixelsPerDialogUnit; };
        std::string top = length(units(y), scaled);
        if (scaled && isText(c)) {
            // A label above or under the backdrop keeps its distance from it: its text does not
            // shrink with the chart.
            const ControlTemplate& b = *backdrop(d);
            const int gy = d.controls[g].y;
            if (c.y + c.h <= b.y) {
                top = "calc(var(--s)*" + std::to_string(units(b.y - gy)) + "px - " +
                      std::to_string(units(b.y - c.y)) + "px)";
            } else if (c.y >= b.y + b.h) {
                top = "calc(var(--s)*" + std::to_string(units(b.y + b.h - gy)) + "px + " +
                      std::to_string(units(c.y - (b.y + b.h))) + "px)";
            }
        }
        out += "." + std::string(layoutClass) + std::to_string(i) +
               "{left:" + length(units(x), scaled) + ";top:" + top;
        // An icon takes its own size; a drop-down's height includes its dropped list, so the
        // closed box keeps the height the style sheet gives it.
        if (!has(c, res::kIcon)) {
            out += ";width:" + length(units(c.w), scaledSize);
            // A text's height is its line's, whatever the chart's scale.
            if (c.cls != ControlClass::ComboBox) {
                out += ";height:" + length(units(c.h), scaledSize && !isText(c));
            }
        }
        // A group box's pane stacks nothing itself: its frame does, at the group's place.
        const std::size_t z = has(c, res::kTransparent) ? count + 1 : count - i;
        out += isGroupBox(c) ? "}\n." + std::string(layoutClass) + std::to_string(i) + ">.group{"
                             : ";";
        out += "z-index:" + std::to_string(z) + "}\n";
    }
    if (chart != kNone) {
        // The canvas holds the whole client area; the chart's pane shows it from the group's
        // corner on (and a narrow page only the group's part of it). It is moved and scaled by a
        // transform, which lands exactly on device pixels where a box's edges would be rounded.
        const ControlTemplate& g = d.controls[chart];
        const int left = g.x * res::kPixelsPerDialogUnit;
        const int top = g.y * res::kPixelsPerDialogUnit;
        out += "#surface{width:" + std::to_string(kClientWidth) +
               "px;height:" + std::to_string(kClientHeight) + "px;transform:translate(" +
               length(-left, true) + "," + length(-top, true) + ") scale(var(--s))}\n";
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
    // The chart's group, and how far under the backdrop its lowest label ends: a narrow page
    // keeps room for the labels under the chart.
    const DialogTemplate& d = res::kMainDialog;
    const ControlTemplate& chart = d.controls[chartGroup(d)];
    const ControlTemplate& b = *backdrop(d);
    int below = 0;
    for (std::size_t i = 0; i < d.controls.size(); ++i) {
        const ControlTemplate& c = d.controls[i];
        if (isText(c) && groupOf(d, i) == chartGroup(d)) {
            below = std::max(below, c.y + c.h - (b.y + b.h));
        }
    }
    const std::string plateHeight = "max(calc(var(--s)*" + px(chart.h) + "),calc(var(--s)*" +
                                    px(b.y + b.h - chart.y) + " + " + px(below) + "))";
    return ":root{--face:" + cssColour(kFaceColour) + ";--window-width:" + n(kWindowWidth) +
           ";--window-height:" + n(kWindowHeight) + ";--client-left:" + n(kClientLeft) +
           ";--client-top:" + n(kClientTop) + ";--client-width:" + n(kClientWidth) +
           ";--client-height:" + n(kClientHeight) + ";--chart-width:" + px(chart.w) +
           ";--chart-height:" + px(chart.h) + ";--chart-plate-height:" + plateHeight +
           ";--about-width:" + px(res::kAboutBox.w) + ";--about-height:" + px(res::kAboutBox.h) +
           "}\n";
}

/// The style sheet without its comments, which only its readers in the sources need.
std::string withoutComments(std::string_view css) {
    std::string out;
    for (std::size_t at = 0; at < css.size();) {
        const std::size_t open = css.find("/*", at);
        out.append(css.substr(at, open - at));
        if (open == std::string_view::npos) break;
        const std::size_t close = css.find("*/", open + 2);
        at = close == std::string_view::npos ? css.size() : close + 2;
        // The line the comment stood on goes with it when nothing else was on it.
        if (at < css.size() && css[at] == '\n' && (out.empty() || out.back() == '\n')) ++at;
    }
    return out;
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
    style = windowCss() + layoutCss(res::kMainDialog, "k") + layoutCss(res::kAboutBox, "a") +
            withoutComments(style);
    const std::string dir = argv[3];
    if (!writeFile(dir + "/index.html", page) || !writeFile(dir + "/korzenik.css", style)) {
        std::fputs("make_page: cannot write the page\n", stderr);
        return 2;
    }
    return 0;
}
