// The browser page's half of the dialog: one in-memory dialog with the solver over it, which the
// page's script mirrors. The script forwards what the user does through the exported functions
// below and reads back what the dialog shows; the dialog tells the script through the imported
// functions when the results list changed, when a refused field took the focus, and when new
// pixels are ready, and where. Nothing here decides anything: every rule lives in app/.
//
// The module is a standalone WebAssembly file without a loader of its own. Texts cross the
// boundary as UTF-8: the page writes into textBuffer() and passes the size; a text handed back
// stays valid until the next call that returns one, and textSize() gives its length.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/display_scale.h"
#include "app/exercise_link.h"
#include "app/memory_dialog.h"
#include "app/res/resource.h"
#include "app/solver_dialog.h"
#include "app/window.h"
#include "core/solver_state.h"

#define PAGE_IMPORT(name) __attribute__((import_module("page"), import_name(#name)))
#define PAGE_EXPORT(name) extern "C" __attribute__((export_name(#name)))

extern "C" {
PAGE_IMPORT(lineAppended) void pageLineAppended(const char* text, std::size_t size);
PAGE_IMPORT(lineSelected) void pageLineSelected(int index);
PAGE_IMPORT(lineDeleted) void pageLineDeleted(int index);
PAGE_IMPORT(focusedAndSelected) void pageFocusedAndSelected(int id);
PAGE_IMPORT(surfaceReleased)
void pageSurfaceReleased(std::int32_t left, std::int32_t top, std::int32_t right,
                         std::int32_t bottom);
}

namespace {

using namespace korzenik;

/// Client pixels drawn since the page last took them.
PixelRect stalePixels = kClientRect;

class PageListener : public DialogListener {
    void lineAppended(std::string_view text) override {
        pageLineAppended(text.data(), text.size());
    }
    void lineSelected(int index) override { pageLineSelected(index); }
    void lineDeleted(int index) override { pageLineDeleted(index); }
    void focusedAndSelected(int id) override { pageFocusedAndSelected(id); }
    void surfaceReleased(const PixelRect& touched) override {
        stalePixels = unite(stalePixels, clientArea(touched));
        pageSurfaceReleased(touched.left, touched.top, touched.right, touched.bottom);
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
}
PAGE_EXPORT(setChecked) void setChecked(int id, int checked) {
    session->controls.setChecked(id, checked != 0);
}
PAGE_EXPORT(focusControl) void focusControl(int id) { session->controls.focus(id); }
PAGE_EXPORT(selectLine) void selectLine(int index) { session->controls.listSetCurSel(index); }
PAGE_EXPORT(press) void press(int id) {
    if (id == res::IDC_CONFIRM) session->dialog.OnConfirm();
    if (id == res::IDC_COMPUTE) session->dialog.OnCompute();
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

/// The client area's pixels as RGBA rows at the page's scale, ready for a canvas of its device
/// size. Only what was drawn since the last call is converted again.
PAGE_EXPORT(clientPixels) const std::uint8_t* clientPixels() {
    const PixelRect device = deviceRect(scale, kClientRect);
    const std::size_t stride = static_cast<std::size_t>(device.right) * 4;
    clientRgba.resize(stride * static_cast<std::size_t>(device.bottom));
    const PixelRect area = deviceRect(scale, stalePixels);
    stalePixels = PixelRect{};
    if (!area.empty()) {
        copyScaledClientPixels(session->controls.window(), scale, area, PixelFormat::Rgbx32,
                               clientRgba.data() + static_cast<std::size_t>(area.top) * stride +
                                   static_cast<std::size_t>(area.left) * 4,
                               static_cast<std::ptrdiff_t>(stride));
    }
    return clientRgba.data();
}
