// Whole sessions of korzenik-script built from the fuzzer's bytes: they are read as a script by
// the script's own line reader and run by its own line runner, so any field text, any order of
// presses, Auto on and off, malformed and overlong lines and PNG pictures are all reached. A
// `png` line writes to one scratch file whatever path it names, so a session never touches the
// machine's other files.
//
// Besides crashes and undefined behaviour it checks that every event line is a JSON object in
// valid UTF-8 without raw control characters, that the results list holds one line per step
// since the last reset (iterationCounter - 1) with the newest selected after a step, and that no
// press takes a second or more.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "script/json_lines.h"
#include "script/script_host.h"

namespace {

using korzenik::script::LineReader;
using korzenik::script::ScriptSession;

/// Enough presses for a reset, a few steps and an automatic run, few enough that a session of
/// the slowest presses stays far below the fuzzer's one-second limit.
constexpr int kMaxPresses = 12;

void check(bool ok) {
    if (!ok) __builtin_trap();
}

/// Whether s is well-formed UTF-8 with no byte below 0x20.
bool cleanUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        if (static_cast<unsigned char>(s[i]) < 0x20) return false;
        const std::size_t n = korzenik::script::utf8SequenceLength(s.substr(i));
        if (n == 0) return false;
        i += n;
    }
    return true;
}

void checkEvent(std::string_view line) {
    check(line.rfind("{\"event\":", 0) == 0);
    check(!line.empty() && line.back() == '}');
    check(cleanUtf8(line));
}

const std::string& scratchPicture() {
    static const std::string path = [] {
        const char* dir = std::getenv("TMPDIR");
        return std::string(dir && *dir ? dir : "/tmp") + "/korzenik-session-fuzz.png";
    }();
    return path;
}

bool isPress(std::string_view line) {
    return line.find("confirm") != std::string_view::npos ||
           line.find("compute") != std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* in = fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
    if (!in) return 0;
    ScriptSession session(checkEvent);
    LineReader reader(in);
    std::string line, err;
    int presses = 0;
    while (presses < kMaxPresses && reader.next(&line) == LineReader::Status::Line) {
        if (line.rfind("png", 0) == 0) line = "png " + scratchPicture();
        const std::int32_t before = session.state().iterationCounter;
        const auto begin = std::chrono::steady_clock::now();
        const bool ran = session.runLine(line, &err);
        check(std::chrono::steady_clock::now() - begin < std::chrono::seconds(1));
        if (!ran) break;  // the script ends at a line it cannot perform
        if (isPress(line)) ++presses;
        const korzenik::MemoryDialog& dialog = session.controls();
        const std::int32_t counter = session.state().iterationCounter;
        check(counter >= 1);
        check(dialog.lines().size() == static_cast<std::size_t>(counter - 1));
        if (counter > before) {
            check(dialog.selectedLine() == static_cast<int>(dialog.lines().size()) - 1);
        }
    }
    std::fclose(in);
    return 0;
}
