// The number texts of the result lines, the labels and the edit boxes. This file is compiled
// twice: against the standard library's converters and against the browser build's (the C
// library's printf and fast_float), so both are held to the same table.
#include "core/number_format.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>
#include <utility>

using namespace korzenik;

TEST(NumberFormat, FixedIsPrintfLike) {
    EXPECT_EQ(formatFixed(1.3333333730697632, 5), "1.33333");
    EXPECT_EQ(formatFixed(-0.0002049, 6), "-0.000205");
    EXPECT_EQ(formatFixed(-4.0, 1), "-4.0");
    EXPECT_EQ(formatFixed(0.25, 1), "0.2");  // ties round to even, as printf does
    EXPECT_EQ(formatFixed(-0.0, 1), "-0.0");
    EXPECT_EQ(formatFixed(3e38, 1).size(), 41u);
}

namespace {
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
}  // namespace

TEST(DialogNumberFormat, SixSignificantDigitsAndThreeDigitExponent) {
    const std::pair<float, const char*> cases[] = {
        {0.f, "0"},           {2.5f, "2.5"},          {0.1f, "0.1"},
        {0.0001f, "0.0001"},  {0.00001f, "1e-005"},   {123.4567f, "123.457"},
        {123456.f, "123456"}, {10000000.f, "1e+007"}, {1234567.f, "1.23457e+006"},
        {-3.f, "-3"},         {1e38f, "1e+038"},      {-0.f, "-0"},
        {kInf, "inf"},        {-kInf, "-inf"},        {kNaN, "nan"},
        {-kNaN, "nan"}};
    for (const auto& [value, text] : cases) EXPECT_EQ(formatDialogNumber(value), text) << text;
}

// Zero counts only when written with a leading zero digit; white space around is skipped; d and D
// are exponent letters; a double underflowing to exactly 0 is refused, but a tiny non-zero one
// is taken and stored as 0; a magnitude that rounds beyond the largest float is refused; only
// the first 31 characters are seen.
TEST(DialogNumberReader, AcceptsOnlyWhollyDecimalNumbers) {
    const std::string blanks29(29, ' ');
    const std::pair<std::string, float> accepted[] = {
        {"0", 0.f},
        {"00", 0.f},
        {"0e5", 0.f},
        {"  0  ", 0.f},
        {"\t0.0\t", 0.f},
        {"0d9", 0.f},
        {".5", 0.5f},
        {"2.5e-1", 0.25f},
        {"1d3", 1000.f},
        {"1D+3", 1000.f},
        {"1E3", 1000.f},
        {"5.", 5.f},
        {"5.e1", 50.f},
        {"+3", 3.f},
        {" \t-3 ", -3.f},
        {"\n7", 7.f},
        {"0.001", 0.001f},
        {"1e-50", 0.f},
        {"3.4028235e38", std::numeric_limits<float>::max()},
        {"-3.40282356e38", -std::numeric_limits<float>::max()},  // below the halfway point
        {"0.0000000001e-99999999999", 0.f},
        {"1" + blanks29 + " x", 1.f},  // 'x' is the 32nd character
        {"1234567890123456789012345678901999", 1234567890123456789012345678901.f}};
    for (const auto& [text, value] : accepted) {
        const std::optional<float> v = parseDialogNumber(text);
        ASSERT_TRUE(v.has_value()) << '"' << text << '"';
        EXPECT_EQ(*v, value) << '"' << text << '"';
    }
    EXPECT_EQ(parseDialogNumberAsDouble("1e-50"), 1e-50);
    EXPECT_EQ(parseDialogNumberAsDouble("3e-324"), std::numeric_limits<double>::denorm_min());

    for (const std::string text :
         {"", "   ", "-0", "+0", ".0", "-0.0", "abc", "-", ".", "0,5", "1e", "1e+", "1d", "1 2",
          "- 1", "1\n", "1x", "0x10", "inf", "nan", "-inf", "infinity", "1.2.3", "++1", "e5",
          "1e-400", "-1e-400", "2e-324",
          // beyond the largest float: no field may hold an infinity it cannot show as a number
          "1e39", "-1e39", "3.4028236e38", "1e308", "-1e400", "1e99999999999999999999"}) {
        EXPECT_FALSE(parseDialogNumber(text).has_value()) << '"' << text << '"';
    }
    EXPECT_FALSE(parseDialogNumber("1" + blanks29 + "x").has_value());  // 'x' is the 31st
}

TEST(DialogNumberReader, WriteThenReadSettlesAtSixSignificantDigits) {
    EXPECT_EQ(formatDialogNumber(*parseDialogNumber("123.4567")), "123.457");
    EXPECT_EQ(parseDialogNumber("123.457"), 123.457f);
    for (float v : {123.4567f, 0.1f, 1e-5f, 3.14159265f, -2.71828f, 1e7f, 6.02214e23f, 1e-38f}) {
        const std::string once = formatDialogNumber(v);
        EXPECT_EQ(formatDialogNumber(*parseDialogNumber(once)), once) << once;
    }
}

#ifndef KORZENIK_C_LIBRARY_NUMBERS
// A Polish desktop writes decimal commas; the dialog's numbers keep their points. (The C library
// path follows the process locale and is only used where the C library has no other.)
TEST(DialogNumberReader, IgnoresTheProcessLocale) {
#ifdef _WIN32
    const char* const polish = "Polish_Poland.1250";  // the C runtime's name of the locale
#else
    // The test's set-up generates the locale into the build tree and points LOCPATH there.
    const char* const polish = "pl_PL.UTF-8";
#endif
    const char* const locpath = std::getenv("LOCPATH");
    ASSERT_NE(std::setlocale(LC_ALL, polish), nullptr)
        << "the Polish locale was not generated (LOCPATH=" << (locpath ? locpath : "") << ")";
    EXPECT_FALSE(parseDialogNumber("0,5").has_value());
    EXPECT_EQ(parseDialogNumber("0.5"), 0.5f);
    EXPECT_EQ(parseDialogNumber("1.5e3"), 1500.f);
    EXPECT_EQ(formatDialogNumber(2.5f), "2.5");
    EXPECT_EQ(formatFixed(-4.25, 1), "-4.2");
    std::setlocale(LC_ALL, "C");
}
#endif
