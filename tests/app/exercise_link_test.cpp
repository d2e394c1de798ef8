// An exercise in an address: what a fragment enters into the controls, what it passes over, and
// the fragment made from the controls opening as exactly what they held.
#include "app/exercise_link.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "app/memory_dialog.h"
#include "app/res/resource.h"
#include "app/solver_dialog.h"

using namespace korzenik;
using namespace korzenik::res;

namespace {

/// The controls as they first show: no function, the three fields at 0, Auto clear.
struct Controls {
    int function = -1;
    std::string start = "0", end = "0", precision = "0";
    int autoSteps = 0;
    std::string expression;
    bool expressionEnabled = false;
    bool operator==(const Controls&) const = default;
    friend void PrintTo(const Controls& c, std::ostream* out) {
        *out << c.function << " [" << c.start.substr(0, 40) << "] [" << c.end.substr(0, 40) << "] ["
             << c.precision.substr(0, 40) << "] " << c.autoSteps << " [" << c.expression << "] "
             << c.expressionEnabled;
    }
};

Controls controlsOf(const MemoryDialog& host) {
    return {host.comboSelection(IDC_FUNCTION), host.controlText(IDC_START),
            host.controlText(IDC_END),         host.controlText(IDC_PRECISION),
            host.checkState(IDC_AUTO),         host.controlText(IDC_EXPRESSION),
            host.isEnabled(IDC_EXPRESSION)};
}

/// The controls after a fresh dialog opened the fragment.
Controls opened(std::string_view fragment) {
    MemoryDialog host;
    SolverState state;
    CSolverDialog dialog{host, state};
    dialog.OnInitDialog();
    openExercise(host, fragment);
    return controlsOf(host);
}

/// A number the dialog reads in its first 31 characters, followed by more.
std::string numberThen(std::string_view tail) {
    return "1" + std::string(30, ' ') + std::string(tail);
}

}  // namespace

TEST(ExerciseLink, EntersWhatItGivesSurelyAndPassesOverTheRest) {
    const Controls start;
    const std::string fill(kEditTextLimit - 33, 'x');
    const struct {
        std::string fragment;
        Controls controls;
    } cases[] = {
        {"f=3&a=-1&b=0.5&p=0.001&auto=1", {2, "-1", "0.5", "0.001", 1, "", false}},
        {"auto=1&p=%31e-3&f=5&b=%2B2&unknown=7&a=1e%2B5", {4, "1e+5", "+2", "1e-3", 1, "", false}},
        // A '+' is itself; tabs and blanks stay as typed; names are decoded too.
        {"%61=+1&b=%09%202&p", {-1, "+1", "\t 2", "0", 0, "", false}},
        {"", start},
        {"&&=&a&f=&auto=", start},
        {"f=0&f=6", start},
        {"f=7", start},
        // The typed function: its field is enabled with its item, and takes only what reads.
        {"f=6&e=x%5E2%20-%202&a=1", {5, "1", "0", "0", 0, "x^2 - 2", true}},
        {"e=sin(x)", {-1, "0", "0", "0", 0, "sin(x)", false}},
        {"f=6&e=sim(x)&e=x", {5, "0", "0", "0", 0, "", true}},
        {"e=x%2C5&a=2", {-1, "2", "0", "0", 0, "", false}},
        {"f=2.0&auto=2", start},
        {"f=03&auto=01&A=1&F=2", start},
        // Given twice, even alike: the link does not say surely.
        {"a=1&a=1&b=2&f=1&f=2&auto=1&auto=1", {-1, "0", "2", "0", 0, "", false}},
        // Malformed percent-encoding.
        {"a=1%&b=%zz1&p=%4", start},
        // Texts the dialog would refuse.
        {"a=abc&b=-0&p=1e-400", start},
        {"a=1e39&b=0,5&p=%C5%BA", start},
        // Only the first 31 characters are read; the rest is typed as it is, if it can be.
        {"a=" + numberThen("%C5%BAd%C5%BAb%C5%82o"),
         {-1, numberThen("źdźbło"), "0", "0", 0, "", false}},
        {"a=" + numberThen("%C5") + "&b=" + numberThen("%C0%AF") + "&p=" + numberThen("%ED%A0%80"),
         start},
        {"a=" + numberThen("%0A") + "&b=" + numberThen("%00") + "&p=" + numberThen("%7F"), start},
        // As long as an edit box takes, in UTF-16 code units: a character beyond the BMP is two.
        {"a=" + numberThen(fill + "%F0%9F%98%80"),
         {-1, numberThen(fill + "😀"), "0", "0", 0, "", false}},
        {"a=" + numberThen(fill + "x%F0%9F%98%80"), start},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fragment.substr(0, 80));
        EXPECT_EQ(opened(c.fragment), c.controls);
    }
}

TEST(ExerciseLink, MadeFromTheControlsItOpensAsThey) {
    MemoryDialog host;
    SolverState state;
    CSolverDialog dialog{host, state};
    dialog.OnInitDialog();
    EXPECT_EQ(exerciseFragment(host), "a=0&b=0&p=0&auto=0");
    host.setComboSelection(IDC_FUNCTION, 2);
    host.typeText(IDC_START, "-1");
    host.typeText(IDC_END, "0.5");
    host.typeText(IDC_PRECISION, "0.001");
    host.setChecked(IDC_AUTO, true);
    EXPECT_EQ(exerciseFragment(host), "f=3&a=-1&b=0.5&p=0.001&auto=1");

    // What is no number stays out; every other text comes back as it was.
    host.typeText(IDC_START, " +2.5e+1\t");
    host.typeText(IDC_END, numberThen("źdźbło&a=7#%20+😀"));
    host.typeText(IDC_PRECISION, "abc");
    const std::string fragment = exerciseFragment(host);
    EXPECT_EQ(fragment.substr(0, 24), "f=3&a=%20%2B2.5e%2B1%09&");
    EXPECT_EQ(fragment.find("p="), std::string::npos);
    Controls expected = controlsOf(host);
    expected.precision = "0";
    EXPECT_EQ(opened(fragment), expected);

    // The typed function travels after its place, encoded; one that does not read stays out.
    host.setComboSelection(IDC_FUNCTION, 5);
    host.typeText(IDC_EXPRESSION, "2*sin(x^3) / (1+e)");
    host.typeText(IDC_PRECISION, "0.001");
    EXPECT_TRUE(
        exerciseFragment(host).starts_with("f=6&e=2%2Asin%28x%5E3%29%20%2F%20%281%2Be%29&a="))
        << exerciseFragment(host);
    expected = controlsOf(host);
    expected.expressionEnabled = true;
    EXPECT_EQ(opened(exerciseFragment(host)), expected);
    host.typeText(IDC_EXPRESSION, "2x");
    EXPECT_EQ(exerciseFragment(host).find("e="), std::string::npos);
}
