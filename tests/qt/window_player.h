#pragma once
// Plays the steps of a session script in the real window as a user does them, with keys and
// clicks on the widgets: for the golden window test and for korzenik-screenshot. The steps are
// the scripted host's own reading of the script (script/script_line.h); what a step does in the
// window follows from the kind of control it works, as in the scripted host.
#include <QString>

#include "qt/solver_window.h"
#include "script/script_line.h"

namespace korzenik {

/// Performs the step in the window; a report, a picture or a drawing does nothing there. False,
/// saying why in *why, when the window does not end up as the step leaves the dialog. Message
/// boxes a press brings up are the caller's to close.
bool playStep(SolverWindow& window, const script::ScriptStep& step, QString* why);

/// A click delivered the way the window system delivers it, to whatever lies on top there.
void clickThroughWindow(QWidget* target);

}  // namespace korzenik
