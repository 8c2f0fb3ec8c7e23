#include "examples/blocks/BlockDiagramGlyph.hpp"
#include "tests/examples/blocks/BlocksEditorFixture.hpp"

using namespace BlocksTest;
using Blocks::BlockGlyph;

using BlockGlyphTest = BlocksEditorTest;

TEST_F(BlockGlyphTest, EveryBlockIsABoxWithItsNameInsideTheBoxOfItsContainer) {
    auto* diagramGlyph = glyph<Blocks::BlockDiagramGlyph>(KITE::DiagramElement(diagram));
    ASSERT_NE(diagramGlyph, nullptr);
    EXPECT_EQ(diagramGlyph->getRoot().getScenePosition(), (Point{0, 0}));

    for (const KITE::GraphNode& block : {a, in, b, c}) {
        BlockGlyph* g = glyph<BlockGlyph>(block);
        ASSERT_NE(g, nullptr) << BlockGlyph::nameOf(block);
        EXPECT_EQ(g->getBox().getPosition(), block.getPosition());
        EXPECT_EQ(g->getBox().getRect(), (Rect{0, 0, block.getSize().x, block.getSize().y}));
        EXPECT_EQ(g->getLabel().getText(), BlockGlyph::nameOf(block));
        // Diagram coordinates wherever it is nested; the handles sit on the box itself.
        EXPECT_EQ(boxOnScene(block), (Rect{block.getAbsPosition().x, block.getAbsPosition().y,
                                           block.getSize().x, block.getSize().y}));
        EXPECT_EQ(g->getBox().getSceneBounds(), boxOnScene(block)) << BlockGlyph::nameOf(block);
        EXPECT_TRUE(g->isSelectable());
        EXPECT_TRUE(g->isMovable());
    }
    EXPECT_EQ(glyph<BlockGlyph>(in)->getRoot().getParent(), glyph<BlockGlyph>(a)->getRoot());
    EXPECT_EQ(glyph<BlockGlyph>(b)->getRoot().getParent(), diagramGlyph->getRoot());

    // A plain block names itself in its middle, a container along its top, above what it holds.
    const Rect label = glyph<BlockGlyph>(b)->getLabel().getSceneBounds();
    EXPECT_NEAR(label.center().x, boxOnScene(b).center().x, 1.0);
    EXPECT_NEAR(label.center().y, boxOnScene(b).center().y, 1.0);
    const Rect containerLabel = glyph<BlockGlyph>(a)->getLabel().getSceneBounds();
    EXPECT_NEAR(containerLabel.center().x, boxOnScene(a).center().x, 1.0);
    EXPECT_LT(containerLabel.bottom(), boxOnScene(in).top());
}

TEST_F(BlockGlyphTest, FollowsTheModelThroughTransactionsAndUndo) {
    const int levels = model.getUndoStackLength();
    {
        VELD::Transaction t(model);
        b.setPosition({320, 40});
        b.setSize({140, 70});
        rename(b, "Beta");
        t.commit();
    }
    BlockGlyph* g = glyph<BlockGlyph>(b);
    EXPECT_EQ(boxOnScene(b), (Rect{320, 40, 140, 70}));
    EXPECT_EQ(g->getLabel().getText(), "Beta");
    const Rect label = g->getLabel().getSceneBounds();
    EXPECT_NEAR(label.center().x, 390, 1.0);
    EXPECT_NEAR(label.center().y, 75, 1.0);

    // Moving the container carries the nested block's box.
    {
        VELD::Transaction t(model);
        a.setPosition({50, 100});
        t.commit();
    }
    EXPECT_EQ(boxOnScene(in), (Rect{70, 125, 50, 25}));

    model.undoToChangeLevel(levels);
    EXPECT_EQ(boxOnScene(b), (Rect{300, 10, 100, 50}));
    EXPECT_EQ(boxOnScene(in), (Rect{30, 35, 50, 25}));
    EXPECT_EQ(g->getLabel().getText(), "B");
}

TEST_F(BlockGlyphTest, ALabelNeverReachesOutsideItsBox) {
    {
        VELD::Transaction t(model);
        rename(c, "a name far too long for its block");
        c.setSize({80, 30});
        t.commit();
    }
    BlockGlyph* g = glyph<BlockGlyph>(c);
    const std::string text = g->getLabel().getText();
    ASSERT_GT(text.size(), 3u);
    EXPECT_EQ(text.substr(text.size() - 3), "...");
    EXPECT_EQ(text.substr(0, 3), "a n");
    EXPECT_EQ(g->getBox().getSceneBounds(), boxOnScene(c));

    // Too small for any text: the label is left empty rather than hanging out.
    {
        VELD::Transaction t(model);
        c.setSize({12, 6});
        t.commit();
    }
    EXPECT_EQ(g->getLabel().getText(), "");
    EXPECT_EQ(g->getBox().getSceneBounds(), boxOnScene(c));
}

TEST_F(BlockGlyphTest, ASelectedBlockIsResizedByItsHandleInOneTransaction) {
    KITE::Test::Reports transactions(model);
    const Rect before = boxOnScene(b);
    press(before.center());
    release(before.center());
    ASSERT_EQ(editor->getSelection().size(), 1u);
    EXPECT_TRUE(glyph<BlockGlyph>(b)->getBox().isSelected());
    EXPECT_EQ(transactions.count(), 0);

    // The bottom-right handle: the top-left corner stays.
    const Point handle{before.right(), before.bottom()};
    press(handle);
    move(handle + Point{10, 5});
    move(handle + Point{40, 20});
    // The preview is in the editor's working copy; the model waits for the release.
    EXPECT_EQ(boxOnScene(b), (Rect{300, 10, 140, 70}));
    EXPECT_EQ(b.getSize(), (Point{100, 50}));
    release(handle + Point{40, 20});

    EXPECT_EQ(transactions.count(), 1);
    EXPECT_EQ(b.getPosition(), (Point{300, 10}));
    EXPECT_EQ(b.getSize(), (Point{140, 70}));
    EXPECT_EQ(boxOnScene(b), (Rect{300, 10, 140, 70}));

    // Never smaller than room for a name: the top-left corner still stays.
    const Rect now = boxOnScene(b);
    const Point corner{now.right(), now.bottom()};
    press(corner);
    move(corner + Point{-10, -10});
    move(corner + Point{-500, -500});
    release(corner + Point{-500, -500});
    EXPECT_EQ(transactions.count(), 2);
    EXPECT_EQ(b.getSize(), (Point{BlockGlyph::minimumWidth, BlockGlyph::minimumHeight}));
    EXPECT_EQ(b.getPosition(), (Point{300, 10}));

    // Dragging the top-left handle past the minimum keeps the bottom-right corner instead.
    const Rect small = boxOnScene(b);
    press(small.topLeft());
    move(small.topLeft() + Point{10, 10});
    move(small.topLeft() + Point{300, 300});
    release(small.topLeft() + Point{300, 300});
    EXPECT_EQ(b.getSize(), (Point{BlockGlyph::minimumWidth, BlockGlyph::minimumHeight}));
    EXPECT_EQ(b.getPosition(), (Point{300, 10}));
}
