// The window's key rules, the same in every window host.
#include "app/window_menu.h"

#include <gtest/gtest.h>

using namespace korzenik;

TEST(WindowKeys, EnterAndEscapeAreSwallowedAndTwoKeysAskForTheMenu) {
    struct Case {
        DialogKey key;
        KeyModifiers modifiers;
        KeyEffect effect;
    };
    const Case cases[] = {
        {DialogKey::Enter, {}, KeyEffect::Swallow},
        {DialogKey::Enter, {.ctrl = true}, KeyEffect::Swallow},
        {DialogKey::Escape, {}, KeyEffect::Swallow},
        {DialogKey::Escape, {.shift = true, .alt = true}, KeyEffect::Swallow},
        {DialogKey::Menu, {}, KeyEffect::ContextMenu},
        {DialogKey::Menu, {.ctrl = true}, KeyEffect::Deliver},
        {DialogKey::F10, {}, KeyEffect::Deliver},
        {DialogKey::F10, {.shift = true}, KeyEffect::ContextMenu},
        {DialogKey::F10, {.shift = true, .ctrl = true}, KeyEffect::Deliver},
        {DialogKey::F10, {.shift = true, .alt = true}, KeyEffect::Deliver},
        {DialogKey::Other, {.shift = true}, KeyEffect::Deliver},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(keyEffect(c.key, c.modifiers), c.effect)
            << static_cast<int>(c.key) << " shift " << c.modifiers.shift << " ctrl "
            << c.modifiers.ctrl << " alt " << c.modifiers.alt;
    }
    EXPECT_TRUE(keepsOwnContextMenu(ControlKind::Edit));
    EXPECT_FALSE(keepsOwnContextMenu(ControlKind::DropDown));
    EXPECT_FALSE(keepsOwnContextMenu(ControlKind::List));
}
