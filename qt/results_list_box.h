#pragma once
// The results list box: lines of text of one height in a sunken frame with a vertical scroll bar,
// a current line and at most that one selected. It keeps the lines itself and paints only the
// rows in view, so adding a line, or removing the first lines, costs the same however long the
// list is. It looks and answers the mouse and the keys as the toolkit's own list views do, and
// tells a screen reader that it is a list, its lines and which one is selected.
#include <QAbstractScrollArea>
#include <QRect>
#include <QString>
#include <deque>

class QStyleOptionViewItem;

namespace korzenik {

class ResultsListBox : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit ResultsListBox(QWidget* parent = nullptr);

    int count() const { return static_cast<int>(m_lines.size()); }
    /// The text of a row; empty for a row that is not there.
    QString line(int row) const;
    /// The selected row, or -1.
    int selectedRow() const { return m_selected; }
    /// The row the keys move from (it may be unselected), or -1.
    int currentRow() const { return m_current; }
    /// The first row in view: the vertical scroll bar counts rows.
    int topRow() const;
    /// The row under a point of the viewport, or -1.
    int rowAt(QPoint point) const;
    /// A row's rectangle in the viewport's coordinates (outside it when the row is not in view).
    QRect rowRect(int row) const;

    void addLine(const QString& text);
    void removeLine(int row);
    /// Removes the first count lines at once.
    void removeFirst(int count);
    /// Makes a row the current and selected one and scrolls it into view; -1 (or a row that is
    /// not there) leaves none.
    void selectRow(int row);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    /// A row as the toolkit's list views hand it to the style to draw.
    QStyleOptionViewItem rowOption(int row) const;
    /// Rows that fit whole in the viewport (at least one).
    int rowsInView() const;
    void updateRowHeight();
    void updateScrollBar();
    void scrollToRow(int row);
    /// The current row, selected or not; scrolled into view and told to a screen reader.
    void setCurrent(int row, bool selected);
    void updateRow(int row);
    /// Lines were removed: every row from `first` on may now show another line.
    void linesRemoved(int first, int last);

    std::deque<QString> m_lines;
    int m_current = -1;
    int m_selected = -1;  // -1 or m_current
    int m_rowHeight = 1;
};

}  // namespace korzenik
