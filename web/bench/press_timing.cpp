// The Confirm press of each function, timed the same way wherever this is built: natively, and as
// WebAssembly under node. make bench runs both in one go and compares them. Each case is a press
// repeated with the same fields, as in the native press benchmarks: typed anew each time, drawn
// over the picture without a wipe. Prints a JSON object a line with the fastest round's time per
// press: the machine's noise only ever adds time. Every case is pressed for a while first, so that
// a JIT (WebAssembly's) has compiled its fastest code before anything is timed.
#include <algorithm>
#include <chrono>
#include <cstdio>

#include "app/memory_dialog.h"
#include "app/res/resource.h"
#include "app/solver_dialog.h"
#include "core/solver_state.h"

namespace {

using namespace korzenik;

struct Case {
    const char* name;
    int item;  ///< drop-down index
    const char* start;
    const char* end;
};

constexpr Case kCases[] = {
    {"x*x-4 on -3..3", 0, "-3", "3"},
    {"cubic on -6..2", 1, "-6", "2"},
    {"sin on -10..10", 2, "-10", "10"},
    {"3sin(x^2)+2cos on -3..3", 3, "-3", "3"},
    {"2sin(x^3)-cos(x^2)+5cos on -3..3", 4, "-3", "3"},
};

constexpr int kWarmUpPresses = 3000;
constexpr int kRounds = 20;
constexpr int kPressesPerRound = 200;

void enter(MemoryDialog& host, const Case& c) {
    host.dismissAllMessages();
    host.setComboSelection(res::IDC_FUNCTION, c.item);
    host.typeText(res::IDC_START, c.start);
    host.typeText(res::IDC_END, c.end);
    host.typeText(res::IDC_PRECISION, "0.001");
}

double fastestPress(const Case& c) {
    MemoryDialog host;
    SolverState state;
    CSolverDialog dialog(host, state);
    dialog.OnInitDialog();
    enter(host, c);
    dialog.OnConfirm();
    enter(host, c);
    for (int i = 0; i < kWarmUpPresses; ++i) {
        dialog.OnConfirm();
        enter(host, c);
    }
    double best = 1e300;
    for (int round = 0; round < kRounds; ++round) {
        const auto begin = std::chrono::steady_clock::now();
        for (int i = 0; i < kPressesPerRound; ++i) {
            dialog.OnConfirm();
            enter(host, c);
        }
        const std::chrono::duration<double, std::micro> took =
            std::chrono::steady_clock::now() - begin;
        best = std::min(best, took.count() / kPressesPerRound);
    }
    return best;
}

}  // namespace

int main() {
    for (const Case& c : kCases) {
        std::printf("{\"case\":\"%s\",\"microseconds\":%.3f}\n", c.name, fastestPress(c));
    }
    return 0;
}
