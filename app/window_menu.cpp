#include "app/window_menu.h"

#include <algorithm>
#include <array>

#include "app/res/strings.h"

namespace korzenik {

namespace {

constexpr std::array kWindowMenu = {
    WindowMenuEntry{WindowCommand::Close, "&Close", "Alt+F4"},
    WindowMenuEntry{WindowCommand::Separator, "", ""},
    WindowMenuEntry{WindowCommand::About, res::kAboutMenuText, ""},
};

constexpr std::array kPageMenu = {
    WindowMenuEntry{WindowCommand::CopyExerciseLink, res::kCopyExerciseLinkMenuText, ""},
    WindowMenuEntry{WindowCommand::About, res::kAboutMenuText, ""},
};

}  // namespace

KeyEffect keyEffect(DialogKey key, KeyModifiers modifiers, bool dropDownOpen) {
    switch (key) {
        // With any modifiers: no combination of them makes Enter a button press.
        case DialogKey::Enter:
        case DialogKey::Escape: return dropDownOpen ? KeyEffect::Deliver : KeyEffect::Swallow;
        case DialogKey::Menu:
            return !modifiers.shift && !modifiers.ctrl && !modifiers.alt ? KeyEffect::ContextMenu
                                                                         : KeyEffect::Deliver;
        case DialogKey::F10:
            return modifiers.shift && !modifiers.ctrl && !modifiers.alt ? KeyEffect::ContextMenu
                                                                        : KeyEffect::Deliver;
        case DialogKey::Up:
        case DialogKey::Down:
        case DialogKey::Home:
        case DialogKey::End:
        case DialogKey::Other: return KeyEffect::Deliver;
    }
    return KeyEffect::Deliver;
}

int lineAfterKey(DialogKey key, KeyModifiers modifiers, int selected, int count) {
    if (modifiers.ctrl || modifiers.alt || count <= 0) return -1;
    int line = 0;
    switch (key) {
        case DialogKey::Down: line = selected + 1; break;
        case DialogKey::Up: line = selected - 1; break;
        case DialogKey::Home: line = 0; break;
        case DialogKey::End: line = count - 1; break;
        default: return -1;
    }
    return std::clamp(line, 0, count - 1);
}

bool keepsOwnContextMenu(ControlKind kind) { return kind == ControlKind::Edit; }

std::span<const WindowMenuEntry> windowMenuEntries() { return kWindowMenu; }

std::span<const WindowMenuEntry> pageMenuEntries() { return kPageMenu; }

}  // namespace korzenik
