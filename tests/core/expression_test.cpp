#include "core/expression.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "core/function_catalogue.h"
#include "core/trigonometry.h"

namespace korzenik {
namespace {

Expression read(std::string_view text) {
    ExpressionReading r = readExpression(text);
    EXPECT_TRUE(r.ok()) << text << ": error " << static_cast<int>(r.problem.error) << " at "
                        << r.problem.position;
    return std::move(r.expression);
}

std::uint64_t bits(double v) {
    std::uint64_t b = 0;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

/// Abscissae from narrow to wide, both signs, zeros and the values near the catalogue's roots.
std::vector<float> sweep() {
    std::vector<float> xs = {0.0f, -0.0f, 1.0f, -1.0f, 2.0f, -2.0f, 1.99995f, 3.4e38f, -3.4e38f};
    for (float x = -1000.0f; x <= 1000.0f; x += 0.37f) xs.push_back(x);
    for (float x = 1e-6f; x < 3e9f; x *= 1.7f) xs.push_back(x), xs.push_back(-x);
    return xs;
}

// Typed in the order the catalogue evaluates them, the five entries give their own bits, one
// abscissa at a time and all of them at once.
TEST(Expression, CatalogueEntriesTypedInTheirOrderGiveTheirBits) {
    const char* typed[] = {"x*x-4", "(x+5)*x*x-2*x-4", "sin(x)", "3*sin(x*x)+2*cos(x)",
                           "2*sin(x*x*x)-cos(x*x)+5*cos(x)"};
    const std::vector<float> xs = sweep();
    for (int k = 1; k <= kFunctionCount; ++k) {
        const Expression e = read(typed[k - 1]);
        std::vector<double> together(xs.size());
        evaluateExpression(e, xs.data(), together.data(), xs.size());
        int flag = 0;
        for (std::size_t i = 0; i < xs.size(); ++i) {
            const double want = evaluateFunction(xs[i], k, flag);
            for (const double have : {evaluateExpression(e, xs[i]), together[i]}) {
                ASSERT_TRUE(bits(want) == bits(have) || (std::isnan(want) && std::isnan(have)))
                    << typed[k - 1] << " at x=" << xs[i] << ": " << want << " != " << have;
            }
        }
    }
}

// The cubic typed as its label rounds in another order: the same function, other last bits.
TEST(Expression, CubicTypedAsItsLabelRoundsDifferently) {
    const Expression label = read("x*x*x+5*x*x-2*x-4");
    int flag = 0;
    int differing = 0;
    for (const float x : sweep()) {
        const double catalogue = evaluateFunction(x, 2, flag);
        const double typed = evaluateExpression(label, x);
        if (bits(catalogue) != bits(typed)) ++differing;
        EXPECT_NEAR(typed, catalogue, std::fabs(catalogue) * 1e-12 + 1e-12) << x;
    }
    EXPECT_GT(differing, 0);
}

// Precedence, associativity, case and blanks, against the same sums written in C++.
TEST(Expression, ReadsAsTheUsualArithmetic) {
    using F = std::function<double(double)>;
    const std::vector<std::pair<const char*, F>> cases = {
        {"2^3^2", [](double) { return power(2, power(3, 2)); }},
        {"-x^2", [](double x) { return -power(x, 2); }},
        {"-2^2", [](double) { return -4.0; }},
        {"2^-x", [](double x) { return power(2, -x); }},
        {"x-1-2", [](double x) { return (x - 1) - 2; }},
        {"x/3/7", [](double x) { return (x / 3) / 7; }},
        {"1+x*3-x/7", [](double x) { return (1 + x * 3) - x / 7; }},
        {"--x", [](double x) { return x; }},
        {"+x*-3", [](double x) { return x * -3; }},
        {"2*x^3", [](double x) { return 2 * power(x, 3); }},
        {" ( x + 1 ) * ( x - 1 ) ", [](double x) { return (x + 1) * (x - 1); }},
        {"SIN(X)^2+Cos(x)^2", [](double x) { return power(sine(x), 2) + power(cosine(x), 2); }},
        {"tan(x)+exp(x/9)-ln(abs(x)+1)+log10(x*x+2)+sqrt(abs(x))",
         [](double x) {
             return (((tangent(x) + exponential(x / 9)) - naturalLogarithm(std::fabs(x) + 1)) +
                     commonLogarithm(x * x + 2)) +
                    std::sqrt(std::fabs(x));
         }},
        {"pi*x+e", [](double x) { return std::numbers::pi * x + std::numbers::e; }},
        {"e^x", [](double x) { return power(std::numbers::e, x); }},
        {"1e-3*x+2.5E+2+.5+5.", [](double x) { return ((1e-3 * x + 2.5e2) + .5) + 5.; }},
        {"0.1*x", [](double x) { return 0.1 * x; }},
    };
    for (const auto& [text, want] : cases) {
        const Expression e = read(text);
        for (const float x : {0.0f, 0.5f, -1.25f, 3.0f, 7.75f}) {
            EXPECT_EQ(bits(evaluateExpression(e, x)), bits(want(static_cast<double>(x))))
                << text << " at " << x;
        }
    }
}

// Where the function is not defined the value is not finite, and nothing traps.
TEST(Expression, UndefinedPointsGiveNonFiniteValues) {
    EXPECT_TRUE(std::isinf(evaluateExpression(read("1/x"), 0.0f)));
    EXPECT_TRUE(std::isnan(evaluateExpression(read("ln(x)"), -1.0f)));
    EXPECT_TRUE(std::isnan(evaluateExpression(read("sqrt(x)"), -1.0f)));
    EXPECT_TRUE(std::isinf(evaluateExpression(read("exp(x)"), 1000.0f)));
    EXPECT_TRUE(std::isnan(evaluateExpression(read("x/x"), 0.0f)));
}

// Each problem is reported where it starts, in characters, with its token.
TEST(Expression, ProblemsAreNamedWhereTheyAre) {
    using E = ExpressionError;
    struct Case {
        const char* text;
        E error;
        std::size_t position;
        std::size_t length;
        const char* token;
    };
    const Case cases[] = {
        {"", E::Empty, 0, 0, ""},
        {" \t ", E::Empty, 3, 0, ""},
        {"x*x+sim(x)", E::UnknownName, 4, 3, "sim"},
        {"2x", E::MissingOperator, 1, 1, "x"},
        {"2e", E::MissingOperator, 1, 1, "e"},
        {"x(2)", E::MissingOperator, 1, 1, "("},
        {"(2 x)", E::MissingOperator, 3, 1, "x"},
        {"(x+1", E::UnclosedParenthesis, 0, 1, "("},
        {"sin((x)", E::UnclosedParenthesis, 3, 1, "("},
        {"x+1)", E::UnopenedParenthesis, 3, 1, ")"},
        {"x+", E::MissingOperand, 2, 0, ""},
        {"x**2", E::MissingOperand, 2, 1, "*"},
        {"()", E::MissingOperand, 1, 1, ")"},
        {"sin x", E::MissingArgument, 0, 3, "sin"},
        {"pi(x)", E::MissingOperator, 2, 1, "("},
        {"0,5*x", E::DecimalComma, 1, 1, ","},
        {"sin(x,2)", E::UnexpectedCharacter, 5, 1, ","},
        {"x#2", E::UnexpectedCharacter, 1, 1, "#"},
        {"x+\xc4\x85", E::UnexpectedCharacter, 2, 1, "\xc4\x85"},
        {"x+\xff", E::UnexpectedCharacter, 2, 1, "\xff"},
        {"1e999*x", E::NumberOutOfRange, 0, 5, "1e999"},
        {".", E::UnexpectedCharacter, 0, 1, "."},
    };
    for (const Case& c : cases) {
        const ExpressionReading r = readExpression(c.text);
        EXPECT_EQ(r.problem.error, c.error) << c.text;
        EXPECT_EQ(r.problem.position, c.position) << c.text;
        EXPECT_EQ(r.problem.length, c.length) << c.text;
        EXPECT_EQ(r.problem.token, c.token) << c.text;
        EXPECT_TRUE(r.expression.program.empty()) << c.text;
    }
}

// At most 200 characters (not bytes) and 32 levels of parentheses.
TEST(Expression, LimitsOfLengthAndNesting) {
    const auto nested = [](int levels) {
        return std::string(static_cast<std::size_t>(levels), '(') + "x" +
               std::string(static_cast<std::size_t>(levels), ')');
    };
    EXPECT_TRUE(readExpression(nested(32)).ok());
    const ExpressionReading deep = readExpression(nested(33));
    EXPECT_EQ(deep.problem.error, ExpressionError::TooDeep);
    EXPECT_EQ(deep.problem.position, 32u);

    std::string longest = "x";
    while (longest.size() < 199) longest += "^x";
    ASSERT_EQ(longest.size(), 199u);
    const ExpressionReading tower = readExpression(longest + " ");
    ASSERT_TRUE(tower.ok());
    EXPECT_EQ(tower.expression.stackDepth, 100u);
    EXPECT_EQ(evaluateExpression(tower.expression, 1.0f), 1.0);
    EXPECT_EQ(readExpression(longest + "  ").problem.error, ExpressionError::TooLong);

    std::string polish;
    for (int i = 0; i < 200; ++i) polish += "\xc4\x85";  // 200 characters in 400 bytes
    EXPECT_EQ(readExpression(polish).problem.error, ExpressionError::UnexpectedCharacter);
    EXPECT_EQ(readExpression(polish + "x").problem.error, ExpressionError::TooLong);
}

}  // namespace
}  // namespace korzenik
