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
#include <vector>

#include "app/control_table.h"
#include "app/res/dialog_template.h"
#include "app/res/resource.h"
#include "app/window.h"
#include "app/window_menu.h"

namespace {

using namespace korzenik;
using res::DialogTemplate;

std::vector<ControlPlan> plansOf(const DialogTemplate& d) {
    std::vector<ControlPlan> plans;
    for (const res::ControlTemplate& row : d.controls) plans.push_back(controlPlan(row));
    return plans;
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

/// A caption's HTML: its mnemonic underlined.
std::string captionHtml(const Caption& caption) {
    if (caption.mnemonicAt == std::string::npos) return escapeHtml(caption.text);
    const std::string_view text = caption.text;
    return escapeHtml(text.substr(0, caption.mnemonicAt)) + "<u>" +
           escapeHtml(text.substr(caption.mnemonicAt, caption.mnemonicSize)) + "</u>" +
           escapeHtml(text.substr(caption.mnemonicAt + caption.mnemonicSize));
}

bool isText(const ControlPlan& c) { return c.kind == ControlKind::Label; }

bool contains(const PixelRect& outer, const PixelRect& inner) {
    return outer.left <= inner.left && outer.top <= inner.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

/// What a screen reader calls a control: the text right above it across the same width, else
/// the caption of the smallest group box around it.
std::string accessibleName(const std::vector<ControlPlan>& d, const ControlPlan& c) {
    constexpr std::int32_t kMaxGap = 4 * res::kPixelsPerDialogUnit;
    for (const ControlPlan& s : d) {
        if (isText(s) && s.rect.left == c.rect.left && s.rect.right == c.rect.right &&
            s.rect.bottom <= c.rect.top && c.rect.top - s.rect.bottom <= kMaxGap) {
            return parseCaption(s.text, s.mnemonics).text;
        }
    }
    const ControlPlan* group = nullptr;
    for (const ControlPlan& g : d) {
        if (g.kind == ControlKind::GroupBox && contains(g.rect, c.rect) &&
            (!group || g.rect.right - g.rect.left < group->rect.right - group->rect.left)) {
            group = &g;
        }
    }
    return group ? parseCaption(group->text, group->mnemonics).text : std::string();
}

std::string alignment(const ControlPlan& c) {
    switch (c.align) {
        case TextAlign::Centre: return " center";
        case TextAlign::Right: return " right";
        case TextAlign::Left: break;
    }
    return "";
}

/// The element of one control. idPrefix names the controls of the About box, which the page's
/// script does not mirror.
std::string controlHtml(const std::vector<ControlPlan>& d, std::size_t index,
                        std::string_view layoutClass, std::string_view idPrefix) {
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
    const std::string label = " aria-label=\"" + escapeHtml(accessibleName(d, c)) + "\"";
    const Caption text = parseCaption(c.text, c.mnemonics);

    switch (c.kind) {
        case ControlKind::DropDown:
            return "<select" + id + " class=\"" + cls + "\"" + unreachable + label + "></select>";
        case ControlKind::Edit:
            return "<input type=\"text\"" + id + " class=\"" + cls + " edit\"" + unreachable +
                   label + " autocomplete=\"off\" spellcheck=\"false\">";
        case ControlKind::List:
            return "<div" + id + " class=\"" + cls + " list\" role=\"listbox\" tabindex=\"-1\"" +
                   "></div>";
        case ControlKind::GroupBox:
            return "<fieldset class=\"" + cls + " group\"><legend>" + captionHtml(text) +
                   "</legend></fieldset>";
        case ControlKind::CheckBox:
            return "<label class=\"" + cls + " check\"><input type=\"checkbox\"" + id +
                   unreachable + ">" + captionHtml(text) + "</label>";
        case ControlKind::PushButton: {
            std::string keys;
            if (text.key != 0) {
                const char upper = static_cast<char>(
                    text.key >= 'a' && text.key <= 'z' ? text.key - 'a' + 'A' : text.key);
                keys = " data-mnemonic=\"" + escapeHtml(std::string(1, text.key)) +
                       "\" aria-keyshortcuts=\"Alt+" + escapeHtml(std::string(1, upper)) + "\"";
            }
            const std::string role = c.defaultButton ? " default" : "";
            return "<button type=\"button\"" + id + " class=\"" + cls + role + "\"" + unreachable +
                   keys + ">" + captionHtml(text) + "</button>";
        }
        case ControlKind::WhiteRect: return "<div" + id + " class=\"" + cls + " frame\"></div>";
        case ControlKind::Icon:
            return "<img class=\"" + cls + "\" src=\"korzenik.svg\" alt=\"\" width=\"" +
                   std::to_string(kIconPixels) + "\" height=\"" + std::to_string(kIconPixels) +
                   "\">";
        case ControlKind::Label:
            return "<div" + id + " class=\"" + cls + " static" + alignment(c) +
                   (c.seeThrough ? " transparent" : "") + "\">" + captionHtml(text) + "</div>";
    }
    return {};
}

std::string controlsHtml(const DialogTemplate& d, std::string_view layoutClass,
                         std::string_view idPrefix) {
    const std::vector<ControlPlan> plans = plansOf(d);
    std::string out;
    for (std::size_t i = 0; i < plans.size(); ++i) {
        out += controlHtml(plans, i, layoutClass, idPrefix) + "\n";
    }
    return out;
}

std::string px(std::int32_t pixels) { return std::to_string(pixels) + "px"; }

/// The rectangles of a dialog's controls in pixels, with their stacking.
std::string layoutCss(const DialogTemplate& d, std::string_view layoutClass) {
    const std::vector<ControlPlan> plans = plansOf(d);
    std::vector<std::size_t> level(plans.size());
    const std::vector<std::size_t> order = stackingOrder(d);
    for (std::size_t z = 0; z < order.size(); ++z) level[order[z]] = z + 1;
    std::string out;
    for (std::size_t i = 0; i < plans.size(); ++i) {
        const PixelRect& r = plans[i].rect;
        out += "." + std::string(layoutClass) + std::to_string(i) + "{left:" + px(r.left) +
               ";top:" + px(r.top) + ";width:" + px(r.right - r.left);
        // A drop-down's height includes its dropped list, so the closed box keeps the height
        // the style sheet gives it.
        if (plans[i].kind != ControlKind::DropDown) out += ";height:" + px(r.bottom - r.top);
        out += ";z-index:" + std::to_string(level[i]) + "}\n";
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
           ";--client-height:" + n(kClientHeight) +
           ";--about-width:" + n(res::kAboutBox.w * res::kPixelsPerDialogUnit) +
           ";--about-height:" + n(res::kAboutBox.h * res::kPixelsPerDialogUnit) + "}\n";
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
    Caption aboutEntry;
    for (const WindowMenuEntry& entry : windowMenuEntries()) {
        if (entry.command == WindowCommand::About) aboutEntry = parseCaption(entry.text, true);
    }
    const std::pair<std::string_view, std::string> markers[] = {
        {"@MAIN_CAPTION@", escapeHtml(res::kMainDialog.caption)},
        {"@MAIN_CONTROLS@", controlsHtml(res::kMainDialog, "k", "")},
        {"@CLIENT_WIDTH@", std::to_string(kClientWidth)},
        {"@CLIENT_HEIGHT@", std::to_string(kClientHeight)},
        {"@ABOUT_CAPTION@", escapeHtml(res::kAboutBox.caption)},
        {"@ABOUT_CONTROLS@", controlsHtml(res::kAboutBox, "a", "aboutbox")},
        {"@ABOUT_ENTRY@", captionHtml(aboutEntry)},
        {"@ABOUT_ENTRY_KEY@", std::string(1, aboutEntry.key)},
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
