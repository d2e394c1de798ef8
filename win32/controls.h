#pragma once
// Windows made from the dialog layout tables, shared by the main window and the About box: an
// empty dialog window, the controls of a table placed at kPixelsPerDialogUnit (times the pixel
// scale) rather than at the font's dialog units, the font, the icon and the scale itself.
#include "app/control_table.h"
#include "app/res/dialog_template.h"
#include "win32/windows_api.h"

namespace korzenik::win32 {

/// How many device pixels draw one pixel of the window: 1 up to 191 DPI, 2 from 192 DPI (200 %),
/// 3 from 288 DPI and so on. A whole number, so that every pixel of the chart stays a sharp
/// square; between 100 % and 200 % the window keeps its size in pixels.
int pixelScale();

/// The dialog font: the face of the system's message font at the pixel height the layout was
/// drawn for, times the scale.
HFONT createDialogFont(int scale);

/// The application icon drawn at a size in pixels, for the caller to destroy (DestroyIcon). Not
/// a shared icon: the system hands out a shared one at the size it was first loaded at, whatever
/// size is asked for later, and the About box's icon came out at the window's icon size.
HICON applicationIcon(int size);

/// A control's rectangle in the client area: the plan's, times the scale.
RECT controlRect(const ControlPlan& plan, int scale);

/// A hidden dialog window with the layout's caption and no controls. proc receives param with
/// WM_INITDIALOG. nullptr when it cannot be made.
HWND createEmptyDialog(const res::DialogTemplate& layout, DWORD style, DWORD exStyle, HWND owner,
                       DLGPROC proc, LPARAM param);

/// The layout's controls in template order, which makes the template order the tab order,
/// stacked as the control table says (see-through statics on top), with the font set. A white
/// rectangle is made owner-drawn: the window paints it. An icon static shows icon. A control
/// that could not be made has a null handle.
ControlSet<HWND> createControls(const res::DialogTemplate& layout, HWND parent, int scale,
                                HFONT font, HICON icon);

/// Gives the window a client area of the layout's size and centres it over owner, or in the
/// work area of the primary screen when there is none, kept inside that work area.
void placeWindow(HWND window, const res::DialogTemplate& layout, int scale, HWND owner);

}  // namespace korzenik::win32
