// korzenik-script [SCRIPT]: runs a scripted session of the main dialog without a screen and
// prints a JSON Lines transcript of everything the user would have seen. Each line of the script
// is one thing the user does, run as soon as it is read, its events flushed before the next line
// is read; message boxes are dismissed with OK at once. Exit status 0 when the whole script ran,
// 2 when a line could not be performed or the script could not be read (reported on standard
// error after the transcript of the lines before it).

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <string_view>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "app/res/version.h"
#include "script/lone_console.h"
#include "script/script_host.h"

namespace {

using korzenik::script::LineReader;
using korzenik::script::quoteUntrusted;
using korzenik::script::ScriptSession;
using korzenik::script::writeText;

constexpr const char* kUsage =
    "usage: korzenik-script [SCRIPT | -]\n"
    "       korzenik-script --help | --version\n"
    "Runs the main dialog of Korzenik without a screen, one action per line of\n"
    "SCRIPT (standard input when SCRIPT is absent or -), and prints what the user\n"
    "would see as JSON Lines on standard output. The actions:\n";

int fail(const std::string& message) {
    std::fflush(stdout);
    writeText(stderr, "korzenik-script: " + message + "\n");
    return 2;
}

std::string reason(int error) { return error != 0 ? std::strerror(error) : "unknown error"; }

/// 0 when everything printed reached standard output, else 2. A write may already have failed
/// before the flush: a line-buffered stream sends each line as it is printed.
int printed() { return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 2; }

/// What was wrong with the command line, then the whole usage text; exit status 2.
int usageError(const std::string& why) {
    writeText(stderr, "korzenik-script: " + why + "\n" + kUsage +
                          std::string(korzenik::script::kLanguageSummary));
    return 2;
}

int run(int argc, char** argv) {
    // Double-clicked, with no shell to type into: say what this is instead of waiting silently.
    if (argc == 1 && korzenik::script::explainToLoneConsole()) return 0;
    const std::string_view arg = argc == 2 ? argv[1] : "-";
    if (argc > 2) return usageError("one script at most, not " + std::to_string(argc - 1));
    if (arg.size() > 2 && arg.substr(0, 2) == "--" && arg != "--help" && arg != "--version") {
        return usageError("unknown option " + quoteUntrusted(arg));
    }
    if (arg == "--help") {
        if (!writeText(stdout, kUsage + std::string(korzenik::script::kLanguageSummary))) return 2;
        return printed();
    }
    if (arg == "--version") {
        const std::string version(korzenik::res::kVersionDotted);
        if (!writeText(stdout, "korzenik-script " + version + "\n")) return 2;
        return printed();
    }

    const bool useStdin = arg == "-";
    std::FILE* in = useStdin ? stdin : std::fopen(argv[1], "rb");
    if (!in) return fail("cannot open " + quoteUntrusted(arg) + ": " + reason(errno));
    const std::string name = useStdin ? "standard input" : quoteUntrusted(arg);

    bool writeFailed = false;
    ScriptSession session([&](std::string_view event) {
        if (!writeText(stdout, event) || !writeText(stdout, "\n")) writeFailed = true;
    });
    LineReader reader(in);
    std::string line, err;
    int status = 0;
    for (;;) {
        errno = 0;
        const LineReader::Status got = reader.next(&line);
        const auto where = [&] { return "line " + std::to_string(reader.lineNumber()) + ": "; };
        if (got == LineReader::Status::End) break;
        if (got == LineReader::Status::ReadError) {
            status = fail("cannot read " + name + ": " + reason(errno));
            break;
        }
        if (got == LineReader::Status::TooLong) {
            status =
                fail(where() + "longer than " + std::to_string(LineReader::kMaxLine) + " bytes");
            break;
        }
        if (!session.runLine(line, &err)) {
            status = fail(where() + err);
            break;
        }
        // A pipe sees each line's events before the next line is read.
        if (std::fflush(stdout) != 0 || writeFailed) {
            status = fail("cannot write the transcript: " + reason(errno));
            break;
        }
    }
    if (!useStdin) std::fclose(in);
    if (status == 0 && (std::fflush(stdout) != 0 || std::ferror(stdout) || writeFailed)) {
        status = fail("cannot write the transcript: " + reason(errno));
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef SIGXFSZ
    // Past a file-size limit a write then fails with its reason instead of killing the process,
    // so a picture that does not fit is reported and its unfinished file removed.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
#ifdef _WIN32
    // The streams carry bytes: in Windows' text mode a transcript line would end in \r\n and a
    // script read from standard input would stop at the first Ctrl+Z.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    // Nothing is thrown on purpose; running out of memory is the one thing that can.
    try {
        return run(argc, argv);
    } catch (const std::bad_alloc&) {
        return fail("out of memory");
    }
}
