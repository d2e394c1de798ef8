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
    ASSERT_TRUE(bracketChangesSign(s, s.noFunctionFlag));
    const std::vector<std::string> lines = {
        "x=1.33333      |      f(x)=-2.222222", "x=1.84615      |      f(x)=-0.591716",
        "x=1.96825      |      f(x)=-0.125977", "x=1.99361      |      f(x)=-0.025519",
        "x=1.99872      |      f(x)=-0.005117", "x=1.99974      |      f(x)=-0.001024",
        "x=1.99995      |      f(x)=-0.000205",
    };
    float chordA = 0.f;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const StepOutcome out = falsePositionStep(s);
        EXPECT_EQ(out.resultLine, lines[i]) << "step " << i + 1;
        EXPECT_EQ(out.converged, i + 1 == lines.size()) << "step " << i + 1;
        EXPECT_EQ(out.chordA, chordA);
        EXPECT_EQ(out.chordB, 3.f);
        EXPECT_EQ(s.approximation, out.approximation);
        if (i == 0) {
            EXPECT_EQ(out.approximation, 1.3333334f);
        }
        if (!out.converged) chordA = out.approximation;
    }
    EXPECT_EQ(s.bracketA, chordA);  // the converged seventh step moved nothing
    EXPECT_EQ(s.bracketB, 3.f);
    const StepOutcome again = falsePositionStep(s);
    EXPECT_TRUE(again.converged);
    EXPECT_EQ(again.resultLine, lines.back());
}

TEST(FalsePosition, SecondEntryConvergesAtStepTwentyNine) {
    SolverState s = committed(2, 0.f, 3.f, 0.0001f);
    ASSERT_TRUE(bracketChangesSign(s, s.noFunctionFlag));
    int steps = 0;
    StepOutcome out;
    do {
        out = falsePositionStep(s);
        ++steps;
    } while (!out.converged && steps < 100);
    EXPECT_EQ(steps, 29);
    EXPECT_EQ(out.resultLine.substr(0, 9), "x=0.99999");
    EXPECT_EQ(s.bracketB, 3.f);
}

// The float rounding points of a step fix every bit of the approximation: rounding a product or
// the divisor anywhere else changes these last bits, though the printed lines stay the same.
TEST(FalsePosition, RoundingPointsFixTheLastBits) {
    const struct {
        FunctionIndex k;
        float a, b;
        int step;
        float x;
    } cases[] = {{1, 0.f, 2.5f, 2, 0x1.f3831ep+0f},
                 {1, -1.5f, 3.f, 2, 0x1.2p+0f},
                 {2, 0.f, 1.5f, 3, 0x1.e5b3ecp-1f}};
    for (const auto& c : cases) {
        SolverState s = committed(c.k, c.a, c.b, 0.f);
        for (int i = 1; i < c.step; ++i) falsePositionStep(s);
        EXPECT_EQ(falsePositionStep(s).approximation, c.x) << "entry " << c.k << " from " << c.a;
    }
}

// From 0..3 the chords of x*x-4 reach x = 2 exactly, where f is exactly 0: a zero precision is
// met there, a negative one never, and the same x then repeats.
TEST(FalsePosition, ExactZeroMeetsZeroPrecisionButNotANegativeOne) {
    SolverState zero = committed(1, 0.f, 3.f, 0.f);
    StepOutcome out;
    for (int i = 0; i < 60 && !out.converged; ++i) out = falsePositionStep(zero);
    ASSERT_TRUE(out.converged);
    EXPECT_EQ(out.resultLine, "x=2.00000      |      f(x)=0.000000");

    SolverState negative = committed(1, 0.f, 3.f, -1.f);
    for (int i = 0; i < 60; ++i) {
        out = falsePositionStep(negative);
        ASSERT_FALSE(out.converged) << i;
    }
    EXPECT_EQ(out.approximation, 2.f);
    EXPECT_EQ(falsePositionStep(negative).approximation, 2.f);
}

TEST(FalsePosition, SignTestRejectsEqualSignsZerosAndNoFunction) {
    SolverState same = committed(1, 3.f, 4.f, 0.001f);
    SolverState zeroEnd = committed(1, 2.f, 3.f, 0.001f);
    SolverState equalEnds = committed(3, 1.f, 1.f, 0.001f);
    SolverState none;
    commitInterval(none, -1.f, 1.f, 0.5f);
    EXPECT_FALSE(bracketChangesSign(same, same.noFunctionFlag));
    EXPECT_FALSE(bracketChangesSign(zeroEnd, zeroEnd.noFunctionFlag));
    EXPECT_FALSE(bracketChangesSign(equalEnds, equalEnds.noFunctionFlag));
    EXPECT_FALSE(bracketChangesSign(none, none.noFunctionFlag));
    EXPECT_EQ(none.noFunctionFlag, 1);
}

// Huge and infinite approximations: no crash, written as text.
TEST(FalsePosition, OverflowIsWrittenAsNonFiniteText) {
    EXPECT_EQ(formatResultLine(std::numeric_limits<float>::infinity(),
                               -std::numeric_limits<double>::infinity()),
              "x=inf      |      f(x)=-inf");
    for (SolverState s : {committed(2, -6e12f, 2.f, 0.f), committed(1, -3e38f, 1.f, 0.001f)}) {
        for (int i = 0; i < 5; ++i) {
            const StepOutcome out = falsePositionStep(s);
            EXPECT_FALSE(out.converged) << out.resultLine;
        }
    }
}
