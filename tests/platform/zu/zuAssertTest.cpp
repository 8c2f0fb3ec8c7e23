#include "platform/zu/zuAssert.hpp"
#include "tests/support/AssertionRecorder.hpp"

#include <gtest/gtest.h>

TEST(zuAssertTest, FailedAssertionReportsExpressionSourceLineMessageAndContinues) {
    KiteTest::AssertionRecorder recorder;
    int reached = 0;
    const int line = __LINE__ + 1;
    zu_assert(reached == 1, "reached must be one");
    reached = 2; // execution goes on after the report

    ASSERT_EQ(recorder.count(), 1u);
    const ZuAssertionReport report = recorder.reports().front();
    EXPECT_EQ(report.expression, "reached == 1");
    EXPECT_EQ(report.source, "tests/platform/zu/zuAssertTest.cpp");
    EXPECT_EQ(report.line, line);
    EXPECT_EQ(report.message, "reached must be one");
    EXPECT_EQ(report.detail, "");
    EXPECT_EQ(reached, 2);
}

TEST(zuAssertTest, PassingAssertionReportsNothingAndEvaluatesOnce) {
    KiteTest::AssertionRecorder recorder;
    int evaluations = 0;
    zu_assert(++evaluations == 1, "first");
    zu_assertstr(evaluations == 1, "second", std::string("detail"));
    EXPECT_EQ(evaluations, 1);
    EXPECT_EQ(recorder.count(), 0u);
}

TEST(zuAssertTest, StringAssertionCarriesDetailAndReportsKeepTheirOrder) {
    KiteTest::AssertionRecorder recorder;
    const std::string detail = "KITE_Error_Executing_Command: Error executing command ''.";
    zu_assertstr(false, ": !status.hasError(),", detail);
    zu_assert(1 + 1 == 3, std::string("arithmetic"));

    ASSERT_EQ(recorder.count(), 2u);
    EXPECT_EQ(recorder.expressions(), (std::vector<std::string>{"false", "1 + 1 == 3"}));
    EXPECT_EQ(recorder.reports()[0].message, ": !status.hasError(),");
    EXPECT_EQ(recorder.reports()[0].detail, detail);

    recorder.clear();
    EXPECT_EQ(recorder.count(), 0u);
    EXPECT_TRUE(recorder.reports().empty());
}

TEST(zuAssertTest, RepositoryPathDropsRelativePrefixes) {
    EXPECT_EQ(zuRepositoryPath("../../editor/Editor.cpp"), "editor/Editor.cpp");
    EXPECT_EQ(zuRepositoryPath("./main/initialize.cpp"), "main/initialize.cpp");
    EXPECT_EQ(zuRepositoryPath("editor/Editor"), "editor/Editor");
}

TEST(zuAssertTest, AssertionInALoopKeepsTheLatestReportsAndCountsAll) {
    KiteTest::AssertionRecorder recorder;
    for (int i = 0; i < 10005; ++i)
        zu_assertstr(false, "loop", std::to_string(i));
    EXPECT_EQ(recorder.count(), 10005u);
    const auto reports = recorder.reports();
    ASSERT_EQ(reports.size(), 10000u);
    EXPECT_EQ(reports.front().detail, "5");
    EXPECT_EQ(reports.back().detail, "10004");
}
