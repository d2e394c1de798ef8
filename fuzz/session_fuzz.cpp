// Whole sessions of korzenik-script built from the fuzzer's bytes: they are read as a script by
// the script's own line reader and run by its own line runner, so any field text, any order of
// presses, Auto on and off, malformed and overlong lines, PNG pictures and SVG drawings are all
// reached. A `png` or `svg` line writes to one scratch file whatever path it names, so a session
// never touches the machine's other files.
//
// Long runs of presses come from replaying the script: its lines run again and again until the
// session has spent its budget of work, so a short input reaches a list of thousands of lines
// and the Confirm that empties it.
//
// Besides crashes and undefined behaviour it checks that every event line is a JSON object in
// valid UTF-8 without raw control characters, that the results list holds one line per step
// since the last reset (iterationCounter - 1) with the newest selected after a step, and that no
// input takes more than kCpuSeconds of CPU time.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/utf8.h"
#include "fuzz/cpu_budget.h"
#include "script/json_lines.h"
#include "script/script_host.h"

namespace {

using korzenik::script::LineReader;
using korzenik::script::ScriptSession;

/// The work of one input, in lines added to the list (a Compute press adds one a step); a press
/// counts as kPressWork of them besides (each samples the function across the chart), a state
/// report as a quarter of the lines it lists. Enough for thousands of lines in the list, little
/// enough that a session stays far below its CPU time (under the sanitizers a line costs about
/// 50 us, a press about 0.5 ms: a whole input some 0.25 s at most).
constexpr std::int64_t kWorkBudget = 2000;
constexpr std::int64_t kPressWork = 10;
/// Ten times what the work budget takes at most: only work out of bounds (a press that loops,
/// a picture that costs far more than its pixels) reaches it.
constexpr int kCpuSeconds = 3;

void check(bool ok) {
    if (!ok) __builtin_trap();
}

/// Whether s is well-formed UTF-8 with no byte below 0x20.
bool cleanUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        if (static_cast<unsigned char>(s[i]) < 0x20) return false;
        const std::size_t n = korzenik::decodeUtf8(s.substr(i)).size;
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

/// The scratch file of a picture of the kind ("png" or "svg").
std::string scratchPicture(std::string_view kind) {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/korzenik-session-fuzz." + std::string(kind);
}

bool isPress(std::string_view line) {
    return line.find("confirm") != std::string_view::npos ||
           line.find("compute") != std::string_view::npos;
}
bool isState(std::string_view line) { return line.find("state") != std::string_view::npos; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* in = fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
    if (!in) return 0;
    std::vector<std::string> script;
    LineReader reader(in);
    std::string line;
    while (reader.next(&line) == LineReader::Status::Line) script.push_back(line);
    std::fclose(in);

    const korzenik::fuzz::CpuBudget budget(kCpuSeconds);
    ScriptSession session(checkEvent);
    std::string err;
    std::int64_t work = 0;
    for (int pass = 0; work < kWorkBudget; ++pass) {
        const std::int64_t workBefore = work;
        for (std::string& l : script) {
            if (work >= kWorkBudget) break;
            for (const std::string_view kind : {"png", "svg"}) {
                if (l.rfind(kind, 0) != 0) continue;
                l = std::string(kind) + " " + scratchPicture(kind);
            }
            // A picture is slow, and the replays add nothing to it.
            if (pass > 0 && (l.rfind("png", 0) == 0 || l.rfind("svg", 0) == 0)) continue;
            const std::int32_t before = session.state().iterationCounter;
            const bool ran = session.runLine(l, &err);
            if (!ran) return 0;  // the script ends at a line it cannot perform
            const korzenik::MemoryDialog& dialog = session.controls();
            if (isPress(l)) work += kPressWork;
            // A state line reports every line of the list.
            if (isState(l)) work += 1 + static_cast<std::int64_t>(dialog.lines().size()) / 4;
            const std::int32_t counter = session.state().iterationCounter;
            check(counter >= 1);
            check(dialog.lines().size() == static_cast<std::size_t>(counter - 1));
            if (counter > before) {
                check(dialog.selectedLine() == static_cast<int>(dialog.lines().size()) - 1);
                work += counter - before;
            }
        }
        if (work == workBefore) break;  // nothing pressed: every pass would do the same
    }
    return 0;
}
