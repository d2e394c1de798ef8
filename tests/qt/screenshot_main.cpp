// korzenik-screenshot: plays a session script (script/demo.ksc) in the real window as a user
// would, clicking and typing, OK on every message box, and saves a picture of the window at its
// end. Reports, pictures and drawings in the script do nothing: the picture is the window's.
// Usage: korzenik-screenshot SCRIPT OUTPUT.png   (needs a display, e.g. under xvfb-run)
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>
#include <cstdio>
#include <string>

#include "qt/solver_app.h"
#include "qt/solver_window.h"
#include "script/script_host.h"
#include "script/script_line.h"
#include "window_player.h"

namespace {

using namespace korzenik;

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
    std::FILE* in = std::fopen(argv[1], "rb");
    if (!in) {
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

    script::LineReader reader(in);
    std::string line, err;
    for (script::LineReader::Status got;
         (got = reader.next(&line)) != script::LineReader::Status::End;) {
        script::ScriptStep step;
        QString why;
        if (got != script::LineReader::Status::Line ||
            !script::parseScriptLine(line, &step, &err) || !playStep(window, step, &why)) {
            std::fprintf(stderr, "korzenik-screenshot: line %llu: cannot play '%s': %s%s\n",
                         static_cast<unsigned long long>(reader.lineNumber()), line.c_str(),
                         err.c_str(), qPrintable(why));
            return 2;
        }
    }
    std::fclose(in);
    QTest::qWait(200);

    if (!window.grab().save(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "korzenik-screenshot: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
