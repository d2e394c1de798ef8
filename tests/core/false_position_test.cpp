#include "core/false_position.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "core/number_format.h"

using namespace korzenik;

namespace {

SolverState committed(FunctionIndex k, float a, float b, float precision) {
    SolverState s;
    selectFunction(s, k);
    commitInterval(s, a, b, precision);
    return s;
}

}  // namespace

TEST(FalsePosition, SevenStepsOnXSquaredMinusFour) {
    SolverState s = committed(1, 0.f, 3.f, 0.001f);
    ASSERT_TRUE(bracketChangesSign(s));
    const std::vector<std::string> lines = {
        "x=1.33333      |      f(x)=-2.222222", "x=1.84615      |      f(x)=-0.591716",
        "x=1.96825      |      f(x)=-0.125977", "x=1.99361      |      f(x)=-0.025519",
        "x=1.99872      |      f(x)=-0.005117", "x=1.99974      |      f(x)=-0.001024",
        "x=1.99995      |      f(x)=-0.000205",
    };
    float sixth = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const StepOutcome out = falsePositionStep(s);
        if (i == 5) sixth = out.approximation;
        EXPECT_EQ(out.resultLine, lines[i]) << "step " << i + 1;
        EXPECT_EQ(out.converged, i + 1 == lines.size()) << "step " << i + 1;
        EXPECT_EQ(s.approximation, out.approximation);
        EXPECT_EQ(s.bracketB, 3.f);
        if (!out.converged) {
            EXPECT_EQ(s.bracketA, out.approximation);
        }
    }
    EXPECT_EQ(s.bracketA, sixth);  // the converged seventh step moved nothing
    const StepOutcome again = falsePositionStep(s);
    EXPECT_TRUE(again.converged);
    EXPECT_EQ(again.rootMessage, "Wyznaczono miejsce zerowe funkcji w punkcie x=1.99995");
    EXPECT_EQ(again.resultLine, lines.back());
}

TEST(FalsePosition, FirstStepReportsChordEndsAndExactValues) {
    SolverState s = committed(1, 0.f, 3.f, 0.001f);
    const StepOutcome out = falsePositionStep(s);
    EXPECT_EQ(out.chordA, 0.f);
    EXPECT_EQ(out.chordB, 3.f);
    EXPECT_EQ(out.approximation, 1.3333334f);
    const double x = static_cast<double>(1.3333334f);
    EXPECT_EQ(out.functionValue, x * x - 4);
}

TEST(FalsePosition, SecondEntryConvergesAtStepTwentyNine) {
    SolverState s = committed(2, 0.f, 3.f, 0.0001f);
    ASSERT_TRUE(bracketChangesSign(s));
    int steps = 0;
    StepOutcome out;
    do {
        out = falsePositionStep(s);
        ++steps;
        EXPECT_EQ(s.bracketB, 3.f);
    } while (!out.converged && steps < 100);
    EXPECT_EQ(steps, 29);
    EXPECT_EQ(out.rootMessage, "Wyznaczono miejsce zerowe funkcji w punkcie x=0.99999");
}

TEST(FalsePosition, ExactZeroConvergesForZeroPrecision) {
    // From 0..3 the chords of x*x-4 close in on 2 until x is exactly 2, where f is exactly 0.
    SolverState s = committed(1, 0.f, 3.f, 0.f);
    StepOutcome out;
    for (int i = 0; i < 60 && !out.converged; ++i) out = falsePositionStep(s);
    ASSERT_TRUE(out.converged);
    EXPECT_EQ(out.approximation, 2.f);
    EXPECT_EQ(out.functionValue, 0.0);
    EXPECT_EQ(out.resultLine, "x=2.00000      |      f(x)=0.000000");
}

TEST(FalsePosition, NegativePrecisionNeverConvergesAndSettles) {
    SolverState s = committed(1, 0.f, 3.f, -1.f);
    float last = 0;
    int repeats = 0;
    for (int i = 0; i < 60; ++i) {
        const StepOutcome out = falsePositionStep(s);
        EXPECT_FALSE(out.converged);
        if (out.approximation == last) ++repeats;
        last = out.approximation;
    }
    EXPECT_EQ(last, 2.f);  // f(2) is exactly zero: neither end moves, the same x repeats
    EXPECT_GT(repeats, 0);
}

TEST(FalsePosition, SignTestRejectsEqualSignsZerosAndNoFunction) {
    SolverState same = committed(1, 3.f, 4.f, 0.001f);
    EXPECT_FALSE(bracketChangesSign(same));
    SolverState zeroEnd = committed(1, 2.f, 3.f, 0.001f);
    EXPECT_FALSE(bracketChangesSign(zeroEnd));
    SolverState none;
    commitInterval(none, -1.f, 1.f, 0.5f);
    EXPECT_FALSE(bracketChangesSign(none));
    EXPECT_EQ(none.noFunctionFlag, 1);
    SolverState equalEnds = committed(3, 1.f, 1.f, 0.001f);
    EXPECT_FALSE(bracketChangesSign(equalEnds));
}

TEST(FalsePosition, OverflowIsWrittenAsNonFiniteText) {
    EXPECT_EQ(formatResultLine(std::numeric_limits<float>::infinity(),
                               -std::numeric_limits<double>::infinity()),
              "x=inf      |      f(x)=-inf");
    EXPECT_EQ(formatRootMessage(std::numeric_limits<float>::quiet_NaN()),
              "Wyznaczono miejsce zerowe funkcji w punkcie x=nan");
    // Huge bracket ends overflow the single-precision products; the step must not crash.
    SolverState s = committed(1, -3e38f, 1.f, 0.001f);
    const StepOutcome out = falsePositionStep(s);
    EXPECT_FALSE(out.converged);
}

TEST(NumberFormat, FixedIsPrintfLikeAndLocaleFree) {
    EXPECT_EQ(formatFixed(1.3333333730697632, 5), "1.33333");
    EXPECT_EQ(formatFixed(-0.0002049, 6), "-0.000205");
    EXPECT_EQ(formatFixed(5.0, 1), "5.0");
    EXPECT_EQ(formatFixed(-4.0, 1), "-4.0");
    EXPECT_EQ(formatFixed(0.25, 1), "0.2");  // ties round to even, as printf does
    EXPECT_EQ(formatFixed(-0.0, 1), "-0.0");
    EXPECT_EQ(formatFixed(3e38, 1).size(), 41u);
}

// A step takes its announcement's digits from its own line: both must show the same x, also for
// approximations that are huge, infinite or not a number.
TEST(FalsePosition, AnnouncementRepeatsTheLinesApproximation) {
    std::vector<SolverState> runs = {committed(1, 0.f, 3.f, 0.001f),
                                     committed(2, -6e12f, 2.f, 0.f),
                                     committed(1, -3e38f, 1.f, 0.001f)};
    for (SolverState& s : runs) {
        for (int i = 0; i < 5; ++i) {
            const StepOutcome out = falsePositionStep(s);
            EXPECT_EQ(out.rootMessage, formatRootMessage(out.approximation)) << out.resultLine;
        }
    }
}
