#pragma once
// The main window's keyboard and menu rules, the same in every window host: Enter presses no
// button and Escape does not close the window (no control sees either) unless a drop-down's list
// is open, the Menu key and Shift+F10 ask the focused control for its context menu, and a context
// menu asked of anything but an edit box is the window menu: Close, a separator, About. The
// browser page's window menu has no Close (a page cannot close the browser's window) and an
// entry of its own. The arrows, Home and End move the results list's selection where the
// toolkit's list does not do it itself.
#include <span>
#include <string_view>

#include "app/control_table.h"

namespace korzenik {

/// The keys the rules speak of; every other key is Other.
enum class DialogKey { Enter, Escape, Menu, F10, Up, Down, Home, End, Other };

struct KeyModifiers {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};

enum class KeyEffect {
    Deliver,      ///< the key goes on to the focused control as usual
    Swallow,      ///< nothing sees the key
    ContextMenu,  ///< the focused control is asked for its context menu, as a right-click would
};

/// What the window does with a key pressed anywhere in it, before any control sees it. The
/// numeric keypad's Enter is Enter. An open drop-down list takes Enter and Escape, as in every
/// dialog: Enter picks the highlighted entry, Escape closes the list.
KeyEffect keyEffect(DialogKey key, KeyModifiers modifiers, bool dropDownOpen = false);

/// The line of the results list that a key pressed in it selects, from the selected line
/// (-1 for none) among count lines: the next or the previous line, the first or the last, held
/// within the list. -1 when the key moves no selection (another key, Ctrl or Alt held, no lines).
int lineAfterKey(DialogKey key, KeyModifiers modifiers, int selected, int count);

/// Whether a context menu asked of this kind of control is the control's own (an edit box's
/// cut-and-paste menu) rather than the window menu.
bool keepsOwnContextMenu(ControlKind kind);

enum class WindowCommand {
    Separator,
    Close,
    About,
    CopyExerciseLink,  ///< the page's address with what the controls hold (app/exercise_link.h)
};

struct WindowMenuEntry {
    WindowCommand command;
    /// UTF-8 with '&' before the mnemonic. Close is the window system's own entry: a host shows
    /// it in the desktop's language where the toolkit has a translation.
    std::string_view text;
    std::string_view shortcut;  ///< as the entry shows it ("Alt+F4"), or empty
};

/// The window menu's entries, top to bottom. Where the window system has a menu of its own
/// (the system menu), the entries after Close go at its end.
std::span<const WindowMenuEntry> windowMenuEntries();

/// The browser page's window menu, top to bottom.
std::span<const WindowMenuEntry> pageMenuEntries();

}  // namespace korzenik
