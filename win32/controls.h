#pragma once
// Windows made from the dialog layout tables, shared by the main window and the About box: an
// empty dialog window, the controls of a table placed at kPixelsPerDialogUnit pixels a dialog
// unit rather than at the font's dialog units, each pixel shown at the window's scale (the one
// every window takes, app/display_scale.h, from the monitor's dots per inch), the font, the icon.
#include "app/control_table.h"
#include "app/res/dialog_template.h"
#include "win32/windows_api.h"

namespace korzenik::win32 {

/// Device pixels a window pixel for a window of this layout, whose outer frame has the window's
/// styles, on `monitor` at `dpi` dots per inch: the monitor's scale (dpi / 96) where its work
/// area holds the window at it, else what fits, and never below one.
double layoutScale(HWND window, const res::DialogTemplate& layout, UINT dpi, HMONITOR monitor);

/// The dialog font: the face of the system's message font at the pixel height the layout was
/// drawn for, times the scale.
HFONT createDialogFont(double scale);

/// The application icon drawn at a size in pixels, for the caller to destroy (DestroyIcon). Not
/// a shared icon: the system hands out a shared one at the size it was first loaded at, whatever
/// size is asked for later, and the About box's icon came out at the window's icon size.
HICON applicationIcon(int size);

/// A control's rectangle in the client area: the device pixels that show the plan's pixels.
RECT controlRect(const ControlPlan& plan, double scale);

/// A hidden dialog window with the layout's caption and no controls. proc receives param with
/// WM_INITDIALOG. nullptr when it cannot be made.
HWND createEmptyDialog(const res::DialogTemplate& layout, DWORD style, DWORD exStyle, HWND owner,
                       DLGPROC proc, LPARAM param);

/// The layout's controls in template order, which makes the template order the tab order,
/// stacked as the control table says (see-through statics on top), with the font set. A white
/// rectangle is made owner-drawn: the window paints it. An icon static shows icon. A control
/// that could not be made has a null handle.
ControlSet<HWND> createControls(const res::DialogTemplate& layout, HWND parent, double scale,
                                HFONT font, HICON icon);

/// Moves the controls to their places at another scale, in its font, and redraws them.
void placeControls(const ControlSet<HWND>& controls, double scale, HFONT font);

/// The window's outer size for a client area of the layout at scale, with the frame the window's
/// styles give it at dpi.
SIZE windowSize(HWND window, const res::DialogTemplate& layout, double scale, UINT dpi);

/// Gives the window a client area of the layout's size at scale and centres it over owner, or in
/// the work area of the primary screen when there is none, kept inside that work area.
void placeWindow(HWND window, const res::DialogTemplate& layout, double scale, HWND owner);

}  // namespace korzenik::win32
