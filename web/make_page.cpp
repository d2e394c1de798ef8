// make_page TEMPLATE STYLE MANIFEST ICON OUTPUT_DIR: writes the page (OUTPUT_DIR/index.html) and
// its style sheet (OUTPUT_DIR/korzenik.css) from the dialogs' layout table, so that every control
// stands where the window has it, with its text and mnemonic, before the module has even loaded,
// and no position or text is typed twice. The template's @NAME@ markers are replaced; the style
// sheet is STYLE with the window's measures and the controls' rectangles added in front.
//
// The icon (the SVG drawing ICON) is written out in the page's and the web app manifest's
// (MANIFEST, written to OUTPUT_DIR/manifest.webmanifest) own text wherever it shows: the page's
// tab, the window's caption, the About box, the installed app. A browser fetches a file once for
// each place that names it, asking the server again each time, so the icon is no file of its own.
//
// Every control of the main dialog that has an identifier gets it as the element's id, and its
// number as data-id for the page's script. Template order is tab order and z-order: the first
// control lies on top, and the see-through ones above all.
//
// The controls inside a group box stand in a pane of their own at the group's place, so that a
// narrow screen can lay the groups out one under the other. The pane of the group that holds the
// chart's white backdrop also holds the canvas with the window's pixels, and everything in it is
// placed in units of one window pixel times --s, the CSS pixels per window pixel at the scale the
// page's script takes for the screen it is on.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/control_table.h"
#include "app/res/dialog_template.h"
#include "app/res/page_strings.h"
#include "app/res/resource.h"
#include "app/res/strings.h"
#include "app/window.h"
#include "app/window_menu.h"
#include "chart/markup.h"

namespace {

using namespace korzenik;
using res::DialogTemplate;

std::vector<ControlPlan> plansOf(const DialogTemplate& d) {
    std::vector<ControlPlan> plans;
    for (const res::ControlTemplate& row : d.controls) plans.push_back(controlPlan(row));
    return plans;
}

std::string escapeHtml(std::string_view text) { return escapeMarkup(text); }

/// The attributes that make a caption's mnemonic a key: the page's script presses what carries
/// data-mnemonic on Alt and that key, and a screen reader says aria-keyshortcuts.
std::string mnemonicKeys(const Caption& text) {
    if (text.key == 0) return {};
    const char upper =
        static_cast<char>(text.key >= 'a' && text.key <= 'z' ? text.key - 'a' + 'A' : text.key);
    return " data-mnemonic=\"" + escapeHtml(std::string(1, text.key)) +
           "\" aria-keyshortcuts=\"Alt+" + escapeHtml(std::string(1, upper)) + "\"";
}

/// A caption's HTML: its mnemonic underlined.
std::string captionHtml(const Caption& caption) {
    if (caption.mnemonicAt == std::string::npos) return escapeHtml(caption.text);
    const std::string_view text = caption.text;
    return escapeHtml(text.substr(0, caption.mnemonicAt)) + "<u>" +
           escapeHtml(text.substr(caption.mnemonicAt, caption.mnemonicSize)) + "</u>" +
           escapeHtml(text.substr(caption.mnemonicAt + caption.mnemonicSize));
}

bool isText(const ControlPlan& c) { return c.kind == ControlKind::Label; }

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

/// The index of the control with this identifier, or kNone.
std::size_t indexOf(const std::vector<ControlPlan>& d, int id) {
    for (std::size_t i = 0; id != res::IDC_STATIC && i < d.size(); ++i) {
        if (d[i].id == id) return i;
    }
    return kNone;
}

/// The index of the group box the control stands in, or kNone.
std::size_t groupOf(const std::vector<ControlPlan>& d, std::size_t index) {
    return indexOf(d, d[index].group);
}

/// The chart's white backdrop's index, or kNone.
std::size_t backdropOf(const std::vector<ControlPlan>& d) {
    for (std::size_t i = 0; i < d.size(); ++i) {
        if (d[i].kind == ControlKind::WhiteRect) return i;
    }
    return kNone;
}

/// The group box that holds the chart's white backdrop, or kNone.
std::size_t chartGroup(const std::vector<ControlPlan>& d) {
    const std::size_t b = backdropOf(d);
    return b == kNone ? kNone : groupOf(d, b);
}

/// The control that a static text names, or nullptr.
const ControlPlan* labelledBy(const std::vector<ControlPlan>& d, std::size_t index) {
    for (const ControlPlan& c : d) {
        if (d[index].id != res::IDC_STATIC && c.labelledBy == d[index].id) return &c;
    }
    return nullptr;
}

std::string alignment(const ControlPlan& c) {
    switch (c.align) {
        case TextAlign::Centre: return " center";
        case TextAlign::Right: return " right";
        case TextAlign::Left: break;
    }
    return "";
}

/// The element of one control of dialog. idPrefix names the controls of the About box, which the
/// page's script does not mirror; icon is the application icon's address.
std::string controlHtml(const DialogTemplate& dialog, const std::vector<ControlPlan>& d,
                        std::size_t index, std::string_view layoutClass, std::string_view idPrefix,
                        std::string_view icon) {
    const ControlPlan& c = d[index];
    std::string id;
    if (c.id != res::IDC_STATIC) {
        if (idPrefix.empty()) {
            id = " id=\"" + std::string(controlIdentifier(c.id)) + "\" data-id=\"" +
                 std::to_string(c.id) + "\"";
        } else if (c.id == res::IDOK) {
            id = " id=\"" + std::string(idPrefix) + "-ok\"";
        }
    }
    const std::string cls = std::string(layoutClass) + std::to_string(index);
    const std::string unreachable = c.tabStop ? "" : " tabindex=\"-1\"";
    // A field that a static text names has that text for its label element.
    const std::string label =
        c.labelledBy == res::IDC_STATIC
            ? " aria-label=\"" + escapeHtml(accessibleName(dialog, c.id)) + "\""
            : "";
    const Caption text = parseCaption(c.text, c.mnemonics);

    switch (c.kind) {
        case ControlKind::DropDown:
            // The closed box shows the chosen entry's whole text, on two lines where one does not
            // hold it, which a select cannot: its own text is not seen, the box's is, and the
            // select over the box takes the clicks, the keys and a screen reader's questions.
            return "<div class=\"" + cls + " dropdown\"><select" + id + unreachable + label +
                   "></select><span class=\"choice\" aria-hidden=\"true\"></span></div>";
        case ControlKind::Edit:
            // A phone shows its full keyboard for a text field: the number pads of some
            // languages offer a comma but no point, and some no minus sign.
            return "<input type=\"text\"" + id + " class=\"" + cls + " edit\"" + unreachable +
                   label + " autocomplete=\"off\" autocapitalize=\"off\" spellcheck=\"false\">";
        case ControlKind::List:
            // Reachable with Tab, unlike the window's list box, so that its lines can be read.
            return "<div" + id + " class=\"" + cls + " list\" role=\"listbox\" tabindex=\"0\"" +
                   label + "></div>";
        case ControlKind::GroupBox:
            return "<fieldset class=\"group\" aria-hidden=\"true\"><legend>" + captionHtml(text) +
                   "</legend></fieldset>";
        case ControlKind::CheckBox:
            return "<label class=\"" + cls + " check\"><input type=\"checkbox\"" + id +
                   unreachable + "><span>" + captionHtml(text) + "</span></label>";
        case ControlKind::PushButton: {
            const std::string keys = mnemonicKeys(text);
            const std::string role = c.defaultButton ? " default" : "";
            return "<button type=\"button\"" + id + " class=\"" + cls + role + "\"" + unreachable +
                   keys + ">" + captionHtml(text) + "</button>";
        }
        case ControlKind::WhiteRect: return "<div" + id + " class=\"" + cls + " frame\"></div>";
        case ControlKind::Icon:
            return "<img class=\"" + cls + "\" src=\"" + std::string(icon) +
                   "\" alt=\"\" width=\"" + std::to_string(kIconPixels) + "\" height=\"" +
                   std::to_string(kIconPixels) + "\">";
        case ControlKind::Label: {
            const std::string classes =
                cls + " static" + alignment(c) + (c.seeThrough ? " transparent" : "");
            if (const ControlPlan* edit = labelledBy(d, index); edit && idPrefix.empty()) {
                // Its mnemonic clicks it, which takes the focus to its field.
                return "<label for=\"" + std::string(controlIdentifier(edit->id)) + "\" class=\"" +
                       classes + "\"" + mnemonicKeys(text) + ">" + captionHtml(text) + "</label>";
            }
            // The dialog writes the text of a label with an identifier; the element that holds
            // it is the control, after the words that say what it is.
            if (!c.name.empty()) {
                return "<div class=\"" + classes + "\"><span class=\"hidden\">" +
                       escapeHtml(c.name) + ": </span><span" + id + ">" + captionHtml(text) +
                       "</span></div>";
            }
            return "<div" + id + " class=\"" + classes + "\">" + captionHtml(text) + "</div>";
        }
    }
    return {};
}

/// The canvas with the window's pixels: the client area's, placed in the chart's pane, named as
/// the chart's backdrop is and described by what the chart shows.
std::string surfaceHtml(const DialogTemplate& dialog, const ControlPlan& backdrop) {
    return "<div class=\"crop\"><canvas id=\"surface\" width=\"" + std::to_string(kClientWidth) +
           "\" height=\"" + std::to_string(kClientHeight) + "\" role=\"img\" aria-label=\"" +
           escapeHtml(accessibleName(dialog, backdrop.id)) +
           "\" aria-describedby=\"chart-text\"></canvas></div>\n";
}

/// The controls of a dialog in template order, those of each group box in a pane of their own
/// where the first of them stands.
std::string controlsHtml(const DialogTemplate& dialog, std::string_view layoutClass,
                         std::string_view idPrefix, std::string_view icon) {
    const std::vector<ControlPlan> d = plansOf(dialog);
    const std::size_t count = d.size();
    const std::size_t chart = chartGroup(d);
    std::vector<std::size_t> groups(count);
    for (std::size_t i = 0; i < count; ++i) groups[i] = groupOf(d, i);
    std::vector<bool> done(count);
    std::string out;
    for (std::size_t i = 0; i < count; ++i) {
        if (done[i]) continue;
        const std::size_t g = groups[i];
        if (g == kNone && d[i].kind != ControlKind::GroupBox) {
            out += controlHtml(dialog, d, i, layoutClass, idPrefix, icon) + "\n";
            continue;
        }
        const std::size_t pane = g == kNone ? i : g;
        const bool isChart = pane == chart;
        out += "<div class=\"" + std::string(layoutClass) + std::to_string(pane) + " pane" +
               (isChart ? " chart" : " controls") + "\" role=\"group\" aria-label=\"" +
               escapeHtml(parseCaption(d[pane].text, d[pane].mnemonics).text) + "\">\n" +
               controlHtml(dialog, d, pane, layoutClass, idPrefix, icon) + "\n";
        if (isChart) {
            out += "<div class=\"view\"><div class=\"plate\">\n" +
                   surfaceHtml(dialog, d[backdropOf(d)]);
        }
        for (std::size_t j = 0; j < count; ++j) {
            if (groups[j] != pane) continue;
            out += controlHtml(dialog, d, j, layoutClass, idPrefix, icon) + "\n";
            done[j] = true;
        }
        if (isChart) out += "</div></div>\n";
        out += "</div>\n";
        done[pane] = true;
    }
    return out;
}

std::string px(std::int32_t pixels) { return std::to_string(pixels) + "px"; }

/// A length of window pixels, scaled with the chart when scaled is set.
std::string length(std::int32_t pixels, bool scaled) {
    return scaled ? "calc(var(--s)*" + px(pixels) + ")" : px(pixels);
}

/// The rectangles of a dialog's controls in pixels, with their stacking: each inside its group's
/// pane relative to the group's corner, those of the chart's group scaled with the chart.
std::string layoutCss(const DialogTemplate& dialog, std::string_view layoutClass) {
    const std::vector<ControlPlan> plans = plansOf(dialog);
    std::vector<std::size_t> level(plans.size());
    const std::vector<std::size_t> order = stackingOrder(dialog);
    for (std::size_t z = 0; z < order.size(); ++z) level[order[z]] = z + 1;
    const std::size_t chart = chartGroup(plans);
    const std::size_t backdrop = backdropOf(plans);
    std::string out;
    for (std::size_t i = 0; i < plans.size(); ++i) {
        const ControlPlan& c = plans[i];
        const bool group = c.kind == ControlKind::GroupBox;
        const std::size_t g = group ? kNone : groupOf(plans, i);
        const PixelRect origin = g == kNone ? PixelRect{} : plans[g].rect;
        const PixelRect& r = c.rect;
        // A group box's own rectangle is its pane's; the chart's pane grows with the chart.
        const bool scaled = g != kNone && g == chart;
        const bool scaledSize = scaled || (group && i == chart);
        std::string top = length(r.top - origin.top, scaled);
        if (scaled && isText(c) && backdrop != kNone) {
            // A label above or under the backdrop keeps its distance from it: its text does not
            // shrink with the chart.
            const PixelRect& b = plans[backdrop].rect;
            if (r.bottom <= b.top) {
                top = "calc(var(--s)*" + px(b.top - origin.top) + " - " + px(b.top - r.top) + ")";
            } else if (r.top >= b.bottom) {
                top = "calc(var(--s)*" + px(b.bottom - origin.top) + " + " + px(r.top - b.bottom) +
                      ")";
            }
        }
        out += "." + std::string(layoutClass) + std::to_string(i) +
               "{left:" + length(r.left - origin.left, scaled) + ";top:" + top +
               ";width:" + length(r.right - r.left, scaledSize);
        // A drop-down's height includes its dropped list, so the closed box keeps the height
        // the style sheet gives it; a text's height is its line's, whatever the chart's scale.
        if (c.kind != ControlKind::DropDown) {
            out += ";height:" + length(r.bottom - r.top, scaledSize && !isText(c));
        }
        // A group box's pane stacks nothing itself: its frame does, at the group's place.
        out += group ? "}\n." + std::string(layoutClass) + std::to_string(i) + ">.group{" : ";";
        out += "z-index:" + std::to_string(level[i]) + "}\n";
    }
    return out;
}

std::string cssColour(Colour c) { return colourHex(c); }

std::string windowCss() {
    const auto n = [](int v) { return std::to_string(v) + "px"; };
    // The chart's group, and how far over and under the backdrop its labels reach: a narrow
    // page keeps room for the labels over and under a chart smaller than the group's.
    const std::vector<ControlPlan> plans = plansOf(res::kMainDialog);
    const std::size_t chart = chartGroup(plans);
    const PixelRect& g = plans[chart].rect;
    const PixelRect& b = plans[backdropOf(plans)].rect;
    std::int32_t above = 0;
    std::int32_t below = 0;
    for (std::size_t i = 0; i < plans.size(); ++i) {
        if (isText(plans[i]) && groupOf(plans, i) == chart) {
            above = std::max(above, b.top - plans[i].rect.top);
            below = std::max(below, plans[i].rect.bottom - b.bottom);
        }
    }
    const std::string plateTop = "max(0px," + px(above) + " - var(--s)*" + px(b.top - g.top) + ")";
    const std::string plateHeight = "max(calc(var(--s)*" + px(g.bottom - g.top) +
                                    "),calc(var(--s)*" + px(b.bottom - g.top) + " + " + px(below) +
                                    "))";
    return ":root{--face:" + cssColour(kFaceColour) + ";--window-width:" + n(kWindowWidth) +
           ";--window-height:" + n(kWindowHeight) + ";--client-left:" + n(kClientLeft) +
           ";--client-top:" + n(kClientTop) + ";--client-width:" + n(kClientWidth) +
           ";--client-height:" + n(kClientHeight) + ";--chart-width:" + px(g.right - g.left) +
           ";--chart-height:" + px(g.bottom - g.top) + ";--chart-left:" + px(g.left) +
           ";--chart-top:" + px(g.top) + ";--chart-plate-top:" + plateTop +
           ";--chart-plate-height:" + plateHeight +
           // The canvas with the client area's device pixels, which the chart's pane shows from
           // the group's corner on: at one device pixel a pixel until the page's script says.
           ";--surface-scale:1;--surface-left:" + px(-g.left) + ";--surface-top:" + px(-g.top) +
           ";--about-width:" + n(res::kAboutBox.w * res::kPixelsPerDialogUnit) +
           ";--about-height:" + n(res::kAboutBox.h * res::kPixelsPerDialogUnit) + "}\n";
}

/// The style sheet without what only its readers in the sources need: its comments, and the
/// blanks and line ends that lay it out (a run of them is one blank where it parts two words, none
/// beside a brace, a semicolon, a comma or after a colon). Its strings hold no such run.
std::string compacted(std::string_view css) {
    std::string out;
    bool blank = false;
    for (std::size_t at = 0; at < css.size();) {
        if (css.substr(at, 2) == "/*") {
            const std::size_t close = css.find("*/", at + 2);
            at = close == std::string_view::npos ? css.size() : close + 2;
            continue;
        }
        const char c = css[at++];
        if (c == ' ' || c == '\n' || c == '\t' || c == '\r') {
            blank = true;
            continue;
        }
        const auto tight = [](char d) { return d == '{' || d == '}' || d == ';' || d == ','; };
        if (blank && !out.empty() && !tight(out.back()) && out.back() != ':' && !tight(c)) {
            out += ' ';
        }
        blank = false;
        out += c;
    }
    return out;
}

/// What the window says when the dialog cannot start: a paragraph for each reason, which the
/// page's script shows by its data-why (the server's answer in its status), the style sheet
/// when the script did not arrive, and the browser itself when JavaScript is off.
std::string failureHtml() {
    const auto says = [](std::string_view why, std::string_view html) {
        return "<p data-why=\"" + std::string(why) + "\" hidden>" + std::string(html) + "</p>";
    };
    const std::string answer = " (" + escapeHtml(res::kPageAnswer) +
                               " <span class=\"status\"></span>). " + escapeHtml(res::kPageCopyAll);
    return "<h1>" + escapeHtml(res::kPageFailureHeading) + "</h1><noscript><p>" +
           escapeHtml(res::kPageNoScript) + "</p></noscript>" +
           says("script", escapeHtml(res::kPageScriptMissing)) +
           says("disk", escapeHtml(res::kPageFromDisk)) +
           says("disk", escapeHtml(res::kPageFromDiskTeacher)) +
           says("webAssembly", escapeHtml(res::kPageNoWebAssembly)) +
           says("network", escapeHtml(res::kPageNetwork)) +
           says("gone", escapeHtml(res::kPageModuleGone) + answer) +
           says("refused", escapeHtml(res::kPageModuleRefused) + answer) +
           says("damaged", escapeHtml(res::kPageModuleDamaged));
}

/// The page's window menu: a button for each entry, which the page's script finds by its id.
std::string menuHtml() {
    std::string out;
    for (const WindowMenuEntry& entry : pageMenuEntries()) {
        std::string id;
        switch (entry.command) {
            case WindowCommand::About: id = "windowmenu-about"; break;
            case WindowCommand::CopyExerciseLink: id = "windowmenu-link"; break;
            case WindowCommand::Close:
            case WindowCommand::Separator: continue;
        }
        const Caption caption = parseCaption(entry.text, true);
        const std::string key =
            caption.key ? " data-key=\"" + escapeHtml(std::string(1, caption.key)) + "\"" : "";
        out += "<button type=\"button\" id=\"" + id + "\" role=\"menuitem\"" + key + ">" +
               captionHtml(caption) + "</button>";
    }
    return out;
}

/// The SVG drawing as a data: address, the same in a page's attribute and in a manifest's string:
/// without its declaration and comments, its blanks run together, its double quotes single, and
/// the two characters that mean something else in an address percent-encoded.
std::string iconAddress(std::string_view svg) {
    std::string drawing;
    for (std::size_t at = 0; at < svg.size();) {
        if (svg.substr(at, 2) == "<?" || svg.substr(at, 4) == "<!--") {
            const std::string_view end = svg[at + 1] == '?' ? "?>" : "-->";
            const std::size_t close = svg.find(end, at);
            at = close == std::string_view::npos ? svg.size() : close + end.size();
            continue;
        }
        const char c = svg[at++];
        const bool blank = c == ' ' || c == '\n' || c == '\r' || c == '\t';
        if (blank && (drawing.empty() || drawing.back() == ' ' || drawing.back() == '>')) continue;
        drawing += blank ? ' ' : c == '"' ? '\'' : c;
    }
    std::string address = "data:image/svg+xml,";
    for (char c : drawing) {
        if (c == '%') {
            address += "%25";
        } else if (c == '#') {
            address += "%23";
        } else {
            address += c;
        }
    }
    return address;
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
    if (argc != 6) {
        std::fputs("usage: make_page TEMPLATE STYLE MANIFEST ICON OUTPUT_DIR\n", stderr);
        return 2;
    }
    std::string pageTemplate, style, manifestTemplate, icon;
    if (!readFile(argv[1], &pageTemplate) || !readFile(argv[2], &style) ||
        !readFile(argv[3], &manifestTemplate) || !readFile(argv[4], &icon)) {
        std::fputs(
            "make_page: cannot read the template, the style sheet, the manifest or the icon\n",
            stderr);
        return 2;
    }
    const std::string iconHtml = iconAddress(icon);
    const std::pair<std::string_view, std::string> markers[] = {
        {"@ICON@", iconHtml},
        {"@MAIN_CAPTION@", escapeHtml(res::kMainDialog.caption)},
        {"@MAIN_CONTROLS@", controlsHtml(res::kMainDialog, "k", "", iconHtml)},
        {"@ABOUT_CAPTION@", escapeHtml(res::kAboutBox.caption)},
        {"@ABOUT_CONTROLS@", controlsHtml(res::kAboutBox, "a", "aboutbox", iconHtml)},
        {"@WINDOW_MENU@", menuHtml()},
        {"@FAILURE@", failureHtml()},
        {"@CHART_EMPTY@", escapeHtml(res::kChartEmpty)},
        {"@LINK_COPIED@", escapeHtml(res::kLinkCopied)},
        {"@LINK_CAPTION@", escapeHtml(res::kLinkBoxCaption)},
        {"@LINK_TEXT@", escapeHtml(res::kLinkBoxText)},
        {"@OK@", escapeHtml(res::kOk)},
    };
    std::string page, manifest;
    const std::pair<std::string_view, std::string> icons[] = {{"@ICON@", iconHtml}};
    if (!fillTemplate(pageTemplate, markers, &page) ||
        !fillTemplate(manifestTemplate, icons, &manifest)) {
        std::fputs("make_page: the template has a marker this program does not know\n", stderr);
        return 2;
    }
    style = windowCss() + layoutCss(res::kMainDialog, "k") + layoutCss(res::kAboutBox, "a") +
            compacted(style);
    const std::string dir = argv[5];
    if (!writeFile(dir + "/index.html", page) || !writeFile(dir + "/korzenik.css", style) ||
        !writeFile(dir + "/manifest.webmanifest", manifest)) {
        std::fputs("make_page: cannot write the page\n", stderr);
        return 2;
    }
    return 0;
}
