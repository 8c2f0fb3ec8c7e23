#include "platform/zu/zuPrint.hpp"

#include <gtest/gtest.h>

#include <thread>

TEST(zuPrintTest, CaptureCollectsFormattedText) {
    ZuPrintCapture capture;
    EXPECT_EQ(zuPrintf("%s has %d ports\n", "Gain", 2), 17);
    zuPrintf("%5.2f%%", 12.345);
    EXPECT_EQ(capture.text(), "Gain has 2 ports\n12.35%");
    capture.clear();
    EXPECT_EQ(capture.text(), "");
}

TEST(zuPrintTest, InnermostCaptureReceivesTextAndOuterResumesAfterIt) {
    ZuPrintCapture outer;
    zuPrintf("a");
    {
        ZuPrintCapture inner;
        zuPrintf("b");
        EXPECT_EQ(inner.text(), "b");
    }
    zuPrintf("c");
    EXPECT_EQ(outer.text(), "ac");
}

TEST(zuPrintTest, CaptureEndedOutOfOrderIsUnlinked) {
    auto* first = new ZuPrintCapture;
    ZuPrintCapture second;
    delete first; // ends under `second`, which must stay installed and then restore nothing stale
    zuPrintf("x");
    EXPECT_EQ(second.text(), "x");
}

TEST(zuPrintTest, TextFromOtherThreadsIsCaptured) {
    ZuPrintCapture capture;
    std::thread worker([] {
        for (int i = 0; i < 100; ++i)
            zuPrintf("%c", 'w');
    });
    worker.join();
    EXPECT_EQ(capture.text(), std::string(100, 'w'));
}
