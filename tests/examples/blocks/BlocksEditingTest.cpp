#include "editor/EdgeCreationTool.hpp"
#include "editor/PaletteButtonToTool.hpp"
#include "editor/VisualIndicatorContainer.hpp"
#include "examples/blocks/BlocksEditor.hpp"
#include "platform/orbis/StudioFrameworkService.hpp"
#include "platform/zeph/TextNode.hpp"
#include "tests/examples/blocks/BlocksEditorFixture.hpp"

#include <memory>

namespace BlocksTest {

namespace {

// The blocks editor with a sink S at (300, 320) 100x50 and the editor's palette.
class BlocksEditingTest : public BlocksEditorTest {
protected:
    void SetUp() override {
        BlocksEditorTest::SetUp();
        VELD::Transaction t(model);
        s = KITE::GraphNode(model.getFactory().createFromString("Sink"));
        diagram.addContained(s);
        rename(s, "S");
        s.setPosition({300, 320});
        s.setSize({100, 50});
        t.commit();
        for (TAVI::GLWidget2* widget : editor->getPaletteObjects())
            palette.emplace_back(widget);
    }
    void TearDown() override {
        editor->clearToolStack();
        palette.clear();
        BlocksEditorTest::TearDown();
    }
    KITE::PaletteButtonToTool* button(std::size_t index) const {
        return dynamic_cast<KITE::PaletteButtonToTool*>(palette.at(index).get());
    }
    std::vector<KITE::DiagramElement> contained() const {
        std::vector<KITE::DiagramElement> all;
        for (const KITE::DiagramElement& element : diagram.getContained())
            all.push_back(element);
        return all;
    }
    KITE::VisualIndicatorContainer& badges(const KITE::DiagramElement& block) const {
        return *glyph<Blocks::BlockGlyph>(block)->getVisualIndicatorsContainer();
    }
    std::vector<std::string> badgeTags(const KITE::DiagramElement& block) const {
        std::vector<std::string> tags;
        for (const ZEPH::Node& badge : badges(block).getBadges())
            for (const char* tag : {"connections", "in", "out", "nested", "sink"})
                if (badge.hasTag(TAVI::StringID(tag)))
                    tags.push_back(tag);
        return tags;
    }
    std::string countOn(const KITE::DiagramElement& block) const {
        const TAVI::GList<ZEPH::Node> count = badges(block).get(TAVI::StringID("connections"));
        if (count.size() != 1)
            return "(no count)";
        const std::vector<ZEPH::Node> text = count[0].getChildren();
        return text.empty() ? "(empty)" : ZEPH::TextNode(text[0]).getText();
    }

    KITE::GraphNode s;
    std::vector<std::unique_ptr<TAVI::GLWidget2>> palette;
};

} // namespace

TEST_F(BlocksEditingTest, ThePaletteCreatesBlocksAndSinks) {
    ASSERT_EQ(palette.size(), 4u) << "zoom, block, sink, connection";
    for (std::size_t i = 1; i < 4; ++i)
        ASSERT_NE(button(i), nullptr);
    struct Creation {
        std::size_t button;
        Point at;
        const char* className;
        const char* name;
    };
    for (const Creation& c : {Creation{1, {600, 40}, "blocks.Block", "Block 6"},
                              Creation{2, {600, 200}, "blocks.Sink", "Sink 7"}}) {
        SCOPED_TRACE(c.name);
        button(c.button)->setChecked(true);
        ASSERT_TRUE(button(c.button)->getTool());
        gestures().click(c.at.x, c.at.y);
        const KITE::DiagramElement made = contained().back();
        EXPECT_EQ(made.getMetaClass().getQualifiedName(), c.className);
        EXPECT_EQ(Blocks::BlockGlyph::nameOf(made), c.name);
        EXPECT_EQ(made.getPosition(), c.at);
        EXPECT_EQ(made.getSize(), (Point{130, 56}));
        EXPECT_FALSE(button(c.button)->isChecked()) << "one block per click of the button";
    }
    // Dropped on a block, a new block goes inside it.
    button(1)->setChecked(true);
    gestures().drag({320, 210}, {360, 240});
    ASSERT_EQ(KITE::GraphElement(c).getContained().size(), 1);
    const KITE::DiagramElement inner = KITE::GraphElement(c).getContained()[0];
    EXPECT_EQ(inner.getPosition(), (Point{20, 10}));
    EXPECT_EQ(inner.getSize(), (Point{40, 30}));
}

TEST_F(BlocksEditingTest, ConnectionsGoIntoASinkButNeverOutOfIt) {
    button(3)->setChecked(true);
    const std::size_t before = contained().size();
    const Point onSink = boxOnScene(s).center();
    gestures().press(onSink.x, onSink.y);
    auto* tool = dynamic_cast<KITE::EdgeCreationTool*>(button(3)->getTool().get());
    ASSERT_NE(tool, nullptr);
    EXPECT_FALSE(tool->isActive()) << "a sink starts no connection";
    gestures().release(onSink.x, onSink.y);
    EXPECT_EQ(contained().size(), before);
    gestures().drag(boxOnScene(c).center(), boxOnScene(s).center());
    ASSERT_EQ(contained().size(), before + 1);
    const KITE::GraphEdge made(contained().back());
    EXPECT_EQ(made.getSrcElement(), c);
    EXPECT_EQ(made.getDstElement(), s);
    EXPECT_TRUE(button(3)->isChecked()) << "the connection tool stays for the next one";
}

TEST_F(BlocksEditingTest, TheDeleteKeyAndTheContextMenuDelete) {
    editor->select(KITE::DiagramElement(c).asDeviant(editor->getWorkingCopy()));
    EXPECT_TRUE(gestures().key(ZEPH::Key_Delete));
    EXPECT_FALSE(c.isValid());

    // The menu deletes the element under it, with its connections, though another is selected.
    editor->select(KITE::DiagramElement(s).asDeviant(editor->getWorkingCopy()));
    editor->setContextMenuTarget(KITE::DiagramElement(b).asDeviant(editor->getWorkingCopy()));
    TAVI::ErrorHolder errors;
    ASSERT_TRUE(studio->getFrameworkService()->executeContextMenuItem(
        Blocks::BlocksEditor::contextMenuName, Blocks::BlocksEditor::deleteEntry, errors))
        << errors.what();
    EXPECT_FALSE(b.isValid());
    EXPECT_FALSE(ab.isValid());
    EXPECT_FALSE(inb.isValid());
    EXPECT_TRUE(a.isValid());
    EXPECT_TRUE(s.isValid());
    model.undoToChangeLevel(model.getUndoStackLength() - 1);
    EXPECT_TRUE(b.isValid() && ab.isValid() && inb.isValid()) << "one undo brings all of it back";
}

TEST_F(BlocksEditingTest, BadgesTellConnectionsNestingAndSinks) {
    EXPECT_EQ(badgeTags(a), (std::vector<std::string>{"connections", "out", "nested"}));
    EXPECT_EQ(countOn(a), "1");
    EXPECT_EQ(badgeTags(b), (std::vector<std::string>{"connections", "in"}));
    EXPECT_EQ(countOn(b), "2");
    EXPECT_EQ(badgeTags(s), (std::vector<std::string>{"connections", "sink"}));
    EXPECT_EQ(countOn(s), "0");

    button(3)->setChecked(true);
    gestures().drag(boxOnScene(c).center(), boxOnScene(s).center());
    EXPECT_EQ(badgeTags(s), (std::vector<std::string>{"connections", "in", "sink"}));
    EXPECT_EQ(countOn(s), "1");
    EXPECT_EQ(badgeTags(c), (std::vector<std::string>{"connections", "out"}));
}

} // namespace BlocksTest
