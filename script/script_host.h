#pragma once
// The headless host of korzenik-script: controls are plain values, the window is a framebuffer,
// and everything the user would see is reported as an event line. Message boxes are dismissed
// with OK as soon as they are shown.
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "app/dialog_host.h"
#include "chart/framebuffer.h"
#include "script/json_lines.h"

namespace korzenik::script {

class ScriptHost : public DialogHost {
public:
    /// Receives each event line, without its newline, as it happens.
    using EventSink = std::function<void(const std::string& line)>;

    /// The controls start with their template captions, the drop-down empty, the window blank.
    explicit ScriptHost(EventSink sink);

    // What the user does.
    /// Picks the drop-down item whose text is exactly label; false when there is none.
    bool pickFunction(std::string_view label);
    /// Replaces the whole text of an edit box.
    void typeText(int id, std::string_view text);
    void setAuto(bool checked);
    /// Reports the dialog as it stands as a `state` event.
    void reportState();

    DialogSnapshot snapshot() const;
    const Framebuffer& window() const { return m_window; }

    // DialogHost
    std::string controlText(int id) const override;
    void setControlText(int id, std::string_view text) override;
    int checkState(int id) const override;
    void setCheckState(int id, int state) override;
    void addComboItem(int id, std::string_view text) override;
    int comboItemCount(int id) const override;
    std::string comboItemText(int id, int index) const override;
    int comboSelection(int id) const override;
    void setComboSelection(int id, int index) override;
    void listAddString(std::string_view text) override;
    void listSetCurSel(int index) override;
    void listDeleteString(int index) override;
    void messageBox(std::string_view text, std::string_view caption, MessageIcon icon) override;
    void focusAndSelectAll(int id) override;
    std::unique_ptr<DrawingSurface> windowSurface() override;

private:
    struct Combo {
        std::vector<std::string> items;
        int selection = -1;
    };

    EventSink m_sink;
    std::map<int, std::string> m_texts;
    std::map<int, int> m_checks;
    std::map<int, Combo> m_combos;
    std::vector<std::string> m_lines;
    int m_selectedLine = -1;
    Framebuffer m_window;
};

}  // namespace korzenik::script
