#include "editor/DiagramGeometry.hpp"
#include "platform/veld/Veld.hpp"
#include "tests/platform/veld/SampleMetaModel.hpp"
#include "tests/support/BlockSheets.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

using namespace KITE;
using KITE::DI::DiagramReport;
using KITE::DI::Point;
using KITE::DI::RayStatus;
using KITE::DI::Rect;

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

void expectNear(const Point& actual, const Point& expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-9) << "x";
    EXPECT_NEAR(actual.y, expected.y, 1e-9) << "y";
}

// Keeps every report of the observed deviant, in order.
struct Recorder : VELD::ListenerBase {
    std::vector<DiagramReport> reports;
    VELD::internal::ListenerHolder<VELD::ImmutableModel, Recorder, DiagramElement, false> holder{
        this};
    void transactionCompleted(const DiagramReport& report) { reports.push_back(report); }
};

// A diagram with outer (100, 50; 200 x 120) holding inner (10, 5; 30 x 20) and an edge from
// inner to other (400, 60; 40 x 40), which lies directly on the diagram.
struct DiagramGeometryTest : ::testing::Test {
    VELD::Model model = KiteTest::newBlockSheet(); // diagrams held by a sheet: a diagram's
                                                   // container is no graph element
    Factory factory = Factory::createNewFactory(model);
    Diagram diagram;
    GraphNode outer, inner, other;
    GraphEdge edge;
    Recorder recorder;

    void SetUp() override {
        VELD::Asserter::clearReports();
        VELD::Asserter::setHandler([](const VELD::AssertionReport&) {}); // kept, not printed
        VELD::Transaction t(model);
        diagram = KiteTest::addDiagram(model, "main");
        outer = factory.createGraphNode();
        inner = factory.createGraphNode();
        other = factory.createGraphNode();
        edge = factory.createGraphEdge();
        diagram.addContained(outer);
        diagram.addContained(other);
        GraphElement(outer).addContained(inner);
        GraphElement(outer).addContained(edge);
        outer.setPosition({100, 50});
        outer.setSize({200, 120});
        inner.setPosition({10, 5});
        inner.setSize({30, 20});
        other.setPosition({400, 60});
        other.setSize({40, 40});
        edge.setSrcElement(inner);
        edge.setDstElement(other);
        t.commit();
        model.registerObservingListener(&recorder.holder);
    }
    void TearDown() override {
        model.unregisterObservingListener(&recorder.holder);
        VELD::Asserter::setHandler({});
        VELD::Asserter::clearReports();
    }

    // Runs change in one transaction and returns its report, which must be the only one.
    template <typename Change> DiagramReport commit(Change change) {
        recorder.reports.clear();
        VELD::Transaction t(model);
        change();
        t.commit();
        EXPECT_EQ(recorder.reports.size(), 1u);
        return recorder.reports.empty() ? DiagramReport() : recorder.reports.back();
    }
};

} // namespace

// --- Coordinates ------------------------------------------------------------------------------

TEST_F(DiagramGeometryTest, OffsetsAddUpTheContainersAndMappingsAreInverse) {
    EXPECT_EQ(DI::originOffsetInDiagram(outer), outer.getPosition());
    EXPECT_EQ(DI::originOffsetInDiagram(inner), (Point{110, 55}));
    EXPECT_EQ(DI::originOffsetInDiagram(inner), inner.getAbsPosition());
    EXPECT_EQ(DI::originOffsetInDiagram(diagram), (Point{0, 0}));
    EXPECT_EQ(DI::boundingRect(inner), (Rect{0, 0, 30, 20}));
    EXPECT_EQ(DI::boundingRectInDiagram(inner), (Rect{110, 55, 30, 20}));
    // Mappings between local, diagram and other coordinates are inverse.
    EXPECT_EQ(DI::mapLocalToDiagram(inner, Point{1, 2}), (Point{111, 57}));
    EXPECT_EQ(DI::mapDiagramToLocal(Point{111, 57}, inner), (Point{1, 2}));
    EXPECT_EQ(DI::mapLocalToDiagram(inner, Rect{1, 2, 3, 4}), (Rect{111, 57, 3, 4}));
    EXPECT_EQ(DI::mapDiagramToLocal(Rect{111, 57, 3, 4}, inner), (Rect{1, 2, 3, 4}));

    EXPECT_EQ(DI::mapLocalToOther(inner, Point{0, 0}, other), (Point{-290, -5}));
    EXPECT_EQ(DI::mapLocalToOther(other, Point{-290, -5}, inner), (Point{0, 0}));
    EXPECT_EQ(DI::mapLocalToOther(inner, Rect{0, 0, 30, 20}, outer), (Rect{10, 5, 30, 20}));
    EXPECT_EQ(DI::mapLocalToOther(inner, Point{7, -3}, inner), (Point{7, -3}));
    EXPECT_EQ(DI::mapLocalToOther(diagram, Point{110, 55}, inner), (Point{0, 0}));
}

// The diagram is the frame of diagram coordinates: where it is placed does not move what
// it holds, in agreement with the elements' absolute positions.
TEST_F(DiagramGeometryTest, DiagramsOwnPositionDoesNotMoveItsContents) {
    commit([&] { GraphElement(diagram).setPosition({7, 9}); });
    EXPECT_EQ(DI::originOffsetInDiagram(inner), (Point{110, 55}));
    EXPECT_EQ(DI::originOffsetInDiagram(inner), inner.getAbsPosition());
    EXPECT_EQ(DI::mapLocalToDiagram(diagram, Point{3, 4}), (Point{3, 4}));
}

TEST_F(DiagramGeometryTest, ElementThatIsGoneIsRefusedByName) {
    GraphNode gone;
    commit([&] {
        gone = factory.createGraphNode();
        diagram.addContained(gone);
    });
    commit([&] { DiagramElement(gone).destroy(); });
    for (const ImmutableDiagramElement& e :
         {ImmutableDiagramElement(), ImmutableDiagramElement(gone)}) {
        try {
            DI::boundingRect(e);
            ADD_FAILURE() << "no exception";
        } catch (const VELD::Exception& x) {
            EXPECT_STREQ(x.what(), "DI::boundingRect: invalid diagram element");
        }
        EXPECT_THROW(DI::originOffsetInDiagram(e), VELD::Exception);
        EXPECT_THROW(DI::mapLocalToOther(inner, Point{}, e), VELD::Exception);
    }
}

// --- Change tests -----------------------------------------------------------------------------

TEST_F(DiagramGeometryTest, SizeAndRelativePositionChangesFollowWhatMovedOrResized) {
    DiagramReport report = commit([&] { inner.setSize({31, 20}); });
    EXPECT_TRUE(DI::hasChangedSize(inner, report));
    EXPECT_FALSE(DI::hasChangedSize(outer, report));
    EXPECT_FALSE(DI::hasChangedPositionRelativeTo(inner, other, report));
    EXPECT_FALSE(DI::hasChangedPositionRelativeTo(edge, inner, report));

    // Moving a container shifts edge and end together.
    report = commit([&] { outer.setPosition({120, 50}); });
    EXPECT_FALSE(DI::hasChangedSize(outer, report));
    EXPECT_FALSE(DI::hasChangedPositionRelativeTo(edge, inner, report));
    EXPECT_FALSE(DI::hasChangedPositionRelativeTo(inner, edge, report));
    EXPECT_TRUE(DI::hasChangedPositionRelativeTo(edge, other, report));
    EXPECT_TRUE(DI::hasChangedPositionRelativeTo(inner, other, report));

    // Moving one end changes its position relative to the edge.
    report = commit([&] { inner.setPosition({10, 6}); });
    EXPECT_TRUE(DI::hasChangedPositionRelativeTo(edge, inner, report));
    EXPECT_FALSE(DI::hasChangedPositionRelativeTo(edge, other, report));
    // Out and back within one transaction is no move.
    EXPECT_FALSE(DI::hasChangedPositionRelativeTo(edge, inner, commit([&] {
                                                      inner.setPosition({50, 50});
                                                      inner.setPosition({10, 6});
                                                  })));

    // Sizes compare within a tolerance but never across non-finite values.
    EXPECT_FALSE(DI::hasChangedSize(inner, commit([&] { inner.setSize({31 + 1e-12, 20}); })));
    EXPECT_TRUE(DI::hasChangedSize(inner, commit([&] { inner.setSize({kInf, 20}); })));
    EXPECT_FALSE(DI::hasChangedSize(inner, commit([&] { inner.setSize({kInf, 20}); })));
    EXPECT_TRUE(DI::hasChangedSize(inner, commit([&] { inner.setSize({kNaN, 20}); })));
}

TEST_F(DiagramGeometryTest, CreatedAndDestroyedElementsHaveChanged) {
    GraphNode made;
    const DiagramReport created = commit([&] {
        made = factory.createGraphNode();
        diagram.addContained(made);
    });
    EXPECT_TRUE(DI::hasChangedSize(made, created));
    EXPECT_TRUE(DI::hasChangedPositionRelativeTo(made, other, created));
    EXPECT_TRUE(DI::hasChangedPositionRelativeTo(other, made, created));

    const DiagramReport destroyed = commit([&] { DiagramElement(made).destroy(); });
    ASSERT_EQ(destroyed.getDeleted().size(), 1);
    const DiagramElement reported = destroyed.getDeleted().front();
    for (const ImmutableDiagramElement& gone :
         {ImmutableDiagramElement(made), ImmutableDiagramElement(reported)}) {
        EXPECT_TRUE(DI::hasChangedSize(gone, destroyed));
        EXPECT_TRUE(DI::hasChangedPositionRelativeTo(gone, other, destroyed));
        EXPECT_TRUE(DI::hasChangedPositionRelativeTo(other, gone, destroyed));
    }

    // Gone before and after a later transaction: nothing to redraw.
    const DiagramReport later = commit([&] { other.setSize({41, 40}); });
    EXPECT_FALSE(DI::hasChangedSize(made, later));
    EXPECT_FALSE(DI::hasChangedPositionRelativeTo(made, other, later));
    EXPECT_FALSE(DI::hasChangedPositionRelativeTo(other, made, later));
    EXPECT_FALSE(DI::hasChangedSize(ImmutableDiagramElement(), later));
    EXPECT_TRUE(VELD::Asserter::reports().empty());
}

TEST_F(DiagramGeometryTest, ElementOfAnotherModelIsReportedOnceAndCountsAsChanged) {
    VELD::Model elsewhere = KiteTest::newBlockSheet();
    GraphNode stranger;
    {
        VELD::Transaction t(elsewhere);
        stranger = Factory::createNewFactory(elsewhere).createGraphNode();
        t.commit();
    }
    const DiagramReport report = commit([&] { inner.setSize({1, 1}); });
    EXPECT_TRUE(DI::hasChangedSize(stranger, report));
    EXPECT_EQ(asserterMessages(),
              std::vector<std::string>{"Report is not compatible with given object"});
    VELD::Asserter::clearReports();
    EXPECT_TRUE(DI::hasChangedPositionRelativeTo(stranger, inner, report));
    EXPECT_EQ(asserterMessages(),
              std::vector<std::string>{"Report is not compatible with given object"});
}

// As an editor sees it: the root changes, the working copy catches up and reports.
TEST_F(DiagramGeometryTest, SyncedWorkingCopyReportsTheRootsMove) {
    VELD::Model copy = model.createDeviantWithName("geometry-sync");
    Recorder copyRecorder;
    copy.registerObservingListener(&copyRecorder.holder);
    commit([&] { outer.setPosition({0, 0}); });
    EXPECT_TRUE(copyRecorder.reports.empty());
    copy.syncFromRoot();
    ASSERT_EQ(copyRecorder.reports.size(), 1u);
    const DiagramReport& report = copyRecorder.reports.front();
    const ImmutableDiagramElement copyInner = inner.asDeviant(copy);
    EXPECT_TRUE(DI::hasChangedPositionRelativeTo(copyInner, other.asDeviant(copy), report));
    EXPECT_FALSE(DI::hasChangedPositionRelativeTo(edge.asDeviant(copy), copyInner, report));
    EXPECT_FALSE(DI::hasChangedSize(outer.asDeviant(copy), report));
    copy.unregisterObservingListener(&copyRecorder.holder);
    model.removeDeviantWithName("geometry-sync");
}

// --- Paths between borders -------------------------------------------------------------------

TEST_F(DiagramGeometryTest, PathJoinsTheBordersFacingEachOtherInTheGivenCoordinates) {
    // inner's centre in outer's coordinates is (25, 15); other's is (320, 30).
    const auto [start, end] = DI::pathFromRectEdgeToEdgeInLocalCoordinates(outer, inner, other);
    expectNear(start, {40, 15 + 15.0 * 15 / 295});
    expectNear(end, {300, 30 - 20.0 * 15 / 295});
    const auto inDiagram = DI::pathFromRectEdgeToEdgeInLocalCoordinates(diagram, inner, other);
    expectNear(inDiagram.first, start + Point{100, 50});
    expectNear(inDiagram.second, end + Point{100, 50});
}

TEST_F(DiagramGeometryTest, PathBetweenRectanglesWithOneCentreFallsBackToNearestBorderPoints) {
    commit([&] {
        other.setContainer(outer);
        other.setPosition({5, -5}); // a 40 x 40 square around inner's centre (25, 15)
    });
    const auto [start, end] = DI::pathFromRectEdgeToEdgeInLocalCoordinates(outer, inner, other);
    expectNear(start, {25, 5}); // inner's top side is nearer its centre than its left side
    expectNear(end, {5, 15});   // the square's left side comes first on a tie
}

TEST_F(DiagramGeometryTest, PathToAnElementWithoutAreaEndsAtItsPosition) {
    TerminalNode point;
    commit([&] {
        point = factory.createTerminalNode();
        diagram.addContained(GraphNode(point));
        GraphNode(point).setPosition({500, 80});
    });
    const auto [start, end] = DI::pathFromRectEdgeToEdgeInLocalCoordinates(diagram, other, point);
    expectNear(start, {440, 80});
    expectNear(end, {500, 80});
}

TEST_F(DiagramGeometryTest, PathWithNonFiniteGeometryReturnsWithoutAFabricatedHit) {
    commit([&] { other.setPosition({kNaN, 60}); });
    const auto nanPath = DI::pathFromRectEdgeToEdgeInLocalCoordinates(diagram, inner, other);
    EXPECT_TRUE(std::isnan(nanPath.first.x) || std::isnan(nanPath.first.y));
    commit([&] {
        other.setPosition({400, 60});
        other.setSize({kInf, 40});
    });
    const auto infPath = DI::pathFromRectEdgeToEdgeInLocalCoordinates(diagram, inner, other);
    EXPECT_FALSE(std::isfinite(infPath.first.x) && std::isfinite(infPath.first.y) &&
                 std::isfinite(infPath.second.x) && std::isfinite(infPath.second.y));
}

// --- Rays, borders and sides -------------------------------------------------------------

TEST(DiagramGeometryFunctionsTest, TheFirstBorderCrossingAlongARay) {
    const Rect box{10, 20, 100, 50}; // centre (60, 45)
    const struct {
        const char* name;
        Point p1, p2;
        Rect rect;
        RayStatus status;
        Point point;
    } cases[] = {
        {"right", {60, 45}, {200, 45}, box, RayStatus::Success, {110, 45}},
        {"up", {60, 45}, {60, 0}, box, RayStatus::Success, {60, 20}},
        {"left", {60, 45}, {59, 45}, box, RayStatus::Success, {10, 45}},
        {"down", {60, 45}, {60, 46}, box, RayStatus::Success, {60, 70}},
        {"corner", {60, 45}, {110, 70}, box, RayStatus::Success, {110, 70}},
        {"shallow", {60, 45}, {160, 55}, box, RayStatus::Success, {110, 50}},
        {"second point inside", {60, 45}, {70, 45}, box, RayStatus::Success, {110, 45}},
        {"near side from the left", {0, 45}, {200, 45}, box, RayStatus::Success, {10, 45}},
        {"near side from above", {60, 0}, {60, 100}, box, RayStatus::Success, {60, 20}},
        {"from the border out", {110, 45}, {200, 45}, box, RayStatus::Success, {110, 45}},
        {"line above", {0, 0}, {200, 0}, box, RayStatus::Miss, {}},
        {"beside the right side", {120, 0}, {120, 100}, box, RayStatus::Miss, {}},
        {"behind the start", {200, 45}, {300, 45}, box, RayStatus::Miss, {}},
        {"no width", {0, 45}, {200, 45}, {10, 20, 0, 50}, RayStatus::InvalidInput, {}},
        {"negative height", {0, 45}, {200, 45}, {10, 20, 100, -50}, RayStatus::InvalidInput, {}},
        {"NaN in rectangle", {0, 45}, {200, 45}, {kNaN, 20, 100, 50}, RayStatus::InvalidInput, {}},
        {"infinite width", {0, 45}, {200, 45}, {10, 20, kInf, 50}, RayStatus::InvalidInput, {}},
        {"NaN start", {kNaN, 45}, {200, 45}, box, RayStatus::InvalidInput, {}},
        {"infinite second point", {60, 45}, {kInf, 45}, box, RayStatus::InvalidInput, {}},
        {"same point", {60, 45}, {60, 45}, box, RayStatus::InvalidInput, {}},
        {"within epsilon", {0, 0}, {1e-16, -1e-16}, box, RayStatus::InvalidInput, {}},
        {"too short to normalise", {60, 45}, {60 + 1e-9, 45}, box, RayStatus::InvalidInput, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const DI::RayHit hit = DI::intersectRayWithRectBorder(c.p1, c.p2, c.rect);
        EXPECT_EQ(hit.status, c.status);
        if (c.status == RayStatus::Success)
            expectNear(hit.point, c.point);
        else
            EXPECT_EQ(hit.point, (Point{0, 0}));
    }
}

TEST(DiagramGeometryFunctionsTest, TheNearestPointOfABorderOrASide) {
    const Rect box{10, 20, 100, 50};
    const struct {
        const char* name;
        Point point;
        Rect rect;
        Point nearest;
    } borders[] = {
        {"left of the middle", {0, 45}, box, {10, 45}},
        {"above the middle", {60, 0}, box, {60, 20}},
        {"below near the right", {100, 90}, box, {100, 70}},
        {"beyond a corner", {120, 80}, box, {110, 70}},
        {"inside near the right", {100, 40}, box, {110, 40}},
        {"centre of a wide one: top", {60, 45}, box, {60, 20}},
        {"centre of a square: left", {20, 20}, {0, 0, 40, 40}, {0, 20}},
        {"on a corner", {110, 20}, box, {110, 20}},
        {"on the bottom side", {60, 70}, box, {60, 70}},
        {"no area", {50, 50}, {5, 5, 0, 0}, {5, 5}},
    };
    for (const auto& c : borders) {
        SCOPED_TRACE(c.name);
        expectNear(DI::nearestPointOnRectBorder(c.point, c.rect), c.nearest);
    }
    // Projected onto the side from its corner.
    const struct {
        const char* name;
        Point corner, otherEnd, point, nearest;
    } sides[] = {
        {"on the corner", {0, 0}, {10, 0}, {0, 0}, {0, 0}},
        {"on the other end", {0, 0}, {10, 0}, {10, 0}, {10, 0}},
        {"no length", {3, 3}, {3, 3}, {9, 9}, {3, 3}},
        {"foot of the perpendicular", {0, 0}, {10, 0}, {4, 7}, {4, 0}},
        {"past the other end: not clamped", {0, 0}, {10, 0}, {15, 3}, {15, 0}},
        {"behind the corner", {0, 0}, {10, 0}, {-5, 2}, {0, 0}},
        {"at a right angle", {0, 0}, {10, 0}, {0, 5}, {0, 0}},
        {"side too short for a direction", {0, 0}, {0.00005, 0}, {1, 1}, {0, 0}},
        {"point too close for a direction", {0, 0}, {10, 0}, {0.00005, 0.00001}, {0, 0}},
    };
    for (const auto& c : sides) {
        SCOPED_TRACE(c.name);
        expectNear(DI::nearestPointOnSide(c.corner, c.otherEnd, c.point), c.nearest);
    }
}
