// korzenik-screenshot: clicks through the demo session in the real window ("f(x) = x*x-4" on 0
// to 3, precision 0.001, Auto, Confirm, Compute, OK on the root message) and saves a picture of
// the window. Usage: korzenik-screenshot OUTPUT.png   (needs a display, e.g. under xvfb-run)
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>
#include <cstdio>

#include "app/res/resource.h"
#include "qt/solver_app.h"
#include "qt/solver_window.h"

namespace {

using namespace korzenik;

void typeInto(QWidget* field, const char* text) {
    QTest::mouseClick(field, Qt::LeftButton);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, QString::fromLatin1(text));
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
    if (argc != 2) {
        std::fprintf(stderr, "usage: korzenik-screenshot OUTPUT.png\n");
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

    QWidget* function = window.control(res::IDC_FUNCTION);
    QTest::keyClick(function, Qt::Key_Down);  // the first entry, "f(x) = x*x-4"
    typeInto(window.control(res::IDC_START), "0");
    typeInto(window.control(res::IDC_END), "3");
    typeInto(window.control(res::IDC_PRECISION), "0.001");
    QTest::mouseClick(window.control(res::IDC_AUTO), Qt::LeftButton);
    QTest::mouseClick(window.control(res::IDC_CONFIRM), Qt::LeftButton);
    QTest::mouseClick(window.control(res::IDC_COMPUTE), Qt::LeftButton);
    QTest::qWait(200);

    if (!window.grab().save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "korzenik-screenshot: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
