#include "app/control_table.h"

#include <algorithm>
#include <array>

#include "core/utf8.h"

namespace korzenik {

namespace {

ControlKind kindOf(const res::ControlTemplate& row) {
    using res::ControlClass;
    switch (row.cls) {
        case ControlClass::Button:
            if (row.styles & res::kGroupBox) return ControlKind::GroupBox;
            if (row.styles & res::kAutoCheckBox) return ControlKind::CheckBox;
            return ControlKind::PushButton;
        case ControlClass::Edit: return ControlKind::Edit;
        case ControlClass::Static:
            if (row.styles & res::kWhiteRect) return ControlKind::WhiteRect;
            if (row.styles & res::kIcon) return ControlKind::Icon;
            return ControlKind::Label;
        case ControlClass::ListBox: return ControlKind::List;
        case ControlClass::ComboBox: return ControlKind::DropDown;
    }
    return ControlKind::Label;
}

struct ControlName {
    int id;
    std::string_view identifier;
    std::string_view word;
};

constexpr std::array kControlNames = {
    ControlName{res::IDOK, "IDOK", ""},
    ControlName{res::IDC_CHART_FRAME, "IDC_CHART_FRAME", ""},
    ControlName{res::IDC_START, "IDC_START", "start"},
    ControlName{res::IDC_END, "IDC_END", "end"},
    ControlName{res::IDC_PRECISION, "IDC_PRECISION", "precision"},
    ControlName{res::IDC_CONFIRM, "IDC_CONFIRM", "confirm"},
    ControlName{res::IDC_COMPUTE, "IDC_COMPUTE", "compute"},
    ControlName{res::IDC_AUTO, "IDC_AUTO", "auto"},
    ControlName{res::IDC_RESULTS, "IDC_RESULTS", ""},
    ControlName{res::IDC_XMIN, "IDC_XMIN", ""},
    ControlName{res::IDC_XMAX, "IDC_XMAX", ""},
    ControlName{res::IDC_YMIN, "IDC_YMIN", ""},
    ControlName{res::IDC_YMAX, "IDC_YMAX", ""},
    ControlName{res::IDC_FUNCTION, "IDC_FUNCTION", "function"},
    ControlName{res::IDC_FUNCTION_GROUP, "IDC_FUNCTION_GROUP", ""},
    ControlName{res::IDC_CHART_GROUP, "IDC_CHART_GROUP", ""},
    ControlName{res::IDC_START_LABEL, "IDC_START_LABEL", ""},
    ControlName{res::IDC_END_LABEL, "IDC_END_LABEL", ""},
    ControlName{res::IDC_PRECISION_LABEL, "IDC_PRECISION_LABEL", ""},
    ControlName{res::IDC_EXPRESSION, "IDC_EXPRESSION", "expression"},
    ControlName{res::IDC_EXPRESSION_LABEL, "IDC_EXPRESSION_LABEL", ""},
};

const ControlName* nameOf(int id) {
    for (const ControlName& n : kControlNames) {
        if (n.id == id) return &n;
    }
    return nullptr;
}

}  // namespace

ControlPlan controlPlan(const res::ControlTemplate& row) {
    constexpr std::int32_t unit = res::kPixelsPerDialogUnit;
    ControlPlan plan;
    plan.id = row.id;
    plan.kind = kindOf(row);
    plan.text = row.text;
    const std::int32_t left = row.x * unit;
    const std::int32_t top = row.y * unit;
    plan.rect = plan.kind == ControlKind::Icon
                    ? PixelRect{left, top, left + kIconPixels, top + kIconPixels}
                    : PixelRect{left, top, left + row.w * unit, top + row.h * unit};
    plan.align = (row.styles & res::kAlignCenter)  ? TextAlign::Centre
                 : (row.styles & res::kAlignRight) ? TextAlign::Right
                                                   : TextAlign::Left;
    plan.tabStop = (row.styles & res::kTabStop) != 0;
    plan.seeThrough = (row.styles & res::kTransparent) != 0;
    // Push buttons, check boxes and group boxes mark their mnemonics; a static text does too
    // unless it says otherwise.
    plan.mnemonics = (plan.kind == ControlKind::Label && !(row.styles & res::kNoPrefix)) ||
                     plan.kind == ControlKind::PushButton || plan.kind == ControlKind::CheckBox ||
                     plan.kind == ControlKind::GroupBox;
    plan.border = (row.styles & res::kBorder) != 0;
    plan.defaultButton = (row.styles & res::kDefPushButton) != 0;
    plan.styles = row.styles;
    plan.group = row.group;
    plan.labelledBy = row.labelledBy;
    plan.name = row.name;
    return plan;
}

std::string accessibleName(const res::DialogTemplate& dialog, int id) {
    const res::ControlTemplate* row =
        id == res::IDC_STATIC ? nullptr : res::findControl(dialog, id);
    if (!row) return {};
    const ControlPlan plan = controlPlan(*row);
    const auto captionOf = [&](int other) {
        const res::ControlTemplate* by =
            other == res::IDC_STATIC ? nullptr : res::findControl(dialog, other);
        return by ? parseCaption(by->text, controlPlan(*by).mnemonics).text : std::string();
    };
    switch (plan.kind) {
        case ControlKind::PushButton:
        case ControlKind::CheckBox:
        case ControlKind::GroupBox:
        case ControlKind::Label: return parseCaption(plan.text, plan.mnemonics).text;
        default: break;
    }
    if (plan.labelledBy != res::IDC_STATIC) return captionOf(plan.labelledBy);
    if (!plan.name.empty()) return std::string(plan.name);
    return captionOf(plan.group);
}

std::vector<std::size_t> stackingOrder(const res::DialogTemplate& dialog) {
    const std::size_t count = dialog.controls.size();
    std::vector<std::size_t> order;
    for (std::size_t i = count; i-- > 0;) {
        if (!(dialog.controls[i].styles & res::kTransparent)) order.push_back(i);
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (dialog.controls[i].styles & res::kTransparent) order.push_back(i);
    }
    return order;
}

int firstTabStop(const res::DialogTemplate& dialog) {
    for (const res::ControlTemplate& row : dialog.controls) {
        if (row.styles & res::kTabStop) return row.id;
    }
    return res::IDC_STATIC;
}

std::string_view controlIdentifier(int id) {
    const ControlName* name = nameOf(id);
    return name ? name->identifier : std::string_view();
}

std::string_view controlWord(int id) {
    const ControlName* name = nameOf(id);
    return name ? name->word : std::string_view();
}

int controlForWord(std::string_view word) {
    for (const ControlName& n : kControlNames) {
        if (!word.empty() && n.word == word) return n.id;
    }
    return res::IDC_STATIC;
}

Caption parseCaption(std::string_view text, bool mnemonics) {
    Caption out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!mnemonics || text[i] != '&' || i + 1 == text.size()) {
            out.text += text[i];
            continue;
        }
        ++i;
        if (text[i] == '&' || out.mnemonicAt != std::string::npos) {
            out.text += text[i];
            continue;
        }
        const std::size_t size = std::max<std::size_t>(decodeUtf8(text.substr(i)).size, 1);
        out.mnemonicAt = out.text.size();
        out.mnemonicSize = size;
        out.text.append(text.substr(i, size));
        const char c = text[i];
        if (c >= 'A' && c <= 'Z') {
            out.key = static_cast<char>(c - 'A' + 'a');
        } else if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
            out.key = c;
        }
        i += size - 1;
    }
    return out;
}

}  // namespace korzenik
