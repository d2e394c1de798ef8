#include "qt/controls.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyle>

#include "app/window.h"

// Resources of a static library must be registered by name, outside any namespace.
static void registerKorzenikResources() { Q_INIT_RESOURCE(korzenik); }

namespace korzenik {

namespace {

// A group box drawn the way the layout's group boxes are meant to look: an etched frame whose
// top line runs through the middle of the caption, broken where the caption stands. Nothing else
// is painted, so the face shows inside and behind the caption.
class GroupBox : public QGroupBox {
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QFontMetrics metrics = fontMetrics();
        const int top = metrics.height() / 2 - 1;
        const int right = width() - 1;
        const int bottom = height() - 1;
        const int captionLeft = 8;
        const QString caption = title();
        const int gapLeft = caption.isEmpty() ? right : captionLeft - 2;
        const int gapRight = captionLeft + metrics.horizontalAdvance(caption) + 1;
        const QColor shadow = palette().color(QPalette::Dark);
        const QColor light = palette().color(QPalette::Light);
        // Two lines, each shadow above and to the left, light below and to the right, offset by
        // one pixel: an etched edge.
        for (int inset = 0; inset < 2; ++inset) {
            painter.setPen(inset == 0 ? shadow : light);
            painter.drawLine(inset, top + inset, inset, bottom - 1);
            painter.drawLine(inset, top + inset, gapLeft, top + inset);
            painter.drawLine(gapRight, top + inset, right - 1, top + inset);
            painter.setPen(inset == 0 ? light : shadow);
            painter.drawLine(right - inset, top + inset, right - inset, bottom - inset);
            painter.drawLine(inset, bottom - inset, right - inset, bottom - inset);
        }
        style()->drawItemText(&painter, rect().adjusted(captionLeft, 0, 0, 0),
                              Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic, palette(),
                              isEnabled(), caption, QPalette::WindowText);
    }
};

Qt::Alignment staticAlignment(std::uint32_t styles) {
    if (styles & res::kAlignCenter) return Qt::AlignHCenter | Qt::AlignTop;
    if (styles & res::kAlignRight) return Qt::AlignRight | Qt::AlignTop;
    return Qt::AlignLeft | Qt::AlignTop;
}

QWidget* createButton(const res::ControlTemplate& c, QWidget* parent) {
    const QString caption = toQString(c.text);
    if (c.styles & res::kGroupBox) {
        auto* box = new GroupBox(caption, parent);
        box->setFocusPolicy(Qt::NoFocus);
        return box;
    }
    if (c.styles & res::kAutoCheckBox) {
        return new QCheckBox(caption, parent);
    }
    auto* button = new QPushButton(caption, parent);
    const bool isDefault = (c.styles & res::kDefPushButton) != 0;
    button->setAutoDefault(isDefault);
    button->setDefault(isDefault);
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

QPalette facePalette() {
    QPalette palette = QApplication::palette();
    const QColor face(static_cast<int>(kFaceColour & 0xFF),
                      static_cast<int>((kFaceColour >> 8) & 0xFF),
                      static_cast<int>((kFaceColour >> 16) & 0xFF));
    palette.setColor(QPalette::Window, face);
    palette.setColor(QPalette::Button, face);
    palette.setColor(QPalette::Light, face.lighter(150));
    palette.setColor(QPalette::Dark, face.darker(150));
    return palette;
}

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
