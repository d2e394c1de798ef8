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
    // An open drop-down's list takes Enter and Escape; the menu keys stay the window's.
    EXPECT_EQ(keyEffect(DialogKey::Enter, {}, true), KeyEffect::Deliver);
    EXPECT_EQ(keyEffect(DialogKey::Escape, {.alt = true}, true), KeyEffect::Deliver);
    EXPECT_EQ(keyEffect(DialogKey::F10, {.shift = true}, true), KeyEffect::ContextMenu);
    EXPECT_TRUE(keepsOwnContextMenu(ControlKind::Edit));
    EXPECT_FALSE(keepsOwnContextMenu(ControlKind::DropDown));
    EXPECT_FALSE(keepsOwnContextMenu(ControlKind::List));
}

TEST(ListKeys, TheArrowsHomeAndEndMoveTheSelectionWithinTheLines) {
    struct Case {
        DialogKey key;
        KeyModifiers modifiers;
        int selected;
        int count;
        int line;
    };
    const Case cases[] = {
        {DialogKey::Down, {}, -1, 3, 0},
        {DialogKey::Down, {}, 1, 3, 2},
        {DialogKey::Down, {}, 2, 3, 2},
        {DialogKey::Up, {}, -1, 3, 0},
        {DialogKey::Up, {}, 2, 3, 1},
        {DialogKey::Up, {}, 0, 3, 0},
        {DialogKey::Home, {}, 2, 3, 0},
        {DialogKey::End, {}, -1, 3, 2},
        {DialogKey::End, {.shift = true}, 0, 3, 2},
        {DialogKey::Down, {.ctrl = true}, 0, 3, -1},
        {DialogKey::End, {.alt = true}, 0, 3, -1},
        {DialogKey::Down, {}, -1, 0, -1},
        {DialogKey::Enter, {}, 0, 3, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(lineAfterKey(c.key, c.modifiers, c.selected, c.count), c.line)
            << static_cast<int>(c.key) << " from " << c.selected << " of " << c.count;
    }
}
