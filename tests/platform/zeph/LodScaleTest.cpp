#include "platform/zeph/LodScale.hpp"

#include <gtest/gtest.h>

#include <limits>

using namespace ZEPH;

namespace {

// Puts the process-wide scale back for the tests after this one.
class LodScaleTest : public ::testing::Test {
protected:
    void TearDown() override { LodScale::instance().setScales(1.0, 1.0); }
};

TEST_F(LodScaleTest, IsTheZoomFactorTimesTheDeviceScaleWhenBothAreValid) {
    LodScale& lod = LodScale::instance();
    lod.setScales(2.0, 1.5);
    EXPECT_DOUBLE_EQ(lod.getZoomFactor(), 2.0);
    EXPECT_DOUBLE_EQ(lod.getDeviceScale(), 1.5);
    EXPECT_DOUBLE_EQ(lod.getScale(), 3.0);
    lod.setScales(0.25, 2.0);
    EXPECT_DOUBLE_EQ(lod.getScale(), 0.5);

    // Factors that are not positive and finite are ignored, each on its own.
    lod.setScales(2.0, 1.5);
    lod.setScales(0.0, std::numeric_limits<double>::infinity());
    EXPECT_DOUBLE_EQ(lod.getScale(), 3.0);
    lod.setScales(std::numeric_limits<double>::quiet_NaN(), 2.0);
    EXPECT_DOUBLE_EQ(lod.getZoomFactor(), 2.0);
    EXPECT_DOUBLE_EQ(lod.getScale(), 4.0);
    lod.setScales(4.0, -1.0);
    EXPECT_DOUBLE_EQ(lod.getScale(), 8.0);
}

} // namespace
