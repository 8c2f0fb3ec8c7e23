// What clients that derive from the editor's tools or listen to its graphics rely on: the roles
// the scene knows, which selected elements a drag moves, when a removed glyph is announced.
#include "platform/nimb/ConnectionImpl.hpp"
#include "platform/nimb/ConnectionLock.hpp"
#include "platform/tavi/TypedException.hpp"
#include "tests/editor/CreationTools.hpp"

namespace KITE::Test {

TEST_F(CreationToolsTest, TheSceneKnowsTheCreationRolesButMakesNoneOfTheirTools) {
    for (const char* role : {"Delete", "EdgeCreation", "PaletteTool"}) {
        SCOPED_TRACE(role);
        try {
            editor->addToolByRole(TAVI::StringID(role));
            ADD_FAILURE() << "a tool was made";
        } catch (const TAVI::TypedException& error) {
            EXPECT_EQ(std::string(error.what()), "ZEPH error " + std::to_string(0x6B0011));
        }
        EXPECT_FALSE(editor->hasTool(TAVI::StringID(role)));
    }
}

TEST_F(CreationToolsTest, ASelectedChildOfASelectedContainerThatCannotMoveStaysPut) {
    editor->getGraphics()->getGlyph(inCopy(blocks.a))->getRoot().setMovable(false);
    editor->select(inCopy(blocks.a));
    editor->select(inCopy(blocks.inner));
    const TAVI::GLPoint<double> innerAt = rootPosition(blocks.inner);
    gestures().drag({20, 20}, {60, 60});
    EXPECT_EQ(rootPosition(blocks.inner), innerAt);
    EXPECT_EQ(rootPosition(blocks.a), (TAVI::GLPoint<double>{10, 10}));
}

} // namespace KITE::Test

namespace KITE::Test {

namespace {
// Asks the graphics, while each removal is announced, for the glyph of the removed element, and
// removes that element's glyphs once more, as a listener tidying up after itself might.
class RemovalProbe : public NIMB::Listener {
public:
    explicit RemovalProbe(Graphics& graphics) : graphics(graphics) {}
    void removed(Glyph* glyph) {
        const DiagramElement element = glyph->diagramElement();
        foundItself.push_back(graphics.getGlyph(element) == glyph);
        TAVI::GSet<DiagramElement> again;
        again.insert(element);
        graphics.removeGlyphs(again);
    }
    Graphics& graphics;
    std::vector<bool> foundItself;
};
} // namespace

TEST_F(CreationToolsTest, ARemovedGlyphIsStillFoundWhileItsRemovalIsAnnounced) {
    RemovalProbe probe(*editor->getGraphics());
    {
        NIMB::ConnectionWriteLocker lock;
        new NIMB::ConnectionImpl1<RemovalProbe, Glyph*>(
            &probe, editor->getGraphics()->getGlyphRemovedSignal(), nullptr,
            &RemovalProbe::removed);
    }
    const std::size_t glyphs = editor->getGraphics()->getGlyphs().size();
    {
        VELD::Transaction t(root());
        inRoot(blocks.a).destroy(); // a and inner
        t.commit();
    }
    EXPECT_EQ(probe.foundItself, (std::vector<bool>{true, true}))
        << "each removal announced once, with the glyph still found";
    EXPECT_EQ(editor->getGraphics()->getGlyphs().size(), glyphs - 2);
    EXPECT_EQ(editor->getGraphics()->getGlyph(inCopy(blocks.b))->diagramElement(),
              inCopy(blocks.b));
}

} // namespace KITE::Test
