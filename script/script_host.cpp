#include "script/script_host.h"

#include <charconv>
#include <cstddef>

#include "app/res/dialog_template.h"
#include "app/res/resource.h"
#include "app/window.h"

namespace korzenik::script {

namespace {

/// The name under which the transcript reports an edit box.
std::string controlName(int id) {
    switch (id) {
        case res::IDC_START: return "start";
        case res::IDC_END: return "end";
        case res::IDC_PRECISION: return "precision";
        default: {
            char buf[16];
            return std::string(buf, std::to_chars(buf, buf + sizeof buf, id).ptr);
        }
    }
}

}  // namespace

ScriptHost::ScriptHost(EventSink sink)
    : m_sink(std::move(sink)), m_window(makeWindowFramebuffer()) {
    for (const res::ControlTemplate& c : res::kMainDialog.controls) {
        if (c.id == res::IDC_STATIC) continue;
        if (c.cls == res::ControlClass::ComboBox) {
            m_combos[c.id];
        } else if (c.cls == res::ControlClass::Button && (c.styles & res::kAutoCheckBox)) {
            m_checks[c.id] = 0;
        } else {
            m_texts[c.id] = std::string(c.text);
        }
    }
}

bool ScriptHost::pickFunction(std::string_view label) {
    Combo& combo = m_combos[res::IDC_FUNCTION];
    for (std::size_t i = 0; i < combo.items.size(); ++i) {
        if (combo.items[i] == label) {
            combo.selection = static_cast<int>(i);
            return true;
        }
    }
    return false;
}

void ScriptHost::typeText(int id, std::string_view text) { m_texts[id] = std::string(text); }

void ScriptHost::setAuto(bool checked) { m_checks[res::IDC_AUTO] = checked ? 1 : 0; }

DialogSnapshot ScriptHost::snapshot() const {
    DialogSnapshot s;
    s.function = controlText(res::IDC_FUNCTION);
    s.start = controlText(res::IDC_START);
    s.end = controlText(res::IDC_END);
    s.precision = controlText(res::IDC_PRECISION);
    s.autoState = checkState(res::IDC_AUTO);
    s.xmin = controlText(res::IDC_XMIN);
    s.xmax = controlText(res::IDC_XMAX);
    s.ymin = controlText(res::IDC_YMIN);
    s.ymax = controlText(res::IDC_YMAX);
    s.lines = m_lines;
    s.selected = m_selectedLine;
    return s;
}

void ScriptHost::reportState() { m_sink(stateEvent(snapshot())); }

std::string ScriptHost::controlText(int id) const {
    // A drop-down list shows the selected item's text in its edit part.
    if (const auto combo = m_combos.find(id); combo != m_combos.end()) {
        const Combo& c = combo->second;
        return c.selection < 0 ? std::string() : c.items[static_cast<std::size_t>(c.selection)];
    }
    const auto it = m_texts.find(id);
    return it == m_texts.end() ? std::string() : it->second;
}

void ScriptHost::setControlText(int id, std::string_view text) {
    if (m_combos.count(id) != 0) return;  // a drop-down list takes no typed text
    m_texts[id] = std::string(text);
}

int ScriptHost::checkState(int id) const {
    const auto it = m_checks.find(id);
    return it == m_checks.end() ? 0 : it->second;
}

// A two-state box shows any non-zero state as checked and reports it so.
void ScriptHost::setCheckState(int id, int state) { m_checks[id] = state != 0 ? 1 : 0; }

void ScriptHost::addComboItem(int id, std::string_view text) {
    m_combos[id].items.emplace_back(text);
}

int ScriptHost::comboItemCount(int id) const {
    const auto it = m_combos.find(id);
    return it == m_combos.end() ? 0 : static_cast<int>(it->second.items.size());
}

std::string ScriptHost::comboItemText(int id, int index) const {
    const auto it = m_combos.find(id);
    if (it == m_combos.end() || index < 0 ||
        static_cast<std::size_t>(index) >= it->second.items.size()) {
        return {};
    }
    return it->second.items[static_cast<std::size_t>(index)];
}

int ScriptHost::comboSelection(int id) const {
    const auto it = m_combos.find(id);
    return it == m_combos.end() ? -1 : it->second.selection;
}

void ScriptHost::setComboSelection(int id, int index) {
    Combo& c = m_combos[id];
    c.selection = index >= 0 && static_cast<std::size_t>(index) < c.items.size() ? index : -1;
}

void ScriptHost::listAddString(std::string_view text) {
    m_lines.emplace_back(text);
    m_sink(appendEvent(text));
}

void ScriptHost::listSetCurSel(int index) {
    // An index past the lines clears the selection, as a list box does.
    m_selectedLine = index >= 0 && static_cast<std::size_t>(index) < m_lines.size() ? index : -1;
    m_sink(selectEvent(index));
}

void ScriptHost::listDeleteString(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= m_lines.size()) return;
    m_lines.erase(m_lines.begin() + index);
    if (m_selectedLine == index) {
        m_selectedLine = -1;
    } else if (m_selectedLine > index) {
        --m_selectedLine;
    }
    m_sink(deleteEvent(index));
}

void ScriptHost::messageBox(std::string_view text, std::string_view caption, MessageIcon icon) {
    m_sink(messageEvent(icon == MessageIcon::Exclamation ? "exclamation" : "information", caption,
                        text));
}

void ScriptHost::focusAndSelectAll(int id) { m_sink(focusEvent(controlName(id))); }

std::unique_ptr<DrawingSurface> ScriptHost::windowSurface() {
    return std::make_unique<FramebufferSurface>(m_window);
}

}  // namespace korzenik::script
