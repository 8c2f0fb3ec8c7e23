#include "tests/editor/EditorToolsFixture.hpp"

#include "editor/Glyph.hpp"
#include "editor/Graphics.hpp"

using namespace KITE;
using namespace KITE::Test;

namespace {

class SelectionToolTest : public EditorToolsTest {
protected:
    bool nodeSelected(const DiagramElement& element) const {
        const Glyph* glyph = editor->getGraphics()->getGlyph(element);
        return glyph && glyph->getRoot().isSelected();
    }
    // The elements of a selection event, in order.
    static std::vector<DiagramElement> elementsOf(const EditorSelectionChangedEvent& event) {
        std::vector<DiagramElement> elements;
        for (const VELD::ClassObject& object : event.selections())
            elements.push_back(DiagramElement(object));
        return elements;
    }
};

TEST_F(SelectionToolTest, ClickSelectsTheElementOfTheGlyphUnderThePointer) {
    click(40, 35);
    EXPECT_EQ(selection(), (std::vector<DiagramElement>{blocks.a}));
    EXPECT_TRUE(nodeSelected(blocks.a));
    ASSERT_EQ(selectionEvents.received.size(), 1u);
    EXPECT_TRUE(selectionEvents.received[0].isSelected());
    EXPECT_EQ(elementsOf(selectionEvents.received[0]), (std::vector<DiagramElement>{blocks.a}));

    // The innermost selectable glyph wins: inner lies on a.
    click(20, 20);
    EXPECT_EQ(selection(), (std::vector<DiagramElement>{blocks.inner}));
    EXPECT_FALSE(nodeSelected(blocks.a));
    EXPECT_TRUE(nodeSelected(blocks.inner));
    // Clearing before the new selection is silent: one more event, for inner.
    ASSERT_EQ(selectionEvents.received.size(), 2u);
    EXPECT_TRUE(selectionEvents.received[1].isSelected());
    EXPECT_EQ(elementsOf(selectionEvents.received[1]), (std::vector<DiagramElement>{blocks.inner}));
}

TEST_F(SelectionToolTest, ShiftExtendsControlTogglesAndEmptySpaceClearsWithoutAnEvent) {
    click(40, 35);
    click(220, 35, ZEPH::ShiftModifier);
    EXPECT_EQ(selection(), (std::vector<DiagramElement>{blocks.a, blocks.b}));
    ASSERT_EQ(selectionEvents.received.size(), 2u);

    click(40, 35, ZEPH::ControlModifier);
    EXPECT_EQ(selection(), (std::vector<DiagramElement>{blocks.b}));
    EXPECT_FALSE(nodeSelected(blocks.a));
    ASSERT_EQ(selectionEvents.received.size(), 3u);
    EXPECT_FALSE(selectionEvents.received[2].isSelected());
    EXPECT_EQ(elementsOf(selectionEvents.received[2]), (std::vector<DiagramElement>{blocks.a}));

    click(120, 100);
    EXPECT_TRUE(selection().empty());
    EXPECT_FALSE(nodeSelected(blocks.b));
    EXPECT_TRUE(scene().getSelectedNodes().empty());
    EXPECT_EQ(selectionEvents.received.size(), 3u);
}

TEST_F(SelectionToolTest, MarqueeSelectsWhatItCoversWithOneEventForTheWholeSelection) {
    click(40, 35);
    ASSERT_EQ(selectionEvents.received.size(), 1u);

    // From empty space over a (with inner) and the connection, short of b.
    press(5, 5);
    move(100, 60);
    EXPECT_NE(toolOfRole<MarqueeSelectionTool>(marqueeRole()), nullptr);
    release(100, 60);
    EXPECT_EQ(toolOfRole<MarqueeSelectionTool>(marqueeRole()), nullptr);

    const std::vector<DiagramElement> selected = selection();
    EXPECT_EQ(selected.size(), 2u);
    EXPECT_NE(std::find(selected.begin(), selected.end(), DiagramElement(blocks.a)),
              selected.end());
    EXPECT_NE(std::find(selected.begin(), selected.end(), DiagramElement(blocks.inner)),
              selected.end());
    ASSERT_EQ(selectionEvents.received.size(), 2u);
    EXPECT_TRUE(selectionEvents.received[1].isSelected());
    EXPECT_EQ(elementsOf(selectionEvents.received[1]), selected);

    // Events flow again once the marquee is gone.
    click(220, 35, ZEPH::ShiftModifier);
    EXPECT_EQ(selectionEvents.received.size(), 3u);
}

TEST_F(SelectionToolTest, AMarqueeCancelledOrNeverUsedSelectsNothingAndLeavesEventsOn) {
    press(5, 5);
    move(300, 60);
    key(ZEPH::Key_Escape);
    EXPECT_EQ(toolOfRole<MarqueeSelectionTool>(marqueeRole()), nullptr);
    EXPECT_TRUE(selection().empty());
    EXPECT_TRUE(selectionEvents.received.empty());
    // Escape ended the marquee; it is not a request to leave the diagram.
    EXPECT_TRUE(navigateUpRequests.received.empty());

    click(40, 35);
    EXPECT_EQ(selectionEvents.received.size(), 1u);

    // One made but never on the stack (the scene makes one for the role and drops it, as when
    // no gesture follows) leaves them on too.
    scene().createToolByRole(marqueeRole());
    click(220, 35);
    ASSERT_GT(selectionEvents.received.size(), 1u);
    EXPECT_EQ(elementsOf(selectionEvents.received.back()), (std::vector<DiagramElement>{blocks.b}));
}

} // namespace
