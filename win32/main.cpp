// Korzenik.exe: the tool's window on Windows.
#include "core/solver_state.h"
#include "win32/solver_window.h"

#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // The controls of common controls 6, which the manifest asks for.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    // The one solver state of the process, living as long as the window.
    korzenik::SolverState state;
    korzenik::win32::SolverWindow window(state);
    window.run();
    return 0;
}
