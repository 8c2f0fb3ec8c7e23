#include "editor/Control.hpp"
#include "editor/Graphics.hpp"
#include "platform/zeph/MouseEvent.hpp"
#include "tests/editor/EditorTestSupport.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace KITE;
using namespace KITE::Test;
using TAVI::GLPoint;

namespace {

// A square button at a corner of its parent; records presses, and consumes them when asked.
class ButtonControl : public Control {
public:
    ButtonControl(std::string name, std::vector<std::string>& log, bool consume = false)
        : name(std::move(name)), log(log), consume(consume) {}
    TAVI::StringID getDefaultTag() const override { return "button"; }
    ZEPH::Node getRoot() const override { return square; }

    int creations = 0;
    int updates = 0;

protected:
    void doCreate(const ZEPH::Node&) override {
        ++creations;
        square = ZEPH::RectNode::create({0, 0, 6, 6});
    }
    void doUpdate() override { ++updates; }
    void doMousePress(ZEPH::MouseEvent& event) override {
        log.push_back(name);
        if (consume)
            event.consume();
    }

private:
    std::string name;
    std::vector<std::string>& log;
    bool consume;
    ZEPH::RectNode square;
};

class PressRecordingBox : public BoxGlyph {
public:
    PressRecordingBox(const DiagramElement& element, std::vector<std::string>& log)
        : BoxGlyph(element), log(log) {}
    void handleMousePressEvent(ZEPH::MouseEvent&) override { log.push_back("glyph"); }

private:
    std::vector<std::string>& log;
};

struct GlyphTest : ::testing::Test {
    BlockModel blocks;
    std::unique_ptr<Graphics> graphics{Graphics::createGraphics()};
    std::vector<std::string> log;

    // A glyph of the element in the graphics' scene, built but kept out of the element map.
    template <typename G, typename... Args>
    TAVI::Holder<G> make(const DiagramElement& element, Args&... args) {
        TAVI::Holder<G> glyph(new G(element, args...));
        glyph->setGraphics(graphics.get());
        glyph->create();
        glyph->update();
        return glyph;
    }
};

} // namespace

TEST_F(GlyphTest, DefaultsOfAGlyph) {
    const TAVI::Holder<BoxGlyph> box = make<BoxGlyph>(asElement(blocks.b));
    EXPECT_EQ(box->minSize(), (GLPoint<double>{10, 10}));
    EXPECT_EQ(box->getChildContainer(), box->getRoot());
    EXPECT_EQ(box->getEditor(), nullptr);
    EXPECT_FALSE(box->isSelected()); // no editor, so nothing is selected
    EXPECT_TRUE(box->isMovable());
    const EditLayout::LayoutRect rect = box->rect();
    EXPECT_EQ(rect, EditLayout::LayoutRect(10, 200, 40, 30));
    EXPECT_EQ(box->layoutItem().rect, rect);
}

TEST_F(GlyphTest, AnEdgeGlyphIsNeverMovableWhateverItsNodesSay) {
    const TAVI::Holder<EdgeGlyph> edge = make<EdgeGlyph>(asElement(blocks.ab));
    edge->getRoot().setMovable(true);
    EXPECT_FALSE(edge->isMovable());
}

TEST_F(GlyphTest, SelectionReachesTheRootOnlyWhenItIsSelectable) {
    const TAVI::Holder<BoxGlyph> box = make<BoxGlyph>(asElement(blocks.b));
    // Without an editor isSelected() stays false, so selecting shows each time it is asked.
    box->select();
    EXPECT_TRUE(box->getRoot().isSelected());
    EXPECT_EQ(box->updates, 2);

    box->getRoot().setSelectable(false);
    box->select();
    EXPECT_FALSE(box->getRoot().isSelected());
    EXPECT_EQ(box->updates, 2);
}

TEST_F(GlyphTest, ControlsAreKeptUnderTagsAndATagInUseRefusesAnother) {
    const TAVI::Holder<BoxGlyph> box = make<BoxGlyph>(asElement(blocks.b));
    TAVI::Holder<ButtonControl> first(new ButtonControl("first", log));
    TAVI::Holder<ButtonControl> second(new ButtonControl("second", log));

    EXPECT_EQ(box->addControl(first, box->getRoot()), TAVI::StringID("button"));
    EXPECT_EQ(first->getGlyph(), box.get());
    EXPECT_EQ(first->getParent(), box->getRoot());
    EXPECT_EQ(first->getRoot().getParent(), box->getRoot());
    EXPECT_TRUE(first->contains(first->getRoot()));
    EXPECT_FALSE(first->contains(box->getRoot()));

    EXPECT_TRUE(box->addControl(second, box->getRoot()).isEmpty());
    EXPECT_EQ(second->creations, 0);
    EXPECT_EQ(second->getGlyph(), nullptr);
    EXPECT_EQ(box->addControl(second, box->getRoot(), "other"), TAVI::StringID("other"));

    const ZEPH::Node firstRoot = first->getRoot();
    EXPECT_TRUE(box->removeControl("button"));
    EXPECT_FALSE(box->removeControl("button"));
    EXPECT_FALSE(box->hasControl("button"));
    EXPECT_FALSE(firstRoot.isValid());
    EXPECT_EQ(first->getGlyph(), nullptr);
    EXPECT_FALSE(first->getParent().isValid());
    EXPECT_TRUE(box->hasControl("other"));
}

TEST_F(GlyphTest, GraphicsUpdateTheControlsOfAGlyphWithIt) {
    BoxGlyphFactory factory;
    graphics->setGlyphFactory(&factory);
    TAVI::GSet<DiagramElement> set;
    set.insert(asElement(blocks.b));
    graphics->createGlyphs(set);
    Glyph* box = graphics->getGlyph(blocks.b);
    TAVI::Holder<ButtonControl> button(new ButtonControl("button", log));
    box->addControl(button, box->getRoot());

    graphics->updateGlyphs(set, DiagramChangeReport(blocks.model, VELD::ImmutableModel()));
    EXPECT_EQ(button->updates, 1);
}

TEST_F(GlyphTest, APressGoesToTheFirstControlUnderThePointerThenToTheGlyph) {
    const TAVI::Holder<PressRecordingBox> box = make<PressRecordingBox>(asElement(blocks.b), log);
    TAVI::Holder<ButtonControl> left(new ButtonControl("left", log));
    TAVI::Holder<ButtonControl> right(new ButtonControl("right", log, true));
    box->addControl(left, box->getRoot(), "a-left");
    box->addControl(right, box->getRoot(), "b-right");
    right->getRoot().setPosition({30, 0});

    ZEPH::MouseEvent onLeft({202, 12}, ZEPH::LeftButton, ZEPH::LeftButton);
    box->dispatchMousePress(onLeft);
    EXPECT_EQ(log, (std::vector<std::string>{"left", "glyph"}));
    EXPECT_TRUE(left->containsScenePos({202, 12}));

    log.clear();
    ZEPH::MouseEvent onRight({232, 12}, ZEPH::LeftButton, ZEPH::LeftButton);
    box->dispatchMousePress(onRight);
    EXPECT_EQ(log, (std::vector<std::string>{"right"})); // consumed by the control

    log.clear();
    ZEPH::MouseEvent onBody({220, 30}, ZEPH::LeftButton, ZEPH::LeftButton);
    box->dispatchMousePress(onBody);
    EXPECT_EQ(log, (std::vector<std::string>{"glyph"}));
}

TEST_F(GlyphTest, ControlsHeldElsewhereOutliveTheirGlyphDetached) {
    TAVI::Holder<ButtonControl> button(new ButtonControl("button", log));
    {
        const TAVI::Holder<BoxGlyph> box = make<BoxGlyph>(asElement(blocks.b));
        box->addControl(button, box->getRoot());
    }
    EXPECT_EQ(button->getGlyph(), nullptr);
    EXPECT_FALSE(button->getRoot().isValid());
}
