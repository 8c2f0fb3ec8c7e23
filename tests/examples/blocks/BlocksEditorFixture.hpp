#pragma once

// An editor of the blocks domain on a small model of the sample meta-model, opened by a studio
// application, with helpers for the model and for geometry.

#include "examples/blocks/BlockGlyph.hpp"
#include "examples/blocks/BlocksDomain.hpp"
#include "examples/blocks/ConnectionGlyph.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "platform/veld/DomainRegistry.hpp"
#include "platform/veld/io/MetaModelFile.hpp"
#include "studio/StudioApp.hpp"
#include "tests/editor/EditorToolsFixture.hpp"

#include <cmath>
#include <optional>
#include <string>

namespace BlocksTest {

using Point = TAVI::GLPoint<double>;
using Rect = TAVI::GLRect<double>;

// The sample's meta-model, loaded once per process, and the blocks domain registered for it.
inline void loadBlocks() {
    static const bool loaded = [] {
        KITE::diagramMetaModel();
        if (!VELD::DomainRegistry::instance().isRegistered("example:blocks"))
            VELD::loadMetaModel(std::string(KITE_SOURCE_DIR) +
                                "/examples/kite_studio/data/blocks.veldmeta");
        TAVI::ErrorHolder errors;
        Blocks::BlocksDomain::registerDomain(errors);
        return !errors.hasError();
    }();
    EXPECT_TRUE(loaded);
}

// Whether p lies on the outline of r.
inline bool onBorder(const Rect& r, const Point& p) {
    constexpr double eps = 0.01;
    const bool inside = p.x >= r.left() - eps && p.x <= r.right() + eps && p.y >= r.top() - eps &&
                        p.y <= r.bottom() + eps;
    const bool onEdge = std::fabs(p.x - r.left()) < eps || std::fabs(p.x - r.right()) < eps ||
                        std::fabs(p.y - r.top()) < eps || std::fabs(p.y - r.bottom()) < eps;
    return inside && onEdge;
}

// A project with the diagram "main": block A at (10, 10) 120x60 holding block In at (20, 25)
// 50x25, block B at (300, 10) 100x50, block C at (300, 200) 100x50, the connection ab from A to
// B and the connection inb from In to B. The editor shows it with the domain's glyphs and tools.
class BlocksEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        loadBlocks();
        model = VELD::DomainRegistry::instance().createModel("example:blocks");
        {
            VELD::Transaction t(model);
            const VELD::ClassObject project = model.getRootObject();
            diagram = KITE::Factory::createNewFactory(model).createDiagram("main");
            project.add(project.getMetaClass().getProperty("diagrams"), diagram);
            a = addBlock(diagram, "A", {10, 10}, {120, 60});
            in = addBlock(a, "In", {20, 25}, {50, 25});
            b = addBlock(diagram, "B", {300, 10}, {100, 50});
            c = addBlock(diagram, "C", {300, 200}, {100, 50});
            ab = connect("ab", a, b);
            inb = connect("inb", in, b);
            t.commit();
        }
        TAVI::ErrorHolder errors;
        studio = PLATFORM::Studio::spawnStudio(app.staticCast<PLATFORM::Application>(), errors);
        ASSERT_TRUE(studio) << errors.what();
        editor = app->openEditor(diagram, errors);
        ASSERT_NE(editor, nullptr) << errors.what();
    }

    void TearDown() override {
        editor = nullptr;
        studio->close();
        studio.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // These change the model: call them inside a transaction.
    static void rename(const VELD::ImmutableClassObject& element, const std::string& name) {
        const VELD::ClassObject object(element);
        object.setString(object.getMetaClass().getProperty("name"), name);
    }
    KITE::GraphNode addBlock(const KITE::GraphElement& container, const std::string& name,
                             const Point& position, const Point& size) const {
        KITE::GraphNode block(model.getFactory().createFromString("Block"));
        container.addContained(block);
        rename(block, name);
        block.setPosition(position);
        block.setSize(size);
        return block;
    }
    KITE::GraphEdge connect(const std::string& name, const KITE::GraphNode& from,
                            const KITE::GraphNode& to) const {
        KITE::GraphEdge edge(model.getFactory().createFromString("Connection"));
        diagram.addContained(edge);
        rename(edge, name);
        edge.setSrcElement(from);
        edge.setDstElement(to);
        return edge;
    }

    template <typename G> G* glyph(const KITE::DiagramElement& element) const {
        return dynamic_cast<G*>(editor->getGraphics()->getGlyph(element));
    }
    Rect boxOnScene(const KITE::DiagramElement& block) const {
        const ZEPH::RectNode box = glyph<Blocks::BlockGlyph>(block)->getBox();
        return box.mapLocalToScene(box.getRect());
    }
    // The connection's line on the scene.
    std::pair<Point, Point> lineOnScene(const KITE::DiagramElement& connection) const {
        const ZEPH::LineNode line = glyph<Blocks::ConnectionGlyph>(connection)->getLine();
        return {line.mapLocalToScene(line.getFrom()), line.mapLocalToScene(line.getTo())};
    }

    ZEPH::Scene& scene() const { return *editor->getScene(); }
    KiteTest::SceneGestures& gestures() {
        if (!sceneGestures)
            sceneGestures.emplace(scene());
        return *sceneGestures;
    }
    void press(const Point& p) { gestures().press(p.x, p.y); }
    void move(const Point& p) { gestures().move(p.x, p.y); }
    void release(const Point& p) { gestures().release(p.x, p.y); }

    VELD::Model model;
    KITE::Diagram diagram;
    KITE::GraphNode a, in, b, c;
    KITE::GraphEdge ab, inb;
    TAVI::Holder<KITE::StudioApp> app{new KITE::StudioApp};
    TAVI::Holder<PLATFORM::Studio> studio;
    KITE::Editor* editor = nullptr; // the studio application's
    std::optional<KiteTest::SceneGestures> sceneGestures;
};

} // namespace BlocksTest
