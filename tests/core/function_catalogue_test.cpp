#include "core/function_catalogue.h"

#include <gtest/gtest.h>

using namespace korzenik;

TEST(FunctionCatalogue, OnlyIndexZeroRaisesTheFlag) {
    for (FunctionIndex k = 0; k <= 5; ++k) {
        int flag = 0;
        const double v = evaluateFunction(1e30f, k, flag);
        EXPECT_EQ(flag, k == 0 ? 1 : 0) << k;
        if (k == 0) {
            EXPECT_EQ(v, 1.0);
        }
    }
}

// Exact values: roots, values at zero, and points where a regrouped formula (Horner's form of
// entry 2, 2*sin(r) + (5*cos(x) - cos(q)) for entry 5) rounds differently from the table's order.
TEST(FunctionCatalogue, ExactValuesInTheTablesOrderOfOperations) {
    const struct {
        FunctionIndex k;
        float x;
        double value;
    } cases[] = {
        {1, 2.f, 0.0},
        {1, -2.f, 0.0},
        {2, 1.f, 0.0},
        {3, 0.f, 0.0},
        {1, 0.f, -4.0},
        {2, 0.f, -4.0},
        {4, 0.f, 2.0},
        {5, 0.f, 4.0},
        {2, -0x1.7d5e9ep+2f, -0x1.a219c2acc80dap+4},
        {2, -0x1.7c7e28p+2f, -0x1.984a07649a606p+4},
        {5, -6.f, 0x1.c4b2865cda8a7p+1},
        {5, -0x1.78fc5p+2f, 0x1.7d3e36296871cp+2},
    };
    for (const auto& c : cases) {
        int flag = 0;
        EXPECT_EQ(evaluateFunction(c.x, c.k, flag), c.value) << "entry " << c.k << " at " << c.x;
    }
}

TEST(FunctionCatalogue, LabelsMatchWholeTextCaseSensitively) {
    for (const char* other : {"", "f(x) = sin(x) ", "f(x) = SIN(x)", "f(x) = x*x"}) {
        EXPECT_EQ(functionIndexForLabel(other), 0) << other;
    }
    EXPECT_EQ(functionIndexForLabel("f(x) = 2*sin(x*x*x)-cos(x*x)+5*cos(x)"), 5);
}
