#include "app/window_menu.h"

#include <array>

#include "app/res/strings.h"

namespace korzenik {

namespace {

constexpr std::array kWindowMenu = {
    WindowMenuEntry{WindowCommand::Close, "&Close", "Alt+F4"},
    WindowMenuEntry{WindowCommand::Separator, "", ""},
    WindowMenuEntry{WindowCommand::About, res::kAboutMenuText, ""},
};

}  // namespace

KeyEffect keyEffect(DialogKey key, KeyModifiers modifiers) {
    switch (key) {
        // With any modifiers: no combination of them makes Enter a button press.
        case DialogKey::Enter:
        case DialogKey::Escape: return KeyEffect::Swallow;
        case DialogKey::Menu:
            return !modifiers.shift && !modifiers.ctrl && !modifiers.alt ? KeyEffect::ContextMenu
                                                                         : KeyEffect::Deliver;
        case DialogKey::F10:
            return modifiers.shift && !modifiers.ctrl && !modifiers.alt ? KeyEffect::ContextMenu
                                                                        : KeyEffect::Deliver;
        case DialogKey::Other: return KeyEffect::Deliver;
    }
    return KeyEffect::Deliver;
}

bool keepsOwnContextMenu(ControlKind kind) { return kind == ControlKind::Edit; }

std::span<const WindowMenuEntry> windowMenuEntries() { return kWindowMenu; }

}  // namespace korzenik
