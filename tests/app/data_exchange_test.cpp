// The exchange between the dialog's members and its controls, against the in-memory dialog.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/res/resource.h"
#include "app/solver_dialog.h"
#include "app/test_host.h"

using namespace korzenik;
using namespace korzenik::res;

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
        host.setChecked(IDC_AUTO, true);
        host.setComboSelection(IDC_FUNCTION, 3);
        SCOPED_TRACE(name);
        EXPECT_EQ(dialog.UpdateData(true), refused == 0);
        const bool all = refused == 0;
        const bool pastEnd = all || refused == IDC_START;
        const bool pastPrecision = pastEnd || refused == IDC_END;
        if (all) {
            EXPECT_TRUE(host.pendingMessages().empty());
            EXPECT_EQ(host.focusedControl(), IDC_FUNCTION);
        } else {
            ASSERT_EQ(host.pendingMessages().size(), 1u);
            EXPECT_EQ(host.pendingMessages()[0].text, "Please enter a number.");
            EXPECT_EQ(host.pendingMessages()[0].caption, "Korzenik");
            EXPECT_EQ(host.pendingMessages()[0].icon, MessageIcon::Exclamation);
            EXPECT_EQ(host.focusedControl(), refused);
        }
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
