#include "qt/results_list_box.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QClipboard>
#include <QHash>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QWindow>
#include <algorithm>
#include <utility>

namespace korzenik {

namespace {

// One line of the list to a screen reader: the row it stands for, read as it is now.
class ResultsLineAccessible : public QAccessibleInterface {
public:
    ResultsLineAccessible(ResultsListBox* list, int row) : m_list(list), m_row(row) {}

    int row() const { return m_row; }
    bool isValid() const override { return m_list && m_row < m_list->count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_list ? m_list->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return m_list ? QAccessible::queryAccessibleInterface(m_list) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name && isValid() ? m_list->line(m_row) : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid()) return {};
        const QRect r = m_list->rowRect(m_row);
        return QRect(m_list->viewport()->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        s.selectable = true;
        s.focusable = true;
        s.selected = m_row == m_list->selectedRow();
        s.focused = m_row == m_list->currentRow() && m_list->hasFocus();
        if (!m_list->viewport()->rect().intersects(m_list->rowRect(m_row))) {
            s.invisible = true;
            s.offscreen = true;
        }
        return s;
    }

private:
    QPointer<ResultsListBox> m_list;
    int m_row;
};

// The list to a screen reader: a list whose children are its lines. A line's interface is made
// when asked for and kept until lines are removed, which moves the lines among the rows.
class ResultsListBoxAccessible : public QAccessibleWidget {
public:
    explicit ResultsListBoxAccessible(ResultsListBox* list)
        : QAccessibleWidget(list, QAccessible::List) {}
    ~ResultsListBoxAccessible() override { forgetLines(); }
    ResultsListBoxAccessible(const ResultsListBoxAccessible&) = delete;
    ResultsListBoxAccessible& operator=(const ResultsListBoxAccessible&) = delete;

    int childCount() const override { return list()->count(); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= list()->count()) return nullptr;
        if (const auto it = m_lines.constFind(index); it != m_lines.constEnd()) {
            return QAccessible::accessibleInterface(*it);
        }
        auto* line = new ResultsLineAccessible(list(), index);
        m_lines.insert(index, QAccessible::registerAccessibleInterface(line));
        return line;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const auto* line = dynamic_cast<const ResultsLineAccessible*>(child);
        return line && child->parent() == this && line->isValid() ? line->row() : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const int row = list()->rowAt(list()->viewport()->mapFromGlobal(QPoint(x, y)));
        return row >= 0 ? child(row) : nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        return list()->hasFocus() ? child(list()->currentRow()) : nullptr;
    }

    /// Lines were removed and the rest moved up: the lines' interfaces go, new ones are made
    /// when asked for.
    void forgetLines() const {
        for (const QAccessible::Id id : std::as_const(m_lines)) {
            QAccessible::deleteAccessibleInterface(id);
        }
        m_lines.clear();
    }

private:
    ResultsListBox* list() const { return static_cast<ResultsListBox*>(widget()); }

    mutable QHash<int, QAccessible::Id> m_lines;
};

QAccessibleInterface* accessibleResultsListBox(const QString&, QObject* object) {
    auto* list = qobject_cast<ResultsListBox*>(object);
    return list ? new ResultsListBoxAccessible(list) : nullptr;
}

}  // namespace

ResultsListBox::ResultsListBox(QWidget* parent) : QAbstractScrollArea(parent) {
    static const bool installed = (QAccessible::installFactory(&accessibleResultsListBox), true);
    (void)installed;
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // No horizontal scroll bar: a long line is cut at the right edge.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    verticalScrollBar()->setSingleStep(1);
    updateRowHeight();
    updateScrollBar();
}

QString ResultsListBox::line(int row) const {
    return row >= 0 && row < count() ? m_lines[static_cast<std::size_t>(row)] : QString();
}

int ResultsListBox::topRow() const { return verticalScrollBar()->value(); }

int ResultsListBox::rowAt(QPoint point) const {
    if (!viewport()->rect().contains(point)) return -1;
    const int row = topRow() + point.y() / m_rowHeight;
    return row < count() ? row : -1;
}

QRect ResultsListBox::rowRect(int row) const {
    return QRect(0, (row - topRow()) * m_rowHeight, viewport()->width(), m_rowHeight);
}

void ResultsListBox::addLine(const QString& text) {
    m_lines.push_back(text);
    const int row = count() - 1;
    updateScrollBar();
    updateRow(row);
    if (QAccessible::isActive()) {
        QAccessibleTableModelChangeEvent event(this,
                                               QAccessibleTableModelChangeEvent::RowsInserted);
        event.setFirstRow(row);
        event.setLastRow(row);
        QAccessible::updateAccessibility(&event);
    }
}

void ResultsListBox::removeLine(int row) {
    if (row < 0 || row >= count()) return;
    m_lines.erase(m_lines.begin() + row);
    // The current line goes with its row; the lines below move up, the current one with them.
    if (m_current == row) {
        m_current = m_selected = -1;
    } else if (m_current > row) {
        --m_current;
        if (m_selected >= 0) m_selected = m_current;
    }
    linesRemoved(row, row);
}

void ResultsListBox::removeFirst(int n) {
    n = std::min(n, count());
    if (n <= 0) return;
    m_lines.erase(m_lines.begin(), m_lines.begin() + n);
    if (m_current < n) {
        m_current = m_selected = -1;
    } else {
        m_current -= n;
        if (m_selected >= 0) m_selected = m_current;
    }
    linesRemoved(0, n - 1);
}

void ResultsListBox::linesRemoved(int first, int last) {
    updateScrollBar();
    viewport()->update();
    if (auto* accessible =
            dynamic_cast<ResultsListBoxAccessible*>(QAccessible::queryAccessibleInterface(this))) {
        accessible->forgetLines();
    }
    if (QAccessible::isActive()) {
        QAccessibleTableModelChangeEvent event(this, QAccessibleTableModelChangeEvent::RowsRemoved);
        event.setFirstRow(first);
        event.setLastRow(last);
        QAccessible::updateAccessibility(&event);
    }
}

void ResultsListBox::selectRow(int row) {
    if (row < 0 || row >= count()) row = -1;
    setCurrent(row, true);
}

void ResultsListBox::setCurrent(int row, bool selected) {
    const int previous = m_current;
    m_current = row;
    m_selected = selected ? row : -1;
    updateRow(previous);
    updateRow(row);
    if (row >= 0) scrollToRow(row);
    if (row < 0 || !QAccessible::isActive()) return;
    QAccessibleEvent selection(this, QAccessible::Selection);
    selection.setChild(row);
    QAccessible::updateAccessibility(&selection);
    if (hasFocus()) {
        QAccessibleEvent focus(this, QAccessible::Focus);
        focus.setChild(row);
        QAccessible::updateAccessibility(&focus);
    }
}

int ResultsListBox::rowsInView() const { return std::max(1, viewport()->height() / m_rowHeight); }

void ResultsListBox::updateRowHeight() {
    QStyleOptionViewItem option = rowOption(-1);
    option.text = QStringLiteral("0");
    m_rowHeight = std::max(
        1, style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this).height());
}

void ResultsListBox::updateScrollBar() {
    // The bar counts rows: its top position shows the first row, its bottom one the last rows
    // that fit whole.
    const int inView = rowsInView();
    verticalScrollBar()->setPageStep(inView);
    verticalScrollBar()->setRange(0, std::max(0, count() - inView));
}

void ResultsListBox::scrollToRow(int row) {
    const int top = topRow();
    const int inView = rowsInView();
    if (row < top) {
        verticalScrollBar()->setValue(row);
    } else if (row >= top + inView) {
        verticalScrollBar()->setValue(row - inView + 1);
    }
}

void ResultsListBox::updateRow(int row) {
    if (row < 0 || row >= count()) return;
    const QRect r = rowRect(row);
    if (r.intersects(viewport()->rect())) viewport()->update(r);
}

QStyleOptionViewItem ResultsListBox::rowOption(int row) const {
    QStyleOptionViewItem option;
    option.initFrom(this);
    option.state &= ~(QStyle::State_MouseOver | QStyle::State_HasFocus);
    // The selection shows in the active colours only while the list has the focus.
    if (!hasFocus()) option.state &= ~QStyle::State_Active;
    option.font = font();
    const int icon = style()->pixelMetric(QStyle::PM_ListViewIconSize, nullptr, this);
    option.decorationSize = QSize(icon, icon);
    option.decorationPosition = QStyleOptionViewItem::Left;
    option.decorationAlignment = Qt::AlignCenter;
    option.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    option.textElideMode = Qt::ElideNone;  // cut at the right edge, not elided
    option.showDecorationSelected =
        style()->styleHint(QStyle::SH_ItemView_ShowDecorationSelected, nullptr, this) != 0;
    option.viewItemPosition = QStyleOptionViewItem::OnlyOne;
    option.locale = locale();
    option.locale.setNumberOptions(QLocale::OmitGroupSeparator);
    option.widget = this;
    option.palette.setCurrentColorGroup(isEnabled() ? QPalette::Normal : QPalette::Disabled);
    option.features = QStyleOptionViewItem::HasDisplay;
    option.text = line(row);
    option.rect = rowRect(row);
    if (row >= 0 && row == m_selected) option.state |= QStyle::State_Selected;
    if (row >= 0 && row == m_current && hasFocus()) option.state |= QStyle::State_HasFocus;
    return option;
}

void ResultsListBox::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRect area = event->rect();
    const int first = topRow() + std::max(0, area.top()) / m_rowHeight;
    const int last = std::min(count() - 1, topRow() + area.bottom() / m_rowHeight);
    for (int row = first; row <= last; ++row) {
        const QStyleOptionViewItem option = rowOption(row);
        style()->drawControl(QStyle::CE_ItemViewItem, &option, &painter, this);
    }
}

void ResultsListBox::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBar();
}

void ResultsListBox::scrollContentsBy(int, int) { viewport()->update(); }

void ResultsListBox::mousePressEvent(QMouseEvent* event) {
    const int row = rowAt(event->position().toPoint());
    if (row < 0) {
        // A press below the lines leaves none selected; the current line stays.
        setCurrent(m_current, false);
    } else if ((event->modifiers() & Qt::ControlModifier) && row == m_selected) {
        setCurrent(row, false);  // Ctrl+click takes the selection away again
    } else {
        setCurrent(row, true);
    }
    event->accept();
}

void ResultsListBox::mouseMoveEvent(QMouseEvent* event) {
    // Dragging with the button down selects the line under the pointer, past the edges too.
    if (!(event->buttons() & Qt::LeftButton) || count() == 0) return;
    const int y = event->position().toPoint().y();
    const int offset = y < 0 ? -1 : y / m_rowHeight;
    setCurrent(std::clamp(topRow() + offset, 0, count() - 1), true);
}

void ResultsListBox::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        if (m_current >= 0) QGuiApplication::clipboard()->setText(line(m_current));
        event->accept();
        return;
    }
    if (event->modifiers() & Qt::AltModifier) {
        event->ignore();
        return;
    }
    const int last = count() - 1;
    const int page = std::max(1, rowsInView() - 1);
    int target = -2;  // not a key of the list
    switch (event->key()) {
        case Qt::Key_Up: target = m_current - 1; break;
        case Qt::Key_Down: target = m_current + 1; break;
        case Qt::Key_PageUp: target = m_current - page; break;
        case Qt::Key_PageDown: target = m_current + page; break;
        case Qt::Key_Home: target = 0; break;
        case Qt::Key_End: target = last; break;
        case Qt::Key_Space:
            // Space selects the current line, Ctrl+Space takes the selection away or back.
            if (m_current >= 0) {
                const bool toggle = (event->modifiers() & Qt::ControlModifier) != 0;
                setCurrent(m_current, !toggle || m_selected < 0);
            }
            event->accept();
            return;
        case Qt::Key_Left:
        case Qt::Key_Right: event->accept(); return;
        default: event->ignore(); return;
    }
    // With no current line, every move starts at the first one.
    if (last >= 0) setCurrent(m_current < 0 ? 0 : std::clamp(target, 0, last), true);
    event->accept();
}

void ResultsListBox::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void ResultsListBox::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

void ResultsListBox::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    switch (event->type()) {
        case QEvent::FontChange:
        case QEvent::StyleChange:
            updateRowHeight();
            updateScrollBar();
            viewport()->update();
            break;
        case QEvent::ActivationChange:
        case QEvent::EnabledChange:
        case QEvent::PaletteChange: viewport()->update(); break;
        default: break;
    }
}

}  // namespace korzenik
