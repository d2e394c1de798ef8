// The commands' message sequences, lists and labels are checked by the golden transcripts in
// tests/script; these tests look at what those do not show: the window's pixels.
#include "app/solver_dialog.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "app/res/resource.h"
#include "app/test_host.h"

using namespace korzenik;
using namespace korzenik::res;

namespace {

struct Commands : ::testing::Test {
    TestHost host;
    SolverState state;
    CSolverDialog dialog{host, state};

    void SetUp() override { dialog.OnInitDialog(); }

    /// Fills the dialog as a user would; item is 0-based.
    void enter(int item, const char* start, const char* end, const char* precision,
               bool autoOn = false) {
        host.setComboSelection(IDC_FUNCTION, item);
        host.typeText(IDC_START, start);
        host.typeText(IDC_END, end);
        host.typeText(IDC_PRECISION, precision);
        host.setChecked(IDC_AUTO, autoOn);
        host.dismissAllMessages();
    }
};

}  // namespace

TEST_F(Commands, FirstConfirmWithNothingChosenDrawsNothing) {
    const Framebuffer blank = host.window();
    dialog.OnConfirm();
    EXPECT_EQ(host.pendingMessages().size(), 2u);  // no function, equal ends
    EXPECT_EQ(host.surfacesTaken, 1);
    EXPECT_EQ(host.window().rgb, blank.rgb);
}

// Each step that does not converge draws its overlay; a changed function wipes them with the
// chart, leaving exactly the picture of a session that never computed.
TEST_F(Commands, OverlaysAreDrawnPerStepAndWipedOnReset) {
    enter(0, "0", "3", "0.001", true);
    dialog.OnConfirm();
    EXPECT_EQ(host.window().pixel(261, 200), kBlack);  // the vertical axis is on the backdrop
    const Framebuffer beforeSteps = host.window();
    dialog.OnCompute();
    EXPECT_EQ(host.lines().size(), 7u);
    EXPECT_EQ(host.surfacesTaken, 1 + 6);
    EXPECT_EQ(host.window().pixel(478, 306), kGray);  // the first step's vertical line
    EXPECT_NE(host.window().rgb, beforeSteps.rgb);

    enter(1, "0", "3", "0.001");
    dialog.OnConfirm();
    EXPECT_TRUE(host.lines().empty());
    TestHost freshHost;
    SolverState freshState;
    CSolverDialog fresh(freshHost, freshState);
    fresh.OnInitDialog();
    freshHost.typeText(IDC_END, "3");
    freshHost.typeText(IDC_PRECISION, "0.001");
    for (int item : {0, 1}) {
        freshHost.setComboSelection(IDC_FUNCTION, item);
        fresh.OnConfirm();
    }
    EXPECT_EQ(host.window().rgb, freshHost.window().rgb);
}

// Intervals whose range overflows single precision must pass through drawing and the exchange
// without harm.
TEST_F(Commands, NonFiniteIntervalsNeitherCrashNorHang) {
    enter(4, "1e38", "-1e38", "0.001", true);
    dialog.OnConfirm();
    dialog.OnCompute();
    enter(0, "3.4e38", "-3.4e38", "3.4e38", true);
    dialog.OnConfirm();
    EXPECT_EQ(host.controlText(IDC_START), "3.4e+038");
    EXPECT_EQ(host.controlText(IDC_XMAX).substr(0, 4), "-339");
    dialog.OnCompute();
    enter(2, "-1e38", "1e38", "0", true);
    dialog.OnConfirm();
    dialog.OnCompute();
    EXPECT_LE(host.lines().size(), 201u);
}

// The endpoint test compares squares, one factor of the value's square rounded to single
// precision. For a precision that is a float that rounding can only decide for values below
// single precision's range, which no catalogue function takes near an end: with a zero precision
// they count as roots.
TEST(EndpointTest, RoundsOneFactorToSinglePrecision) {
    EXPECT_TRUE(endpointWithinPrecision(1e-50, 0.f));
    EXPECT_TRUE(endpointWithinPrecision(-1e-50, -0.f));
    EXPECT_FALSE(endpointWithinPrecision(1e-40, 0.f));  // a subnormal float: not rounded away
    EXPECT_TRUE(endpointWithinPrecision(-2.0, -2.f));   // the precision's sign plays no part
    EXPECT_FALSE(endpointWithinPrecision(std::numeric_limits<double>::quiet_NaN(), 1.f));
}

// What a screen reader hears of the chart comes from what the commands drew: nothing before a
// Confirm draws, the steps drawn since the chart was last wiped, and the list's last line.
TEST_F(Commands, TheChartIsToldAsTheCommandsDrewIt) {
    const std::string empty = "Wykres jest pusty.";
    EXPECT_EQ(dialog.chartDescription(), empty);
    enter(0, "0", "3", "0,001", true);
    dialog.OnConfirm();  // refused: nothing drawn
    EXPECT_EQ(dialog.chartDescription(), empty);

    enter(0, "0", "3", "0.001", true);
    dialog.OnConfirm();
    dialog.OnCompute();
    const std::string demo =
        "Wykres funkcji f(x) = x*x-4 na przedziale od 0 do 3. Oś x od 0.0 do 3.0, oś y od -4.0 do "
        "5.0. Narysowane kroki metody: 6. Ostatnie przybliżenie: x = 1.99995, f(x) = -0.000205.";
    EXPECT_EQ(dialog.chartDescription(), demo);
    // A step on a converged bracket draws nothing more.
    host.setChecked(IDC_AUTO, false);
    dialog.OnCompute();
    EXPECT_EQ(dialog.chartDescription(), demo);

    host.typeText(IDC_END, "2.5");
    dialog.OnConfirm();
    const std::string wiped = dialog.chartDescription();
    EXPECT_EQ(wiped.substr(0, 75),
              "Wykres funkcji f(x) = x*x-4 na przedziale od 0 do 2.5. Oś x od 0.0 do 2.5,");
    EXPECT_TRUE(wiped.ends_with("do 2.2. Nie narysowano kroków metody.")) << wiped;
    dialog.OnCompute();
    EXPECT_TRUE(dialog.chartDescription().ends_with(
        " Narysowane kroki metody: 1. Ostatnie przybliżenie: x = 1.60000, f(x) = -1.440000."))
        << dialog.chartDescription();

    host.setComboSelection(IDC_FUNCTION, -1);
    host.typeText(IDC_START, "1");
    dialog.OnConfirm();
    EXPECT_EQ(dialog.chartDescription().substr(0, 63),
              "Wykres bez funkcji (nie wybrano jej) na przedziale od 1 do 2.5.");

    // A typed function is told by its text; one that does not read leaves the chart as it was.
    host.setComboSelection(IDC_FUNCTION, kOwnFunction - 1);
    host.typeText(IDC_EXPRESSION, "x^2 - 4");
    dialog.OnConfirm();
    const std::string typed = dialog.chartDescription();
    EXPECT_TRUE(typed.starts_with("Wykres funkcji f(x) = x^2 - 4 na przedziale od 1 do 2.5."))
        << typed;
    host.typeText(IDC_EXPRESSION, "x^2 -");
    dialog.OnConfirm();
    EXPECT_EQ(dialog.chartDescription(), typed);
}

TEST(Spoken, ResultLinesAreSaidAsValuesAndTheRootAnnouncedWithItsX) {
    EXPECT_EQ(spokenLine("x=1.33333      |      f(x)=-2.222222"), "x = 1.33333, f(x) = -2.222222");
    const std::string lines[] = {"x=1.84615      |      f(x)=-0.591716",
                                 "x=inf      |      f(x)=nan"};
    EXPECT_EQ(spokenLines(lines), "x = 1.84615, f(x) = -0.591716. x = inf, f(x) = nan");
    EXPECT_EQ(spokenLines({}), "");
    EXPECT_EQ(rootMessage(1.99995f), "Wyznaczono miejsce zerowe funkcji w punkcie x=1.99995");
    EXPECT_EQ(rootMessage(std::numeric_limits<float>::quiet_NaN()),
              "Wyznaczono miejsce zerowe funkcji w punkcie x=nan");
}
