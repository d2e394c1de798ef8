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
#include <algorithm>
#include <utility>
#include <vector>

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

DialogKey dialogKey(int key) {
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter: return DialogKey::Enter;
        case Qt::Key_Escape: return DialogKey::Escape;
        case Qt::Key_Menu: return DialogKey::Menu;
        case Qt::Key_F10: return DialogKey::F10;
        default: return DialogKey::Other;
    }
}

/// What the window's rules make of an event: Deliver for everything but a key press they speak of.
KeyEffect keyEffectOf(const QEvent* event) {
    if (event->type() != QEvent::KeyPress) return KeyEffect::Deliver;
    const auto* key = static_cast<const QKeyEvent*>(event);
    const Qt::KeyboardModifiers m = key->modifiers();
    return keyEffect(dialogKey(key->key()), {.shift = (m & Qt::ShiftModifier) != 0,
                                             .ctrl = (m & Qt::ControlModifier) != 0,
                                             .alt = (m & Qt::AltModifier) != 0});
}

QMessageBox::Icon toolkitIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Exclamation: return QMessageBox::Warning;
        case MessageIcon::Information: return QMessageBox::Information;
    }
    return QMessageBox::Warning;
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

    describeChart();
    connect(qobject_cast<QPushButton*>(control(res::IDC_CONFIRM)), &QPushButton::clicked, this,
            [this] {
                m_dialog.OnConfirm();
                describeChart();
            });
    connect(qobject_cast<QPushButton*>(control(res::IDC_COMPUTE)), &QPushButton::clicked, this,
            [this] {
                m_dialog.OnCompute();
                describeChart();
            });
    // Every change of the selection, the user's or a program's, settles the typed function's
    // field; the dialog's own changes settle it too, so a second call changes nothing.
    connect(combo(res::IDC_FUNCTION), &QComboBox::currentIndexChanged, this,
            [this] { m_dialog.OnFunctionChanged(); });
    control(firstTabStop(res::kMainDialog))->setFocus();
}

SolverWindow::~SolverWindow() = default;

void SolverWindow::buildControls() {
    // The face first, so every control stacks above it.
    m_chart = new ChartView(m_framebuffer, this);
    m_controls.build(res::kMainDialog,
                     [this](const ControlPlan& c) { return createControl(c, this); });
    // Each control stands in its group box, where a screen reader finds it and names it by the
    // group (the window system keeps the tab order as it is within one window).
    for (std::size_t i = 0; i < m_controls.size(); ++i) {
        QWidget* group = control(m_controls.planAt(i).group);
        QWidget* widget = m_controls.at(i);
        if (!group) continue;
        widget->setParent(group);
        widget->move(widget->pos() - group->pos());
        widget->show();
    }
    m_controls.stack([](QWidget* widget) { widget->raise(); });
    m_results = qobject_cast<QListWidget*>(control(res::IDC_RESULTS));
    // The framebuffer has the backdrop in it and the chart over it: the control lets the face
    // show through.
    control(res::IDC_CHART_FRAME)->setAutoFillBackground(false);
    nameControls();
    // Every widget of the window, the controls' own parts (a list's viewport and scroll bar)
    // included, so the window menu opens wherever the window is clicked.
    for (QWidget* widget : findChildren<QWidget*>()) widget->installEventFilter(this);
}

void SolverWindow::nameControls() {
    for (std::size_t i = 0; i < m_controls.size(); ++i) {
        const ControlPlan& plan = m_controls.planAt(i);
        QWidget* widget = m_controls.at(i);
        if (auto* label = qobject_cast<QLabel*>(control(plan.labelledBy))) label->setBuddy(widget);
        if (plan.kind != ControlKind::Label) {
            widget->setAccessibleName(
                toQString(korzenik::accessibleName(res::kMainDialog, plan.id)));
        } else if (!plan.name.empty()) {
            // A text the dialog writes is its own name; what it is, is said after it.
            widget->setAccessibleDescription(toQString(plan.name));
        }
    }
}

void SolverWindow::describeChart() {
    control(res::IDC_CHART_FRAME)->setAccessibleDescription(toQString(m_dialog.chartDescription()));
}

const ControlPlan* SolverWindow::controlOf(const QWidget* widget) const {
    for (; widget && widget != this; widget = widget->parentWidget()) {
        for (std::size_t i = 0; i < m_controls.size(); ++i) {
            if (m_controls.at(i) == widget) return &m_controls.planAt(i);
        }
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
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        // Shown from its first character, as a freshly set edit box shows it; a long number
        // would otherwise show only its end.
        e->setText(text);
        e->setCursorPosition(0);
    } else if (auto* l = qobject_cast<QLabel*>(w)) {
        l->setText(text);
    } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        b->setText(text);
    } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
        g->setTitle(text);
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

// A line that is not there selects none, as the window system's list does.
void SolverWindow::listSetCurSel(int index) {
    if (QListWidgetItem* line = m_results->item(index)) {
        m_results->setCurrentItem(line);
        m_results->scrollToItem(line);
    } else {
        m_results->setCurrentItem(nullptr);
        m_results->clearSelection();
    }
}

void SolverWindow::listDeleteString(int index) { delete m_results->takeItem(index); }

// In one removal, which the view takes in at once however many lines go.
void SolverWindow::listDeleteFirst(int count) {
    m_results->model()->removeRows(0, std::min(count, m_results->count()));
}

void SolverWindow::messageBox(std::string_view text, std::string_view caption, MessageIcon icon) {
    // Let the chart drawn so far show behind the box: the command still holds its surface, so
    // no rectangle has been reported yet.
    m_chart->showPixels(PixelRect{0, 0, kWindowWidth, kWindowHeight});
    if (m_messageBoxHandler) {
        m_messageBoxHandler(text, caption, icon);
        return;
    }
    QMessageBox box(toolkitIcon(icon), toQString(caption), toQString(text), QMessageBox::Ok, this);
    box.exec();
}

void SolverWindow::focusAndSelectAll(int id) {
    if (QLineEdit* e = edit(id)) {
        e->setFocus(Qt::OtherFocusReason);
        e->selectAll();
    }
}

void SolverWindow::focusAndSelect(int id, int first, int count) {
    if (QLineEdit* e = edit(id)) {
        e->setFocus(Qt::OtherFocusReason);
        e->setSelection(first, count);
    }
}

void SolverWindow::setControlEnabled(int id, bool enabled) {
    if (QWidget* w = control(id)) w->setEnabled(enabled);
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
    switch (keyEffectOf(event)) {
        case KeyEffect::Swallow: event->accept(); return;
        // A key asking for a context menu that the focused control left alone: the control gets
        // the request the keyboard would make, which ends in the window menu or an edit box's
        // own menu.
        case KeyEffect::ContextMenu: openContextMenu(focusWidget() ? focusWidget() : this); return;
        case KeyEffect::Deliver: break;
    }
    QDialog::keyPressEvent(event);
}

bool SolverWindow::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this) return QDialog::eventFilter(watched, event);
    // No control sees a swallowed key either.
    if (keyEffectOf(event) == KeyEffect::Swallow) return true;
    // A menu request, by mouse or keyboard, opens the window menu, even on controls that would
    // otherwise swallow it, unless the control keeps a menu of its own.
    if (event->type() == QEvent::ContextMenu) {
        const ControlPlan* owner = controlOf(widget);
        if (!owner || !keepsOwnContextMenu(owner->kind)) {
            showWindowMenu(static_cast<QContextMenuEvent*>(event)->globalPos());
            return true;
        }
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
    std::vector<std::pair<QAction*, WindowCommand>> actions;
    for (const WindowMenuEntry& entry : windowMenuEntries()) {
        if (entry.command == WindowCommand::Separator) {
            menu.addSeparator();
            continue;
        }
        QAction* action =
            menu.addAction(entry.command == WindowCommand::Close ? windowMenuCloseText(entry.text)
                                                                 : toQString(entry.text));
        if (!entry.shortcut.empty()) {
            action->setShortcut(
                QKeySequence(toQString(entry.shortcut), QKeySequence::PortableText));
        }
        actions.emplace_back(action, entry.command);
    }
    QAction* chosen = menu.exec(globalPos);
    for (const auto& [action, command] : actions) {
        if (action == chosen) runCommand(command);
    }
}

void SolverWindow::runCommand(WindowCommand command) {
    switch (command) {
        case WindowCommand::Close: close(); break;
        case WindowCommand::About: showAboutBox(); break;
        // Only the browser page's menu copies an address.
        case WindowCommand::CopyExerciseLink:
        case WindowCommand::Separator: break;
    }
}

}  // namespace korzenik
