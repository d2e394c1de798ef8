#pragma once
// The dialogs' layout as data, for every host to build its window from. Positions and sizes are
// in dialog units; one dialog unit is 2 pixels in both directions.
#include <cstdint>
#include <span>
#include <string_view>

namespace korzenik::res {

enum class ControlClass { Button, Edit, Static, ListBox, ComboBox };

/// Style bits, named after the classic window-system styles each one stands for.
enum Style : std::uint32_t {
    kTabStop = 1u << 0,
    kGroup = 1u << 1,
    kBorder = 1u << 2,
    kVScroll = 1u << 3,
    kPushButton = 1u << 4,
    kDefPushButton = 1u << 5,
    kAutoCheckBox = 1u << 6,
    kGroupBox = 1u << 7,
    kAutoHScroll = 1u << 8,
    kDropDownList = 1u << 9,
    kWhiteRect = 1u << 10,
    kIcon = 1u << 11,
    kAlignLeft = 1u << 12,
    kAlignCenter = 1u << 13,
    kAlignRight = 1u << 14,
    kNoPrefix = 1u << 15,
    kNotify = 1u << 16,
    kNoIntegralHeight = 1u << 17,
    kTransparent = 1u << 18,  ///< extended style: painted after its siblings, see-through
};

struct ControlTemplate {
    int id;  ///< IDC_ value, or IDC_STATIC (-1)
    ControlClass cls;
    std::string_view text;  ///< UTF-8 caption; '&' marks a mnemonic where the class has one
    int x, y, w, h;         ///< dialog units
    std::uint32_t styles;
    /// The group box the control stands in, or IDC_STATIC: a screen reader names the group, and
    /// a narrow page lays each group out as a whole.
    int group = -1;
    /// The static text that names the control for a screen reader, or IDC_STATIC. It comes
    /// right before the control in the table, which is how the window system finds it.
    int labelledBy = -1;
    /// What a screen reader calls a control that no caption names (the results list, the
    /// chart), or says before the text the dialog writes into a label; else empty.
    std::string_view name = {};
};

struct DialogTemplate {
    int id;
    std::string_view caption;
    int w, h;                                   ///< client size in dialog units
    std::span<const ControlTemplate> controls;  ///< template order = tab order = z-order
};

inline constexpr int kPixelsPerDialogUnit = 2;

extern const DialogTemplate kMainDialog;
extern const DialogTemplate kAboutBox;

/// The drop-down's initialisation data: the catalogue's labels in catalogue order, then the item
/// of the typed function.
std::span<const std::string_view> functionItems();

/// The function an item of the drop-down chooses: 1 to 5 for the catalogue's labels,
/// kOwnFunction for the typed function's item, 0 for any other text.
int functionIndexOfItem(std::string_view item);

/// The control of a template with this identifier, or nullptr.
const ControlTemplate* findControl(const DialogTemplate& dialog, int id);

}  // namespace korzenik::res
