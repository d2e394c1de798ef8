#include <algorithm>
#include <cmath>
#include <string>

// The shared headers before windows.h, whose macros (IDOK) would clash with their names.
#include "app/display_scale.h"
#include "app/res/resource.h"
#include "win32/controls.h"
#include "win32/resource_ids.h"
#include "win32/utf16.h"

#include <commctrl.h>

namespace korzenik::win32 {

static_assert(res::IDI_APP == KORZENIK_RES_ICON);

namespace {

/// The text height, in pixels at 100 %, that fills the layout's 8-unit rows of static text.
constexpr int kFontPixels = 13;

struct ClassAndStyle {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

ClassAndStyle windowClassOf(const ControlPlan& plan) {
    using namespace res;
    const std::uint32_t s = plan.styles;
    DWORD style = 0;
    DWORD exStyle = 0;
    if (plan.tabStop) style |= WS_TABSTOP;
    if (s & kGroup) style |= WS_GROUP;
    if (s & kVScroll) style |= WS_VSCROLL;
    // The dialog manager draws a bordered control with a sunken edge; so does this window.
    if (plan.border) exStyle |= WS_EX_CLIENTEDGE;
    if (plan.seeThrough) exStyle |= WS_EX_TRANSPARENT;
    switch (plan.kind) {
        case ControlKind::PushButton:
            if (plan.defaultButton) style |= BS_DEFPUSHBUTTON;
            return {L"BUTTON", style, exStyle};
        case ControlKind::CheckBox: return {L"BUTTON", style | BS_AUTOCHECKBOX, exStyle};
        case ControlKind::GroupBox: return {L"BUTTON", style | BS_GROUPBOX, exStyle};
        case ControlKind::Edit:
            if (s & kAutoHScroll) style |= ES_AUTOHSCROLL;
            return {L"EDIT", style, exStyle};
        case ControlKind::Label:
            if (plan.align == TextAlign::Centre) style |= SS_CENTER;
            if (plan.align == TextAlign::Right) style |= SS_RIGHT;
            if (!plan.mnemonics) style |= SS_NOPREFIX;
            return {L"STATIC", style, exStyle};
        case ControlKind::WhiteRect: return {L"STATIC", style | SS_OWNERDRAW, exStyle};
        case ControlKind::Icon: return {L"STATIC", style | SS_ICON, exStyle};
        case ControlKind::List:
            if (s & kNotify) style |= LBS_NOTIFY;
            if (s & kNoIntegralHeight) style |= LBS_NOINTEGRALHEIGHT;
            return {L"LISTBOX", style, exStyle};
        case ControlKind::DropDown:
            if (s & kDropDownList) style |= CBS_DROPDOWNLIST;
            return {L"COMBOBOX", style, exStyle};
    }
    return {L"STATIC", style, exStyle};
}

/// A check box's mark is drawn at the system's size for the monitor's scale, which the layout's
/// rectangle, scaled to a whole device pixel, may not quite hold beside the text: the box widens
/// to what it reports it needs for its mark and its whole text.
void fitCheckBox(HWND box, const RECT& place) {
    SIZE ideal{};  // a width of 0: no limit
    if (!SendMessageW(box, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal))) return;
    if (ideal.cx > place.right - place.left) {
        SetWindowPos(box, nullptr, 0, 0, ideal.cx, place.bottom - place.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

RECT workArea(HMONITOR monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info)) return info.rcWork;
    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

RECT workAreaNear(HWND window) {
    return workArea(window ? MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY)
                           : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY));
}

/// The frame around a client area: the window's outer rectangle for an empty client at dpi.
RECT frameOf(HWND window, UINT dpi) {
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)),
                             FALSE, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)),
                             dpi);
    return frame;
}

constexpr std::int32_t clientWidth(const res::DialogTemplate& layout) {
    return layout.w * res::kPixelsPerDialogUnit;
}
constexpr std::int32_t clientHeight(const res::DialogTemplate& layout) {
    return layout.h * res::kPixelsPerDialogUnit;
}

}  // namespace

double layoutScale(HWND window, const res::DialogTemplate& layout, UINT dpi, HMONITOR monitor) {
    const RECT area = workArea(monitor);
    const RECT frame = frameOf(window, dpi);
    const double roomWidth = (area.right - area.left) - (frame.right - frame.left);
    const double roomHeight = (area.bottom - area.top) - (frame.bottom - frame.top);
    return displayScale(dpi / 96.0, roomWidth, roomHeight, clientWidth(layout),
                        clientHeight(layout));
}

HFONT createDialogFont(double scale) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    LOGFONTW font{};
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        font = metrics.lfMessageFont;
    } else {
        lstrcpynW(font.lfFaceName, L"MS Shell Dlg 2", LF_FACESIZE);
    }
    font.lfHeight = -static_cast<LONG>(std::lround(kFontPixels * scale));
    font.lfWidth = 0;
    return CreateFontIndirectW(&font);
}

HICON applicationIcon(int size) {
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr),
                                         MAKEINTRESOURCEW(KORZENIK_RES_ICON), IMAGE_ICON, size,
                                         size, LR_DEFAULTCOLOR));
}

RECT controlRect(const ControlPlan& plan, double scale) {
    const PixelRect r = deviceRect(scale, plan.rect);
    return RECT{r.left, r.top, r.right, r.bottom};
}

HWND createEmptyDialog(const res::DialogTemplate& layout, DWORD style, DWORD exStyle, HWND owner,
                       DLGPROC proc, LPARAM param) {
    // A DLGTEMPLATE with no controls: style, extended style, no items, position and size 0 (the
    // window is sized in pixels afterwards), no menu, the standard class, the caption.
    std::vector<WORD> words = {
        LOWORD(style), HIWORD(style), LOWORD(exStyle), HIWORD(exStyle), 0, 0, 0, 0, 0, 0, 0};
    for (wchar_t ch : toUtf16(layout.caption)) words.push_back(static_cast<WORD>(ch));
    words.push_back(0);
    return CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                      reinterpret_cast<LPCDLGTEMPLATEW>(words.data()), owner, proc,
                                      param);
}

ControlSet<HWND> createControls(const res::DialogTemplate& layout, HWND parent, double scale,
                                HFONT font, HICON icon) {
    ControlSet<HWND> controls;
    controls.build(layout, [&](const ControlPlan& plan) {
        const ClassAndStyle kind = windowClassOf(plan);
        const RECT r = controlRect(plan, scale);
        // Siblings clip each other, so a group box never paints over the controls inside it.
        const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | kind.style;
        HWND control =
            CreateWindowExW(kind.exStyle, kind.className, toUtf16(plan.text).c_str(), style, r.left,
                            r.top, r.right - r.left, r.bottom - r.top, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(plan.id)),
                            GetModuleHandleW(nullptr), nullptr);
        if (control) {
            SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
            if (plan.kind == ControlKind::CheckBox) fitCheckBox(control, r);
            if (plan.kind == ControlKind::Icon && icon) {
                SendMessageW(control, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
            }
        }
        return control;
    });
    // Each raised control goes over all its siblings. The dialog manager's Tab follows this
    // order, in which the tab stops keep the table's order: only see-through statics, which are
    // no tab stops, go above the rows before them.
    controls.stack([](HWND control) {
        if (control) {
            SetWindowPos(control, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    });
    return controls;
}

void placeControls(const ControlSet<HWND>& controls, double scale, HFONT font) {
    for (std::size_t i = 0; i < controls.size(); ++i) {
        HWND control = controls.at(i);
        if (!control) continue;
        const RECT r = controlRect(controls.planAt(i), scale);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        if (controls.planAt(i).kind == ControlKind::CheckBox) fitCheckBox(control, r);
    }
}

SIZE windowSize(HWND window, const res::DialogTemplate& layout, double scale, UINT dpi) {
    const RECT frame = frameOf(window, dpi);
    return SIZE{deviceEdge(scale, clientWidth(layout)) + (frame.right - frame.left),
                deviceEdge(scale, clientHeight(layout)) + (frame.bottom - frame.top)};
}

void placeWindow(HWND window, const res::DialogTemplate& layout, double scale, HWND owner) {
    const SIZE size = windowSize(window, layout, scale, GetDpiForWindow(window));
    const int width = size.cx;
    const int height = size.cy;
    const RECT area = workAreaNear(owner);
    RECT over = area;
    if (owner) GetWindowRect(owner, &over);
    int x = over.left + ((over.right - over.left) - width) / 2;
    int y = over.top + ((over.bottom - over.top) - height) / 2;
    // Back inside the work area: the left (top) edge first, else the right (bottom) one.
    if (x < area.left) {
        x = area.left;
    } else if (x + width > area.right) {
        x = area.right - width;
    }
    if (y < area.top) {
        y = area.top;
    } else if (y + height > area.bottom) {
        y = area.bottom - height;
    }
    SetWindowPos(window, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace korzenik::win32
