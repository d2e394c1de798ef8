#include "core/solver_state.h"

#include <gtest/gtest.h>

#include <limits>

using namespace korzenik;

namespace {
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
}

TEST(SolverState, SelectionStatusResetAndTheNoFunctionAnswer) {
    SolverState s;
    EXPECT_TRUE(selectFunction(s, 0));  // nothing chosen yet
    EXPECT_EQ(s.previousFunction, kNoFunctionRecorded);
    EXPECT_FALSE(selectFunction(s, 3));  // the first pick is a change
    EXPECT_EQ(s.selectionStatus, SelectionStatus::Changed);
    EXPECT_FALSE(selectFunction(s, 3));
    EXPECT_EQ(s.selectionStatus, SelectionStatus::Same);
    EXPECT_FALSE(selectFunction(s, 1));
    EXPECT_EQ(s.selectionStatus, SelectionStatus::Changed);
    EXPECT_FALSE(selectFunction(s, 0));  // a function is still in use
    EXPECT_EQ(s.functionIndex, 1);
    EXPECT_EQ(s.selectionStatus, SelectionStatus::Changed);
    commitInterval(s, -3.f, 3.f, 0.001f);
    s.iterationCounter = 9;
    s.bracketA = -1.5f;
    resetSolverState(s);  // back to the open stage; function, committed values and bracket stay
    EXPECT_EQ(s.iterationCounter, 1);
    EXPECT_EQ(s.stage, Stage::Open);
    EXPECT_EQ(s.committedStart, -3.f);
    EXPECT_EQ(s.bracketA, -1.5f);
    EXPECT_TRUE(selectFunction(s, 0));  // status 0 after a reset, the function kept
    EXPECT_EQ(s.functionIndex, 1);
    EXPECT_FALSE(selectFunction(s, 1));  // the same function after a reset is "same"
    EXPECT_EQ(s.selectionStatus, SelectionStatus::Same);
}

// Interval changes compare as single floats where -0 equals 0 and NaN equals anything.
TEST(SolverState, ResetDueOnlyWhenCommittedAndSomethingChanged) {
    SolverState s;
    selectFunction(s, 1);
    EXPECT_FALSE(resetDue(s, 5.f, 7.f));  // stage 0
    commitInterval(s, 0.f, 3.f, 0.001f);
    EXPECT_TRUE(resetDue(s, 0.f, 3.f));  // the function changed at this Confirm
    selectFunction(s, 1);
    const struct {
        Stage stage;
        float start, end;
        bool due;
    } cases[] = {
        {Stage::Committed, 0.f, 3.f, false},  {Stage::Committed, 1.f, 3.f, true},
        {Stage::Committed, 0.f, 4.f, true},   {Stage::Committed, -0.f, 3.f, false},
        {Stage::Committed, kNaN, 3.f, false}, {Stage::Committed, 0.f, kNaN, false},
        {Stage::RootAtEnd, 0.f, 3.f, false},  {Stage::RootAtEnd, 0.f, 4.f, true},
        {Stage::Open, -100.f, 100.f, false},
    };
    for (const auto& c : cases) {
        s.stage = c.stage;
        EXPECT_EQ(resetDue(s, c.start, c.end), c.due)
            << "stage " << static_cast<int>(c.stage) << " " << c.start << ".." << c.end;
    }
}

// Adopting keeps the narrowed bracket for the same interval (only the precision follows) and
// puts it back on a new interval; the stage and the counter stay either way.
TEST(SolverState, AdoptIntervalMovesTheBracketOnlyForANewInterval) {
    SolverState s;
    commitInterval(s, 0.f, 3.f, 0.001f);
    s.stage = Stage::RootAtEnd;
    s.bracketA = 1.84615f;
    s.iterationCounter = 3;
    adoptInterval(s, kNaN, 3.f, 0.5f);  // NaN compares equal: the same interval
    EXPECT_EQ(s.committedStart, 0.f);
    EXPECT_EQ(s.committedPrecision, 0.5f);
    EXPECT_EQ(s.bracketA, 1.84615f);
    adoptInterval(s, 2.f, 5.f, 0.01f);
    EXPECT_EQ(s.bracketA, 2.f);
    EXPECT_EQ(s.bracketB, 5.f);
    EXPECT_EQ(s.committedStart, 2.f);
    EXPECT_EQ(s.committedEnd, 5.f);
    EXPECT_EQ(s.committedPrecision, 0.01f);
    EXPECT_EQ(s.stage, Stage::RootAtEnd);
    EXPECT_EQ(s.iterationCounter, 3);
}
