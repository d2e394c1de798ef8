#include "qt/controls.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTranslator>
#include <QWindow>
#include <algorithm>

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
        // one pixel: an etched edge. Filled pixel rectangles rather than pen strokes, so a scaled
        // display widens the lines with everything else instead of thinning them.
        const auto hline = [&](int x0, int x1, int y, const QColor& c) {
            if (x1 >= x0) painter.fillRect(QRect(x0, y, x1 - x0 + 1, 1), c);
        };
        const auto vline = [&](int x, int y0, int y1, const QColor& c) {
            if (y1 >= y0) painter.fillRect(QRect(x, y0, 1, y1 - y0 + 1), c);
        };
        for (int inset = 0; inset < 2; ++inset) {
            const QColor& topLeft = inset == 0 ? shadow : light;
            const QColor& bottomRight = inset == 0 ? light : shadow;
            vline(inset, top + inset, bottom - 1, topLeft);
            hline(inset, gapLeft, top + inset, topLeft);
            hline(gapRight, right - 1, top + inset, topLeft);
            vline(right - inset, top + inset, bottom - inset, bottomRight);
            hline(inset, right - inset, bottom - inset, bottomRight);
        }
        style()->drawItemText(&painter, rect().adjusted(captionLeft, 0, 0, 0),
                              Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic, palette(),
                              isEnabled(), caption, QPalette::WindowText);
    }
};

// Places a window so that its frame, as the window manager draws it, is centred. The toolkit
// places a new window before the window manager has framed it, guessing the frame, and the real
// margins arrive with the moves that follow the framing; so the window is placed again whenever
// the margins it was placed with change. A window the user has moved keeps its place.
class FrameCentring : public QObject {
public:
    FrameCentring(QWidget* window, QWidget* over)
        : QObject(window), m_window(window), m_over(over) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::Show:
                // The window manager frames a window before it maps it, so by the window's first
                // exposure the frame is known, even when the framing moved nothing.
                if (QWindow* handle = m_window->windowHandle(); handle && watched == m_window) {
                    handle->installEventFilter(this);
                }
                place();
                break;
            case QEvent::Expose:
            case QEvent::Move:
            case QEvent::Resize:
            case QEvent::ActivationChange: place(); break;
            default: break;
        }
        return false;
    }

private:
    void place() {
        const QWindow* handle = m_window->windowHandle();
        if (!handle) return;
        const QMargins margins = handle->frameMargins();
        // While the manager fits the window into its frame, the frame reads as a pixel square
        // that the window overlaps (negative margins), or as already grown while the window still
        // sits at its corner (left and top 0). Placed by either, the window lands off centre, and
        // the manager may apply that move after the right one: such a frame is waited out.
        const bool negative =
            margins.left() < 0 || margins.top() < 0 || margins.right() < 0 || margins.bottom() < 0;
        const bool unfitted = margins.left() == 0 && margins.top() == 0 &&
                              (margins.right() > 0 || margins.bottom() > 0);
        if (negative || unfitted) return;
        if (m_placed && margins == m_placedWith) return;
        m_placed = true;
        m_placedWith = margins;
        // Until its frame is known, a window over another is guessed to have a frame like it.
        // Frames are read from the window system's side, where they are current.
        const QWindow* overHandle = m_over ? m_over->windowHandle() : nullptr;
        const QMargins frame =
            margins.isNull() && overHandle ? overHandle->frameMargins() : margins;
        const QRect area =
            overHandle ? overHandle->frameGeometry() : m_window->screen()->availableGeometry();
        const QSize outer = m_window->size().grownBy(frame);
        // The frame's top-left corner, kept on the work area (title bar first) when the window
        // is larger than it; the window itself is placed inside its frame.
        const QRect work = m_window->screen()->availableGeometry();
        const int x = area.x() + (area.width() - outer.width()) / 2;
        const int y = area.y() + (area.height() - outer.height()) / 2;
        const QPoint corner(std::max(work.left(), std::min(x, work.right() + 1 - outer.width())),
                            std::max(work.top(), std::min(y, work.bottom() + 1 - outer.height())));
        m_window->setGeometry(QRect(corner + QPoint(frame.left(), frame.top()), m_window->size()));
    }

    QWidget* m_window;
    QPointer<QWidget> m_over;
    bool m_placed = false;
    QMargins m_placedWith;
};

Qt::Alignment labelAlignment(TextAlign align) {
    switch (align) {
        case TextAlign::Centre: return Qt::AlignHCenter | Qt::AlignTop;
        case TextAlign::Right: return Qt::AlignRight | Qt::AlignTop;
        case TextAlign::Left: break;
    }
    return Qt::AlignLeft | Qt::AlignTop;
}

QWidget* createLabel(const ControlPlan& c, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(toQString(c.text));
    label->setAlignment(labelAlignment(c.align));
    return label;
}

QWidget* createWhiteRect(QWidget* parent) {
    auto* rect = new QWidget(parent);
    QPalette palette = rect->palette();
    palette.setColor(QPalette::Window, Qt::white);
    rect->setPalette(palette);
    rect->setAutoFillBackground(true);
    return rect;
}

QWidget* createListBox(QWidget* parent) {
    // The toolkit's own list, with its keys, styles and screen-reader support; its lines all of
    // one height, so that adding one costs the same however long the list is.
    auto* list = new QListWidget(parent);
    list->setUniformItemSizes(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    // A vertical scroll bar as the table asks, none across: a line too long is cut, as the
    // window system's list box cuts it.
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setTextElideMode(Qt::ElideNone);
    // Not a tab stop; a click may still give it the focus.
    list->setFocusPolicy(Qt::ClickFocus);
    return list;
}

}  // namespace

void centreOnRealFrame(QWidget* window, QWidget* over) { new FrameCentring(window, over); }

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

QRect toQRect(const PixelRect& r) {
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

QWidget* createControl(const ControlPlan& c, QWidget* parent) {
    QWidget* widget = nullptr;
    QRect rect = toQRect(c.rect);
    const QString caption = toQString(c.text);
    switch (c.kind) {
        case ControlKind::PushButton: {
            auto* button = new QPushButton(caption, parent);
            button->setAutoDefault(c.defaultButton);
            button->setDefault(c.defaultButton);
            widget = button;
            break;
        }
        case ControlKind::CheckBox: widget = new QCheckBox(caption, parent); break;
        case ControlKind::GroupBox: widget = new GroupBox(caption, parent); break;
        case ControlKind::Edit: {
            auto* edit = new QLineEdit(parent);
            edit->setFrame(c.border);
            widget = edit;
            break;
        }
        case ControlKind::Label: widget = createLabel(c, parent); break;
        case ControlKind::WhiteRect: widget = createWhiteRect(parent); break;
        case ControlKind::Icon: {
            auto* icon = new QLabel(parent);
            icon->setPixmap(applicationIcon().pixmap(kIconPixels, kIconPixels));
            widget = icon;
            break;
        }
        case ControlKind::List: widget = createListBox(parent); break;
        case ControlKind::DropDown: {
            auto* combo = new QComboBox(parent);
            combo->setEditable(false);
            combo->setInsertPolicy(QComboBox::InsertAtBottom);
            rect.setHeight(combo->sizeHint().height());
            widget = combo;
            break;
        }
    }
    if (!c.tabStop && widget->focusPolicy() != Qt::ClickFocus) widget->setFocusPolicy(Qt::NoFocus);
    widget->setGeometry(rect);
    return widget;
}

QIcon applicationIcon() {
    static const bool registered = (registerKorzenikResources(), true);
    (void)registered;
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/korzenik-16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/icons/korzenik-32.png"), QSize(32, 32));
    return icon;
}

void translateToolkitTexts() {
    // Lives as long as the application: an installed translator is looked up on every text.
    static QTranslator toolkit;
    if (toolkit.isEmpty() && toolkit.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(&toolkit);
    }
}

QString windowMenuCloseText(std::string_view english) {
    // The toolkit's own window menu (of a subwindow) carries this entry, translated with it.
    return QCoreApplication::translate("QMdiSubWindow", std::string(english).c_str());
}

}  // namespace korzenik
