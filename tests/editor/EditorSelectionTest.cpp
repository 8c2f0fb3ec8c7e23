#include "editor/Editor.hpp"

#include "tests/editor/EditorFixture.hpp"
#include "tests/support/AssertionRecorder.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace KITE;
using namespace KITE::Test;

namespace {

using Seen = SelectionEvents::Seen;
using SeenList = std::vector<Seen>;

struct EditorSelectionTest : ::testing::Test, EditorFixture {
    SelectionEvents events{app};

    void commit(const std::function<void()>& change) const {
        VELD::Transaction t(blocks.model);
        change();
        t.commit();
    }
    bool boxSelected(const VELD::ImmutableClassObject& element) const {
        return glyphOf(element)->getRoot().isSelected();
    }
    std::vector<DiagramElement> selection() const { return editor->getSelection().toVector(); }
};

} // namespace

TEST_F(EditorSelectionTest, EachChangeOfTheSelectionIsAnnouncedOnceButClearing) {
    editor->select(blocks.a);
    editor->select(blocks.a);
    editor->select(blocks.b);
    EXPECT_EQ(events.seen(), (SeenList{seen(true, {blocks.a}), seen(true, {blocks.b})}));
    EXPECT_EQ(selection(), (std::vector<DiagramElement>{asElement(blocks.a), asElement(blocks.b)}));
    EXPECT_TRUE(boxSelected(blocks.a));
    EXPECT_TRUE(editor->isSelected(blocks.a));
    // The selection holds the working copy's view of the elements.
    EXPECT_EQ(selection()[0].getModelVELD(), editor->getDiagram().getModelVELD());

    events.events.clear();
    editor->deselect(blocks.a);
    editor->deselect(blocks.a);
    editor->setSelected(blocks.inner, false);
    EXPECT_EQ(events.seen(), (SeenList{seen(false, {blocks.a})}));
    EXPECT_FALSE(boxSelected(blocks.a));
    EXPECT_FALSE(editor->isSelected(blocks.a));

    TAVI::GSet<DiagramElement> out{asElement(blocks.inner)};
    editor->getSelectedElements(out);
    EXPECT_EQ(out, elementSet({blocks.b}));

    // Clearing deselects every glyph without an event.
    editor->select(blocks.a);
    editor->select(blocks.inner);
    events.events.clear();
    editor->clearSelection();
    EXPECT_TRUE(events.events.empty());
    EXPECT_TRUE(selection().empty());
    EXPECT_FALSE(boxSelected(blocks.a));
    EXPECT_FALSE(boxSelected(blocks.b));
    EXPECT_FALSE(boxSelected(blocks.inner));
    editor->select(blocks.a); // selectable again, with its event
    EXPECT_EQ(events.seen(), (SeenList{seen(true, {blocks.a})}));
}

TEST_F(EditorSelectionTest, ADeletedElementLeavesTheSelectionWithTwoEventsUnlessSuppressed) {
    editor->select(blocks.b);
    events.events.clear();
    commit([&] { DiagramElement(blocks.b).destroy(); });
    EXPECT_EQ(events.seen(), (SeenList{seen(false, {blocks.b}), seen(false)}));
    EXPECT_TRUE(selection().empty());

    // The same two events for an element that was not selected.
    events.events.clear();
    commit([&] { DiagramElement(blocks.inner).destroy(); });
    EXPECT_EQ(events.seen(), (SeenList{seen(false, {blocks.inner}), seen(false)}));

    // Deleted while announcements are suppressed: nothing announced, then or later.
    editor->select(blocks.a);
    events.events.clear();
    editor->disableSelectionNotification();
    commit([&] { DiagramElement(blocks.a).destroy(); });
    EXPECT_TRUE(selection().empty());
    editor->enableSelectionNotification();
    EXPECT_TRUE(events.events.empty());
}

namespace {
// Hears the working copy's reports as the editor does.
struct DeletedElements {
    explicit DeletedElements(const VELD::ImmutableModel& copy) : copy(copy) {
        VELD::Model(copy).registerObservingListener(&holder);
    }
    ~DeletedElements() { VELD::Model(copy).unregisterObservingListener(&holder); }
    void transactionCompleted(const DiagramChangeReport& report) {
        deleted = report.getDeleted().toVector();
    }
    using Holder = VELD::internal::ListenerHolder<VELD::ImmutableModel, DeletedElements,
                                                  DiagramElement, false>;
    VELD::ImmutableModel copy;
    Holder holder{this};
    std::vector<DiagramElement> deleted;
};
} // namespace

TEST_F(EditorSelectionTest, SeveralDeletionsAreAnnouncedInTheOrderOfTheReport) {
    GraphNode c, d;
    commit([&] {
        c = blocks.addBlock(blocks.diagram, {0, 300}, {5, 5});
        d = blocks.addBlock(blocks.diagram, {0, 400}, {5, 5});
    });
    DeletedElements report(editor->getDiagram().getModelVELD());
    commit([&] {
        DiagramElement(d).destroy();
        DiagramElement(c).destroy();
    });
    ASSERT_EQ(report.deleted.size(), 2u);
    const DiagramElement first = report.deleted[0], second = report.deleted[1];
    EXPECT_EQ(events.seen(),
              (SeenList{seen(false, {first}), seen(false), seen(false, {second}), seen(false)}));
}

TEST_F(EditorSelectionTest, ElementsCarriedToAnotherDiagramLeaveTheSelection) {
    Diagram other;
    commit([&] { other = blocks.addDiagram("other"); });
    editor->select(blocks.inner);
    editor->select(blocks.b);
    events.events.clear();
    commit([&] { other.addContained(blocks.a); });
    // a moved out: announced as deleted; inner went with it unreported and still leaves.
    EXPECT_EQ(events.seen(),
              (SeenList{seen(false, {blocks.a}), seen(false), seen(false, {blocks.inner})}));
    EXPECT_EQ(selection(), (std::vector<DiagramElement>{asElement(blocks.b)}));
}

TEST_F(EditorSelectionTest, ElementsOfAnotherModelOrDiagramAreRefused) {
    BlockModel foreign;
    Diagram other;
    GraphNode elsewhere;
    commit([&] {
        other = blocks.addDiagram("other");
        elsewhere = blocks.addBlock(other, {0, 0}, {5, 5});
    });
    KiteTest::AssertionRecorder assertions;
    editor->select(foreign.a);
    editor->select(elsewhere);
    editor->select(DiagramElement());
    EXPECT_EQ(assertions.count(), 3u);
    EXPECT_TRUE(events.events.empty());
    EXPECT_TRUE(selection().empty());
    EXPECT_FALSE(editor->isSelected(foreign.a));
}

TEST_F(EditorSelectionTest, SuppressionNestsAndEnablingAnnouncesTheWholeSelection) {
    editor->disableSelectionNotification();
    editor->disableSelectionNotification();
    editor->select(blocks.a);
    editor->select(blocks.b);
    editor->enableSelectionNotification();
    EXPECT_TRUE(events.events.empty());
    editor->enableSelectionNotification();
    EXPECT_EQ(events.seen(), (SeenList{seen(true, {blocks.a, blocks.b})}));

    // Nothing to announce for an empty selection.
    editor->clearSelection();
    events.events.clear();
    editor->disableSelectionNotification();
    editor->enableSelectionNotification();
    EXPECT_TRUE(events.events.empty());

    // An enable without its disable is refused: the editor is not silenced for good.
    KiteTest::AssertionRecorder assertions;
    editor->enableSelectionNotification();
    EXPECT_EQ(assertions.count(), 1u);
    editor->select(blocks.a);
    EXPECT_EQ(events.seen(), (SeenList{seen(true, {blocks.a})}));
}

TEST_F(EditorSelectionTest, AStudioWithoutAStudioApplicationHearsNothingAndNothingFails) {
    TAVI::Holder<PLATFORM::Studio> plain = PLATFORM::Studio::spawnStudio(
        TAVI::Holder<PLATFORM::Application>(new PLATFORM::Application));
    BlockModel own; // not shown by the fixture's editor
    TAVI::Holder<Editor> lone(Editor::create(plain.get(), Editor::staticGetTypeName()));
    openOn(*lone, own.diagram, &factory);
    EXPECT_EQ(lone->getStudioApp(), nullptr);
    EXPECT_EQ(lone->getNavigateUpRequestService(), nullptr);
    lone->select(own.a);
    {
        VELD::Transaction t(own.model);
        DiagramElement(own.a).destroy();
        t.commit();
    }
    EXPECT_TRUE(lone->getSelection().empty());
    EXPECT_TRUE(events.events.empty()); // another studio's service
    lone.reset();
    plain->close();
}
