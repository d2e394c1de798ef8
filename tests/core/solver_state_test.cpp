#include "core/solver_state.h"

#include <gtest/gtest.h>

#include <limits>

using namespace korzenik;

namespace {
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
}

TEST(SolverState, StartsWithItsInitialValues) {
    SolverState s;
    EXPECT_EQ(s.iterationCounter, 1);
    EXPECT_EQ(s.previousFunction, 10);
    EXPECT_EQ(s.functionIndex, 0);
    EXPECT_EQ(s.selectionStatus, 0);
    EXPECT_EQ(s.noFunctionFlag, 0);
    EXPECT_EQ(s.stage, 0);
    EXPECT_EQ(s.committedStart, 0.0f);
    EXPECT_EQ(s.bracketB, 0.0f);
    EXPECT_EQ(s.approximation, 0.0f);
}

TEST(SolverState, SelectFunctionRecordsChangeThenSame) {
    SolverState s;
    EXPECT_FALSE(selectFunction(s, 3));
    EXPECT_EQ(s.selectionStatus, 1);
    EXPECT_EQ(s.previousFunction, 3);
    EXPECT_EQ(s.functionIndex, 3);
    EXPECT_FALSE(selectFunction(s, 3));
    EXPECT_EQ(s.selectionStatus, 2);
    EXPECT_FALSE(selectFunction(s, 1));
    EXPECT_EQ(s.selectionStatus, 1);
    EXPECT_EQ(s.previousFunction, 1);
}

TEST(SolverState, SelectFunctionZeroChangesNothing) {
    SolverState s;
    EXPECT_TRUE(selectFunction(s, 0));  // nothing chosen yet
    EXPECT_EQ(s.functionIndex, 0);
    EXPECT_EQ(s.previousFunction, 10);
    selectFunction(s, 2);
    EXPECT_FALSE(selectFunction(s, 0));  // status 1: a function is still in use
    EXPECT_EQ(s.functionIndex, 2);
    EXPECT_EQ(s.selectionStatus, 1);
    resetSolverState(s);
    EXPECT_TRUE(selectFunction(s, 0));  // status 0 after a reset, function kept
    EXPECT_EQ(s.functionIndex, 2);
}

TEST(SolverState, ResetDueIsFalseWhileStageIsZero) {
    SolverState s;
    selectFunction(s, 1);
    EXPECT_FALSE(resetDue(s, 5.f, 7.f));
    s.stage = 0;
    s.committedStart = 1;
    EXPECT_FALSE(resetDue(s, -100.f, 100.f));
}

TEST(SolverState, ResetDueOnChangedIntervalOrFunction) {
    SolverState s;
    selectFunction(s, 1);
    commitInterval(s, -3.f, 3.f, 0.001f);
    EXPECT_TRUE(resetDue(s, -3.f, 3.f));  // selection status 1
    selectFunction(s, 1);
    EXPECT_FALSE(resetDue(s, -3.f, 3.f));
    EXPECT_TRUE(resetDue(s, -2.f, 3.f));
    EXPECT_TRUE(resetDue(s, -3.f, 4.f));
    s.stage = 2;  // behaves as 1
    EXPECT_FALSE(resetDue(s, -3.f, 3.f));
    EXPECT_TRUE(resetDue(s, -3.f, 4.f));
}

TEST(SolverState, ComparisonsTreatSignedZerosAndNaNAsEqual) {
    SolverState s;
    selectFunction(s, 1);
    selectFunction(s, 1);
    commitInterval(s, 0.f, 3.f, 0.001f);
    EXPECT_FALSE(resetDue(s, -0.f, 3.f));
    EXPECT_FALSE(resetDue(s, kNaN, 3.f));
    EXPECT_FALSE(resetDue(s, 0.f, kNaN));
    adoptInterval(s, kNaN, 3.f, kNaN);
    EXPECT_EQ(s.committedStart, 0.f);
    EXPECT_EQ(s.committedPrecision, 0.001f);
}

TEST(SolverState, ResetKeepsFunctionCommittedValuesAndBracket) {
    SolverState s;
    selectFunction(s, 4);
    commitInterval(s, -3.f, 3.f, 0.001f);
    s.iterationCounter = 9;
    s.bracketA = -1.5f;
    resetSolverState(s);
    EXPECT_EQ(s.iterationCounter, 1);
    EXPECT_EQ(s.selectionStatus, 0);
    EXPECT_EQ(s.stage, 0);
    EXPECT_EQ(s.functionIndex, 4);
    EXPECT_EQ(s.previousFunction, 4);
    EXPECT_EQ(s.committedStart, -3.f);
    EXPECT_EQ(s.bracketA, -1.5f);
    // The same function again after the reset is "same", so it alone does not reset again.
    selectFunction(s, 4);
    EXPECT_EQ(s.selectionStatus, 2);
}

TEST(SolverState, CommitSetsIntervalBracketAndStage) {
    SolverState s;
    commitInterval(s, -3.f, 3.f, 0.001f);
    EXPECT_EQ(s.bracketA, -3.f);
    EXPECT_EQ(s.bracketB, 3.f);
    EXPECT_EQ(s.committedStart, -3.f);
    EXPECT_EQ(s.committedEnd, 3.f);
    EXPECT_EQ(s.committedPrecision, 0.001f);
    EXPECT_EQ(s.stage, 1);
}

TEST(SolverState, AdoptWithSameIntervalChangesOnlyPrecision) {
    SolverState s;
    commitInterval(s, 0.f, 3.f, 0.001f);
    s.bracketA = 1.84615f;
    s.iterationCounter = 3;
    adoptInterval(s, 0.f, 3.f, 0.5f);
    EXPECT_EQ(s.committedPrecision, 0.5f);
    EXPECT_EQ(s.bracketA, 1.84615f);
    EXPECT_EQ(s.bracketB, 3.f);
    EXPECT_EQ(s.stage, 1);
    EXPECT_EQ(s.iterationCounter, 3);
}

TEST(SolverState, AdoptWithNewIntervalResetsBracketButNotStageOrCounter) {
    SolverState s;
    commitInterval(s, 0.f, 3.f, 0.001f);
    s.stage = 2;
    s.bracketA = 1.5f;
    s.iterationCounter = 4;
    adoptInterval(s, 2.f, 5.f, 0.01f);
    EXPECT_EQ(s.bracketA, 2.f);
    EXPECT_EQ(s.bracketB, 5.f);
    EXPECT_EQ(s.committedStart, 2.f);
    EXPECT_EQ(s.committedEnd, 5.f);
    EXPECT_EQ(s.committedPrecision, 0.01f);
    EXPECT_EQ(s.stage, 2);
    EXPECT_EQ(s.iterationCounter, 4);
}
