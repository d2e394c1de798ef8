#pragma once
// One line of a session script read into the step a user takes in the window: which control is
// worked and how, what is typed or picked. The scripted host plays the steps in memory; the
// window drivers and the screenshot program play the same steps with keys and clicks, so the
// language is read in this one place. A verb that names a control is the control's word in the
// layout table, and what the step does follows from the control's kind, so a control given a
// word there is a script command at once.
#include <string>
#include <string_view>

#include "app/res/resource.h"

namespace korzenik::script {

enum class StepAction {
    None,   ///< a blank line or a comment
    Pick,   ///< pick the drop-down item whose text is the argument
    Type,   ///< type the argument over the edit box's whole text
    Tick,   ///< tick (on) or clear the check box
    Press,  ///< press the button
    About,  ///< open the About box and close it with OK
    State,  ///< report the dialog as it stands
    Png,    ///< save the window's pixels as a PNG picture at the argument
    Svg,    ///< save the window's picture as an SVG drawing at the argument
};

struct ScriptStep {
    StepAction action = StepAction::None;
    std::string_view word;          ///< the command word as written
    int control = res::IDC_STATIC;  ///< Pick, Type, Tick, Press: the control worked
    std::string_view argument;      ///< the rest of the line after the single space
    bool on = false;                ///< Tick: ticked rather than cleared
};

/// Reads one line (without its line end): a command word, then, for a command that takes one, a
/// single space and an argument running verbatim to the end of the line. False, saying why in
/// *err, when the line is no command; step then points into line.
bool parseScriptLine(std::string_view line, ScriptStep* step, std::string* err);

/// The action's name in the steps the window drivers read ("pick", "type", ...).
std::string_view stepActionName(StepAction action);

}  // namespace korzenik::script
