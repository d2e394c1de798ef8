#include "qt/solver_app.h"

#include "app/res/strings.h"
#include "app/res/version.h"
#include "qt/controls.h"
#include "qt/solver_window.h"

namespace korzenik {

CSolverApp::CSolverApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(toQString(res::kAppName));
    setApplicationVersion(toQString(res::kVersionDotted));
    setDesktopFileName(QStringLiteral("korzenik"));
    setWindowIcon(applicationIcon());
    translateToolkitTexts();
    // The About box and the message boxes share the main window's face colour.
    setPalette(facePalette());
}

bool CSolverApp::InitInstance() {
    SolverWindow window(m_state);
    if (window.initialised()) window.exec();
    return false;
}

}  // namespace korzenik
