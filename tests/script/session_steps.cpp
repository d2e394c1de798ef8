// session_steps: the session scripts and the layout as the window drivers read them, so that no
// driver reads a script or the layout table on its own (the Qt tests link the same parser).
//
//   session_steps --layout               the main dialog's layout: the window's and the client
//                                        area's measures, the drop-down's items, and every
//                                        control in tab order with its rectangle in client
//                                        pixels, kind, identifier, script word, caption and
//                                        mnemonic key, as one JSON object
//   session_steps SCRIPT                 each line of SCRIPT that does something, as the step a
//                                        user takes: a JSON object a line
//   session_steps --play SCRIPT FOLDER   each step, then the events the scripted host reports for
//                                        it, then the dialog's state after it; pictures are
//                                        written into FOLDER under their file names
//
// A step: {"line":N,"verb":WORD,"action":"pick|type|tick|press|about|state|png|svg",
// "argument":TEXT}, with "control" (the identifier's name) and "id" for a step that works a
// control, and "on" for a tick. Exit status 0, or 2 with the reason on standard error.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "app/control_table.h"
#include "app/res/dialog_template.h"
#include "app/window.h"
#include "script/json_lines.h"
#include "script/script_host.h"
#include "script/script_line.h"

namespace {

using namespace korzenik;
using namespace korzenik::script;

std::string_view kindName(ControlKind kind) {
    switch (kind) {
        case ControlKind::PushButton: return "button";
        case ControlKind::CheckBox: return "checkbox";
        case ControlKind::GroupBox: return "group";
        case ControlKind::Edit: return "edit";
        case ControlKind::Label: return "label";
        case ControlKind::WhiteRect: return "backdrop";
        case ControlKind::Icon: return "icon";
        case ControlKind::List: return "list";
        case ControlKind::DropDown: return "dropdown";
    }
    return "label";
}

std::string number(long long v) { return std::to_string(v); }

std::string layout() {
    std::string out = "{\"window\":{\"width\":" + number(kWindowWidth) +
                      ",\"height\":" + number(kWindowHeight) +
                      "},\"client\":{\"left\":" + number(kClientLeft) +
                      ",\"top\":" + number(kClientTop) + ",\"width\":" + number(kClientWidth) +
                      ",\"height\":" + number(kClientHeight) + "},\"items\":[";
    bool first = true;
    for (std::string_view item : res::functionItems()) {
        out += (first ? "" : ",") + encodeJsonString(item);
        first = false;
    }
    out += "],\"controls\":[";
    first = true;
    for (const res::ControlTemplate& row : res::kMainDialog.controls) {
        const ControlPlan c = controlPlan(row);
        const Caption caption = parseCaption(c.text, c.mnemonics);
        out += first ? "{" : ",{";
        first = false;
        out += "\"name\":" + encodeJsonString(controlIdentifier(c.id)) + ",\"id\":" + number(c.id) +
               ",\"word\":" + encodeJsonString(controlWord(c.id)) +
               ",\"kind\":" + encodeJsonString(kindName(c.kind)) +
               ",\"text\":" + encodeJsonString(caption.text) +
               ",\"key\":" + encodeJsonString(std::string_view(&caption.key, caption.key ? 1 : 0)) +
               ",\"tabStop\":" + (c.tabStop ? "true" : "false") + ",\"x\":" + number(c.rect.left) +
               ",\"y\":" + number(c.rect.top) + ",\"width\":" + number(c.rect.right - c.rect.left) +
               ",\"height\":" + number(c.rect.bottom - c.rect.top) + "}";
    }
    return out + "]}";
}

std::string stepLine(std::uint64_t line, const ScriptStep& step) {
    std::string out = "{\"line\":" + number(static_cast<long long>(line)) +
                      ",\"verb\":" + encodeJsonString(step.word) +
                      ",\"action\":" + encodeJsonString(stepActionName(step.action)) +
                      ",\"argument\":" + encodeJsonString(step.argument);
    if (step.control != res::IDC_STATIC) {
        out += ",\"control\":" + encodeJsonString(controlIdentifier(step.control)) +
               ",\"id\":" + number(step.control);
    }
    if (step.action == StepAction::Tick) out += step.on ? ",\"on\":true" : ",\"on\":false";
    return out + "}";
}

int fail(const std::string& why) {
    std::fflush(stdout);
    std::fprintf(stderr, "session_steps: %s\n", why.c_str());
    return 2;
}

/// The file name of a picture's path, in folder.
std::string inFolder(std::string_view folder, std::string_view path) {
    const std::size_t slash = path.find_last_of("/\\");
    return std::string(folder) + "/" +
           std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

int steps(const char* path, const char* pictures) {
    std::FILE* in = std::fopen(path, "rb");
    if (!in) return fail(std::string("cannot open ") + path + ": " + std::strerror(errno));
    ScriptSession session([](std::string_view event) {
        std::fwrite(event.data(), 1, event.size(), stdout);
        std::fputc('\n', stdout);
    });
    LineReader reader(in);
    std::string line, err;
    int status = 0;
    for (LineReader::Status got; (got = reader.next(&line)) != LineReader::Status::End;) {
        ScriptStep step;
        if (got != LineReader::Status::Line || !parseScriptLine(line, &step, &err)) {
            status = fail("line " + std::to_string(reader.lineNumber()) + ": " +
                          (err.empty() ? "cannot be read" : err));
            break;
        }
        if (step.action == StepAction::None) continue;
        std::puts(stepLine(reader.lineNumber(), step).c_str());
        if (pictures == nullptr) continue;
        const std::string played =
            step.action == StepAction::Png || step.action == StepAction::Svg
                ? std::string(step.word) + " " + inFolder(pictures, step.argument)
                : line;
        if (!session.runLine(played, &err) ||
            (step.action != StepAction::State && !session.runLine("state", &err))) {
            status = fail("line " + std::to_string(reader.lineNumber()) + ": " + err);
            break;
        }
    }
    std::fclose(in);
    return std::fflush(stdout) == 0 ? status : 2;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    if (argc == 2 && std::strcmp(argv[1], "--layout") == 0) {
        std::puts(layout().c_str());
        return std::fflush(stdout) == 0 ? 0 : 2;
    }
    if (argc == 2 && argv[1][0] != '-') return steps(argv[1], nullptr);
    if (argc == 4 && std::strcmp(argv[1], "--play") == 0) return steps(argv[2], argv[3]);
    std::fprintf(stderr, "usage: session_steps --layout | SCRIPT | --play SCRIPT PICTURE_FOLDER\n");
    return 2;
}
