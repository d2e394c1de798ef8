#pragma once
// The About box: a modal dialog laid out from the About box's table at its owner's scale, centred
// over its owner, which takes no input while it is open. OK and Enter close it, as do Escape,
// Alt+F4 and its close button.
#include "win32/windows_api.h"

namespace korzenik::win32 {

void runAboutBox(HWND owner, double scale, HFONT font);

}  // namespace korzenik::win32
