#include "app/data_exchange.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

#include "app/res/resource.h"
#include "app/solver_dialog.h"
#include "app/fake_host.h"

using namespace korzenik;
using namespace korzenik::res;

TEST(DialogNumberFormat, SixSignificantDigitsAndThreeDigitExponent) {
    EXPECT_EQ(formatDialogNumber(0.f), "0");
    EXPECT_EQ(formatDialogNumber(2.5f), "2.5");
    EXPECT_EQ(formatDialogNumber(2.50f), "2.5");
    EXPECT_EQ(formatDialogNumber(0.1f), "0.1");
    EXPECT_EQ(formatDialogNumber(0.0001f), "0.0001");
    EXPECT_EQ(formatDialogNumber(0.00001f), "1e-005");
    EXPECT_EQ(formatDialogNumber(123.4567f), "123.457");
    EXPECT_EQ(formatDialogNumber(10000000.f), "1e+007");
    EXPECT_EQ(formatDialogNumber(123456.f), "123456");
    EXPECT_EQ(formatDialogNumber(1234567.f), "1.23457e+006");
    EXPECT_EQ(formatDialogNumber(-3.f), "-3");
    EXPECT_EQ(formatDialogNumber(0.001f), "0.001");
    EXPECT_EQ(formatDialogNumber(1e38f), "1e+038");
    EXPECT_EQ(formatDialogNumber(-0.f), "-0");
}

TEST(DialogNumberFormat, NonFiniteValues) {
    EXPECT_EQ(formatDialogNumber(std::numeric_limits<float>::infinity()), "inf");
    EXPECT_EQ(formatDialogNumber(-std::numeric_limits<float>::infinity()), "-inf");
    EXPECT_EQ(formatDialogNumber(std::numeric_limits<float>::quiet_NaN()), "nan");
    EXPECT_EQ(formatDialogNumber(-std::numeric_limits<float>::quiet_NaN()), "nan");
}

TEST(DialogNumberReader, AcceptsZeroOnlyWhenWrittenWithALeadingZeroDigit) {
    for (const char* text : {"0", "00", "0e5", "0.0", "  0  ", "\t0.0\t", "0d9"}) {
        const auto v = parseDialogNumber(text);
        ASSERT_TRUE(v.has_value()) << text;
        EXPECT_EQ(*v, 0.f) << text;
    }
    for (const char* text : {"", "   ", "-0", "+0", ".0", "-0.0", "abc", "-", "."}) {
        EXPECT_FALSE(parseDialogNumber(text).has_value()) << '"' << text << '"';
    }
}

TEST(DialogNumberReader, DecimalFormsWithExponentLetters) {
    EXPECT_EQ(parseDialogNumber(".5"), 0.5f);
    EXPECT_EQ(parseDialogNumber("2.5e-1"), 0.25f);
    EXPECT_EQ(parseDialogNumber("1d3"), 1000.f);
    EXPECT_EQ(parseDialogNumber("1D+3"), 1000.f);
    EXPECT_EQ(parseDialogNumber("1E3"), 1000.f);
    EXPECT_EQ(parseDialogNumber("5."), 5.f);
    EXPECT_EQ(parseDialogNumber("5.e1"), 50.f);
    EXPECT_EQ(parseDialogNumber("+3"), 3.f);
    EXPECT_EQ(parseDialogNumber("-2.5"), -2.5f);
    EXPECT_EQ(parseDialogNumber(" \t-3 "), -3.f);
    EXPECT_EQ(parseDialogNumber("\n7"), 7.f);  // the conversion skips any white space first
    EXPECT_EQ(parseDialogNumber("0.001"), 0.001f);
}

TEST(DialogNumberReader, RejectsWhatIsNotWhollyANumber) {
    for (const char* text : {"0,5", "1,5", "1e", "1e+", "1d", "1 2", "- 1", "1\n", "1x", "0x10",
                             "inf", "nan", "-inf", "infinity", "1.2.3", "++1", "e5"}) {
        EXPECT_FALSE(parseDialogNumber(text).has_value()) << '"' << text << '"';
    }
}

TEST(DialogNumberReader, UnderflowAndOverflow) {
    EXPECT_FALSE(parseDialogNumber("1e-400").has_value());  // converts to 0
    EXPECT_FALSE(parseDialogNumber("-1e-400").has_value());
    EXPECT_FALSE(parseDialogNumber("2e-324").has_value());
    // A tiny but non-zero double is accepted and stored as 0 in single precision.
    EXPECT_EQ(parseDialogNumberAsDouble("1e-50"), 1e-50);
    EXPECT_EQ(parseDialogNumber("1e-50"), 0.f);
    EXPECT_EQ(parseDialogNumberAsDouble("3e-324"), std::numeric_limits<double>::denorm_min());
    EXPECT_EQ(parseDialogNumber("1e400"), std::numeric_limits<float>::infinity());
    EXPECT_EQ(parseDialogNumber("-1e400"), -std::numeric_limits<float>::infinity());
    EXPECT_EQ(parseDialogNumber("1e99999999999999999999"), std::numeric_limits<float>::infinity());
    EXPECT_EQ(parseDialogNumber("0.0000000001e-99999999999"), 0.f);  // starts with 0
    EXPECT_EQ(parseDialogNumber("0e99999999999999999999"), 0.f);
    EXPECT_EQ(parseDialogNumber("1e39"), std::numeric_limits<float>::infinity());
}

TEST(DialogNumberReader, SeesOnlyTheFirst31Characters) {
    const std::string blanks29(29, ' ');
    EXPECT_FALSE(parseDialogNumber("1" + blanks29 + "x").has_value());  // 'x' is the 31st
    EXPECT_EQ(parseDialogNumber("1" + blanks29 + " x"), 1.f);        // 'x' is the 32nd
    EXPECT_EQ(parseDialogNumber("1234567890123456789012345678901999"),
              1234567890123456789012345678901.f);
}

TEST(DialogNumberReader, WriteThenReadKeepsSixSignificantDigits) {
    const float typed = *parseDialogNumber("123.4567");
    const std::string shown = formatDialogNumber(typed);
    EXPECT_EQ(shown, "123.457");
    const float reread = *parseDialogNumber(shown);
    EXPECT_EQ(reread, 123.457f);
    EXPECT_EQ(formatDialogNumber(reread), shown);
    for (float v : {0.1f, 1e-5f, 3.14159265f, -2.71828f, 1e7f, 6.02214e23f, 1e-38f}) {
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

namespace {

struct Exchange : ::testing::Test {
    FakeDialogHost host;
    SolverState state;
    CSolverDialog dialog{host, state};
    void SetUp() override { dialog.OnInitDialog(); }
};

}  // namespace

TEST_F(Exchange, StartUpWritesZeroesBlankLabelsAndNoSelection) {
    EXPECT_EQ(host.comboItems, (std::vector<std::string>{
                                   "f(x) = x*x-4", "f(x) = x*x*x+5*x*x-2*x-4", "f(x) = sin(x)",
                                   "f(x) = 3*sin(x*x)+2*cos(x)",
                                   "f(x) = 2*sin(x*x*x)-cos(x*x)+5*cos(x)"}));
    EXPECT_EQ(host.comboSel, -1);
    for (int id : {IDC_START, IDC_END, IDC_PRECISION}) EXPECT_EQ(host.texts[id], "0");
    for (int id : {IDC_XMIN, IDC_XMAX, IDC_YMIN, IDC_YMAX}) EXPECT_EQ(host.texts[id], "");
    EXPECT_EQ(host.checks[IDC_AUTO], 0);
    // Texts that already match are not written again.
    const int writes = host.textWrites;
    dialog.UpdateData(false);
    EXPECT_EQ(host.textWrites, writes);
}

TEST_F(Exchange, RejectedPrecisionStopsBeforeEveryLaterMember) {
    host.texts[IDC_PRECISION] = "0,5";
    host.texts[IDC_END] = "5";
    host.texts[IDC_START] = "1";
    host.texts[IDC_XMAX] = "changed";
    host.checks[IDC_AUTO] = 1;
    host.comboSel = 2;
    EXPECT_FALSE(dialog.UpdateData(true));
    EXPECT_EQ(host.events, (std::vector<std::string>{
                               "message|exclamation|Korzenik|Please enter a number.",
                               "focus|1004"}));
    EXPECT_EQ(dialog.m_xMaxText, "");
    EXPECT_EQ(dialog.m_end, 0.f);
    EXPECT_EQ(dialog.m_start, 0.f);
    EXPECT_EQ(dialog.m_auto, 0);
    EXPECT_EQ(dialog.m_functionLabel, "");
}

TEST_F(Exchange, RejectedEndKeepsEarlierMembersUpdated) {
    host.texts[IDC_PRECISION] = "0.25";
    host.texts[IDC_XMIN] = "x";
    host.texts[IDC_END] = "-0";
    host.texts[IDC_START] = "1";
    host.checks[IDC_AUTO] = 1;
    EXPECT_FALSE(dialog.UpdateData(true));
    EXPECT_EQ(host.events.back(), "focus|1003");
    EXPECT_EQ(dialog.m_precision, 0.25f);
    EXPECT_EQ(dialog.m_xMinText, "x");
    EXPECT_EQ(dialog.m_start, 0.f);
    EXPECT_EQ(dialog.m_auto, 0);
}

TEST_F(Exchange, ReadsEveryMemberWhenAllNumbersAreGood) {
    host.texts[IDC_PRECISION] = "1e-3";
    host.texts[IDC_END] = " 3 ";
    host.texts[IDC_START] = "-1d0";
    host.checks[IDC_AUTO] = 1;
    host.comboSel = 3;
    EXPECT_TRUE(dialog.UpdateData(true));
    EXPECT_TRUE(host.events.empty());
    EXPECT_EQ(dialog.m_precision, 0.001f);
    EXPECT_EQ(dialog.m_end, 3.f);
    EXPECT_EQ(dialog.m_start, -1.f);
    EXPECT_EQ(dialog.m_auto, 1);
    EXPECT_EQ(dialog.m_functionLabel, "f(x) = 3*sin(x*x)+2*cos(x)");
}

TEST_F(Exchange, CheckStateOutsideZeroToTwoIsWrittenAsClear) {
    dialog.m_auto = 5;
    dialog.UpdateData(false);
    EXPECT_EQ(dialog.m_auto, 0);
    EXPECT_EQ(host.checks[IDC_AUTO], 0);
    dialog.m_auto = -1;
    dialog.UpdateData(false);
    EXPECT_EQ(dialog.m_auto, 0);
    dialog.m_auto = 1;
    dialog.UpdateData(false);
    EXPECT_EQ(host.checks[IDC_AUTO], 1);
}

TEST_F(Exchange, DropDownWriteSelectsFirstItemBeginningWithTheLabelIgnoringCase) {
    dialog.m_functionLabel = "F(X) = X*X";  // both of the first two items begin with it
    dialog.UpdateData(false);
    EXPECT_EQ(host.comboSel, 0);
    dialog.m_functionLabel = "f(x) = sin";
    dialog.UpdateData(false);
    EXPECT_EQ(host.comboSel, 2);
    dialog.m_functionLabel = "g(x)";  // no match: the selection stays
    dialog.UpdateData(false);
    EXPECT_EQ(host.comboSel, 2);
    dialog.m_functionLabel = "";  // empty matches nothing
    dialog.UpdateData(false);
    EXPECT_EQ(host.comboSel, 2);
    host.comboSel = -1;
    dialog.UpdateData(true);
    EXPECT_EQ(dialog.m_functionLabel, "");
}
