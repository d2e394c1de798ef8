#pragma once
// The main window over the plain Win32 API: a dialog window whose controls are the real window
// classes, placed from the main dialog's layout table, hosting the toolkit-neutral CSolverDialog
// through DialogHost. Its face is the retained window framebuffer: what the commands draw shows
// wherever no control covers it, and a repaint shows it again. It is aware of each monitor's
// scale: shown at the scale every window takes (app/display_scale.h), it lays itself out again
// when it moves to a monitor of another scale, rather than letting the system stretch it.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/control_table.h"
#include "app/dialog_host.h"
#include "app/solver_dialog.h"
#include "chart/framebuffer.h"
#include "core/solver_state.h"
#include "win32/windows_api.h"

namespace korzenik::win32 {

class SolverWindow : public DialogHost {
public:
    /// The state belongs to the application and outlives the window.
    explicit SolverWindow(SolverState& state);
    ~SolverWindow() override;
    SolverWindow(const SolverWindow&) = delete;
    SolverWindow& operator=(const SolverWindow&) = delete;

    /// Shows the window and runs it until it is closed. False when it could not be created or
    /// its initialisation failed; failure() then says why.
    bool run();
    /// The system's error code of what made run() fail (0 when the system gave none).
    DWORD failure() const { return m_failure; }

    // DialogHost
    std::string controlText(int id) const override;
    void setControlText(int id, std::string_view text) override;
    int checkState(int id) const override;
    void setCheckState(int id, int state) override;
    void addComboItem(int id, std::string_view text) override;
    int comboItemCount(int id) const override;
    std::string comboItemText(int id, int index) const override;
    int comboSelection(int id) const override;
    void setComboSelection(int id, int index) override;
    void listAddString(std::string_view text) override;
    void listSetCurSel(int index) override;
    void listDeleteString(int index) override;
    void listDeleteFirst(int count) override;
    void messageBox(std::string_view text, std::string_view caption, MessageIcon icon) override;
    void focusAndSelectAll(int id) override;
    void focusAndSelect(int id, int first, int count) override;
    void setControlEnabled(int id, bool enabled) override;
    std::unique_ptr<DrawingSurface> windowSurface() override;

private:
    static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);
    bool initialise();
    /// Applies the window's key rules to a queued key message for the window or one of its
    /// controls: true when the rules took the key (swallowed it, or opened a context menu).
    bool handledKey(const MSG& msg);
    void showAboutBox();
    void showWindowMenu(LPARAM screenPoint);
    HWND control(int id) const { return m_controls.get(id); }

    /// Paints the framebuffer's pixels under the client rectangle area (device pixels) onto dc,
    /// whose origin lies at the client point dcOrigin.
    void paintFramebuffer(HDC dc, RECT area, POINT dcOrigin);
    /// Repaints the window's pixels in a rectangle of window coordinates (framebuffer pixels),
    /// and the controls over it, at once.
    void showPixels(const PixelRect& window);
    /// The window at the scale for a monitor of dpi dots per inch: font, icons and controls, and
    /// the window's size with its corner at `at`.
    void rescale(UINT dpi, HMONITOR monitor, POINT at);
    /// Widens drop-down id's dropped list to what its entry `text` needs, in the control's font.
    void widenDroppedList(int id, const std::wstring& text);
    /// The window's icons at the sizes the system takes at dpi.
    void setIcons(UINT dpi);

    double m_scale = 1.0;
    HFONT m_font = nullptr;
    HBRUSH m_faceBrush = nullptr;
    HICON m_bigIcon = nullptr;  // the window's icons, which it keeps while it lives
    HICON m_smallIcon = nullptr;
    HWND m_window = nullptr;
    ControlSet<HWND> m_controls;
    Framebuffer m_framebuffer;
    std::vector<std::uint8_t> m_scanlines;  // framebuffer pixels as a 32-bit DIB, for painting
    CSolverDialog m_dialog;
    bool m_initialised = false;
    DWORD m_failure = 0;
};

}  // namespace korzenik::win32
