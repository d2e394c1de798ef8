// korzenik-screenshot: plays a session script (script/demo.ksc) in the real window as a user
// would, clicking and typing, OK on every message box, and saves a picture of the window at its
// end. `state` and `png` lines are skipped: the picture is the window's.
// Usage: korzenik-screenshot SCRIPT OUTPUT.png   (needs a display, e.g. under xvfb-run)
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>
#include <cstdio>
#include <fstream>
#include <string>

#include "app/res/resource.h"
#include "qt/solver_app.h"
#include "qt/solver_window.h"

namespace {

using namespace korzenik;

void typeInto(QWidget* field, const QString& text) {
    QTest::mouseClick(field, Qt::LeftButton);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, text);
}

// Performs one script line in the window; false when the line is not one it can play.
bool play(SolverWindow& window, const QString& line) {
    const QString command = line.section(' ', 0, 0);
    const QString rest = line.section(' ', 1);
    if (command.isEmpty() || command.startsWith('#') || command == "state" || command == "png") {
        return true;
    }
    if (command == "function") {
        auto* box = qobject_cast<QComboBox*>(window.control(res::IDC_FUNCTION));
        const int target = box->findText(rest);
        if (target < 0) return false;
        for (int i = 0; i < box->count() && box->currentIndex() != target; ++i) {
            QTest::keyClick(box, box->currentIndex() < target ? Qt::Key_Down : Qt::Key_Up);
        }
        return box->currentIndex() == target;
    }
    const int field = command == "start"       ? res::IDC_START
                      : command == "end"       ? res::IDC_END
                      : command == "precision" ? res::IDC_PRECISION
                                               : 0;
    if (field != 0) {
        typeInto(window.control(field), rest);
        return true;
    }
    if (command == "auto" && (rest == "on" || rest == "off")) {
        auto* box = qobject_cast<QCheckBox*>(window.control(res::IDC_AUTO));
        if (box->isChecked() != (rest == "on")) QTest::mouseClick(box, Qt::LeftButton);
        return true;
    }
    if (command == "confirm" || command == "compute") {
        const int id = command == "confirm" ? res::IDC_CONFIRM : res::IDC_COMPUTE;
        QTest::mouseClick(window.control(id), Qt::LeftButton);
        return true;
    }
    return false;
}

// Presses OK on every message box that comes up, printing what it said.
void dismissMessageBoxes(QTimer& timer) {
    QObject::connect(&timer, &QTimer::timeout, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        std::printf("%s: %s\n", qPrintable(box->windowTitle()), qPrintable(box->text()));
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    timer.start(50);
}

}  // namespace

int main(int argc, char** argv) {
    CSolverApp app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: korzenik-screenshot SCRIPT OUTPUT.png\n");
        return 2;
    }
    std::ifstream script(argv[1]);
    if (!script) {
        std::fprintf(stderr, "korzenik-screenshot: cannot read %s\n", argv[1]);
        return 2;
    }
    SolverState state;
    SolverWindow window(state);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "korzenik-screenshot: the window was never shown\n");
        return 1;
    }
    QTimer closer;
    dismissMessageBoxes(closer);

    std::string line;
    for (int number = 1; std::getline(script, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!play(window, QString::fromStdString(line))) {
            std::fprintf(stderr, "korzenik-screenshot: line %d: cannot play '%s'\n", number,
                         line.c_str());
            return 2;
        }
    }
    QTest::qWait(200);

    if (!window.grab().save(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "korzenik-screenshot: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
