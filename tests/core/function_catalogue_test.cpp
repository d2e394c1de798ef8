#include "core/function_catalogue.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace korzenik;

TEST(FunctionCatalogue, IndexZeroYieldsOneAndRaisesTheFlag) {
    for (float x : {-3.0f, 0.0f, 1e30f}) {
        int flag = 0;
        EXPECT_EQ(evaluateFunction(x, 0, flag), 1.0);
        EXPECT_EQ(flag, 1);
    }
}

TEST(FunctionCatalogue, EntriesLeaveTheFlagAlone) {
    for (FunctionIndex k = 1; k <= 5; ++k) {
        int flag = 0;
        evaluateFunction(0.5f, k, flag);
        EXPECT_EQ(flag, 0) << k;
    }
}

TEST(FunctionCatalogue, KnownRootsAndValuesAtZero) {
    int flag = 0;
    EXPECT_EQ(evaluateFunction(2.0f, 1, flag), 0.0);
    EXPECT_EQ(evaluateFunction(-2.0f, 1, flag), 0.0);
    EXPECT_EQ(evaluateFunction(1.0f, 2, flag), 0.0);
    EXPECT_EQ(evaluateFunction(0.0f, 3, flag), 0.0);
    EXPECT_EQ(evaluateFunction(0.0f, 1, flag), -4.0);
    EXPECT_EQ(evaluateFunction(0.0f, 2, flag), -4.0);
    EXPECT_EQ(evaluateFunction(0.0f, 4, flag), 2.0);
    EXPECT_EQ(evaluateFunction(0.0f, 5, flag), 4.0);
}

// The written order of operations fixes the last bits; a regrouped formula differs from it.
TEST(FunctionCatalogue, EvaluationOrderIsTheTablesOrder) {
    int flag = 0;
    const float xs[] = {0.1f, 1.3333334f, -2.7182817f, 3.1f, 17.25f, -0.0061224489f};
    for (float xf : xs) {
        const double x = static_cast<double>(xf);
        double t = x + 5;
        t = t * x;
        t = t * x;
        EXPECT_EQ(evaluateFunction(xf, 2, flag), (t - (x + x)) - 4) << xf;
        EXPECT_EQ(evaluateFunction(xf, 4, flag), std::sin(x * x) * 3 + (std::cos(x) + std::cos(x)))
            << xf;
        const double q = x * x;
        const double r = q * x;
        EXPECT_EQ(evaluateFunction(xf, 5, flag),
                  ((std::sin(r) + std::sin(r)) - std::cos(q)) + std::cos(x) * 5)
            << xf;
    }
    // Horner's form of entry 2 rounds differently somewhere, so the order is observable.
    int differing = 0;
    for (float xf = -6.f; xf < 6.f; xf += 0.0137f) {
        const double x = static_cast<double>(xf);
        const double horner = ((x + 5) * x - 2) * x - 4;
        if (evaluateFunction(xf, 2, flag) != horner) ++differing;
    }
    EXPECT_GT(differing, 0);
}

TEST(FunctionCatalogue, LabelsMatchWholeTextCaseSensitively) {
    EXPECT_EQ(functionIndexForLabel(""), 0);
    EXPECT_EQ(functionIndexForLabel("f(x) = sin(x)"), 3);
    EXPECT_EQ(functionIndexForLabel("f(x) = sin(x) "), 0);
    EXPECT_EQ(functionIndexForLabel("f(x) = SIN(x)"), 0);
    EXPECT_EQ(functionIndexForLabel("f(x) = x*x"), 0);
    for (int i = 0; i < kFunctionCount; ++i) {
        EXPECT_EQ(functionIndexForLabel(kFunctionLabels[static_cast<std::size_t>(i)]), i + 1);
    }
}
