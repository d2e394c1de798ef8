#include "app/data_exchange.h"

#include <gtest/gtest.h>

#include <clocale>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/res/resource.h"
#include "app/solver_dialog.h"
#include "app/test_host.h"

using namespace korzenik;
using namespace korzenik::res;

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
// is taken and stored as 0; only the first 31 characters are seen.
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
        {"1e39", kInf},
        {"-1e400", -kInf},
        {"1e99999999999999999999", kInf},
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
         {"",     "   ",      "-0",    "+0",  ".0",  "-0.0",   "abc",     "-",     ".",   "0,5",
          "1e",   "1e+",      "1d",    "1 2", "- 1", "1\n",    "1x",      "0x10",  "inf", "nan",
          "-inf", "infinity", "1.2.3", "++1", "e5",  "1e-400", "-1e-400", "2e-324"}) {
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

TEST(DialogNumberReader, IgnoresTheProcessLocale) {
    if (!std::setlocale(LC_ALL, "pl_PL.UTF-8") && !std::setlocale(LC_ALL, "pl_PL")) {
        GTEST_SKIP() << "no Polish locale on this machine";
    }
    EXPECT_FALSE(parseDialogNumber("0,5").has_value());
    EXPECT_EQ(parseDialogNumber("0.5"), 0.5f);
    EXPECT_EQ(formatDialogNumber(2.5f), "2.5");
    std::setlocale(LC_ALL, "C");
}

// The members are read in the order precision, the four labels, end, start, Auto, function; a
// refused number is reported, its field focused, and the members after it keep their values.
TEST(DataExchange, ReadsInOrderAndStopsAtARefusedNumber) {
    const std::pair<int, const char*> refusals[] = {
        {IDC_PRECISION, "precision"}, {IDC_END, "end"}, {IDC_START, "start"}, {0, ""}};
    for (const auto& [refused, name] : refusals) {
        TestHost host;
        SolverState state;
        CSolverDialog dialog{host, state};
        dialog.OnInitDialog();
        host.typeText(IDC_PRECISION, refused == IDC_PRECISION ? "0,5" : "1e-3");
        host.typeText(IDC_XMIN, "x");
        host.typeText(IDC_END, refused == IDC_END ? "-0" : " 3 ");
        host.typeText(IDC_START, refused == IDC_START ? "0,5" : "-1d0");
        host.setAuto(true);
        host.setComboSelection(IDC_FUNCTION, 3);
        SCOPED_TRACE(name);
        EXPECT_EQ(dialog.UpdateData(true), refused == 0);
        const bool all = refused == 0;
        const bool pastEnd = all || refused == IDC_START;
        const bool pastPrecision = pastEnd || refused == IDC_END;
        std::vector<std::string> reported;
        if (!all) {
            reported = {R"({"event":"message","icon":"exclamation","caption":"Korzenik",)"
                        R"("text":"Please enter a number."})",
                        R"({"event":"focus","control":")" + std::string(name) + "\"}"};
        }
        EXPECT_EQ(host.events, reported);
        EXPECT_EQ(dialog.m_precision, pastPrecision ? 0.001f : 0.f);
        EXPECT_EQ(dialog.m_xMinText, pastPrecision ? "x" : "");
        EXPECT_EQ(dialog.m_end, pastEnd ? 3.f : 0.f);
        EXPECT_EQ(dialog.m_start, all ? -1.f : 0.f);
        EXPECT_EQ(dialog.m_auto, all ? 1 : 0);
        EXPECT_EQ(dialog.m_functionLabel, all ? "f(x) = 3*sin(x*x)+2*cos(x)" : "");
    }
}

TEST(DataExchange, WritesZeroesBlankLabelsAndOnlyWhatChanged) {
    TestHost host;
    SolverState state;
    CSolverDialog dialog{host, state};
    dialog.OnInitDialog();
    EXPECT_EQ(host.comboSelection(IDC_FUNCTION), -1);
    for (int id : {IDC_START, IDC_END, IDC_PRECISION}) EXPECT_EQ(host.controlText(id), "0");
    for (int id : {IDC_XMIN, IDC_XMAX, IDC_YMIN, IDC_YMAX}) EXPECT_EQ(host.controlText(id), "");
    const int writes = host.textWrites;
    dialog.UpdateData(false);
    EXPECT_EQ(host.textWrites, writes);  // texts that already match are not written again

    // A check state outside 0..2 is written as clear.
    for (const auto& [member, shown] : {std::pair{5, 0}, {-1, 0}, {1, 1}}) {
        dialog.m_auto = member;
        dialog.UpdateData(false);
        EXPECT_EQ(host.checkState(IDC_AUTO), shown) << member;
        EXPECT_EQ(dialog.m_auto, shown) << member;
    }

    // The drop-down selects the first item that begins with the label, ignoring case; an empty
    // label or one without a match leaves the selection as it is.
    for (const auto& [label, selected] :
         {std::pair{"F(X) = X*X", 0}, {"f(x) = sin", 2}, {"g(x)", 2}, {"", 2}}) {
        dialog.m_functionLabel = label;
        dialog.UpdateData(false);
        EXPECT_EQ(host.comboSelection(IDC_FUNCTION), selected) << label;
    }
    host.setComboSelection(IDC_FUNCTION, -1);
    dialog.UpdateData(true);
    EXPECT_EQ(dialog.m_functionLabel, "");
}
