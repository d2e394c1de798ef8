// Korzenik.exe: the tool's window on Windows.
#include <string>

#include "app/res/strings.h"
#include "app/res/windows_strings.h"
#include "core/solver_state.h"
#include "win32/solver_window.h"
#include "win32/utf16.h"

#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // The controls of common controls 6, which the manifest asks for.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    // The one solver state of the process, living as long as the window.
    korzenik::SolverState state;
    korzenik::win32::SolverWindow window(state);
    if (window.run()) return 0;

    // A window that never opened would otherwise leave the user with nothing at all.
    using korzenik::win32::toUtf16;
    std::wstring text = toUtf16(korzenik::res::kWindowFailed);
    if (const DWORD error = window.failure(); error != 0) {
        const std::wstring reason = korzenik::win32::systemErrorText(error);
        text += L"\n\n" + (reason.empty() ? toUtf16(korzenik::res::kSystemError) : reason) + L" (" +
                toUtf16(korzenik::res::kSystemErrorCode) + L" " + std::to_wstring(error) + L")";
    }
    MessageBoxW(nullptr, text.c_str(), toUtf16(korzenik::res::kAppName).c_str(),
                MB_OK | MB_ICONERROR);
    return 1;
}
