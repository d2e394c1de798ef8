// korzenik-script [SCRIPT]: runs a scripted session of the main dialog without a screen and
// prints a JSON Lines transcript of everything the user would have seen. Each line of the script
// is one thing the user does; message boxes are dismissed with OK at once. Exit status 0 when the
// whole script ran, 2 when a line could not be performed (reported on standard error after the
// transcript of the lines before it).

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "app/res/resource.h"
#include "app/solver_dialog.h"
#include "core/solver_state.h"
#include "script/png_writer.h"
#include "script/script_host.h"

namespace {

using korzenik::CSolverDialog;
using korzenik::script::ScriptHost;

struct Session {
    ScriptHost& host;
    CSolverDialog& dialog;
};

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string quoted(std::string_view s) {
    // Built in place: GCC 12 at -O3 warns (-Wrestrict) on the same thing written with operator+.
    std::string out;
    out.reserve(s.size() + 2);
    out += '\'';
    out += s;
    out += '\'';
    return out;
}

/// Reads the whole script; "-" is standard input.
bool readScript(const char* path, std::string* text, std::string* err) {
    const bool useStdin = std::strcmp(path, "-") == 0;
    std::FILE* f = useStdin ? stdin : std::fopen(path, "rb");
    if (!f) {
        *err = "cannot open " + quoted(path) + ": " + std::strerror(errno);
        return false;
    }
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text->append(buf, n);
    const bool failed = std::ferror(f) != 0;
    if (!useStdin) std::fclose(f);
    if (failed) *err = "cannot read " + quoted(path);
    return !failed;
}

/// Performs one script line. A line is a command word, then, for a command that takes one, a
/// single space and an argument running verbatim to the end of the line.
bool runLine(std::string_view line, Session& s, std::string* err) {
    std::size_t i = 0;
    while (i < line.size() && isBlank(line[i])) ++i;
    if (i == line.size() || line[i] == '#') return true;
    std::size_t wordEnd = i;
    while (wordEnd < line.size() && !isBlank(line[wordEnd])) ++wordEnd;
    const std::string_view word = line.substr(i, wordEnd - i);
    const std::string_view rest = line.substr(wordEnd);

    const auto argument = [&](std::string_view* arg) {
        if (rest.empty()) {
            *arg = {};
            return true;
        }
        if (rest[0] != ' ') {
            *err = quoted(word) + " must be followed by a single space and its argument";
            return false;
        }
        *arg = rest.substr(1);
        return true;
    };
    const auto noArgument = [&] {
        for (char c : rest) {
            if (!isBlank(c)) {
                *err = quoted(word) + " takes no argument";
                return false;
            }
        }
        return true;
    };

    namespace res = korzenik::res;
    std::string_view arg;
    if (word == "function") {
        if (!argument(&arg)) return false;
        if (!s.host.pickFunction(arg)) {
            *err = "no function is labelled " + quoted(arg);
            return false;
        }
    } else if (word == "start" || word == "end" || word == "precision") {
        if (!argument(&arg)) return false;
        const int id = word == "start" ? res::IDC_START
                       : word == "end" ? res::IDC_END
                                       : res::IDC_PRECISION;
        s.host.typeText(id, arg);
    } else if (word == "auto") {
        if (!argument(&arg)) return false;
        if (arg != "on" && arg != "off") {
            *err = "'auto' takes 'on' or 'off', not " + quoted(arg);
            return false;
        }
        s.host.setAuto(arg == "on");
    } else if (word == "confirm") {
        if (!noArgument()) return false;
        s.dialog.OnConfirm();
    } else if (word == "compute") {
        if (!noArgument()) return false;
        s.dialog.OnCompute();
    } else if (word == "about") {
        // The About box opens and is closed with OK; it changes nothing and shows no message.
        if (!noArgument()) return false;
    } else if (word == "state") {
        if (!noArgument()) return false;
        s.host.reportState();
    } else if (word == "png") {
        if (!argument(&arg)) return false;
        if (arg.empty()) {
            *err = "'png' needs a path";
            return false;
        }
        std::string why;
        if (!korzenik::script::writePng(std::string(arg), s.host.window(), &why)) {
            *err = "cannot write " + quoted(arg) + ": " + why;
            return false;
        }
    } else {
        *err = "unknown command " + quoted(word);
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2) {
        std::fprintf(stderr, "usage: korzenik-script [SCRIPT]\n");
        return 2;
    }
    std::string text, err;
    if (!readScript(argc == 2 ? argv[1] : "-", &text, &err)) {
        std::fprintf(stderr, "korzenik-script: %s\n", err.c_str());
        return 2;
    }

    ScriptHost host([](const std::string& event) {
        std::fwrite(event.data(), 1, event.size(), stdout);
        std::fputc('\n', stdout);
    });
    korzenik::SolverState state;
    CSolverDialog dialog(host, state);
    dialog.OnInitDialog();
    Session session{host, dialog};

    std::size_t pos = 0;
    for (int lineNumber = 1; pos < text.size(); ++lineNumber) {
        std::size_t eol = text.find('\n', pos);
        if (eol == std::string::npos) eol = text.size();
        std::string_view line(text.data() + pos, eol - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        pos = eol + 1;
        if (!runLine(line, session, &err)) {
            std::fflush(stdout);
            std::fprintf(stderr, "korzenik-script: line %d: %s\n", lineNumber, err.c_str());
            return 2;
        }
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "korzenik-script: cannot write the transcript\n");
        return 2;
    }
    return 0;
}
