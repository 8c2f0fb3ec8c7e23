#include "tests/examples/blocks/BlocksEditorFixture.hpp"

using namespace BlocksTest;
using Blocks::ConnectionGlyph;

using ConnectionGlyphTest = BlocksEditorTest;

TEST_F(ConnectionGlyphTest, ALineRunsFromBorderToBorderOfItsBlocksAboveThem) {
    // A (10, 10)-(130, 70) to B (300, 10)-(400, 60): along the line between their centres.
    const auto [from, to] = lineOnScene(ab);
    EXPECT_TRUE(onBorder(boxOnScene(a), from)) << from.x << ", " << from.y;
    EXPECT_TRUE(onBorder(boxOnScene(b), to)) << to.x << ", " << to.y;
    EXPECT_NEAR(from.x, 130, 0.01);
    EXPECT_NEAR(to.x, 300, 0.01);

    // From a nested block its line starts on that block's own border, not its container's.
    const auto [innerFrom, innerTo] = lineOnScene(inb);
    EXPECT_TRUE(onBorder(boxOnScene(in), innerFrom)) << innerFrom.x << ", " << innerFrom.y;
    EXPECT_TRUE(onBorder(boxOnScene(b), innerTo));

    const ConnectionGlyph* g = glyph<ConnectionGlyph>(ab);
    ASSERT_NE(g, nullptr);
    EXPECT_TRUE(g->getLine().isVisible());
    EXPECT_TRUE(g->isSelectable());
    EXPECT_FALSE(g->isMovable());
}

TEST_F(ConnectionGlyphTest, TheLineIsRedrawnWhenAnEndMovesOrChangesSize) {
    {
        VELD::Transaction t(model);
        b.setPosition({200, 250});
        t.commit();
    }
    auto [from, to] = lineOnScene(ab);
    EXPECT_TRUE(onBorder(boxOnScene(a), from));
    EXPECT_TRUE(onBorder(boxOnScene(b), to));
    EXPECT_NEAR(to.y, 250, 0.01); // B now lies below A: the line enters through its top

    // The container moves; the line of the block inside it follows.
    {
        VELD::Transaction t(model);
        a.setPosition({0, 120});
        t.commit();
    }
    const auto [innerFrom, innerTo] = lineOnScene(inb);
    EXPECT_TRUE(onBorder(boxOnScene(in), innerFrom)) << innerFrom.x << ", " << innerFrom.y;
    EXPECT_TRUE(onBorder(boxOnScene(b), innerTo));

    {
        VELD::Transaction t(model);
        b.setSize({300, 40});
        t.commit();
    }
    std::tie(from, to) = lineOnScene(ab);
    EXPECT_TRUE(onBorder(boxOnScene(b), to)) << to.x << ", " << to.y;
}

TEST_F(ConnectionGlyphTest, ADragPreviewMovesTheLineAndEscapePutsItBack) {
    const auto before = lineOnScene(ab);
    const Point start = boxOnScene(b).center();
    press(start);
    move(start + Point{0, 40});
    move(start + Point{0, 150});
    auto [from, to] = lineOnScene(ab);
    EXPECT_TRUE(onBorder(boxOnScene(b), to));
    EXPECT_NE(to, before.second);
    EXPECT_EQ(b.getPosition(), (Point{300, 10})); // the model has not moved

    ZEPH::KeyEvent escape(ZEPH::Key_Escape);
    scene().handleKeyPressEvent(escape);
    release(start + Point{0, 150});
    EXPECT_EQ(lineOnScene(ab), before);
    EXPECT_EQ(b.getPosition(), (Point{300, 10}));
}

TEST_F(ConnectionGlyphTest, AConnectionThatLosesAnEndIsHiddenUntilItHasOneAgain) {
    const ZEPH::LineNode line = glyph<ConnectionGlyph>(ab)->getLine();
    {
        VELD::Transaction t(model);
        ab.setDstElement(KITE::ImmutableDiagramElement());
        t.commit();
    }
    EXPECT_FALSE(line.isVisible());
    {
        VELD::Transaction t(model);
        ab.setDstElement(c);
        t.commit();
    }
    EXPECT_TRUE(line.isVisible());
    EXPECT_TRUE(onBorder(boxOnScene(c), lineOnScene(ab).second));
}
