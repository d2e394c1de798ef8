#pragma once
// A DialogHost for the command tests: controls are plain values, every request the dialog makes
// is recorded as a short line, and the window is a real framebuffer.
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/dialog_host.h"
#include "app/window.h"
#include "chart/framebuffer.h"

namespace korzenik {

class FakeDialogHost : public DialogHost {
public:
    std::map<int, std::string> texts;
    std::map<int, int> checks;
    std::vector<std::string> comboItems;
    int comboSel = -1;
    std::vector<std::string> lines;
    Framebuffer window = makeWindowFramebuffer();

    /// "message|<icon>|<caption>|<text>", "focus|<id>", "append|<text>", "select|<i>",
    /// "delete|<i>", in the order the dialog asked for them.
    std::vector<std::string> events;
    int textWrites = 0;
    int surfacesTaken = 0;

    std::string controlText(int id) const override {
        if (id == 1013) return comboSel < 0 ? std::string() : comboItems.at(std::size_t(comboSel));
        const auto it = texts.find(id);
        return it == texts.end() ? std::string() : it->second;
    }
    void setControlText(int id, std::string_view text) override {
        ++textWrites;
        texts[id] = std::string(text);
    }
    int checkState(int id) const override {
        const auto it = checks.find(id);
        return it == checks.end() ? 0 : it->second;
    }
    void setCheckState(int id, int state) override { checks[id] = state; }
    void addComboItem(int, std::string_view text) override { comboItems.emplace_back(text); }
    int comboItemCount(int) const override { return static_cast<int>(comboItems.size()); }
    std::string comboItemText(int, int index) const override {
        return comboItems.at(static_cast<std::size_t>(index));
    }
    int comboSelection(int) const override { return comboSel; }
    void setComboSelection(int, int index) override { comboSel = index; }
    void listAddString(std::string_view text) override {
        lines.emplace_back(text);
        events.push_back("append|" + std::string(text));
    }
    void listSetCurSel(int index) override { events.push_back("select|" + std::to_string(index)); }
    void listDeleteString(int index) override {
        lines.erase(lines.begin() + index);
        events.push_back("delete|" + std::to_string(index));
    }
    void messageBox(std::string_view text, std::string_view caption, MessageIcon icon) override {
        events.push_back(std::string("message|") +
                         (icon == MessageIcon::Exclamation ? "exclamation" : "information") + "|" +
                         std::string(caption) + "|" + std::string(text));
    }
    void focusAndSelectAll(int id) override { events.push_back("focus|" + std::to_string(id)); }
    std::unique_ptr<DrawingSurface> windowSurface() override {
        ++surfacesTaken;
        return std::make_unique<FramebufferSurface>(window);
    }
};

}  // namespace korzenik
