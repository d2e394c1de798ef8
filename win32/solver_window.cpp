#include <algorithm>
#include <cmath>
#include <string>

// The shared headers before windows.h, whose macros (IDOK) would clash with their names.
#include "app/display_scale.h"
#include "app/res/dialog_template.h"
#include "app/res/resource.h"
#include "app/window.h"
#include "app/window_menu.h"
#include "app/window_surface.h"
#include "win32/about_box.h"
#include "win32/controls.h"
#include "win32/solver_window.h"
#include "win32/utf16.h"

namespace korzenik::win32 {

namespace {

constexpr UINT kCloseCommand = SC_CLOSE;
constexpr UINT kAboutCommand = static_cast<UINT>(res::IDM_ABOUT);

/// Colour as the GDI takes it: the same 0x00BBGGRR layout.
COLORREF toColorRef(Colour c) { return static_cast<COLORREF>(c); }

/// The keys the window's rules speak of, by their virtual-key codes.
DialogKey dialogKey(WPARAM virtualKey) {
    switch (virtualKey) {
        case VK_RETURN: return DialogKey::Enter;  // the keypad's Enter too
        case VK_ESCAPE: return DialogKey::Escape;
        case VK_APPS: return DialogKey::Menu;
        case VK_F10: return DialogKey::F10;
        default: return DialogKey::Other;
    }
}

/// The modifiers held down as the message now being handled was sent.
KeyModifiers keyModifiers() {
    return {.shift = GetKeyState(VK_SHIFT) < 0,
            .ctrl = GetKeyState(VK_CONTROL) < 0,
            .alt = GetKeyState(VK_MENU) < 0};
}

/// The command a window menu entry sends as a system command.
UINT commandOf(WindowCommand command) {
    switch (command) {
        case WindowCommand::Close: return kCloseCommand;
        case WindowCommand::About: return kAboutCommand;
        // Only the browser page's menu copies an address.
        case WindowCommand::CopyExerciseLink:
        case WindowCommand::Separator: return 0;
    }
    return 0;
}

UINT toolkitIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Exclamation: return MB_ICONEXCLAMATION;
        case MessageIcon::Information: return MB_ICONINFORMATION;
    }
    return MB_ICONEXCLAMATION;
}

/// An entry of a Win32 menu: the text, then a tab and the shortcut the entry shows.
void appendEntry(HMENU menu, const WindowMenuEntry& entry) {
    if (entry.command == WindowCommand::Separator) {
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        return;
    }
    std::string text(entry.text);
    if (!entry.shortcut.empty()) text.append("\t").append(entry.shortcut);
    AppendMenuW(menu, MF_STRING, commandOf(entry.command), toUtf16(text).c_str());
}

RECT intersection(const RECT& a, const RECT& b) {
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    if (r.left >= r.right || r.top >= r.bottom) return RECT{0, 0, 0, 0};
    return r;
}

}  // namespace

SolverWindow::SolverWindow(SolverState& state)
    : m_framebuffer(makeWindowFramebuffer()), m_dialog(*this, state) {}

SolverWindow::~SolverWindow() {
    if (m_window) DestroyWindow(m_window);
    if (m_font) DeleteObject(m_font);
    if (m_faceBrush) DeleteObject(m_faceBrush);
    if (m_bigIcon) DestroyIcon(m_bigIcon);
    if (m_smallIcon) DestroyIcon(m_smallIcon);
}

bool SolverWindow::run() {
    m_faceBrush = CreateSolidBrush(toColorRef(kFaceColour));
    // No minimise or maximise box; a taskbar button of its own.
    m_window =
        createEmptyDialog(res::kMainDialog, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                          WS_EX_APPWINDOW, nullptr, dialogProc, reinterpret_cast<LPARAM>(this));
    if (!m_window && m_failure == 0) m_failure = GetLastError();
    if (!m_window || !m_initialised) return false;
    ShowWindow(m_window, SW_SHOW);
    UpdateWindow(m_window);

    MSG msg;
    for (;;) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) break;
        if (handledKey(msg)) continue;
        // Alt+F4 closes the window from any control (a focused drop-down keeps it to itself
        // under Wine).
        if (msg.message == WM_SYSKEYDOWN && msg.wParam == VK_F4 && IsChild(m_window, msg.hwnd)) {
            PostMessageW(m_window, WM_SYSCOMMAND, kCloseCommand, 0);
            continue;
        }
        if (IsDialogMessageW(m_window, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

bool SolverWindow::handledKey(const MSG& msg) {
    if (!(msg.hwnd == m_window || IsChild(m_window, msg.hwnd))) return false;
    // The Menu key's release would ask the system for a second menu.
    if (msg.message == WM_KEYUP && msg.wParam == VK_APPS) return true;
    // Shift+F10 comes as a system key, as F10 does.
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    wchar_t className[16] = {};
    const bool dropped = GetClassNameW(msg.hwnd, className, 16) &&
                         lstrcmpiW(className, L"ComboBox") == 0 &&
                         SendMessageW(msg.hwnd, CB_GETDROPPEDSTATE, 0, 0);
    switch (keyEffect(dialogKey(msg.wParam), keyModifiers(), dropped)) {
        case KeyEffect::Deliver: return false;
        case KeyEffect::Swallow: return true;
        case KeyEffect::ContextMenu: {
            // From the keyboard: the focused control's own menu where it keeps one (an edit
            // box's), else the window menu.
            const ControlPlan* plan = m_controls.plan(GetDlgCtrlID(msg.hwnd));
            if (plan && keepsOwnContextMenu(plan->kind)) {
                SendMessageW(msg.hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(msg.hwnd), -1);
            } else {
                showWindowMenu(-1);
            }
            return true;
        }
    }
    return false;
}

INT_PTR CALLBACK SolverWindow::dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<SolverWindow*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        self->m_window = window;
        self->m_initialised = self->initialise();
        return FALSE;  // the focus was put on the first tab stop already
    }
    auto* self = reinterpret_cast<SolverWindow*>(GetWindowLongPtrW(window, DWLP_USER));
    return self ? self->handle(message, wParam, lParam) : FALSE;
}

bool SolverWindow::initialise() {
    // The scale of the monitor the window opens on, before anything is laid out.
    const UINT dpi = GetDpiForWindow(m_window);
    m_scale = layoutScale(m_window, res::kMainDialog, dpi,
                          MonitorFromWindow(m_window, MONITOR_DEFAULTTOPRIMARY));
    m_font = createDialogFont(m_scale);
    m_controls = createControls(res::kMainDialog, m_window, m_scale, m_font, nullptr);
    for (std::size_t i = 0; i < m_controls.size(); ++i) {
        if (!m_controls.at(i)) {
            m_failure = GetLastError();
            return false;
        }
    }
    placeWindow(m_window, res::kMainDialog, m_scale, nullptr);
    setIcons(dpi);
    // The system menu has a Close of its own: the window menu's entries after it go at its end.
    if (HMENU menu = GetSystemMenu(m_window, FALSE)) {
        bool afterClose = false;
        for (const WindowMenuEntry& entry : windowMenuEntries()) {
            if (afterClose) appendEntry(menu, entry);
            afterClose = afterClose || entry.command == WindowCommand::Close;
        }
    }

    if (!m_dialog.OnInitDialog()) return false;
    SendMessageW(m_window, WM_NEXTDLGCTL,
                 reinterpret_cast<WPARAM>(control(firstTabStop(res::kMainDialog))), TRUE);
    return true;
}

void SolverWindow::setIcons(UINT dpi) {
    HICON big = applicationIcon(GetSystemMetricsForDpi(SM_CXICON, dpi));
    HICON small = applicationIcon(GetSystemMetricsForDpi(SM_CXSMICON, dpi));
    SendMessageW(m_window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageW(m_window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    if (m_bigIcon) DestroyIcon(m_bigIcon);
    if (m_smallIcon) DestroyIcon(m_smallIcon);
    m_bigIcon = big;
    m_smallIcon = small;
}

void SolverWindow::rescale(UINT dpi, HMONITOR monitor, POINT at) {
    const double scale = layoutScale(m_window, res::kMainDialog, dpi, monitor);
    HFONT font = createDialogFont(scale);
    if (!font) return;
    m_scale = scale;
    placeControls(m_controls, m_scale, font);
    if (m_font) DeleteObject(m_font);
    m_font = font;
    // The function list's dropped width, measured again in the new font.
    HWND functions = control(res::IDC_FUNCTION);
    SendMessageW(functions, CB_SETDROPPEDWIDTH, 0, 0);
    for (int i = 0; i < comboItemCount(res::IDC_FUNCTION); ++i) {
        widenDroppedList(res::IDC_FUNCTION, toUtf16(comboItemText(res::IDC_FUNCTION, i)));
    }
    setIcons(dpi);
    const SIZE size = windowSize(m_window, res::kMainDialog, m_scale, dpi);
    SetWindowPos(m_window, nullptr, at.x, at.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(m_window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

INT_PTR SolverWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DPICHANGED: {
            // Moved to a monitor of another scale, or the scale changed: the window lays itself
            // out at the new one where the system suggests, rather than being stretched.
            const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
            rescale(HIWORD(wParam), MonitorFromRect(&suggested, MONITOR_DEFAULTTONEAREST),
                    POINT{suggested.left, suggested.top});
            SetWindowLongPtrW(m_window, DWLP_MSGRESULT, 0);
            return TRUE;
        }
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == res::IDC_CONFIRM) {
                m_dialog.OnConfirm();
                return TRUE;
            }
            if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == res::IDC_COMPUTE) {
                m_dialog.OnCompute();
                return TRUE;
            }
            if (HIWORD(wParam) == CBN_SELCHANGE && LOWORD(wParam) == res::IDC_FUNCTION) {
                m_dialog.OnFunctionChanged();
                return TRUE;
            }
            // IDOK and IDCANCEL (Enter and Escape, which never get here) end nothing.
            return TRUE;
        case WM_CLOSE: DestroyWindow(m_window); return TRUE;
        case WM_DESTROY:
            PostQuitMessage(0);
            m_window = nullptr;
            return TRUE;
        case WM_SYSCOMMAND:
            // The four low bits of a system command are the system's own.
            if ((wParam & 0xFFF0) == kAboutCommand) {
                showAboutBox();
                return TRUE;
            }
            return FALSE;
        case WM_CONTEXTMENU:
            // On the caption and the frame the system menu opens, as everywhere.
            if (lParam != -1 && SendMessageW(m_window, WM_NCHITTEST, 0, lParam) != HTCLIENT) {
                return FALSE;
            }
            showWindowMenu(lParam);
            return TRUE;
        case WM_ERASEBKGND:
            // WM_PAINT paints every pixel of the face.
            SetWindowLongPtrW(m_window, DWLP_MSGRESULT, 1);
            return TRUE;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            if (HDC dc = BeginPaint(m_window, &paint)) {
                paintFramebuffer(dc, paint.rcPaint, POINT{0, 0});
                EndPaint(m_window, &paint);
            }
            return TRUE;
        }
        case WM_PRINTCLIENT: {
            // A themed control painting its parent's background behind itself.
            RECT area;
            if (GetClipBox(reinterpret_cast<HDC>(wParam), &area) == ERROR) {
                GetClientRect(m_window, &area);
            }
            paintFramebuffer(reinterpret_cast<HDC>(wParam), area, POINT{0, 0});
            return TRUE;
        }
        case WM_DRAWITEM: {
            // The chart's backdrop shows the framebuffer's pixels under it.
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item->CtlID != static_cast<UINT>(res::IDC_CHART_FRAME)) return FALSE;
            RECT place;
            GetWindowRect(item->hwndItem, &place);
            MapWindowPoints(nullptr, m_window, reinterpret_cast<POINT*>(&place), 2);
            RECT area = item->rcItem;
            OffsetRect(&area, place.left, place.top);
            paintFramebuffer(item->hDC, area, POINT{place.left, place.top});
            return TRUE;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG: {
            // Texts, check box and group boxes on the face colour of the framebuffer.
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetBkColor(dc, toColorRef(kFaceColour));
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            return reinterpret_cast<INT_PTR>(m_faceBrush);
        }
        default: return FALSE;
    }
}

void SolverWindow::showAboutBox() { runAboutBox(m_window, m_scale, m_font); }

void SolverWindow::showWindowMenu(LPARAM screenPoint) {
    // The same two commands as the system menu, at the mouse (or, from the keyboard, at the
    // client area's corner).
    POINT at{static_cast<short>(LOWORD(screenPoint)), static_cast<short>(HIWORD(screenPoint))};
    if (screenPoint == -1) {
        at = POINT{0, 0};
        ClientToScreen(m_window, &at);
    }
    HMENU menu = CreatePopupMenu();
    if (!menu) return;
    for (const WindowMenuEntry& entry : windowMenuEntries()) appendEntry(menu, entry);
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(
        menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, m_window, nullptr));
    DestroyMenu(menu);
    if (chosen != 0) SendMessageW(m_window, WM_SYSCOMMAND, chosen, 0);
}

void SolverWindow::paintFramebuffer(HDC dc, RECT area, POINT dcOrigin) {
    // The device pixels of the client area, each in the colour of the framebuffer pixel it shows
    // at the window's scale, copied one for one.
    const PixelRect client = deviceRect(m_scale, kClientRect);
    area = intersection(area, RECT{client.left, client.top, client.right, client.bottom});
    if (area.left >= area.right) return;
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;

    const std::ptrdiff_t stride = static_cast<std::ptrdiff_t>(width) * 4;
    m_scanlines.resize(static_cast<std::size_t>(stride) * static_cast<std::size_t>(height));
    copyScaledClientPixels(m_framebuffer, m_scale,
                           PixelRect{area.left, area.top, area.right, area.bottom},
                           PixelFormat::Bgrx32, m_scanlines.data(), stride);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // rows top to bottom
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, area.left - dcOrigin.x, area.top - dcOrigin.y, static_cast<DWORD>(width),
                      static_cast<DWORD>(height), 0, 0, 0, static_cast<UINT>(height),
                      m_scanlines.data(), &info, DIB_RGB_COLORS);
}

void SolverWindow::showPixels(const PixelRect& window) {
    const PixelRect client = clientArea(window);
    if (!m_window || client.empty()) return;
    const PixelRect device = deviceRect(m_scale, client);
    RECT area{device.left, device.top, device.right, device.bottom};
    // The face and every control over the rectangle repaint now: a command draws between its
    // message boxes without letting the window process anything.
    RedrawWindow(m_window, &area, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

std::string SolverWindow::controlText(int id) const {
    HWND w = control(id);
    if (!w) return {};
    const int length = GetWindowTextLengthW(w);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(w, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(got, 0)));
    return toUtf8(text);
}

void SolverWindow::setControlText(int id, std::string_view text) {
    if (HWND w = control(id)) SetWindowTextW(w, toUtf16(text).c_str());
}

int SolverWindow::checkState(int id) const {
    HWND w = control(id);
    return w && SendMessageW(w, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void SolverWindow::setCheckState(int id, int state) {
    if (HWND w = control(id)) {
        SendMessageW(w, BM_SETCHECK, state != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

void SolverWindow::addComboItem(int id, std::string_view text) {
    HWND w = control(id);
    if (!w) return;
    const std::wstring wide = toUtf16(text);
    SendMessageW(w, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    widenDroppedList(id, wide);
}

void SolverWindow::widenDroppedList(int id, const std::wstring& wide) {
    HWND w = control(id);
    if (!w) return;
    // A drop-down's list opens as wide as the box and would clip the longest function, so it is
    // widened to each entry, with room for the list's frame, the item's margins and a scroll bar.
    HDC dc = GetDC(w);
    if (!dc) return;
    HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(w, WM_GETFONT, 0, 0)));
    SIZE extent{};
    const bool measured =
        GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &extent) != 0;
    SelectObject(dc, previous);
    ReleaseDC(w, dc);
    if (!measured) return;
    const UINT dpi = GetDpiForWindow(w);
    const int needed = extent.cx + 2 * GetSystemMetricsForDpi(SM_CXEDGE, dpi) +
                       GetSystemMetricsForDpi(SM_CXVSCROLL, dpi) +
                       static_cast<int>(std::lround(4 * m_scale));
    if (needed > SendMessageW(w, CB_GETDROPPEDWIDTH, 0, 0)) {
        SendMessageW(w, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(needed), 0);
    }
}

int SolverWindow::comboItemCount(int id) const {
    HWND w = control(id);
    return w ? static_cast<int>(SendMessageW(w, CB_GETCOUNT, 0, 0)) : 0;
}

std::string SolverWindow::comboItemText(int id, int index) const {
    HWND w = control(id);
    if (!w) return {};
    const LRESULT length = SendMessageW(w, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT got = SendMessageW(w, CB_GETLBTEXT, static_cast<WPARAM>(index),
                                     reinterpret_cast<LPARAM>(text.data()));
    text.resize(got == CB_ERR ? 0 : static_cast<std::size_t>(got));
    return toUtf8(text);
}

int SolverWindow::comboSelection(int id) const {
    HWND w = control(id);
    return w ? static_cast<int>(SendMessageW(w, CB_GETCURSEL, 0, 0)) : -1;
}

void SolverWindow::setComboSelection(int id, int index) {
    if (HWND w = control(id)) SendMessageW(w, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void SolverWindow::listAddString(std::string_view text) {
    SendMessageW(control(res::IDC_RESULTS), LB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(toUtf16(text).c_str()));
}

void SolverWindow::listSetCurSel(int index) {
    SendMessageW(control(res::IDC_RESULTS), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void SolverWindow::listDeleteString(int index) {
    SendMessageW(control(res::IDC_RESULTS), LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void SolverWindow::listDeleteFirst(int count) {
    // A deletion at the front moves every line after it and redraws the list: a list that goes
    // whole is emptied at once. (The dialog only ever empties the whole list.)
    HWND list = control(res::IDC_RESULTS);
    if (count >= static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0))) {
        SendMessageW(list, LB_RESETCONTENT, 0, 0);
    } else {
        DialogHost::listDeleteFirst(count);
    }
}

void SolverWindow::messageBox(std::string_view text, std::string_view caption, MessageIcon icon) {
    // What was drawn so far shows behind the box.
    if (m_window) UpdateWindow(m_window);
    MessageBoxW(m_window, toUtf16(text).c_str(), toUtf16(caption).c_str(),
                MB_OK | toolkitIcon(icon));
}

void SolverWindow::focusAndSelectAll(int id) {
    HWND w = control(id);
    if (!w || !m_window) return;
    SendMessageW(m_window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(w), TRUE);
    SendMessageW(w, EM_SETSEL, 0, -1);
}

void SolverWindow::focusAndSelect(int id, int first, int count) {
    HWND w = control(id);
    if (!w || !m_window) return;
    // Focus without selecting all, then the place; the edit box counts in UTF-16 units too.
    SendMessageW(m_window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(w), TRUE);
    SendMessageW(w, EM_SETSEL, static_cast<WPARAM>(first), static_cast<LPARAM>(first + count));
}

void SolverWindow::setControlEnabled(int id, bool enabled) {
    if (HWND w = control(id)) EnableWindow(w, enabled ? TRUE : FALSE);
}

std::unique_ptr<DrawingSurface> SolverWindow::windowSurface() {
    return makeWindowSurface(m_framebuffer, [this](const PixelRect& touched) {
        if (!touched.empty()) showPixels(touched);
    });
}

}  // namespace korzenik::win32
