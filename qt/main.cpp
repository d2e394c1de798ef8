// korzenik: the tool's window.
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <utility>
#include <vector>

#include "app/res/version.h"
#include "qt/first_frame.h"
#include "qt/solver_app.h"

namespace {

// Without a display (or with an unknown QT_QPA_PLATFORM) the toolkit gives up while the
// application is created: several lines of advice, then abort(). While it is created, its
// messages are held back; if it gives up, the tool says so in one line and exits with status 1.
// Otherwise the held messages go out as they would have.
class DisplayCheck {
public:
    DisplayCheck() { s_previous = qInstallMessageHandler(&DisplayCheck::hold); }
    ~DisplayCheck() { passed(); }

    /// The application exists: the toolkit's messages go out again, the held ones first.
    void passed() {
        if (!s_previous) return;
        qInstallMessageHandler(s_previous);
        const std::lock_guard lock(s_mutex);
        for (const auto& [type, message] : s_held) s_previous(type, QMessageLogContext(), message);
        s_held.clear();
        s_previous = nullptr;
    }
    DisplayCheck(const DisplayCheck&) = delete;
    DisplayCheck& operator=(const DisplayCheck&) = delete;

private:
    static void hold(QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtFatalMsg) {
            const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
            if (platform.isEmpty()) {
                std::fputs(
                    "korzenik: no display found; korzenik-script runs sessions without one\n",
                    stderr);
            } else {
                std::fprintf(stderr,
                             "korzenik: no display found (platform \"%s\"); korzenik-script runs "
                             "sessions without one\n",
                             platform.constData());
            }
            std::_Exit(1);  // the half-made application is not torn down
        }
        const std::lock_guard lock(s_mutex);
        s_held.emplace_back(type, message);
    }

    static inline QtMessageHandler s_previous = nullptr;
    static inline std::mutex s_mutex;
    static inline std::vector<std::pair<QtMsgType, QString>> s_held;
};

}  // namespace

int main(int argc, char** argv) {
    // Answered before the toolkit starts, so they work without a display.
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(
            "usage: korzenik\n"
            "       korzenik --help | --version\n"
            "Opens the Korzenik window: root finding by the false-position (chord) method,\n"
            "step by step. korzenik-script runs the same dialog without a screen.\n",
            stdout);
        return std::fflush(stdout) == 0 ? 0 : 2;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("korzenik %s\n", korzenik::res::kVersionDotted.data());
        return std::fflush(stdout) == 0 ? 0 : 2;
    }
    DisplayCheck check;
    korzenik::CSolverApp app(argc, argv);
    check.passed();
    korzenik::quitAfterFirstFrameIfAsked(app);
    app.InitInstance();
    return 0;
}
