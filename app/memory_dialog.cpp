#include "app/memory_dialog.h"

#include <algorithm>
#include <cstddef>

#include "app/res/dialog_template.h"
#include "app/res/resource.h"
#include "app/window.h"
#include "app/window_surface.h"

namespace korzenik {

namespace {

bool validIndex(int index, std::size_t size) {
    return index >= 0 && static_cast<std::size_t>(index) < size;
}

}  // namespace

MemoryDialog::MemoryDialog(DialogListener* listener)
    : m_listener(listener),
      m_focus(firstTabStop(res::kMainDialog)),
      m_window(makeWindowFramebuffer()) {
    m_controls.build(res::kMainDialog, [](const ControlPlan& plan) {
        Control control;
        if (plan.kind == ControlKind::DropDown) {
            control.kind = Kind::Combo;
        } else if (plan.kind == ControlKind::CheckBox) {
            control.kind = Kind::Check;
        } else {
            control.text = std::string(plan.text);
        }
        return control;
    });
}

bool MemoryDialog::pickItem(int id, std::string_view label) {
    Control* combo = find(id);
    if (combo == nullptr || combo->kind != Kind::Combo) return false;
    for (std::size_t i = 0; i < combo->items.size(); ++i) {
        if (combo->items[i] == label) {
            combo->selection = static_cast<int>(i);
            return true;
        }
    }
    return false;
}

void MemoryDialog::typeText(int id, std::string_view text) {
    Control* c = find(id);
    if (c && c->kind == Kind::Text) c->text = std::string(text);
}

bool MemoryDialog::isEnabled(int id) const {
    const Control* c = find(id);
    return c && c->enabled;
}

void MemoryDialog::setControlEnabled(int id, bool enabled) {
    if (Control* c = find(id)) c->enabled = enabled;
}

void MemoryDialog::setChecked(int id, bool checked) { setCheckState(id, checked ? 1 : 0); }

bool MemoryDialog::dismissMessage() {
    if (m_messages.empty()) return false;
    m_messages.pop_front();
    return true;
}

std::string MemoryDialog::controlText(int id) const {
    const Control* c = find(id);
    if (!c) return {};
    // A drop-down list shows the selected item's text in its edit part.
    if (c->kind == Kind::Combo) {
        return validIndex(c->selection, c->items.size())
                   ? c->items[static_cast<std::size_t>(c->selection)]
                   : std::string();
    }
    return c->text;
}

void MemoryDialog::setControlText(int id, std::string_view text) {
    // A drop-down list takes no typed text: only a selection changes what it shows.
    typeText(id, text);
}

int MemoryDialog::checkState(int id) const {
    const Control* c = find(id);
    return c && c->kind == Kind::Check ? c->check : 0;
}

// A two-state box shows any non-zero state as checked and reports it so.
void MemoryDialog::setCheckState(int id, int state) {
    Control* c = find(id);
    if (c && c->kind == Kind::Check) c->check = state != 0 ? 1 : 0;
}

void MemoryDialog::addComboItem(int id, std::string_view text) {
    Control* c = find(id);
    if (c && c->kind == Kind::Combo) c->items.emplace_back(text);
}

int MemoryDialog::comboItemCount(int id) const {
    const Control* c = find(id);
    return c ? static_cast<int>(c->items.size()) : 0;
}

std::string MemoryDialog::comboItemText(int id, int index) const {
    const Control* c = find(id);
    if (!c || !validIndex(index, c->items.size())) return {};
    return c->items[static_cast<std::size_t>(index)];
}

int MemoryDialog::comboSelection(int id) const {
    const Control* c = find(id);
    return c ? c->selection : -1;
}

void MemoryDialog::setComboSelection(int id, int index) {
    Control* c = find(id);
    if (c && c->kind == Kind::Combo) c->selection = validIndex(index, c->items.size()) ? index : -1;
}

void MemoryDialog::listAddString(std::string_view text) {
    m_lines.emplace_back(text);
    if (m_listener) m_listener->lineAppended(text);
}

void MemoryDialog::listSetCurSel(int index) {
    // An index past the lines clears the selection, as a list box does.
    m_selectedLine = validIndex(index, m_lines.size()) ? index : -1;
    if (m_listener) m_listener->lineSelected(index);
}

void MemoryDialog::listDeleteString(int index) {
    if (!validIndex(index, m_lines.size())) return;
    m_lines.erase(m_lines.begin() + index);
    if (m_selectedLine == index) {
        m_selectedLine = -1;
    } else if (m_selectedLine > index) {
        --m_selectedLine;
    }
    if (m_listener) m_listener->lineDeleted(index);
}

void MemoryDialog::listDeleteFirst(int count) {
    const int n = count < 0 ? 0 : std::min(count, static_cast<int>(m_lines.size()));
    m_lines.erase(m_lines.begin(), m_lines.begin() + n);
    m_selectedLine = m_selectedLine < n ? -1 : m_selectedLine - n;
    // The listeners hear each line go, from the front, as they would one deletion at a time.
    if (m_listener) {
        for (int i = 0; i < n; ++i) m_listener->lineDeleted(0);
    }
}

void MemoryDialog::messageBox(std::string_view text, std::string_view caption, MessageIcon icon) {
    m_messages.push_back({std::string(text), std::string(caption), icon});
    if (m_listener) m_listener->messageShown(m_messages.back());
}

void MemoryDialog::focusAndSelectAll(int id) {
    m_focus = id;
    if (m_listener) m_listener->focusedAndSelected(id);
}

void MemoryDialog::focusAndSelect(int id, int first, int count) {
    m_focus = id;
    if (m_listener) m_listener->focusedWithSelection(id, first, count);
}

std::unique_ptr<DrawingSurface> MemoryDialog::windowSurface() {
    return makeWindowSurface(m_window, [listener = m_listener](const PixelRect& touched) {
        if (listener) listener->surfaceReleased(touched);
    });
}

}  // namespace korzenik
