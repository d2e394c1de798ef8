#include "window_player.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>
#include <algorithm>

#include "qt/about_box.h"

namespace korzenik {

namespace {

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A click opens the drop-down's list; the arrow keys go to the entry, Enter picks it.
bool pick(QComboBox* combo, const QString& label, QString* why) {
    const int wanted = combo->findText(label, Qt::MatchExactly);
    if (wanted < 0) {
        *why = "no item " + label;
        return false;
    }
    clickThroughWindow(combo);
    QAbstractItemView* list = combo->view();
    if (!QTest::qWaitFor([&] { return list->isVisible(); })) {
        *why = QStringLiteral("the drop-down's list did not open");
        return false;
    }
    for (int steps = 0; list->currentIndex().row() != wanted && steps <= combo->count(); ++steps) {
        QTest::keyClick(list, list->currentIndex().row() < wanted ? Qt::Key_Down : Qt::Key_Up);
    }
    QTest::keyClick(list, Qt::Key_Return);
    if (!QTest::qWaitFor([&] { return !list->isVisible(); }) || combo->currentIndex() != wanted) {
        *why = "the drop-down shows " + combo->currentText() + ", not " + label;
        return false;
    }
    return true;
}

// Typed, or pasted where the text holds what cannot be typed key by key (a tab, a control
// character, a letter beyond ASCII).
bool type(QLineEdit* edit, const QString& text, QString* why) {
    clickThroughWindow(edit);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    const bool typeable =
        std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u' ' && c <= u'~'; });
    if (text.isEmpty()) {
        QTest::keyClick(edit, Qt::Key_Backspace);
    } else if (typeable) {
        QTest::keyClicks(edit, text);
    } else {
        QApplication::clipboard()->setText(text);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    }
    if (edit->text() != text) *why = "the field holds " + edit->text() + ", not " + text;
    return edit->text() == text;
}

// The Menu key opens the window menu, Enter on its last entry the About box, OK closes it. The
// menu and the box run event loops of their own, so a timer acts in them.
bool openAndCloseAboutBox(SolverWindow& window, QString* why) {
    bool chosen = false;
    bool closed = false;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            if (!menu->isVisible() || chosen) return;
            menu->setActiveAction(menu->actions().last());
            QTest::keyClick(menu, Qt::Key_Return);
            chosen = true;
        } else if (auto* box = qobject_cast<CAboutBox*>(QApplication::activeModalWidget())) {
            if (box->isVisible() && !closed) QTest::mouseClick(box->okButton(), Qt::LeftButton);
            closed = true;
        }
    });
    timer.start(10);
    QWidget* focus = window.focusWidget() ? window.focusWidget() : &window;
    QTest::keyClick(focus, Qt::Key_Menu);
    if (!QTest::qWaitFor([&] { return closed; }) ||
        !QTest::qWaitFor([] { return QApplication::activeModalWidget() == nullptr; })) {
        *why = QStringLiteral("the About box did not open and close");
        return false;
    }
    return true;
}

}  // namespace

void clickThroughWindow(QWidget* target) {
    QWidget* top = target->window();
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {},
                      target->mapTo(top, target->rect().center()));
}

bool playStep(SolverWindow& window, const script::ScriptStep& step, QString* why) {
    using script::StepAction;
    QWidget* control = window.control(step.control);
    const QString argument = fromUtf8(step.argument);
    switch (step.action) {
        case StepAction::Pick: return pick(qobject_cast<QComboBox*>(control), argument, why);
        case StepAction::Type: return type(qobject_cast<QLineEdit*>(control), argument, why);
        case StepAction::Tick: {
            auto* box = qobject_cast<QCheckBox*>(control);
            if (box->isChecked() != step.on) clickThroughWindow(box);
            if (box->isChecked() != step.on) *why = box->text() + " did not change";
            return box->isChecked() == step.on;
        }
        case StepAction::Press: clickThroughWindow(control); return true;
        case StepAction::About: return openAndCloseAboutBox(window, why);
        default: return true;
    }
}

}  // namespace korzenik
