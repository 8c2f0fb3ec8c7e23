#include "tests/editor/EditorToolsFixture.hpp"

#include "editor/Control.hpp"
#include "editor/Glyph.hpp"
#include "editor/Graphics.hpp"
#include "platform/zeph/WheelEvent.hpp"

#include <functional>
#include <string>

using namespace KITE;
using namespace KITE::Test;

namespace {

// A box that writes down the events it gets; a press may run an action of the test's.
class RecordingBoxGlyph : public BoxGlyph {
public:
    using BoxGlyph::BoxGlyph;

    void handleMouseMoveEvent(ZEPH::MouseEvent&) override { log.push_back("move"); }
    void handleMousePressEvent(ZEPH::MouseEvent& event) override {
        log.push_back("press");
        if (onPress)
            onPress(event);
    }
    void handleMouseReleaseEvent(ZEPH::MouseEvent&) override { log.push_back("release"); }
    void handleMouseDoubleClickEvent(ZEPH::MouseEvent&) override { log.push_back("double"); }
    void handleWheelEvent(ZEPH::WheelEvent&) override { log.push_back("wheel"); }
    void handleKeyPressEvent(ZEPH::KeyEvent& event) override {
        log.push_back("key " + std::to_string(event.key()));
    }
    void handleKeyReleaseEvent(ZEPH::KeyEvent& event) override {
        log.push_back("key up " + std::to_string(event.key()));
    }

    std::vector<std::string> log;
    std::function<void(ZEPH::MouseEvent&)> onPress;
};

class DelegateToGlyphToolTest : public EditorToolsTest {
protected:
    GlyphFactory* glyphFactory() override {
        recordingFactory.node = BoxGlyphFactory::make<RecordingBoxGlyph>();
        return &recordingFactory;
    }

    DelegateToGlyphTool& tool() const {
        auto* delegate = toolOfRole<DelegateToGlyphTool>(TAVI::StringID("DelegateToGlyph"));
        EXPECT_NE(delegate, nullptr);
        return *delegate;
    }
    RecordingBoxGlyph* glyphOf(const DiagramElement& element) const {
        return dynamic_cast<RecordingBoxGlyph*>(editor->getGraphics()->getGlyph(element));
    }
    void destroyInRoot(const DiagramElement& element) {
        VELD::Transaction transaction(root());
        inRoot(element).destroy();
        transaction.commit();
    }

    BoxGlyphFactory recordingFactory;
};

using Log = std::vector<std::string>;

TEST_F(DelegateToGlyphToolTest, PointerEventsReachTheGlyphUnderThePointerAndStayUnconsumed) {
    RecordingBoxGlyph* b = glyphOf(blocks.b);
    ASSERT_NE(b, nullptr);
    ZEPH::MouseEvent moveEvent({220, 35});
    tool().handleMouseMoveEvent(moveEvent);
    ZEPH::MouseEvent pressEvent({220, 35}, ZEPH::LeftButton, ZEPH::LeftButton);
    tool().handleMousePressEvent(pressEvent);
    ZEPH::MouseEvent releaseEvent({220, 35}, ZEPH::LeftButton);
    tool().handleMouseReleaseEvent(releaseEvent);
    ZEPH::MouseEvent doubleEvent({220, 35}, ZEPH::LeftButton, ZEPH::LeftButton);
    tool().handleMouseDoubleClickEvent(doubleEvent);
    ZEPH::WheelEvent wheelEvent({220, 35}, 120);
    tool().handleWheelEvent(wheelEvent);
    EXPECT_EQ(b->log, (Log{"move", "press", "release", "double", "wheel"}));
    for (const ZEPH::Event* event : std::initializer_list<const ZEPH::Event*>{
             &moveEvent, &pressEvent, &releaseEvent, &doubleEvent, &wheelEvent})
        EXPECT_FALSE(event->isConsumed());
    EXPECT_EQ(tool().getCurrentGlyph(), b);

    // The innermost glyph: inner lies on a, and only inner hears of it.
    ZEPH::MouseEvent onInner({20, 20});
    tool().handleMouseMoveEvent(onInner);
    EXPECT_EQ(glyphOf(blocks.inner)->log, (Log{"move"}));
    EXPECT_TRUE(glyphOf(blocks.a)->log.empty());

    // Empty canvas: nobody.
    ZEPH::MouseEvent nowhere({120, 100});
    tool().handleMouseMoveEvent(nowhere);
    EXPECT_FALSE(nowhere.isConsumed());
    EXPECT_EQ(tool().getCurrentGlyph(), nullptr);
    EXPECT_EQ(b->log.size(), 5u);

    // The tools below still get what the glyph leaves.
    click(40, 35);
    EXPECT_EQ(glyphOf(blocks.a)->log, (Log{"press", "release"}));
    EXPECT_EQ(selection(), (std::vector<DiagramElement>{blocks.a}));
}

TEST_F(DelegateToGlyphToolTest, APressGoesToTheControlUnderThePointerFirst) {
    RecordingBoxGlyph* b = glyphOf(blocks.b);
    TAVI::Holder<ButtonControl> button(new ButtonControl);
    ASSERT_EQ(b->addControl(button, b->getRoot()), TAVI::StringID("button"));

    // b's box lies at (200, 10); the button covers (200, 10)-(206, 16).
    click(203, 13);
    EXPECT_EQ(button->presses, 1);
    EXPECT_EQ(b->log, (Log{"press", "release"}));
    EXPECT_EQ(selection(), (std::vector<DiagramElement>{blocks.b}));

    // A press the control takes goes no further: not to the glyph, not to the selection tool.
    button->consumes = true;
    click(120, 100);
    ASSERT_TRUE(selection().empty());
    click(203, 13);
    EXPECT_EQ(button->presses, 2);
    EXPECT_EQ(b->log, (Log{"press", "release", "release"}));
    EXPECT_TRUE(selection().empty());

    // Elsewhere on b the button hears nothing.
    click(230, 35);
    EXPECT_EQ(button->presses, 2);
}

TEST_F(DelegateToGlyphToolTest, KeysGoToTheGlyphTheLastPointerEventFound) {
    move(40, 35);
    ZEPH::KeyEvent keyA(0x41);
    scene().handleKeyPressEvent(keyA);
    ZEPH::KeyEvent keyAUp(0x41);
    scene().handleKeyReleaseEvent(keyAUp);
    EXPECT_EQ(glyphOf(blocks.a)->log, (Log{"move", "key 65", "key up 65"}));

    move(120, 100);
    key(0x42);
    EXPECT_EQ(glyphOf(blocks.a)->log.size(), 3u);
    EXPECT_TRUE(glyphOf(blocks.b)->log.empty());
}

TEST_F(DelegateToGlyphToolTest, EscapeSendsOneNavigateUpRequestForTheDiagramAndNoKey) {
    move(40, 35);
    ZEPH::KeyEvent escape(ZEPH::Key_Escape);
    tool().handleKeyPressEvent(escape);
    EXPECT_TRUE(escape.isConsumed());
    ASSERT_EQ(navigateUpRequests.received.size(), 1u);
    EXPECT_EQ(navigateUpRequests.received[0].getTarget(),
              VELD::ImmutableClassObject(blocks.diagram));
    EXPECT_EQ(glyphOf(blocks.a)->log, (Log{"move"}));

    key(ZEPH::Key_Escape);
    EXPECT_EQ(navigateUpRequests.received.size(), 2u);
}

TEST_F(DelegateToGlyphToolTest, AGlyphTheGraphicsDropGetsNoMoreEvents) {
    const TAVI::Holder<Glyph> held(glyphOf(blocks.b));
    auto* b = dynamic_cast<RecordingBoxGlyph*>(held.get());
    move(220, 35);
    ASSERT_EQ(tool().getCurrentGlyph(), b);
    destroyInRoot(blocks.b);
    ASSERT_EQ(editor->getGraphics()->getGlyph(blocks.b), nullptr);
    EXPECT_EQ(tool().getCurrentGlyph(), nullptr);
    key(0x41);
    ZEPH::KeyEvent up(0x41);
    scene().handleKeyReleaseEvent(up);
    EXPECT_EQ(b->log, (Log{"move"}));
}

TEST_F(DelegateToGlyphToolTest, AGlyphWhoseOwnPressRemovesItIsHeldUntilItsHandlerReturns) {
    RecordingBoxGlyph* b = glyphOf(blocks.b);
    std::vector<std::string>* log = &b->log;
    bool stillAlive = false;
    b->onPress = [&](ZEPH::MouseEvent& event) {
        destroyInRoot(blocks.b);
        // Read after the graphics let go: the tool's hold keeps the glyph.
        stillAlive = log->size() == 1u && !event.isConsumed();
    };
    press(220, 35);
    EXPECT_TRUE(stillAlive);
    EXPECT_EQ(editor->getGraphics()->getGlyph(blocks.b), nullptr);
    EXPECT_EQ(tool().getCurrentGlyph(), nullptr);
    release(220, 35);
}

} // namespace
