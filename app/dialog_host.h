#pragma once
// What the dialog application needs from the toolkit that shows it, and what a host of it does.
//
// Hosts: the Qt window (qt/), the Windows window (win32/), and MemoryDialog (app/), whose
// controls live in memory and which serves every front end without real widgets: the scripted
// host (script/), the browser page (web/), the tests, benchmarks and fuzzers.
//
// A host of the main dialog
// - makes the controls of the layout table (res::kMainDialog) with a ControlSet
//   (app/control_table.h), mapping each ControlKind to a widget of its own at the plan's
//   rectangle, stacked with ControlSet::stack, the focus first on firstTabStop(), and answers
//   the calls below by control identifier;
// - calls CSolverDialog::OnInitDialog once, then OnConfirm and OnCompute when IDC_CONFIRM and
//   IDC_COMPUTE are pressed, and nothing else of the dialog;
// - keeps the window's one framebuffer (makeWindowFramebuffer, app/window.h), hands out
//   surfaces over it made by makeWindowSurface (app/window_surface.h), and shows the rectangle
//   a released surface reports, taking the client pixels in its toolkit's format with
//   copyClientPixels (app/window.h) where the toolkit cannot show the framebuffer's own RGB
//   bytes (Qt can: its window keeps no second copy);
// - applies the window's key and menu rules of app/window_menu.h: which keys are swallowed,
//   which open a context menu, the window menu's entries;
// - shows each message box modally with one OK button, one at a time in the order asked.
// The dialog writes a control's text only when it differs from what the control shows, so
// setControlText always has a change to show: a host needs no comparison of its own.
//
// Texts are UTF-8. Controls are named by their identifiers from app/res/resource.h.
#include <memory>
#include <string>
#include <string_view>

#include "chart/drawing_surface.h"

namespace korzenik {

enum class MessageIcon { Exclamation, Information };

/// The icon's name where a front end names it rather than drawing a toolkit's own: the
/// transcript's "icon" and the page's.
constexpr std::string_view messageIconName(MessageIcon icon) {
    return icon == MessageIcon::Information ? "information" : "exclamation";
}

class DialogHost {
public:
    virtual ~DialogHost() = default;

    /// The whole text of an edit box, static text or the drop-down's edit part.
    virtual std::string controlText(int id) const = 0;
    /// Called only with a text that differs from controlText(id); a drop-down list ignores it.
    virtual void setControlText(int id, std::string_view text) = 0;

    /// Check box state: 0 clear, 1 checked.
    virtual int checkState(int id) const = 0;
    virtual void setCheckState(int id, int state) = 0;

    /// A disabled control takes no input and no focus, and shows it is disabled.
    virtual void setControlEnabled(int id, bool enabled) = 0;

    /// Drop-down list: items in insertion order (the list is not sorted), one selection or -1.
    virtual void addComboItem(int id, std::string_view text) = 0;
    virtual int comboItemCount(int id) const = 0;
    virtual std::string comboItemText(int id, int index) const = 0;
    virtual int comboSelection(int id) const = 0;
    virtual void setComboSelection(int id, int index) = 0;

    /// The results list box.
    virtual void listAddString(std::string_view text) = 0;
    virtual void listSetCurSel(int index) = 0;
    virtual void listDeleteString(int index) = 0;
    /// Deletes the first count lines (every line when it holds fewer), as that many calls of
    /// listDeleteString(0) would. A host whose list moves its remaining lines on each deletion
    /// drops them all at once, so emptying a long list costs no more than its length.
    virtual void listDeleteFirst(int count) {
        for (int i = 0; i < count; ++i) listDeleteString(0);
    }

    /// A modal message box with one OK button; returns when it was dismissed.
    virtual void messageBox(std::string_view text, std::string_view caption, MessageIcon icon) = 0;

    /// Gives the keyboard focus to an edit box and selects its whole text.
    virtual void focusAndSelectAll(int id) = 0;
    /// Gives the keyboard focus to an edit box and selects count characters from first, both
    /// counted in UTF-16 code units as the toolkits' edit boxes count them (count may be 0: the
    /// caret stands at first).
    virtual void focusAndSelect(int id, int first, int count) = 0;

    /// A fresh drawing surface over the window's one retained framebuffer. The host shows what
    /// was drawn no later than when the surface is released.
    virtual std::unique_ptr<DrawingSurface> windowSurface() = 0;
};

}  // namespace korzenik
