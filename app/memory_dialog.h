#pragma once
// The main dialog with its controls held in memory, for every front end that has no real widgets:
// the scripted host, the browser page, the tests, the benchmarks and the fuzzers. The controls
// behave as the window system's do where the dialog can tell: a drop-down list takes no typed
// text, a two-state check box reports 0 or 1, the list box moves its selection with its lines,
// and the window's pixels are one retained framebuffer. Message boxes wait in a queue until the
// front end dismisses them, in the order they were shown.
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "app/control_table.h"
#include "app/dialog_host.h"
#include "chart/framebuffer.h"

namespace korzenik {

struct MessageBoxRequest {
    std::string text;
    std::string caption;
    MessageIcon icon = MessageIcon::Exclamation;
};

/// What a front end mirroring the dialog elsewhere (a transcript, a page) hears of it, as it
/// happens. Every notification has an empty default.
class DialogListener {
public:
    virtual ~DialogListener() = default;
    virtual void lineAppended(std::string_view /*text*/) {}
    /// The index asked for; an index past the lines clears the selection.
    virtual void lineSelected(int /*index*/) {}
    virtual void lineDeleted(int /*index*/) {}
    virtual void messageShown(const MessageBoxRequest& /*box*/) {}
    /// An edit box got the focus with its whole text selected.
    virtual void focusedAndSelected(int /*id*/) {}
    /// An edit box got the focus with count UTF-16 code units selected from first.
    virtual void focusedWithSelection(int /*id*/, int /*first*/, int /*count*/) {}
    /// A command let go of a drawing surface: what it drew, inside the rectangle of window
    /// pixels given (empty when it drew nothing), is ready to show.
    virtual void surfaceReleased(const PixelRect& /*touched*/) {}
};

class MemoryDialog : public DialogHost {
public:
    /// The controls of the main dialog's layout table with their template captions, the
    /// drop-down and the list empty, the focus on the first tab stop, the window as it first
    /// shows. The listener, when given, must outlive the dialog.
    explicit MemoryDialog(DialogListener* listener = nullptr);

    // What the user does.
    /// Picks the item of a drop-down whose text is exactly label; false when there is none.
    bool pickItem(int id, std::string_view label);
    /// Replaces the whole text of an edit box.
    void typeText(int id, std::string_view text);
    /// Ticks or clears a check box.
    void setChecked(int id, bool checked);
    /// Moves the keyboard focus to a control.
    void focus(int id) { m_focus = id; }

    // What the user sees.
    const std::vector<std::string>& lines() const { return m_lines; }
    /// The selected line, or -1.
    int selectedLine() const { return m_selectedLine; }
    /// Whether the control takes input (a control that is not found takes none).
    bool isEnabled(int id) const;
    /// The control with the keyboard focus.
    int focusedControl() const { return m_focus; }
    /// Message boxes shown and not yet dismissed, the oldest (the one on top) first.
    const std::deque<MessageBoxRequest>& pendingMessages() const { return m_messages; }
    /// Closes the oldest message box with OK; false when none is open.
    bool dismissMessage();
    void dismissAllMessages() { m_messages.clear(); }
    /// The window's pixels in window coordinates, face and chart.
    const Framebuffer& window() const { return m_window; }

    // DialogHost
    std::string controlText(int id) const override;
    void setControlText(int id, std::string_view text) override;
    int checkState(int id) const override;
    void setCheckState(int id, int state) override;
    void setControlEnabled(int id, bool enabled) override;
    void addComboItem(int id, std::string_view text) override;
    int comboItemCount(int id) const override;
    std::string comboItemText(int id, int index) const override;
    int comboSelection(int id) const override;
    void setComboSelection(int id, int index) override;
    void listAddString(std::string_view text) override;
    void listSetCurSel(int index) override;
    void listDeleteString(int index) override;
    void listDeleteFirst(int count) override;
    void messageBox(std::string_view text, std::string_view caption, MessageIcon icon) override;
    void focusAndSelectAll(int id) override;
    void focusAndSelect(int id, int first, int count) override;
    std::unique_ptr<DrawingSurface> windowSurface() override;

private:
    enum class Kind { Text, Check, Combo };
    struct Control {
        Kind kind = Kind::Text;
        std::string text;                ///< Text: the whole text
        int check = 0;                   ///< Check: 0 or 1
        std::vector<std::string> items;  ///< Combo: in insertion order
        int selection = -1;              ///< Combo: selected item or -1
        bool enabled = true;
    };
    Control* find(int id) { return m_controls.find(id); }
    const Control* find(int id) const { return m_controls.find(id); }

    DialogListener* m_listener;
    ControlSet<Control> m_controls;
    std::vector<std::string> m_lines;
    int m_selectedLine = -1;
    int m_focus = 0;
    std::deque<MessageBoxRequest> m_messages;
    Framebuffer m_window;
};

}  // namespace korzenik
