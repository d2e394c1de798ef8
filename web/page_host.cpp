// The browser page's half of the dialog: one in-memory dialog with the solver over it, which the
// page's script mirrors. The script forwards what the user does through the exported functions
// below and reads back what the dialog shows; the dialog tells the script through the imported
// functions when the results list changed and when a refused field took the focus; it asks here
// what a key does, which control keeps its own menu, which pixels are new, and what a screen
// reader hears. Nothing here decides anything: every rule lives in app/.
//
// The module is a standalone WebAssembly file without a loader of its own. Texts cross the
// boundary as UTF-8: the page writes into textBuffer() and passes the size; a text handed back
// stays valid until the next call that returns one, and textSize() gives its length.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/control_table.h"
#include "app/display_scale.h"
#include "app/exercise_link.h"
#include "app/memory_dialog.h"
#include "app/res/dialog_template.h"
#include "app/res/resource.h"
#include "app/solver_dialog.h"
#include "app/window.h"
#include "app/window_menu.h"
#include "core/solver_state.h"

#define PAGE_IMPORT(name) __attribute__((import_module("page"), import_name(#name)))
#define PAGE_EXPORT(name) extern "C" __attribute__((export_name(#name)))

extern "C" {
PAGE_IMPORT(lineAppended) void pageLineAppended(const char* text, std::size_t size);
PAGE_IMPORT(lineSelected) void pageLineSelected(int index);
PAGE_IMPORT(lineDeleted) void pageLineDeleted(int index);
PAGE_IMPORT(focusedAndSelected) void pageFocusedAndSelected(int id);
PAGE_IMPORT(focusedWithSelection) void pageFocusedWithSelection(int id, int first, int count);
}

namespace {

using namespace korzenik;

/// Client pixels drawn since the page last took them.
PixelRect stalePixels = kClientRect;

/// The lines the press now running added, for a screen reader to hear once it ends.
std::vector<std::string> appended;

class PageListener : public DialogListener {
    void lineAppended(std::string_view text) override {
        appended.emplace_back(text);
        pageLineAppended(text.data(), text.size());
    }
    void lineSelected(int index) override { pageLineSelected(index); }
    void lineDeleted(int index) override { pageLineDeleted(index); }
    void focusedAndSelected(int id) override { pageFocusedAndSelected(id); }
    void focusedWithSelection(int id, int first, int count) override {
        pageFocusedWithSelection(id, first, count);
    }
    void surfaceReleased(const PixelRect& touched) override {
        stalePixels = unite(stalePixels, clientArea(touched));
    }
};

/// The page's one dialog and the solver state it works on, for as long as the page is open.
struct Session {
    PageListener listener;
    MemoryDialog controls{&listener};
    SolverState state;
    CSolverDialog dialog{controls, state};
};

Session* session = nullptr;
std::vector<char> textIn;
std::string textOut;
/// The client area's pixels as the screen shows them, at `scale` device pixels a pixel.
std::vector<std::uint8_t> clientRgba;
double scale = 1.0;
/// The device pixels clientPixels() converted last: left, top, right, bottom.
std::int32_t converted[4] = {};

/// A key as the page names it (KeyboardEvent.key), as the dialog's rules know it.
DialogKey dialogKey(std::string_view name) {
    if (name == "Enter") return DialogKey::Enter;
    if (name == "Escape") return DialogKey::Escape;
    if (name == "ContextMenu") return DialogKey::Menu;
    if (name == "F10") return DialogKey::F10;
    if (name == "ArrowUp") return DialogKey::Up;
    if (name == "ArrowDown") return DialogKey::Down;
    if (name == "Home") return DialogKey::Home;
    if (name == "End") return DialogKey::End;
    return DialogKey::Other;
}

/// The key in the text buffer with the modifiers held; a Mac's Command counts as Ctrl.
DialogKey keyIn(std::size_t size) { return dialogKey(std::string_view(textIn.data(), size)); }
KeyModifiers modifiers(int shift, int ctrl, int alt) {
    return {.shift = shift != 0, .ctrl = ctrl != 0, .alt = alt != 0};
}

const char* handOut(std::string text) {
    textOut = std::move(text);
    return textOut.c_str();
}

}  // namespace

/// Opens the dialog as it first shows: initialised, nothing typed, nothing pressed.
PAGE_EXPORT(start) void start() {
    session = new Session;
    session->dialog.OnInitDialog();
}

// What the user does.
PAGE_EXPORT(textBuffer) char* textBuffer(std::size_t size) {
    textIn.resize(size + 1);
    return textIn.data();
}
PAGE_EXPORT(typeText) void typeText(int id, std::size_t size) {
    session->controls.typeText(id, std::string_view(textIn.data(), size));
}
PAGE_EXPORT(pickItem) void pickItem(int id, int index) {
    session->controls.setComboSelection(id, index);
    if (id == res::IDC_FUNCTION) session->dialog.OnFunctionChanged();
}
PAGE_EXPORT(setChecked) void setChecked(int id, int checked) {
    session->controls.setChecked(id, checked != 0);
}
PAGE_EXPORT(focusControl) void focusControl(int id) { session->controls.focus(id); }
PAGE_EXPORT(selectLine) void selectLine(int index) { session->controls.listSetCurSel(index); }
PAGE_EXPORT(press) void press(int id) {
    appended.clear();
    if (id == res::IDC_CONFIRM) session->dialog.OnConfirm();
    if (id == res::IDC_COMPUTE) session->dialog.OnCompute();
}
/// What the window does with a key (its name in textBuffer) pressed outside the boxes and menus:
/// 0 it goes on to the focused control, 1 nothing sees it, 2 the focused control is asked for
/// its context menu. A select's opened list takes its keys before the page sees them.
PAGE_EXPORT(keyEffect) int pageKeyEffect(std::size_t size, int shift, int ctrl, int alt) {
    switch (keyEffect(keyIn(size), modifiers(shift, ctrl, alt))) {
        case KeyEffect::Deliver: return 0;
        case KeyEffect::Swallow: return 1;
        case KeyEffect::ContextMenu: return 2;
    }
    return 0;
}
/// A key (its name in textBuffer) pressed in the results list: selects the line it moves to and
/// returns true, or returns false when it moves nothing.
PAGE_EXPORT(listKey) int listKey(std::size_t size, int shift, int ctrl, int alt) {
    const int line =
        lineAfterKey(keyIn(size), modifiers(shift, ctrl, alt), session->controls.selectedLine(),
                     static_cast<int>(session->controls.lines().size()));
    if (line < 0) return 0;
    session->controls.listSetCurSel(line);
    return 1;
}
/// Whether a context menu asked of the control is its own (the browser's) rather than the
/// window menu; for anything that is no control, the window menu.
PAGE_EXPORT(keepsOwnMenu) int keepsOwnMenu(int id) {
    const res::ControlTemplate* row =
        id == res::IDC_STATIC ? nullptr : res::findControl(res::kMainDialog, id);
    return row && keepsOwnContextMenu(controlPlan(*row).kind) ? 1 : 0;
}
/// Enters the exercise of an address's fragment (in textBuffer) as the student would.
PAGE_EXPORT(openExercise) void enterExercise(std::size_t size) {
    openExercise(session->controls, std::string_view(textIn.data(), size));
}
/// Closes the oldest message box with OK; returns how many are still open.
PAGE_EXPORT(dismissMessage) int dismissMessage() {
    session->controls.dismissMessage();
    return static_cast<int>(session->controls.pendingMessages().size());
}

// What the user sees.
PAGE_EXPORT(textSize) std::size_t textSize() { return textOut.size(); }
PAGE_EXPORT(controlText) const char* controlText(int id) {
    return handOut(session->controls.controlText(id));
}
PAGE_EXPORT(checkState) int checkState(int id) { return session->controls.checkState(id); }
/// Whether the control takes input now.
PAGE_EXPORT(controlEnabled) int controlEnabled(int id) {
    return session->controls.isEnabled(id) ? 1 : 0;
}
PAGE_EXPORT(comboCount) int comboCount(int id) { return session->controls.comboItemCount(id); }
PAGE_EXPORT(comboItem) const char* comboItem(int id, int index) {
    return handOut(session->controls.comboItemText(id, index));
}
PAGE_EXPORT(comboSelection) int comboSelection(int id) {
    return session->controls.comboSelection(id);
}
PAGE_EXPORT(focusedControl) int focusedControl() { return session->controls.focusedControl(); }
PAGE_EXPORT(messageCount) int messageCount() {
    return static_cast<int>(session->controls.pendingMessages().size());
}
/// The fragment of an address that opens the exercise the controls hold now.
PAGE_EXPORT(exerciseLink) const char* exerciseLink() {
    return handOut(exerciseFragment(session->controls));
}
/// What the chart shows, in words.
PAGE_EXPORT(chartDescription) const char* chartDescription() {
    return handOut(session->dialog.chartDescription());
}
/// The lines the last press added, as a screen reader says them.
PAGE_EXPORT(announcement) const char* announcement() { return handOut(spokenLines(appended)); }
/// The oldest open message box: its text (part 0) or caption (part 1).
PAGE_EXPORT(messageText) const char* messageText(int part) {
    const auto& open = session->controls.pendingMessages();
    if (open.empty()) return handOut({});
    return handOut(part == 0 ? open.front().text : open.front().caption);
}
/// The oldest open message box's icon: "exclamation" or "information".
PAGE_EXPORT(messageIcon) const char* messageIcon() {
    const auto& open = session->controls.pendingMessages();
    return handOut(
        std::string(messageIconName(open.empty() ? MessageIcon::Exclamation : open.front().icon)));
}

/// Device pixels a window pixel for a window of width x height pixels on a screen of `ratio`
/// device pixels a CSS pixel, with roomWidth x roomHeight device pixels free for it: the rule
/// every window follows (app/display_scale.h).
PAGE_EXPORT(displayScale)
double pageDisplayScale(double ratio, double roomWidth, double roomHeight, std::int32_t width,
                        std::int32_t height) {
    return displayScale(ratio, roomWidth, roomHeight, width, height);
}

/// Shows the client area at `to` device pixels a pixel from now on: clientPixels() then gives
/// all of it anew, deviceEdge(kClientWidth) x deviceEdge(kClientHeight) pixels.
PAGE_EXPORT(setScale) void setScale(double to) {
    scale = to;
    stalePixels = kClientRect;
}

/// The first device pixel that shows pixel `pixel` of the client area, along either axis.
PAGE_EXPORT(deviceEdge) std::int32_t pageDeviceEdge(std::int32_t pixel) {
    return deviceEdge(scale, pixel);
}

/// The client area's size in device pixels at the page's scale: the canvas's.
PAGE_EXPORT(clientDeviceWidth) std::int32_t clientDeviceWidth() {
    return deviceRect(scale, kClientRect).right;
}
PAGE_EXPORT(clientDeviceHeight) std::int32_t clientDeviceHeight() {
    return deviceRect(scale, kClientRect).bottom;
}

/// The client area's pixels as RGBA rows at the page's scale, ready for a canvas of its device
/// size. Only what was drawn since the last call is converted again: convertedArea() says
/// which device pixels, an empty rectangle when none.
PAGE_EXPORT(clientPixels) const std::uint8_t* clientPixels() {
    const PixelRect device = deviceRect(scale, kClientRect);
    const std::size_t stride = static_cast<std::size_t>(device.right) * 4;
    clientRgba.resize(stride * static_cast<std::size_t>(device.bottom));
    const PixelRect area = deviceRect(scale, stalePixels);
    stalePixels = PixelRect{};
    converted[0] = area.left;
    converted[1] = area.top;
    converted[2] = area.empty() ? area.left : area.right;
    converted[3] = area.empty() ? area.top : area.bottom;
    if (!area.empty()) {
        copyScaledClientPixels(session->controls.window(), scale, area, PixelFormat::Rgbx32,
                               clientRgba.data() + static_cast<std::size_t>(area.top) * stride +
                                   static_cast<std::size_t>(area.left) * 4,
                               static_cast<std::ptrdiff_t>(stride));
    }
    return clientRgba.data();
}
/// Left, top, right and bottom of the device pixels the last clientPixels() converted.
PAGE_EXPORT(convertedArea) const std::int32_t* convertedArea() { return converted; }
