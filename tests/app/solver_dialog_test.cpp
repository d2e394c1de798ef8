#include "app/solver_dialog.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "app/fake_host.h"
#include "app/res/resource.h"

using namespace korzenik;
using namespace korzenik::res;

namespace {

const std::string kNoFunction = "message|exclamation|Brak funkcji|Nie wybrano żadnej funkcji";
const std::string kSameEnds =
    "message|exclamation|Zły zakres|Początek i koniec zakresu mają taką samą wartość";
const std::string kRootAtStart =
    "message|information|Znaleziono wynik|Miejsce zerowe funkcji znajduje się w punkcie "
    "poczatkowym zakresu ";
const std::string kRootAtEnd =
    "message|information|Znaleziono wynik|Miejsce zerowe funkcji znajduje się w punkcie "
    "końcowym zakresu";
const std::string kNoSignChange =
    "message|exclamation|Zły zakres|W podanym przedziale nie można wyznaczyć miejsca zerowego";

struct Commands : ::testing::Test {
    FakeDialogHost host;
    SolverState state;
    CSolverDialog dialog{host, state};

    void SetUp() override { dialog.OnInitDialog(); }

    /// Fills the dialog as a user would; item is 0-based, -1 leaves the selection alone.
    void enter(int item, const char* start, const char* end, const char* precision,
               bool autoOn = false) {
        if (item >= 0) host.comboSel = item;
        host.texts[IDC_START] = start;
        host.texts[IDC_END] = end;
        host.texts[IDC_PRECISION] = precision;
        host.checks[IDC_AUTO] = autoOn ? 1 : 0;
        host.events.clear();
    }
    std::vector<std::string> labels() {
        return {host.texts[IDC_XMIN], host.texts[IDC_XMAX], host.texts[IDC_YMAX],
                host.texts[IDC_YMIN]};
    }
};

}  // namespace

TEST_F(Commands, FirstConfirmWithNothingChosenShowsTwoMessagesAndDrawsNothing) {
    const Framebuffer blank = host.window;
    host.events.clear();
    dialog.OnConfirm();
    EXPECT_EQ(host.events, (std::vector<std::string>{kNoFunction, kSameEnds}));
    EXPECT_EQ(labels(), (std::vector<std::string>{"0.0", "0.0", "1.0", "1.0"}));
    EXPECT_EQ(state.stage, 0);
    EXPECT_EQ(host.surfacesTaken, 1);
    EXPECT_EQ(host.window.rgb, blank.rgb);
}

TEST_F(Commands, NothingChosenComparesThePrecisionWithOne) {
    enter(-1, "-1", "1", "2");
    dialog.OnConfirm();
    EXPECT_EQ(host.events, (std::vector<std::string>{kNoFunction, kRootAtStart, kRootAtEnd}));
    EXPECT_EQ(state.stage, 2);

    SolverState fresh;
    FakeDialogHost otherHost;
    CSolverDialog other(otherHost, fresh);
    other.OnInitDialog();
    otherHost.texts[IDC_START] = "-1";
    otherHost.texts[IDC_END] = "1";
    otherHost.texts[IDC_PRECISION] = "0.5";
    other.OnConfirm();
    EXPECT_EQ(otherHost.messages(), (std::vector<std::string>{kNoFunction}));
    EXPECT_EQ(fresh.stage, 1);
}

TEST_F(Commands, ConfirmCommitsTheIntervalAndFillsTheLabels) {
    enter(0, "-3", "3", "0.001");
    dialog.OnConfirm();
    EXPECT_TRUE(host.events.empty());
    EXPECT_EQ(labels(), (std::vector<std::string>{"-3.0", "3.0", "5.0", "-4.0"}));
    EXPECT_EQ(state.stage, 1);
    EXPECT_EQ(state.bracketA, -3.f);
    EXPECT_EQ(state.bracketB, 3.f);
    EXPECT_EQ(state.committedPrecision, 0.001f);
    EXPECT_EQ(state.selectionStatus, 1);
    EXPECT_NE(host.window.pixel(506, 200), kWhite);  // the vertical axis is on the backdrop
}

TEST_F(Commands, ConfirmTestsAndCommitsTheNumbersAsWrittenBack) {
    enter(0, "0.1234567", "3.00000049", "0.001");
    dialog.OnConfirm();
    EXPECT_EQ(host.texts[IDC_START], "0.123457");
    EXPECT_EQ(host.texts[IDC_END], "3");
    EXPECT_EQ(state.committedStart, 0.123457f);
    EXPECT_EQ(state.bracketB, 3.f);
}

TEST_F(Commands, AutoComputeRunsSevenStepsAndDrawsSixOverlays) {
    enter(0, "0", "3", "0.001", true);
    dialog.OnConfirm();
    host.events.clear();
    dialog.OnCompute();
    ASSERT_EQ(host.events.size(), 15u);
    EXPECT_EQ(host.events[0], "append|x=1.33333      |      f(x)=-2.222222");
    EXPECT_EQ(host.events[1], "select|0");
    EXPECT_EQ(host.events[12], "append|x=1.99995      |      f(x)=-0.000205");
    EXPECT_EQ(host.events[13], "select|6");
    EXPECT_EQ(host.events[14],
              "message|information|Rozwiązanie|Wyznaczono miejsce zerowe funkcji w punkcie "
              "x=1.99995");
    EXPECT_EQ(host.surfacesTaken, 1 + 6);
    EXPECT_EQ(state.iterationCounter, 8);
}

TEST_F(Commands, AutoComputeStopsAfterStep201) {
    enter(0, "0", "3", "-1", true);
    dialog.OnConfirm();
    dialog.OnCompute();
    EXPECT_EQ(host.lines.size(), 201u);
    EXPECT_EQ(host.selectedLine, 200);
    EXPECT_TRUE(host.messages().empty());
    EXPECT_EQ(state.iterationCounter, 202);
    dialog.OnCompute();
    EXPECT_EQ(host.lines.size(), 202u);
}

TEST_F(Commands, ComputeBeforeConfirmOnlyReportsTheRange) {
    host.events.clear();
    dialog.OnCompute();
    EXPECT_EQ(host.events, (std::vector<std::string>{kNoSignChange}));
    EXPECT_EQ(state.iterationCounter, 1);
    EXPECT_EQ(host.surfacesTaken, 0);
}

TEST_F(Commands, ChangedFunctionEmptiesTheListAndWipesTheOverlay) {
    enter(0, "0", "3", "0.001");
    dialog.OnConfirm();
    dialog.OnCompute();
    dialog.OnCompute();
    dialog.OnCompute();
    const Framebuffer withOverlay = host.window;
    enter(1, "0", "3", "0.001");
    dialog.OnConfirm();
    EXPECT_EQ(host.events, (std::vector<std::string>(3, "delete|0")));
    EXPECT_TRUE(host.lines.empty());
    EXPECT_EQ(state.iterationCounter, 1);
    EXPECT_EQ(state.stage, 1);
    EXPECT_EQ(state.bracketA, 0.f);
    EXPECT_NE(host.window.rgb, withOverlay.rgb);
}

TEST_F(Commands, SameInputsKeepTheNarrowedBracket) {
    enter(0, "0", "3", "0.001");
    dialog.OnConfirm();
    dialog.OnCompute();
    dialog.OnCompute();
    host.events.clear();
    dialog.OnConfirm();
    EXPECT_TRUE(host.events.empty());
    EXPECT_EQ(state.selectionStatus, 2);
    dialog.OnCompute();
    EXPECT_EQ(host.lines.back(), "x=1.96825      |      f(x)=-0.125977");
}

// Values beyond single precision must pass through drawing and the exchange without harm.
TEST_F(Commands, NonFiniteIntervalsNeitherCrashNorHang) {
    enter(4, "1e38", "-1e38", "0.001", true);
    dialog.OnConfirm();
    dialog.OnCompute();
    enter(0, "1e39", "-1e39", "1e39", true);
    dialog.OnConfirm();
    EXPECT_EQ(host.texts[IDC_START], "inf");
    EXPECT_EQ(host.texts[IDC_XMIN], "inf");
    EXPECT_EQ(host.texts[IDC_XMAX], "-inf");
    dialog.OnCompute();
    enter(2, "-1e38", "1e38", "0", true);
    dialog.OnConfirm();
    dialog.OnCompute();
    EXPECT_LE(host.lines.size(), 201u);
}
