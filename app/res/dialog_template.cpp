#include "app/res/dialog_template.h"

#include <algorithm>
#include <array>

#include "app/res/resource.h"
#include "app/res/strings.h"
#include "app/window.h"
#include "chart/chart_scale.h"
#include "core/function_catalogue.h"

namespace korzenik::res {

namespace {

using enum ControlClass;

// Each static text that names a field comes right before it: template order is tab order and
// z-order, and the window system names a field after the static text before it.
constexpr std::array kMainControls = {
    ControlTemplate{IDC_FUNCTION, ComboBox, "", 8, 13, 108, 75, kDropDownList | kVScroll | kTabStop,
                    IDC_FUNCTION_GROUP},
    ControlTemplate{IDC_EXPRESSION_LABEL, Static, kOwnFunctionLabel, 7, 30, 24, 8,
                    kAlignLeft | kGroup, IDC_FUNCTION_GROUP},
    ControlTemplate{IDC_EXPRESSION, Edit, "", 32, 28, 83, 12, kAutoHScroll | kBorder | kTabStop,
                    IDC_FUNCTION_GROUP, IDC_EXPRESSION_LABEL},
    ControlTemplate{IDC_START_LABEL, Static, "Początek", 7, 43, 34, 8, kAlignCenter | kGroup,
                    IDC_FUNCTION_GROUP},
    ControlTemplate{IDC_START, Edit, "", 7, 53, 34, 12, kAutoHScroll | kBorder | kTabStop,
                    IDC_FUNCTION_GROUP, IDC_START_LABEL},
    ControlTemplate{IDC_END_LABEL, Static, "Koniec", 44, 43, 34, 8, kAlignCenter | kGroup,
                    IDC_FUNCTION_GROUP},
    ControlTemplate{IDC_END, Edit, "", 44, 53, 34, 12, kAutoHScroll | kBorder | kTabStop,
                    IDC_FUNCTION_GROUP, IDC_END_LABEL},
    ControlTemplate{IDC_PRECISION_LABEL, Static, "Precyzja", 81, 43, 34, 8, kAlignCenter | kGroup,
                    IDC_FUNCTION_GROUP},
    ControlTemplate{IDC_PRECISION, Edit, "", 81, 53, 34, 12, kAutoHScroll | kBorder | kTabStop,
                    IDC_FUNCTION_GROUP, IDC_PRECISION_LABEL},
    ControlTemplate{IDC_CONFIRM, Button, "&Zatwierdź", 7, 68, 108, 14, kPushButton | kTabStop,
                    IDC_FUNCTION_GROUP},
    ControlTemplate{IDC_COMPUTE, Button, "&Licz", 7, 91, 74, 14, kPushButton | kTabStop,
                    IDC_FUNCTION_GROUP},
    ControlTemplate{IDC_AUTO, Button, "Auto", 87, 93, 24, 11, kAutoCheckBox | kTabStop,
                    IDC_FUNCTION_GROUP},
    ControlTemplate{IDC_CHART_FRAME, Static, "", 128, 16, 247, 223, kWhiteRect, IDC_CHART_GROUP,
                    IDC_STATIC, kChartName},
    ControlTemplate{IDC_RESULTS, ListBox, "", 7, 110, 108, 129,
                    kNotify | kNoIntegralHeight | kVScroll | kBorder, IDC_FUNCTION_GROUP,
                    IDC_STATIC, kResultsName},
    ControlTemplate{IDC_CHART_GROUP, Button, "Wykres", 119, 2, 277, 255, kGroupBox},
    ControlTemplate{IDC_FUNCTION_GROUP, Button, "Funkcja", 2, 2, 118, 255, kGroupBox},
    ControlTemplate{IDC_STATIC, Static, "Metoda cięciw (regula falsi)", 2, 258, 118, 8,
                    kAlignLeft | kGroup},
    ControlTemplate{IDC_YMIN, Static, "Ymin", 364, 240, 30, 8, kAlignRight | kGroup | kTransparent,
                    IDC_CHART_GROUP, IDC_STATIC, kYMinName},
    ControlTemplate{IDC_YMAX, Static, "Ymax", 364, 7, 30, 8, kAlignRight | kGroup | kTransparent,
                    IDC_CHART_GROUP, IDC_STATIC, kYMaxName},
    ControlTemplate{IDC_XMIN, Static, "Xmin", 122, 248, 30, 8, kAlignLeft | kGroup | kTransparent,
                    IDC_CHART_GROUP, IDC_STATIC, kXMinName},
    ControlTemplate{IDC_XMAX, Static, "Xmax", 350, 248, 30, 8, kAlignRight | kGroup | kTransparent,
                    IDC_CHART_GROUP, IDC_STATIC, kXMaxName},
};

// The chart plots in its own fixed rectangle of window pixels (ChartFrame), inside the white
// backdrop placed above: its left and right 2 pixels inside the backdrop's left and right edges,
// its top and bottom 1 pixel inside the backdrop's top and bottom edges.
constexpr ControlTemplate kBackdrop =
    *std::find_if(kMainControls.begin(), kMainControls.end(),
                  [](const ControlTemplate& c) { return c.id == IDC_CHART_FRAME; });
static_assert(kClientLeft + kBackdrop.x * kPixelsPerDialogUnit + 2 == ChartFrame::left);
static_assert(kClientLeft + (kBackdrop.x + kBackdrop.w) * kPixelsPerDialogUnit - 2 ==
              ChartFrame::right);
static_assert(kClientTop + kBackdrop.y * kPixelsPerDialogUnit + 1 == ChartFrame::top);
static_assert(kClientTop + (kBackdrop.y + kBackdrop.h) * kPixelsPerDialogUnit - 1 ==
              ChartFrame::bottom);

constexpr std::uint32_t kCentredLine = kAlignCenter | kNoPrefix | kGroup;

constexpr std::array kAboutControls = {
    ControlTemplate{IDC_STATIC, Static, "", 7, 7, 20, 20, kIcon},  // the icon IDI_APP
    ControlTemplate{IDC_STATIC, Static, "KORZENIK", 26, 7, 50, 8, kAlignLeft | kNoPrefix | kGroup},
    ControlTemplate{IDOK, Button, "OK", 100, 7, 50, 14, kDefPushButton | kGroup | kTabStop},
    ControlTemplate{IDC_STATIC, Static, "wersja 3.03", 26, 15, 36, 8,
                    kAlignLeft | kNoPrefix | kGroup},
    ControlTemplate{IDC_STATIC, Static, "Program powstał na zaliczenie laboratorium", 7, 36, 143,
                    10, kCentredLine},
    ControlTemplate{IDC_STATIC, Static, "Korzenik: pierwiastki bez tajemnic", 7, 156, 143, 8,
                    kAlignCenter | kGroup},
    ControlTemplate{IDC_STATIC, Static, "z metod numerycznych:", 7, 45, 143, 10, kCentredLine},
    ControlTemplate{IDC_STATIC, Static, "Autorzy:", 7, 92, 143, 10, kCentredLine},
    ControlTemplate{IDC_STATIC, Static, "zespół wykresów i rastra", 7, 110, 143, 8, kCentredLine},
    ControlTemplate{IDC_STATIC, Static, "zespół okna i skryptów", 7, 119, 143, 10, kCentredLine},
    ControlTemplate{IDC_STATIC, Static, "zespół rdzenia numerycznego", 7, 101, 143, 8,
                    kCentredLine},
    ControlTemplate{IDC_STATIC, Static, "wyznaczanie miejsc zerowych", 7, 55, 143, 10,
                    kCentredLine},
    ControlTemplate{IDC_STATIC, Static, "metodą fałszywej linii (cięciw)", 7, 64, 143, 10,
                    kCentredLine},
};

}  // namespace

const DialogTemplate kMainDialog{IDD_MAIN, "Korzenik", 398, 268, kMainControls};
const DialogTemplate kAboutBox{IDD_ABOUT, "O projekcie KORZENIK", 157, 171, kAboutControls};

namespace {
constexpr std::array<std::string_view, kFunctionCount + 1> kFunctionItems = [] {
    std::array<std::string_view, kFunctionCount + 1> items{};
    std::copy(kFunctionLabels.begin(), kFunctionLabels.end(), items.begin());
    items.back() = kOwnFunctionItem;
    return items;
}();
static_assert(kFunctionItems.size() == kOwnFunction);
}  // namespace

std::span<const std::string_view> functionItems() { return kFunctionItems; }

int functionIndexOfItem(std::string_view item) {
    return item == kOwnFunctionItem ? kOwnFunction : functionIndexForLabel(item);
}

const ControlTemplate* findControl(const DialogTemplate& dialog, int id) {
    for (const ControlTemplate& c : dialog.controls) {
        if (c.id == id) return &c;
    }
    return nullptr;
}

}  // namespace korzenik::res
