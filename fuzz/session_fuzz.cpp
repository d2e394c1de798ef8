// Whole sessions of the dialog through the headless host, built from the fuzzer's bytes: any field
// texts, any order of presses, Auto on and off. One line of input is one thing the user does:
//
//   f<digit>  pick catalogue entry 1..5 ('0' to '4'); any other digit clears the selection
//   s<text>   type the start field      e<text>  the end field      p<text>  the precision field
//   a / A     clear / tick Auto         c  press Confirm      l  press Compute      ?  report state
//
// Other lines are ignored. Besides crashes and undefined behaviour it checks that every event
// line is a JSON object in valid UTF-8 without raw control characters, that the results list
// holds one line per step since the last reset (iterationCounter - 1) with the newest selected
// after a step, and that no press takes a second or more.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/res/resource.h"
#include "app/solver_dialog.h"
#include "core/function_catalogue.h"
#include "core/solver_state.h"
#include "script/script_host.h"

namespace {

namespace res = korzenik::res;
using korzenik::CSolverDialog;
using korzenik::SolverState;
using korzenik::script::ScriptHost;

/// Enough presses for a reset, a few steps and an automatic run, few enough that a session of
/// the slowest presses stays far below the fuzzer's one-second limit.
constexpr int kMaxPresses = 12;

void check(bool ok) {
    if (!ok) __builtin_trap();
}

/// Whether s is well-formed UTF-8 (no overlong forms, surrogates or code points past U+10FFFF)
/// with no byte below 0x20.
bool cleanUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b < 0x20) return false;
        if (b < 0x80) {
            ++i;
            continue;
        }
        int extra = 0;
        std::uint32_t cp = 0;
        if ((b & 0xE0) == 0xC0) {
            extra = 1;
            cp = b & 0x1Fu;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2;
            cp = b & 0x0Fu;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3;
            cp = b & 0x07u;
        } else {
            return false;
        }
        if (i + static_cast<std::size_t>(extra) >= s.size()) return false;
        for (int k = 1; k <= extra; ++k) {
            const auto c = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
            if ((c & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (c & 0x3Fu);
        }
        const std::uint32_t least[] = {0, 0x80, 0x800, 0x10000};
        if (cp < least[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return true;
}

void checkEvent(const std::string& line) {
    check(line.rfind("{\"event\":", 0) == 0);
    check(!line.empty() && line.back() == '}');
    check(cleanUtf8(line));
}

void checkList(const ScriptHost& host, const SolverState& state) {
    const korzenik::script::DialogSnapshot snap = host.snapshot();
    check(state.iterationCounter >= 1);
    check(snap.lines.size() == static_cast<std::size_t>(state.iterationCounter - 1));
}

template <class Press>
void timed(Press press) {
    const auto begin = std::chrono::steady_clock::now();
    press();
    check(std::chrono::steady_clock::now() - begin < std::chrono::seconds(1));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    ScriptHost host(checkEvent);
    SolverState state;
    CSolverDialog dialog(host, state);
    dialog.OnInitDialog();

    int presses = 0;
    std::size_t pos = 0;
    while (pos < input.size() && presses < kMaxPresses) {
        std::size_t eol = input.find('\n', pos);
        if (eol == std::string_view::npos) eol = input.size();
        const std::string_view line = input.substr(pos, eol - pos);
        pos = eol + 1;
        if (line.empty()) continue;
        const std::string_view arg = line.substr(1);
        switch (line[0]) {
            case 'f': {
                const int entry = arg.empty() ? -1 : arg[0] - '0';
                if (entry >= 0 && entry < korzenik::kFunctionCount) {
                    check(host.pickFunction(
                        korzenik::kFunctionLabels[static_cast<std::size_t>(entry)]));
                } else {
                    host.setComboSelection(res::IDC_FUNCTION, -1);
                }
                break;
            }
            case 's': host.typeText(res::IDC_START, arg); break;
            case 'e': host.typeText(res::IDC_END, arg); break;
            case 'p': host.typeText(res::IDC_PRECISION, arg); break;
            case 'a': host.setAuto(false); break;
            case 'A': host.setAuto(true); break;
            case 'c':
                ++presses;
                timed([&] { dialog.OnConfirm(); });
                checkList(host, state);
                break;
            case 'l': {
                ++presses;
                const std::int32_t before = state.iterationCounter;
                timed([&] { dialog.OnCompute(); });
                checkList(host, state);
                const korzenik::script::DialogSnapshot snap = host.snapshot();
                if (state.iterationCounter != before) {
                    check(snap.selected == static_cast<int>(snap.lines.size()) - 1);
                }
                break;
            }
            case '?': host.reportState(); break;
            default: break;
        }
    }
    return 0;
}
