#include "qt/controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

// Resources of a static library must be registered by name, outside any namespace.
static void registerKorzenikResources() { Q_INIT_RESOURCE(korzenik); }

namespace korzenik {

namespace {

Qt::Alignment staticAlignment(std::uint32_t styles) {
    if (styles & res::kAlignCenter) return Qt::AlignHCenter | Qt::AlignTop;
    if (styles & res::kAlignRight) return Qt::AlignRight | Qt::AlignTop;
    return Qt::AlignLeft | Qt::AlignTop;
}

QWidget* createButton(const res::ControlTemplate& c, QWidget* parent) {
    const QString caption = toQString(c.text);
    if (c.styles & res::kGroupBox) {
        auto* box = new QGroupBox(caption, parent);
        box->setFocusPolicy(Qt::NoFocus);
        return box;
    }
    if (c.styles & res::kAutoCheckBox) {
        auto* check = new QCheckBox(caption, parent);
        check->setContextMenuPolicy(Qt::PreventContextMenu);
        return check;
    }
    auto* button = new QPushButton(caption, parent);
    const bool isDefault = (c.styles & res::kDefPushButton) != 0;
    button->setAutoDefault(isDefault);
    button->setDefault(isDefault);
    button->setContextMenuPolicy(Qt::PreventContextMenu);
    return button;
}

QWidget* createStatic(const res::ControlTemplate& c, QWidget* parent) {
    if (c.styles & res::kWhiteRect) {
        auto* rect = new QWidget(parent);
        QPalette palette = rect->palette();
        palette.setColor(QPalette::Window, Qt::white);
        rect->setPalette(palette);
        rect->setAutoFillBackground(true);
        return rect;
    }
    auto* label = new QLabel(parent);
    if (c.styles & res::kIcon) {
        label->setPixmap(applicationIcon().pixmap(32, 32));
        return label;
    }
    label->setTextFormat(Qt::PlainText);
    label->setText(toQString(c.text));
    label->setAlignment(staticAlignment(c.styles));
    return label;
}

QWidget* createListBox(QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // No horizontal scroll bar: a long line is cut at the right edge, not elided.
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setTextElideMode(Qt::ElideNone);
    list->setWordWrap(false);
    list->setUniformItemSizes(true);
    // Not a tab stop; a click may still give it the focus.
    list->setFocusPolicy(Qt::ClickFocus);
    return list;
}

}  // namespace

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QRect pixelRect(const res::ControlTemplate& c) {
    constexpr int k = res::kPixelsPerDialogUnit;
    return QRect(c.x * k, c.y * k, c.w * k, c.h * k);
}

QWidget* createControl(const res::ControlTemplate& c, QWidget* parent) {
    QWidget* widget = nullptr;
    QRect rect = pixelRect(c);
    switch (c.cls) {
        case res::ControlClass::Button: widget = createButton(c, parent); break;
        case res::ControlClass::Edit: {
            auto* edit = new QLineEdit(parent);
            edit->setFrame((c.styles & res::kBorder) != 0);
            widget = edit;
            break;
        }
        case res::ControlClass::Static:
            widget = createStatic(c, parent);
            if (c.styles & res::kIcon) rect.setSize(QSize(32, 32));
            break;
        case res::ControlClass::ListBox: widget = createListBox(parent); break;
        case res::ControlClass::ComboBox: {
            auto* combo = new QComboBox(parent);
            combo->setEditable(false);
            combo->setInsertPolicy(QComboBox::InsertAtBottom);
            // The table's height includes the dropped list; the closed box keeps its natural
            // height.
            rect.setHeight(combo->sizeHint().height());
            widget = combo;
            break;
        }
    }
    if (!(c.styles & res::kTabStop) && widget->focusPolicy() != Qt::ClickFocus) {
        widget->setFocusPolicy(Qt::NoFocus);
    }
    widget->setGeometry(rect);
    return widget;
}

void stackControls(const res::DialogTemplate& dialog, QWidget* const* widgets) {
    const std::size_t count = dialog.controls.size();
    for (std::size_t i = count; i-- > 0;) widgets[i]->raise();
    for (std::size_t i = 0; i < count; ++i) {
        if (dialog.controls[i].styles & res::kTransparent) widgets[i]->raise();
    }
}

QIcon applicationIcon() {
    static const bool registered = (registerKorzenikResources(), true);
    (void)registered;
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/korzenik-16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/icons/korzenik-32.png"), QSize(32, 32));
    return icon;
}

}  // namespace korzenik
