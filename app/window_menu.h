#pragma once
// The main window's keyboard and menu rules, the same in every window host: Enter presses no
// button and Escape does not close the window (no control sees either), the Menu key and
// Shift+F10 ask the focused control for its context menu, and a context menu asked of anything
// but an edit box is the window menu: Close, a separator, About.
#include <span>
#include <string_view>

#include "app/control_table.h"

namespace korzenik {

/// The keys the rules speak of; every other key is Other.
enum class DialogKey { Enter, Escape, Menu, F10, Other };

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
/// numeric keypad's Enter is Enter.
KeyEffect keyEffect(DialogKey key, KeyModifiers modifiers);

/// Whether a context menu asked of this kind of control is the control's own (an edit box's
/// cut-and-paste menu) rather than the window menu.
bool keepsOwnContextMenu(ControlKind kind);

enum class WindowCommand { Separator, Close, About };

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

}  // namespace korzenik
