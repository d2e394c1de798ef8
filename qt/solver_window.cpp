#include "qt/solver_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>

#include "app/res/dialog_template.h"
#include "app/res/resource.h"
#include "app/res/strings.h"
#include "app/window.h"
#include "app/window_surface.h"
#include "qt/about_box.h"
#include "qt/chart_view.h"
#include "qt/controls.h"

namespace korzenik {

namespace {

bool isEnterOrEscape(const QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
}

// The keys that ask for the focused control's context menu: the Menu key and Shift+F10.
bool isContextMenuKey(const QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    return (key->key() == Qt::Key_Menu && key->modifiers() == Qt::NoModifier) ||
           (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier);
}

}  // namespace

SolverWindow::SolverWindow(SolverState& state, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_framebuffer(makeWindowFramebuffer()),
      m_dialog(*this, state) {
    setWindowTitle(toQString(res::kMainDialog.caption));
    setWindowIcon(applicationIcon());
    setFixedSize(kClientWidth, kClientHeight);
    setPalette(facePalette());
    centreOnRealFrame(this, nullptr);

    buildControls();
    m_initialised = m_dialog.OnInitDialog();

    connect(qobject_cast<QPushButton*>(control(res::IDC_CONFIRM)), &QPushButton::clicked, this,
            [this] { m_dialog.OnConfirm(); });
    connect(qobject_cast<QPushButton*>(control(res::IDC_COMPUTE)), &QPushButton::clicked, this,
            [this] { m_dialog.OnCompute(); });
    control(res::IDC_FUNCTION)->setFocus();
}

SolverWindow::~SolverWindow() = default;

void SolverWindow::buildControls() {
    // The face first, so every control stacks above it.
    m_chart = new ChartView(m_framebuffer, this);
    std::vector<QWidget*> widgets;
    for (const res::ControlTemplate& c : res::kMainDialog.controls) {
        QWidget* widget = createControl(c, this);
        widgets.push_back(widget);
        m_controls.push_back({c.id, widget});
        if (c.id == res::IDC_RESULTS) m_results = qobject_cast<QListWidget*>(widget);
        // The framebuffer has the backdrop in it and the chart over it: the control lets the
        // face show through.
        if (c.id == res::IDC_CHART_FRAME) widget->setAutoFillBackground(false);
    }
    stackControls(res::kMainDialog, widgets.data());
    // Every widget of the window, the controls' own parts (a list's viewport and scroll bar)
    // included, so the window menu opens wherever the window is clicked.
    for (QWidget* widget : findChildren<QWidget*>()) widget->installEventFilter(this);
}

QWidget* SolverWindow::control(int id) const {
    for (const Control& c : m_controls) {
        if (c.id == id) return c.widget;
    }
    return nullptr;
}

QComboBox* SolverWindow::combo(int id) const { return qobject_cast<QComboBox*>(control(id)); }
QLineEdit* SolverWindow::edit(int id) const { return qobject_cast<QLineEdit*>(control(id)); }
QCheckBox* SolverWindow::checkBox(int id) const { return qobject_cast<QCheckBox*>(control(id)); }

std::string SolverWindow::controlText(int id) const {
    QWidget* w = control(id);
    QString text;
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        text = e->text();
    } else if (auto* l = qobject_cast<QLabel*>(w)) {
        text = l->text();
    } else if (auto* c = qobject_cast<QComboBox*>(w)) {
        text = c->currentText();
    } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        text = b->text();
    } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
        text = g->title();
    }
    return text.toStdString();
}

void SolverWindow::setControlText(int id, std::string_view utf8) {
    QWidget* w = control(id);
    const QString text = toQString(utf8);
    // A control's text is replaced only when it differs, so an unchanged edit box keeps its
    // cursor and selection.
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        if (e->text() != text) {
            // Shown from its first character, as a freshly set edit box shows it; a long number
            // would otherwise show only its end.
            e->setText(text);
            e->setCursorPosition(0);
        }
    } else if (auto* l = qobject_cast<QLabel*>(w)) {
        if (l->text() != text) l->setText(text);
    } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        if (b->text() != text) b->setText(text);
    } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
        if (g->title() != text) g->setTitle(text);
    }
    // A drop-down list has no text of its own to set: only a selection changes what it shows.
}

int SolverWindow::checkState(int id) const {
    const QCheckBox* c = checkBox(id);
    return c && c->isChecked() ? 1 : 0;
}

void SolverWindow::setCheckState(int id, int state) {
    if (QCheckBox* c = checkBox(id)) c->setChecked(state != 0);
}

void SolverWindow::addComboItem(int id, std::string_view text) {
    QComboBox* c = combo(id);
    if (!c) return;
    // QComboBox selects the first item added to an empty list; a drop-down list starts with none.
    const int selection = c->currentIndex();
    c->addItem(toQString(text));
    if (selection < 0) c->setCurrentIndex(-1);
}

int SolverWindow::comboItemCount(int id) const {
    const QComboBox* c = combo(id);
    return c ? c->count() : 0;
}

std::string SolverWindow::comboItemText(int id, int index) const {
    const QComboBox* c = combo(id);
    return c ? c->itemText(index).toStdString() : std::string();
}

int SolverWindow::comboSelection(int id) const {
    const QComboBox* c = combo(id);
    return c ? c->currentIndex() : -1;
}

void SolverWindow::setComboSelection(int id, int index) {
    if (QComboBox* c = combo(id)) c->setCurrentIndex(index);
}

void SolverWindow::listAddString(std::string_view text) { m_results->addItem(toQString(text)); }

void SolverWindow::listSetCurSel(int index) {
    if (index < 0 || index >= m_results->count()) {
        m_results->setCurrentRow(-1);
        return;
    }
    m_results->setCurrentRow(index);
    m_results->scrollToItem(m_results->item(index));
    m_results->horizontalScrollBar()->setValue(0);  // long lines stay cut at the right edge
}

void SolverWindow::listDeleteString(int index) {
    if (index < 0 || index >= m_results->count()) return;
    delete m_results->takeItem(index);
}

void SolverWindow::listDeleteFirst(int count) {
    // One removal of the whole run: the view lays itself out once, not once for every line.
    const int n = std::min(count, m_results->count());
    if (n > 0) m_results->model()->removeRows(0, n);
}

void SolverWindow::messageBox(std::string_view text, std::string_view caption, MessageIcon icon) {
    // Let the chart drawn so far show behind the box.
    m_chart->update();
    if (m_messageBoxHandler) {
        m_messageBoxHandler(text, caption, icon);
        return;
    }
    QMessageBox box(
        icon == MessageIcon::Exclamation ? QMessageBox::Warning : QMessageBox::Information,
        toQString(caption), toQString(text), QMessageBox::Ok, this);
    box.exec();
}

void SolverWindow::focusAndSelectAll(int id) {
    if (QLineEdit* e = edit(id)) {
        e->setFocus(Qt::OtherFocusReason);
        e->selectAll();
    }
}

std::unique_ptr<DrawingSurface> SolverWindow::windowSurface() {
    return makeWindowSurface(m_framebuffer,
                             [view = QPointer<ChartView>(m_chart)](const PixelRect& touched) {
                                 if (view) view->showPixels(touched);
                             });
}

void SolverWindow::showAboutBox() {
    CAboutBox box(this);
    box.exec();
}

void SolverWindow::keyPressEvent(QKeyEvent* event) {
    // Enter presses no button and Escape does not close the window.
    if (isEnterOrEscape(event)) {
        event->accept();
        return;
    }
    // A key asking for a context menu that the focused control left alone: the control gets the
    // request the keyboard would make, which ends in the window menu or an edit box's own menu.
    if (isContextMenuKey(event)) {
        openContextMenu(focusWidget() ? focusWidget() : this);
        return;
    }
    QDialog::keyPressEvent(event);
}

bool SolverWindow::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this) return QDialog::eventFilter(watched, event);
    // No control sees Enter or Escape either.
    if (isEnterOrEscape(event)) return true;
    // An edit box keeps its own menu; everywhere else a menu request, by mouse or keyboard,
    // opens the window menu, even on controls that would otherwise swallow it.
    if (event->type() == QEvent::ContextMenu && !qobject_cast<QLineEdit*>(widget)) {
        showWindowMenu(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void SolverWindow::contextMenuEvent(QContextMenuEvent* event) {
    showWindowMenu(event->globalPos());
}

void SolverWindow::openContextMenu(QWidget* widget) {
    // Under X11 the Menu key also arrives as a menu request of its own, ahead of the key; the
    // menu it opens then takes the key, so the request is not made twice.
    const QPoint centre = widget->rect().center();
    QContextMenuEvent request(QContextMenuEvent::Keyboard, centre, widget->mapToGlobal(centre));
    QApplication::sendEvent(widget, &request);
}

void SolverWindow::showWindowMenu(QPoint globalPos) {
    QMenu menu(this);
    QAction* close = menu.addAction(windowMenuCloseText());
    close->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    menu.addSeparator();
    QAction* about = menu.addAction(toQString(res::kAboutMenuText));
    QAction* chosen = menu.exec(globalPos);
    if (chosen == about) {
        showAboutBox();
    } else if (chosen == close) {
        this->close();
    }
}

}  // namespace korzenik
