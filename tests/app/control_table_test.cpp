// The control table every window host builds its controls from: what a row is, where it
// stands, how the rows stack, which one is found by an identifier, and how captions mark their
// mnemonics.
#include "app/control_table.h"

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <string>
#include <vector>

using namespace korzenik;

namespace {

using res::ControlClass;

bool operator==(const PixelRect& a, const PixelRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

TEST(ControlTable, EachRowBecomesItsKindAtTwicePixels) {
    struct Case {
        res::ControlTemplate row;
        ControlKind kind;
        PixelRect rect;
    };
    const Case cases[] = {
        {{1, ControlClass::Button, "&Go", 1, 2, 30, 10, res::kPushButton},
         ControlKind::PushButton,
         {2, 4, 62, 24}},
        {{2, ControlClass::Button, "Auto", 0, 0, 5, 5, res::kAutoCheckBox},
         ControlKind::CheckBox,
         {0, 0, 10, 10}},
        {{3, ControlClass::Button, "Frame", 0, 0, 5, 5, res::kGroupBox},
         ControlKind::GroupBox,
         {0, 0, 10, 10}},
        {{4, ControlClass::Edit, "", 0, 0, 5, 5, res::kBorder}, ControlKind::Edit, {0, 0, 10, 10}},
        {{5, ControlClass::Static, "t", 0, 0, 5, 5, res::kAlignRight},
         ControlKind::Label,
         {0, 0, 10, 10}},
        {{6, ControlClass::Static, "", 0, 0, 5, 5, res::kWhiteRect},
         ControlKind::WhiteRect,
         {0, 0, 10, 10}},
        // An icon takes its own size whatever its row says.
        {{7, ControlClass::Static, "", 7, 7, 20, 20, res::kIcon},
         ControlKind::Icon,
         {14, 14, 14 + kIconPixels, 14 + kIconPixels}},
        {{8, ControlClass::ListBox, "", 0, 0, 5, 5, 0}, ControlKind::List, {0, 0, 10, 10}},
        {{9, ControlClass::ComboBox, "", 0, 0, 5, 50, res::kDropDownList},
         ControlKind::DropDown,
         {0, 0, 10, 100}},
    };
    for (const Case& c : cases) {
        const ControlPlan plan = controlPlan(c.row);
        EXPECT_EQ(plan.kind, c.kind) << "row " << c.row.id;
        EXPECT_TRUE(plan.rect == c.rect) << "row " << c.row.id;
    }
    const ControlPlan label = controlPlan(cases[4].row);
    EXPECT_EQ(label.align, TextAlign::Right);
    EXPECT_TRUE(label.mnemonics);
    EXPECT_FALSE(
        controlPlan({5, ControlClass::Static, "a&b", 0, 0, 1, 1, res::kNoPrefix}).mnemonics);
}

// The first row lies on top of the rows after it; see-through rows go above all the others.
TEST(ControlTable, StacksTheFirstRowOnTopAndSeeThroughRowsAboveAll) {
    const std::array rows = {
        res::ControlTemplate{1, ControlClass::Static, "", 0, 0, 1, 1, 0},
        res::ControlTemplate{2, ControlClass::Static, "", 0, 0, 1, 1, res::kTransparent},
        res::ControlTemplate{3, ControlClass::Static, "", 0, 0, 1, 1, 0},
        res::ControlTemplate{4, ControlClass::Static, "", 0, 0, 1, 1, res::kTransparent},
        res::ControlTemplate{5, ControlClass::Edit, "", 0, 0, 1, 1, res::kTabStop},
    };
    const res::DialogTemplate dialog{1, "", 10, 10, rows};
    EXPECT_EQ(stackingOrder(dialog), (std::vector<std::size_t>{4, 2, 0, 1, 3}));
    EXPECT_EQ(firstTabStop(dialog), 5);

    ControlSet<int> set;
    set.build(dialog, [](const ControlPlan& plan) { return plan.id * 10; });
    std::vector<int> raised;
    set.stack([&](int handle) { raised.push_back(handle); });
    EXPECT_EQ(raised, (std::vector<int>{50, 30, 10, 20, 40}));
}

TEST(ControlSet, FindsAControlByItsIdentifierButNeverAStatic) {
    ControlSet<std::string> set;
    set.build(res::kMainDialog, [](const ControlPlan& plan) { return std::string(plan.text); });
    ASSERT_EQ(set.size(), res::kMainDialog.controls.size());
    ASSERT_NE(set.find(res::IDC_CONFIRM), nullptr);
    EXPECT_EQ(*set.find(res::IDC_CONFIRM), "&Zatwierdź");
    EXPECT_EQ(set.plan(res::IDC_AUTO)->kind, ControlKind::CheckBox);
    EXPECT_EQ(set.find(res::IDC_STATIC), nullptr);
    EXPECT_EQ(set.find(12345), nullptr);
    EXPECT_EQ(set.get(12345), "");
    EXPECT_EQ(firstTabStop(res::kMainDialog), res::IDC_FUNCTION);
}

// The page names its elements and the window checks name controls by these; a control added to
// the table without a name would have no element id.
TEST(ControlNames, EveryControlWithAnIdentifierHasItsName) {
    for (const res::ControlTemplate& row : res::kMainDialog.controls) {
        if (row.id == res::IDC_STATIC) continue;
        const std::string_view name = controlIdentifier(row.id);
        EXPECT_EQ(name.substr(0, 4), "IDC_") << row.id;
        const std::string_view word = controlWord(row.id);
        if (!word.empty()) {
            EXPECT_EQ(controlForWord(word), row.id) << word;
        }
    }
    EXPECT_EQ(controlIdentifier(res::IDC_START), "IDC_START");
    EXPECT_EQ(controlWord(res::IDC_PRECISION), "precision");
    EXPECT_EQ(controlForWord("state"), res::IDC_STATIC);
    EXPECT_EQ(controlForWord(""), res::IDC_STATIC);
}

// What a screen reader calls each control the user works, and each control's group holding it:
// a narrow page lays a group out as a whole, so a control outside its group's frame would move.
TEST(ControlNames, ScreenReadersHearTheTablesNamesAndGroupsHoldTheirControls) {
    const std::pair<int, const char*> names[] = {
        {res::IDC_FUNCTION, "Funkcja"},
        {res::IDC_START, "Początek"},
        {res::IDC_END, "Koniec"},
        {res::IDC_PRECISION, "Precyzja"},
        {res::IDC_CONFIRM, "Zatwierdź"},
        {res::IDC_AUTO, "Auto"},
        {res::IDC_RESULTS, "Kolejne przybliżenia"},
        {res::IDC_CHART_FRAME, "Wykres"},
        {res::IDC_STATIC, ""},
    };
    for (const auto& [id, name] : names) {
        EXPECT_EQ(accessibleName(res::kMainDialog, id), name) << id;
    }
    const auto& rows = res::kMainDialog.controls;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ControlPlan plan = controlPlan(rows[i]);
        if (plan.labelledBy != res::IDC_STATIC) {
            // The window system names a field after the static text right before it.
            ASSERT_GT(i, 0u);
            EXPECT_EQ(rows[i - 1].id, plan.labelledBy) << plan.id;
            EXPECT_EQ(controlPlan(rows[i - 1]).kind, ControlKind::Label) << plan.id;
        }
        if (plan.group == res::IDC_STATIC) continue;
        const res::ControlTemplate* group = res::findControl(res::kMainDialog, plan.group);
        ASSERT_NE(group, nullptr) << plan.id;
        ASSERT_EQ(controlPlan(*group).kind, ControlKind::GroupBox) << plan.id;
        const PixelRect outer = controlPlan(*group).rect;
        EXPECT_TRUE(outer.left <= plan.rect.left && outer.top <= plan.rect.top &&
                    plan.rect.right <= outer.right && plan.rect.bottom <= outer.bottom)
            << plan.id;
    }
}

TEST(Caption, MarksTheFirstSingleAmpersandsCharacter) {
    struct Case {
        const char* in;
        bool mnemonics;
        const char* text;
        std::size_t at;
        std::size_t size;
        char key;
    };
    constexpr auto none = std::string::npos;
    const Case cases[] = {
        {"&Zatwierdź", true, "Zatwierdź", 0, 1, 'z'},
        {"&About Korzenik...", true, "About Korzenik...", 0, 1, 'a'},
        {"Salt && &pepper", true, "Salt & pepper", 7, 1, 'p'},
        {"a&&b", true, "a&b", none, 0, 0},
        {"end&", true, "end&", none, 0, 0},
        {"&1 &2", true, "1 2", 0, 1, '1'},
        {"&Źle", true, "Źle", 0, 2, 0},
        {"&Zatwierdź", false, "&Zatwierdź", none, 0, 0},
    };
    for (const Case& c : cases) {
        const Caption caption = parseCaption(c.in, c.mnemonics);
        EXPECT_EQ(caption.text, c.text) << c.in;
        EXPECT_EQ(caption.mnemonicAt, c.at) << c.in;
        EXPECT_EQ(caption.mnemonicSize, c.size) << c.in;
        EXPECT_EQ(caption.key, c.key) << c.in;
    }
}
