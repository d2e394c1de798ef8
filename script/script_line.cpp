#include "script/script_line.h"

#include "app/control_table.h"
#include "app/res/dialog_template.h"
#include "script/script_host.h"

namespace korzenik::script {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

/// What working a control of this kind does, for a word that names one.
StepAction actionFor(int control) {
    if (control == res::IDC_STATIC) return StepAction::None;
    const res::ControlTemplate* row = res::findControl(res::kMainDialog, control);
    if (row == nullptr) return StepAction::None;
    switch (controlPlan(*row).kind) {
        case ControlKind::DropDown: return StepAction::Pick;
        case ControlKind::Edit: return StepAction::Type;
        case ControlKind::CheckBox: return StepAction::Tick;
        case ControlKind::PushButton: return StepAction::Press;
        default: return StepAction::None;
    }
}

}  // namespace

bool parseScriptLine(std::string_view line, ScriptStep* step, std::string* err) {
    *step = {};
    std::size_t i = 0;
    while (i < line.size() && isBlank(line[i])) ++i;
    if (i == line.size() || line[i] == '#') return true;
    std::size_t wordEnd = i;
    while (wordEnd < line.size() && !isBlank(line[wordEnd])) ++wordEnd;
    const std::string_view word = line.substr(i, wordEnd - i);
    const std::string_view rest = line.substr(wordEnd);
    step->word = word;

    const auto argument = [&] {
        if (rest.empty()) return true;
        if (rest[0] != ' ') {
            *err = quoteUntrusted(word) + " must be followed by a single space and its argument";
            return false;
        }
        step->argument = rest.substr(1);
        return true;
    };
    const auto noArgument = [&] {
        for (char c : rest) {
            if (!isBlank(c)) {
                *err = quoteUntrusted(word) + " takes no argument";
                return false;
            }
        }
        return true;
    };

    step->control = controlForWord(word);
    step->action = actionFor(step->control);
    switch (step->action) {
        case StepAction::Pick:
        case StepAction::Type: return argument();
        case StepAction::Tick:
            if (!argument()) return false;
            if (step->argument != "on" && step->argument != "off") {
                *err = quoteUntrusted(word) + " takes 'on' or 'off', not " +
                       quoteUntrusted(step->argument);
                return false;
            }
            step->on = step->argument == "on";
            return true;
        case StepAction::Press: return noArgument();
        default: break;
    }
    step->control = res::IDC_STATIC;
    if (word == "about" || word == "state") {
        step->action = word == "about" ? StepAction::About : StepAction::State;
        return noArgument();
    }
    if (word == "png" || word == "svg") {
        step->action = word == "png" ? StepAction::Png : StepAction::Svg;
        if (!argument()) return false;
        if (step->argument.empty()) {
            *err = "'" + std::string(word) + "' needs a path";
            return false;
        }
        return true;
    }
    step->action = StepAction::None;
    *err = "unknown command " + quoteUntrusted(word);
    return false;
}

std::string_view stepActionName(StepAction action) {
    switch (action) {
        case StepAction::None: return "none";
        case StepAction::Pick: return "pick";
        case StepAction::Type: return "type";
        case StepAction::Tick: return "tick";
        case StepAction::Press: return "press";
        case StepAction::About: return "about";
        case StepAction::State: return "state";
        case StepAction::Png: return "png";
        case StepAction::Svg: return "svg";
    }
    return "none";
}

}  // namespace korzenik::script
