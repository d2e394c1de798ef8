#pragma once
// The controls of a dialog as every window host builds them, read from the layout table once:
// what each control is, where it stands in client pixels, how the controls stack, which one has
// the focus first, what the controls are called, and how a caption marks its mnemonic. A host
// maps each kind to a widget of its toolkit and keeps the widgets in a ControlSet, which finds
// them by identifier; it decides none of this itself.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/res/dialog_template.h"
#include "app/res/resource.h"
#include "chart/drawing_surface.h"

namespace korzenik {

/// What a row of the layout table stands for, whatever the toolkit.
enum class ControlKind {
    PushButton,
    CheckBox,   ///< two states, ticked by a click
    GroupBox,   ///< a frame with a caption; paints nothing inside
    Edit,       ///< one line of text; keeps its own context menu
    Label,      ///< static text
    WhiteRect,  ///< the chart's backdrop: the window paints it from its framebuffer
    Icon,       ///< the application icon at its own size
    List,       ///< the results list: one selection, not a tab stop
    DropDown,   ///< a drop-down list that takes no typed text
};

enum class TextAlign { Left, Centre, Right };

/// The application icon's size in pixels, which an icon control takes whatever its row says.
inline constexpr std::int32_t kIconPixels = 32;

/// One control of a dialog as a host creates it.
struct ControlPlan {
    int id = res::IDC_STATIC;
    ControlKind kind = ControlKind::Label;
    std::string_view text;  ///< UTF-8 caption; '&' marks a mnemonic where `mnemonics` is set
    /// In client pixels. A drop-down's includes its dropped list: the closed box keeps the
    /// toolkit's own height.
    PixelRect rect;
    TextAlign align = TextAlign::Left;  ///< where a label's text stands
    bool tabStop = false;
    bool seeThrough = false;  ///< painted after its siblings, above all of them
    bool mnemonics = false;   ///< the caption's '&' marks a mnemonic rather than showing
    bool border = false;      ///< an edit box's or a list's sunken frame
    bool defaultButton = false;
    std::uint32_t styles = 0;          ///< the row's style bits, for what a toolkit maps itself
    int group = res::IDC_STATIC;       ///< the group box it stands in
    int labelledBy = res::IDC_STATIC;  ///< the static text that names it
    std::string_view name;  ///< what a screen reader calls it, or says before a label's text
};

ControlPlan controlPlan(const res::ControlTemplate& row);

/// Indices of the dialog's rows from the bottom of the stack to the top, as the window system
/// stacks a dialog's controls: each row above the rows after it, and the see-through ones above
/// all the others, in table order.
std::vector<std::size_t> stackingOrder(const res::DialogTemplate& dialog);

/// The control that has the focus when the dialog opens: its first tab stop.
int firstTabStop(const res::DialogTemplate& dialog);

/// A dialog's controls made by a host, one handle each, in table order: the order they are
/// created in, which is the tab order. A handle is whatever the host keeps of a control (a
/// widget pointer, a window handle, the control's state itself).
template <typename Handle>
class ControlSet {
public:
    ControlSet() = default;

    /// Makes every control of the dialog with make(const ControlPlan&), in table order.
    template <typename Make>
    void build(const res::DialogTemplate& dialog, Make&& make) {
        m_order = stackingOrder(dialog);
        for (const res::ControlTemplate& row : dialog.controls) {
            m_plans.push_back(controlPlan(row));
            m_handles.push_back(make(m_plans.back()));
        }
    }

    /// The control with this identifier, or nullptr; controls without one (IDC_STATIC) are
    /// never found.
    Handle* find(int id) {
        const std::size_t i = indexOf(id);
        return i < m_handles.size() ? &m_handles[i] : nullptr;
    }
    const Handle* find(int id) const { return const_cast<ControlSet*>(this)->find(id); }
    /// The handle of the control with this identifier, or an empty handle.
    Handle get(int id) const {
        const Handle* h = find(id);
        return h ? *h : Handle{};
    }
    /// What the table says of the control with this identifier, or nullptr.
    const ControlPlan* plan(int id) const {
        const std::size_t i = indexOf(id);
        return i < m_plans.size() ? &m_plans[i] : nullptr;
    }

    std::size_t size() const { return m_handles.size(); }
    const ControlPlan& planAt(std::size_t i) const { return m_plans[i]; }
    Handle& at(std::size_t i) { return m_handles[i]; }
    const Handle& at(std::size_t i) const { return m_handles[i]; }

    /// Stacks the controls as the window system does: raise(handle) for each from the bottom of
    /// the stack up, each raised one going on top.
    template <typename Raise>
    void stack(Raise&& raise) {
        for (std::size_t i : m_order) raise(m_handles[i]);
    }

private:
    std::size_t indexOf(int id) const {
        if (id == res::IDC_STATIC) return m_plans.size();
        std::size_t i = 0;
        while (i < m_plans.size() && m_plans[i].id != id) ++i;
        return i;
    }

    std::vector<ControlPlan> m_plans;
    std::vector<Handle> m_handles;
    std::vector<std::size_t> m_order;
};

/// The identifier's name as the resource header spells it ("IDC_START"); empty for an
/// identifier of no control.
std::string_view controlIdentifier(int id);
/// The word the scripted sessions and their transcripts use for a control the user works
/// ("start", "auto", "confirm"); empty for the others.
std::string_view controlWord(int id);
/// The control a word names, or IDC_STATIC for none.
int controlForWord(std::string_view word);

/// What a screen reader calls a control of the dialog: the caption it shows (a button, a check
/// box, a static text, a group box), else the caption of the static text that labels it, else its
/// own name, else its group box's caption; without mnemonic markers. Empty for no control.
std::string accessibleName(const res::DialogTemplate& dialog, int id);

/// A caption as the window system shows it: "&&" is one '&', and the character after a single
/// '&' is underlined and is the mnemonic (the first such one counts).
struct Caption {
    std::string text;                            ///< without the markers, UTF-8
    std::size_t mnemonicAt = std::string::npos;  ///< byte offset in text of the mnemonic
    std::size_t mnemonicSize = 0;                ///< its UTF-8 bytes
    char key = 0;  ///< the mnemonic's key, an ASCII letter or digit in lower case; 0 for none
};

/// The caption's text; with mnemonics false the text shows as it is.
Caption parseCaption(std::string_view text, bool mnemonics);

}  // namespace korzenik
