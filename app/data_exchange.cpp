// The dialog's side of the exchange: each member against its control, in binding order, with
// the edit boxes' number format of core/number_format.

#include <cstddef>
#include <optional>

#include "app/res/resource.h"
#include "app/res/strings.h"
#include "app/solver_dialog.h"
#include "core/number_format.h"

namespace korzenik {

namespace {

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

/// Whether text begins with prefix, ignoring the case of ASCII letters.
bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (prefix.size() > text.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (asciiLower(text[i]) != asciiLower(prefix[i])) return false;
    }
    return true;
}

}  // namespace

bool CSolverDialog::UpdateData(bool saveAndValidate) { return DoDataExchange(saveAndValidate); }

bool CSolverDialog::DoDataExchange(bool save) {
    using namespace res;
    if (!m_resultsList.attached()) m_resultsList.attach(&m_host);
    if (!exchangeNumber(save, IDC_PRECISION, m_precision)) return false;
    exchangeText(save, IDC_XMAX, m_xMaxText);
    exchangeText(save, IDC_XMIN, m_xMinText);
    exchangeText(save, IDC_YMAX, m_yMaxText);
    exchangeText(save, IDC_YMIN, m_yMinText);
    if (!exchangeNumber(save, IDC_END, m_end)) return false;
    if (!exchangeNumber(save, IDC_START, m_start)) return false;
    exchangeCheck(save, IDC_AUTO, m_auto);
    exchangeLabel(save, IDC_FUNCTION, m_functionLabel);
    exchangeText(save, IDC_EXPRESSION, m_expression);
    return true;
}

void CSolverDialog::writeText(int id, std::string_view text) {
    if (m_host.controlText(id) != text) m_host.setControlText(id, text);
}

void CSolverDialog::exchangeText(bool save, int id, std::string& member) {
    if (save) {
        member = m_host.controlText(id);
    } else {
        writeText(id, member);
    }
}

bool CSolverDialog::exchangeNumber(bool save, int id, float& member) {
    if (!save) {
        writeText(id, formatDialogNumber(member));
        return true;
    }
    const std::optional<float> value = parseDialogNumber(m_host.controlText(id));
    if (!value) {
        m_host.messageBox(res::kEnterNumber, res::kAppName, MessageIcon::Exclamation);
        m_host.focusAndSelectAll(id);
        return false;
    }
    member = *value;
    return true;
}

void CSolverDialog::exchangeCheck(bool save, int id, std::int32_t& member) {
    if (save) {
        member = m_host.checkState(id);
        return;
    }
    if (member < 0 || member > 2) member = 0;
    m_host.setCheckState(id, member);
}

void CSolverDialog::exchangeLabel(bool save, int id, std::string& member) {
    if (save) {
        const int selected = m_host.comboSelection(id);
        member = selected < 0 ? std::string() : m_host.comboItemText(id, selected);
        return;
    }
    // The first item from the top whose text begins with the member; none for an empty member,
    // and no match leaves the selection as it is.
    if (member.empty()) return;
    const int count = m_host.comboItemCount(id);
    for (int i = 0; i < count; ++i) {
        if (startsWithIgnoringCase(m_host.comboItemText(id, i), member)) {
            m_host.setComboSelection(id, i);
            enableExpressionField(m_host);
            return;
        }
    }
}

}  // namespace korzenik
