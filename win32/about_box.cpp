// The shared headers before windows.h, whose macros (IDOK) would clash with their names.
#include "app/control_table.h"
#include "app/display_scale.h"
#include "app/res/dialog_template.h"

#include "win32/about_box.h"
#include "win32/controls.h"

namespace korzenik::win32 {

namespace {

INT_PTR CALLBACK aboutProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: SetWindowLongPtrW(box, DWLP_USER, lParam); return FALSE;
        case WM_COMMAND:
            // The dialog manager turns Enter into IDOK (OK is the default button) and Escape,
            // Alt+F4 and the close button into IDCANCEL.
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                *reinterpret_cast<bool*>(GetWindowLongPtrW(box, DWLP_USER)) = true;
                return TRUE;
            }
            return FALSE;
        default: return FALSE;
    }
}

}  // namespace

void runAboutBox(HWND owner, double scale, HFONT font) {
    bool done = false;
    HWND box = createEmptyDialog(res::kAboutBox, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                                 0, owner, aboutProc, reinterpret_cast<LPARAM>(&done));
    if (!box) return;
    HICON icon = applicationIcon(deviceEdge(scale, kIconPixels));
    const ControlSet<HWND> controls = createControls(res::kAboutBox, box, scale, font, icon);
    placeWindow(box, res::kAboutBox, scale, owner);

    // A modal run: the owner is disabled until the box is gone, and gets the activation back.
    EnableWindow(owner, FALSE);
    ShowWindow(box, SW_SHOW);
    if (HWND first = controls.get(firstTabStop(res::kAboutBox))) {
        SendMessageW(box, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
    }
    MSG msg;
    bool quit = false;
    while (!done) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            quit = got == 0;
            break;
        }
        if (IsDialogMessageW(box, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    EnableWindow(owner, TRUE);
    DestroyWindow(box);
    if (icon) DestroyIcon(icon);
    SetActiveWindow(owner);
    if (quit) PostQuitMessage(static_cast<int>(msg.wParam));
}

}  // namespace korzenik::win32
