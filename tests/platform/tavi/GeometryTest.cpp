#include "platform/tavi/Geometry.hpp"

#include <gtest/gtest.h>

#include <limits>

using namespace TAVI;

struct RectCase {
    const char* name;
    GLRect<double> a;
    GLRect<double> b;
    GLRect<double> united;
    GLRect<double> intersected;
};

void PrintTo(const RectCase& c, std::ostream* out) {
    *out << c.name;
}

class GeometryRectTest : public ::testing::TestWithParam<RectCase> {};

TEST_P(GeometryRectTest, UnionAndIntersection) {
    const RectCase& c = GetParam();
    EXPECT_EQ(c.a.united(c.b), c.united);
    EXPECT_EQ(c.b.united(c.a), c.united);
    EXPECT_EQ(c.a.intersected(c.b), c.intersected);
}

INSTANTIATE_TEST_SUITE_P(
    Rects, GeometryRectTest,
    ::testing::Values(
        RectCase{"Overlapping", {0, 0, 10, 10}, {5, 5, 10, 10}, {0, 0, 15, 15}, {5, 5, 5, 5}},
        RectCase{"Disjoint", {0, 0, 1, 1}, {5, 5, 1, 1}, {0, 0, 6, 6}, {}},
        RectCase{"Nested", {0, 0, 10, 10}, {2, 2, 3, 3}, {0, 0, 10, 10}, {2, 2, 3, 3}},
        RectCase{"WithEmpty", {1, 1, 2, 2}, {0, 0, 0, 0}, {1, 1, 2, 2}, {}},
        RectCase{"TouchingEdges", {0, 0, 2, 2}, {2, 0, 2, 2}, {0, 0, 4, 2}, {}}),
    [](const ::testing::TestParamInfo<RectCase>& info) { return std::string(info.param.name); });

TEST(GeometryTest, NormalizeTranslateAndRound) {
    EXPECT_EQ(GLRect<int>(10, 10, -4, -6).normalized(), GLRect<int>(6, 4, 4, 6));
    EXPECT_EQ(GLRect<double>(1, 2, 3, 4).translated({1, -2}), GLRect<double>(2, 0, 3, 4));
    EXPECT_EQ(DPoint2IPoint({1.5, -1.5}), GLPoint<int>(2, -2));
    EXPECT_EQ(GLPoint<double>(1, 2) * 2.0, GLPoint<double>(2, 4));
    EXPECT_TRUE(isApproxEqual(0.1 + 0.2, 0.3));
    EXPECT_FALSE(isApproxEqual(1.0, 1.001));
    EXPECT_TRUE((Size{0, 5}).isEmpty());
}

TEST(GeometryTest, ApproxEqualTakesNoFiniteValueForAnInfinityOrNaN) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(isApproxEqual(inf, inf));
    EXPECT_TRUE(isApproxEqual(-inf, -inf));
    EXPECT_FALSE(isApproxEqual(inf, 5.0));
    EXPECT_FALSE(isApproxEqual(-1e300, -inf));
    EXPECT_FALSE(isApproxEqual(inf, -inf));
    EXPECT_FALSE(isApproxEqual(nan, nan));
    EXPECT_FALSE(isApproxEqual(nan, 0.0));
    EXPECT_FALSE(isApproxEqual(GLPoint<double>(1, inf), GLPoint<double>(1, 2)));
    // Relative tolerance near the top of the range still tells opposite signs apart.
    EXPECT_FALSE(isApproxEqual(1e308, -1e308));
    EXPECT_TRUE(isApproxEqual(1e300, 1e300 * (1 + 1e-12)));
}
