// A Licz press in the Qt window whose results list (the toolkit's QListWidget, lines of one
// height) already holds 1,000, 30,000 or 100,000 lines: the press through the window's button,
// its line added and selected and scrolled to, and the window painted, on Qt's offscreen
// platform. Named "Qt list/<lines> lines/press"; tools/bench_report.py holds each to 16 ms.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPushButton>
#include <QtTest/QTest>
#include <algorithm>
#include <string>
#include <vector>

#include "app/res/resource.h"
#include "qt/solver_window.h"

namespace {

using namespace korzenik;

void pressAt(benchmark::State& st, int lines) {
    SolverState state;
    SolverWindow window(state);
    window.setMessageBoxHandler([](std::string_view, std::string_view, MessageIcon) {});
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        st.SkipWithError("the window was never shown");
        return;
    }
    // x*x-4 on 0..3 with a precision no step meets: each press adds one line.
    window.setComboSelection(res::IDC_FUNCTION, 0);
    window.setControlText(res::IDC_START, "0");
    window.setControlText(res::IDC_END, "3");
    window.setControlText(res::IDC_PRECISION, "-1");
    auto* confirm = qobject_cast<QPushButton*>(window.control(res::IDC_CONFIRM));
    auto* compute = qobject_cast<QPushButton*>(window.control(res::IDC_COMPUTE));
    confirm->click();
    for (int i = 0; i < lines; ++i) {
        window.listAddString("x=1.99995      |      f(x)=-0.000183");
    }
    QApplication::processEvents();
    for (auto _ : st) {
        compute->click();
        QApplication::processEvents();
    }
    st.counters["lines"] = lines;
}

double fastest(const std::vector<double>& times) {
    return *std::min_element(times.begin(), times.end());
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    for (const int lines : {1000, 30000, 100000}) {
        benchmark::RegisterBenchmark(("Qt list/" + std::to_string(lines) + " lines/press").c_str(),
                                     pressAt, lines)
            ->Unit(benchmark::kMillisecond)
            ->ComputeStatistics("min", fastest);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
