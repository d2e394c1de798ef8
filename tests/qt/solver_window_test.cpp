// The real window driven as a user drives it, for what the golden sessions (golden_window_test)
// do not show: where it opens, its tab order, the keys and menus, the real message boxes and
// the About box, an edit box's view after a rewrite, the chart after a repaint. Message boxes
// are either recorded through the window's hook or, where the real box is under test, answered
// from a timer.
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTimer>
#include <QtTest/QTest>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/res/resource.h"
#include "app/window.h"
#include "core/function_catalogue.h"
#include "qt/about_box.h"
#include "qt/controls.h"
#include "qt/solver_window.h"

using namespace korzenik;

namespace {

// Answers the modal dialogs and popups that come up, one step each, in order. A step gets the
// active popup or modal widget (or nullptr) and returns true once it has dealt with it. Steps
// left waiting for too long close whatever is open, so a wrong turn fails instead of hanging.
class ModalScript {
public:
    using Step = std::function<bool(QWidget*)>;

    explicit ModalScript(std::vector<Step> steps) : m_steps(std::move(steps)) {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { tick(); });
        m_timer.start(10);
        m_deadline.start();
    }
    bool finished() const { return m_next == m_steps.size(); }
    bool timedOut() const { return m_timedOut; }

private:
    void tick() {
        QWidget* top = QApplication::activePopupWidget();
        if (!top) top = QApplication::activeModalWidget();
        if (m_deadline.elapsed() > 5000) {
            m_timedOut = true;
            if (top) top->close();
            return;
        }
        if (finished()) return;
        if (top && !top->isVisible()) return;
        if (m_steps[m_next](top)) {
            ++m_next;
            m_deadline.restart();
        }
    }

    std::vector<Step> m_steps;
    std::size_t m_next = 0;
    QTimer m_timer;
    QElapsedTimer m_deadline;
    bool m_timedOut = false;
};

// A step that checks a real message box's text, caption, icon and lone OK button, then presses OK.
ModalScript::Step expectMessageBox(QWidget* owner, QString text, QString caption,
                                   QMessageBox::Icon icon, bool* seen) {
    return [=](QWidget* top) {
        auto* box = qobject_cast<QMessageBox*>(top);
        if (!box) return false;
        *seen = box->text() == text && box->windowTitle() == caption && box->icon() == icon &&
                box->standardButtons() == QMessageBox::Ok && box->parentWidget() == owner &&
                box->isModal();
        if (!*seen) {
            qWarning("unexpected message box: %s / %s", qPrintable(box->windowTitle()),
                     qPrintable(box->text()));
        }
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        return true;
    };
}

// The window's client area as it was last put on the screen: the offscreen platform's copy of
// the window's backing store, which changes only when the window really repaints (grab() would
// paint afresh).
QImage shownImage(QWidget* window) {
    const QImage shown = window->screen()->grabWindow(window->winId()).toImage();
    return shown.convertToFormat(QImage::Format_RGB32);
}

// The framebuffer as an image, in window coordinates.
QImage framebufferImage(const Framebuffer& fb) {
    const QImage image(fb.rgb.data(), fb.width, fb.height, fb.width * 3, QImage::Format_RGB888);
    return image.convertToFormat(QImage::Format_RGB32);
}

// A click delivered the way the window system delivers it, so modality applies.
void clickThroughWindow(QWidget* target, Qt::MouseButton button) {
    QWidget* top = target->window();
    QTest::mouseClick(top->windowHandle(), button, {}, target->mapTo(top, target->rect().center()));
}

}  // namespace

class SolverWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startState();
    void aRepaintShowsTheChartAgain();
    void rewrittenNumberShowsItsStart();
    void mnemonicsPressTheButtonsAndTheRootIsAnnouncedInABox();
    void enterAndEscapeChangeNothing();
    void rejectedNumberWarnsAndRefocusesTheField();
    void resultsListIsAListToAScreenReader();
    void aboutBoxOpensFromTheWindowMenuAndCloses();
    void toolkitTextsFollowAPolishDesktop();

private:
    QComboBox* function() const { return qobject_cast<QComboBox*>(control(res::IDC_FUNCTION)); }
    QLineEdit* field(int id) const { return qobject_cast<QLineEdit*>(control(id)); }
    QPushButton* button(int id) const { return qobject_cast<QPushButton*>(control(id)); }
    QCheckBox* autoBox() const { return qobject_cast<QCheckBox*>(control(res::IDC_AUTO)); }
    QListWidget* results() const { return qobject_cast<QListWidget*>(control(res::IDC_RESULTS)); }
    QWidget* control(int id) const { return m_window->control(id); }
    /// The four scale labels: Xmin, Xmax, Ymax, Ymin.
    QStringList labels() const {
        QStringList out;
        for (int id : {res::IDC_XMIN, res::IDC_XMAX, res::IDC_YMAX, res::IDC_YMIN}) {
            out << qobject_cast<QLabel*>(control(id))->text();
        }
        return out;
    }

    void typeInto(int id, const QString& text);
    /// "f(x) = x*x-4" on 0 to 3 with precision 0.001, chosen and typed; Auto as asked.
    void enterDemoInputs(bool autoMode);

    std::unique_ptr<SolverState> m_state;
    std::unique_ptr<SolverWindow> m_window;
    QStringList m_messages;  // the texts of the messages recorded through the window's hook
};

const QStringList kDemoLabels = {"0.0", "3.0", "5.0", "-4.0"};
const QString kRootText = QStringLiteral("Wyznaczono miejsce zerowe funkcji w punkcie x=1.99995");

void SolverWindowTest::init() {
    m_state = std::make_unique<SolverState>();
    m_window = std::make_unique<SolverWindow>(*m_state);
    m_messages.clear();
    // Messages are recorded through the window's hook unless a test wants the real boxes.
    m_window->setMessageBoxHandler([this](std::string_view text, std::string_view, MessageIcon) {
        m_messages << QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    });
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void SolverWindowTest::cleanup() {
    m_window.reset();
    m_state.reset();
}

void SolverWindowTest::typeInto(int id, const QString& text) {
    QLineEdit* edit = field(id);
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, text);
    QCOMPARE(edit->text(), text);
}

void SolverWindowTest::enterDemoInputs(bool autoMode) {
    function()->setFocus();
    QTest::keyClick(function(), Qt::Key_Down);
    QCOMPARE(function()->currentText(), toQString(kFunctionLabels[0]));
    typeInto(res::IDC_START, QStringLiteral("0"));
    typeInto(res::IDC_END, QStringLiteral("3"));
    typeInto(res::IDC_PRECISION, QStringLiteral("0.001"));
    if (autoMode) clickThroughWindow(autoBox(), Qt::LeftButton);
    QCOMPARE(autoBox()->isChecked(), autoMode);
}

void SolverWindowTest::startState() {
    SolverWindow& w = *m_window;
    QCOMPARE(w.windowTitle(), QStringLiteral("Korzenik"));
    QCOMPARE(w.size(), QSize(kClientWidth, kClientHeight));
    const QPoint screenCentre = w.screen()->availableGeometry().center();
    QVERIFY2((w.frameGeometry().center() - screenCentre).manhattanLength() <= 4,
             "the window opens centred on the screen");

    QCOMPARE(function()->count(), kFunctionCount + 1);
    for (int i = 0; i < kFunctionCount; ++i) {
        QCOMPARE(function()->itemText(i), toQString(kFunctionLabels[static_cast<std::size_t>(i)]));
    }
    QCOMPARE(QStringList({button(res::IDC_CONFIRM)->text(), button(res::IDC_COMPUTE)->text(),
                          autoBox()->text()}),
             QStringList({"&Zatwierdź", "&Licz", "Auto"}));

    // Tab walks the tab stops in template order from the drop-down and wraps; the results list
    // is not among them.
    QCOMPARE(QApplication::focusWidget(), function());
    for (int id : {res::IDC_START, res::IDC_END, res::IDC_PRECISION, res::IDC_CONFIRM,
                   res::IDC_COMPUTE, res::IDC_AUTO, res::IDC_FUNCTION}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), control(id));
    }

    // The typed function's field takes input only while its item, the last, is chosen.
    QCOMPARE(function()->itemText(kFunctionCount), QStringLiteral("Własna funkcja"));
    QVERIFY(!control(res::IDC_EXPRESSION)->isEnabled());
    QTest::keyClick(function(), Qt::Key_End);
    QVERIFY(control(res::IDC_EXPRESSION)->isEnabled());
    QTest::keyClick(function(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), control(res::IDC_EXPRESSION));
    QTest::keyClick(function(), Qt::Key_Home);
    QVERIFY(!control(res::IDC_EXPRESSION)->isEnabled());
}

// The window keeps the chart's pixels: covered and uncovered, it shows the chart again.
void SolverWindowTest::aRepaintShowsTheChartAgain() {
    enterDemoInputs(false);
    clickThroughWindow(button(res::IDC_CONFIRM), Qt::LeftButton);
    const QRect chartArea(255, 30, 496, 450);
    const QImage drawn = framebufferImage(m_window->framebuffer())
                             .copy(chartArea.translated(kClientLeft, kClientTop));
    QTRY_COMPARE(shownImage(m_window.get()).copy(chartArea), drawn);
    m_window->hide();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QTRY_COMPARE(shownImage(m_window.get()).copy(chartArea), drawn);
}

// A number the dialog writes back shows from its first character, even when it is wider than
// its box.
void SolverWindowTest::rewrittenNumberShowsItsStart() {
    enterDemoInputs(false);
    typeInto(res::IDC_START, QStringLiteral("0.000000123456789"));
    clickThroughWindow(button(res::IDC_CONFIRM), Qt::LeftButton);
    QLineEdit* start = field(res::IDC_START);
    QCOMPARE(start->text(), QStringLiteral("1.23457e-007"));
    QVERIFY(start->fontMetrics().horizontalAdvance(start->text()) > start->width());
    QCOMPARE(start->cursorPosition(), 0);
}

// The buttons are pressed by their mnemonics here; a mnemonic animates the press, which clicks
// a moment later.
void SolverWindowTest::mnemonicsPressTheButtonsAndTheRootIsAnnouncedInABox() {
    enterDemoInputs(true);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::AltModifier);  // Zatwierdź
    QTRY_COMPARE(labels(), kDemoLabels);
    QVERIFY(m_messages.isEmpty());

    // The real message box this time: owned by the window, one OK button, information icon.
    m_window->setMessageBoxHandler({});
    bool rootAnnounced = false;
    ModalScript script({expectMessageBox(m_window.get(), kRootText, QStringLiteral("Rozwiązanie"),
                                         QMessageBox::Information, &rootAnnounced)});
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_L, Qt::AltModifier);  // Licz
    QTRY_VERIFY(script.finished());
    QVERIFY(!script.timedOut());
    QVERIFY(rootAnnounced);
    QCOMPARE(results()->count(), 7);
    QCOMPARE(results()->currentRow(), 6);
    QCOMPARE(results()->selectedItems(), QList<QListWidgetItem*>({results()->item(6)}));

    // Another interval: Confirm empties the list, every line of it.
    typeInto(res::IDC_END, QStringLiteral("4"));
    QTest::mouseClick(button(res::IDC_CONFIRM), Qt::LeftButton);
    QCOMPARE(results()->count(), 0);
}

void SolverWindowTest::enterAndEscapeChangeNothing() {
    enterDemoInputs(false);
    for (QWidget* target :
         {control(res::IDC_FUNCTION), control(res::IDC_START), control(res::IDC_END),
          control(res::IDC_PRECISION), control(res::IDC_CONFIRM), control(res::IDC_COMPUTE),
          control(res::IDC_AUTO), static_cast<QWidget*>(m_window.get())}) {
        target->setFocus();
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            QTest::keyClick(target, key);
        }
    }
    QTest::qWait(20);
    QVERIFY(m_window->isVisible());
    QCOMPARE(m_window->result(), 0);
    QVERIFY2(m_messages.isEmpty(), "no command ran");
    QCOMPARE(labels(), QStringList({"", "", "", ""}));
    QCOMPARE(results()->count(), 0);
    QCOMPARE(field(res::IDC_PRECISION)->text(), QStringLiteral("0.001"));
    QCOMPARE(function()->currentIndex(), 0);
}

void SolverWindowTest::rejectedNumberWarnsAndRefocusesTheField() {
    m_window->setMessageBoxHandler({});
    QLineEdit* precision = field(res::IDC_PRECISION);
    typeInto(res::IDC_PRECISION, QStringLiteral("0,5"));
    function()->setFocus();
    bool warned = false;
    // The warning is the press's only box (a second one would time the script out): Compute
    // ends at the refused number.
    ModalScript script({
        expectMessageBox(m_window.get(), QStringLiteral("Please enter a number."),
                         QStringLiteral("Korzenik"), QMessageBox::Warning, &warned),
    });
    QTest::mouseClick(button(res::IDC_COMPUTE), Qt::LeftButton);
    QVERIFY(script.finished() && !script.timedOut());
    QVERIFY(warned);
    // The field holds the window's focus; it has the keyboard once the window is active again.
    QCOMPARE(m_window->focusWidget(), static_cast<QWidget*>(precision));
    m_window->activateWindow();
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(precision));
    QCOMPARE(precision->selectedText(), QStringLiteral("0,5"));
    QCOMPARE(results()->count(), 0);
}

// A screen reader sees the results list as a list of its lines, the one the dialog selected marked.
void SolverWindowTest::resultsListIsAListToAScreenReader() {
    for (const char* line : {"x=1", "x=2", "x=3"}) m_window->listAddString(line);
    m_window->listSetCurSel(1);
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(results());
    QVERIFY(list);
    QCOMPARE(list->role(), QAccessible::List);
    QStringList names;
    QList<bool> selected;
    for (int i = 0; i < list->childCount(); ++i) {
        QAccessibleInterface* line = list->child(i);
        QCOMPARE(line->role(), QAccessible::ListItem);
        QCOMPARE(line->parent(), list);
        QCOMPARE(list->indexOfChild(line), i);
        names << line->text(QAccessible::Name);
        selected << line->state().selected;
    }
    QCOMPARE(names, QStringList({"x=1", "x=2", "x=3"}));
    QCOMPARE(selected, QList<bool>({false, true, false}));
}

void SolverWindowTest::aboutBoxOpensFromTheWindowMenuAndCloses() {
    // The icon the box and the window show: its bitmaps rendered at build time, both there.
    for (int size : {16, 32}) {
        const QImage icon = applicationIcon().pixmap(size, size).toImage();
        QCOMPARE(icon.size(), QSize(size, size));
    }
    const auto onBox = [](std::function<void(CAboutBox*)> act) {
        return [act](QWidget* top) {
            auto* box = qobject_cast<CAboutBox*>(top);
            if (box) act(box);
            return box != nullptr;
        };
    };
    QStringList menuEntries, seen;  // what the menu and the box showed while they were open
    const auto inspect = [&](CAboutBox* box) {
        const auto note = [&](bool ok, const QString& what) { seen << (ok ? "" : "not ") + what; };
        note(box->windowTitle() == "O projekcie KORZENIK", "titled");
        note(box->size() == QSize(314, 342), "314 x 342");
        note((box->frameGeometry().center() - m_window->frameGeometry().center())
                     .manhattanLength() <= 4,
             "centred over the main window");
        QStringList texts;
        for (QLabel* l : box->findChildren<QLabel*>()) texts << l->text();
        for (const QString t : {"KORZENIK", "wersja 3.03",
                                "Program powstał na zaliczenie laboratorium", "Autorzy:"}) {
            note(texts.contains(t), t);
        }
        note(box->okButton()->isDefault() && box->focusWidget() == box->okButton(),
             "OK default and focused");
        clickThroughWindow(button(res::IDC_CONFIRM), Qt::LeftButton);
        note(m_messages.isEmpty() && labels().first().isEmpty(), "main window blocked");
    };
    // Each way of closing the box: Escape, Enter, the OK button, the close button.
    const auto closeBy = [&](int way) {
        return onBox([way](CAboutBox* box) {
            QWidget* target = box->focusWidget() ? box->focusWidget() : box;
            if (way == 0) QTest::keyClick(target, Qt::Key_Escape);
            if (way == 1) QTest::keyClick(target, Qt::Key_Enter);
            if (way == 2) QTest::mouseClick(box->okButton(), Qt::LeftButton);
            if (way == 3) box->close();
        });
    };

    // The window menu from a right-click on a push button, then About from it.
    const QStringList kWindowMenu = {"&Close", "-", "&About Korzenik..."};
    const auto windowMenu = [&](bool chooseAbout) {
        return [&, chooseAbout](QWidget* top) {
            auto* menu = qobject_cast<QMenu*>(top);
            if (!menu) return false;
            menuEntries.clear();
            for (QAction* a : menu->actions()) {
                menuEntries << (a->isSeparator() ? "-" : a->text());
            }
            if (chooseAbout) menu->setActiveAction(menu->actions().last());
            QTest::keyClick(menu, chooseAbout ? Qt::Key_Return : Qt::Key_Escape);
            return true;
        };
    };
    ModalScript script({windowMenu(true), onBox(inspect), closeBy(0)});
    clickThroughWindow(button(res::IDC_COMPUTE), Qt::RightButton);
    QTRY_VERIFY(script.finished());
    QVERIFY(!script.timedOut());
    QCOMPARE(menuEntries, kWindowMenu);
    QVERIFY2(seen.filter(QRegularExpression("^not ")).isEmpty(), qPrintable(seen.join(", ")));
    QCOMPARE(seen.size(), 9);
    QVERIFY(QApplication::activeModalWidget() == nullptr);

    // The Menu key and Shift+F10 open it too, wherever the focus is outside the edit boxes.
    for (QWidget* focus : {control(res::IDC_AUTO), control(res::IDC_FUNCTION)}) {
        for (QKeyCombination key : {QKeyCombination(Qt::Key_Menu), Qt::SHIFT | Qt::Key_F10}) {
            ModalScript again({windowMenu(false)});
            focus->setFocus();
            QTest::keyClick(focus, key.key(), key.keyboardModifiers());
            QVERIFY(again.finished() && !again.timedOut());
            QCOMPARE(menuEntries, kWindowMenu);
        }
    }

    for (int way = 1; way < 4; ++way) {
        ModalScript again({closeBy(way)});
        m_window->showAboutBox();
        QVERIFY(again.finished() && !again.timedOut());
    }
    QVERIFY(m_window->isVisible());
    QVERIFY(m_messages.isEmpty());
}

// Run with LC_ALL=pl_PL.UTF-8: the menus the toolkit makes speak the desktop's language, as a
// native window's do, not English in a Polish window.
void SolverWindowTest::toolkitTextsFollowAPolishDesktop() {
    if (QLocale().language() != QLocale::Polish) {
        QSKIP("needs LC_ALL=pl_PL.UTF-8 (the qt_polish_locale test sets it up)");
    }
    translateToolkitTexts();
    QStringList firstEntries;
    const auto firstEntry = [&](QWidget* top) {
        auto* menu = qobject_cast<QMenu*>(top);
        if (!menu) return false;
        firstEntries << menu->actions().value(0)->text().section(QLatin1Char('\t'), 0, 0);
        QTest::keyClick(menu, Qt::Key_Escape);
        return true;
    };
    ModalScript script({firstEntry, firstEntry});
    for (QWidget* focus : {control(res::IDC_AUTO), control(res::IDC_START)}) {
        focus->setFocus();
        QTest::keyClick(focus, Qt::Key_Menu);
    }
    QTRY_VERIFY(script.finished());
    QVERIFY(!script.timedOut());
    QCOMPARE(firstEntries, QStringList({"&Zamknij", "&Cofnij"}));
}

QTEST_MAIN(SolverWindowTest)
#include "solver_window_test.moc"
