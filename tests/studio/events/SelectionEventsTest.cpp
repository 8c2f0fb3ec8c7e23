#include "studio/events/EditorClosedEvent.hpp"
#include "studio/events/EditorSelectionChangedEvent.hpp"
#include "studio/events/TreeSelectionChangedEvent.hpp"
#include "tests/studio/events/EventTestModel.hpp"

#include <gtest/gtest.h>

#include <deque>

using namespace KITE;

namespace {

using Queue = std::deque<VELD::ClassObject>;

VELD::ClassObject objectOf(const VELD::ImmutableClassObject& handle) {
    return VELD::ClassObject(handle);
}

VELD::Sequence<DiagramElement> elementsOf(std::initializer_list<DiagramElement> elements) {
    VELD::Sequence<DiagramElement> sequence = VELD::MakeSequence::create<DiagramElement>();
    for (const DiagramElement& element : elements)
        sequence.append(element);
    return sequence;
}

struct SelectionEventsTest : ::testing::Test {
    KiteTest::EventTestModel sheet;
    VELD::ClassObject diagram = objectOf(sheet.diagram);
    VELD::ClassObject first = objectOf(sheet.first);
    VELD::ClassObject second = objectOf(sheet.second);
    VELD::ClassObject edge = objectOf(sheet.edge);
};

} // namespace

TEST_F(SelectionEventsTest, EmptySelectionsAndNullObjectsHaveNoLastSelection) {
    EXPECT_TRUE(SelectionChangedEvent().selections().empty());
    EXPECT_TRUE(SelectionChangedEvent().lastSelection().isNull());
    // A null object is no selection at all, whichever record carries it.
    EXPECT_TRUE(SelectionChangedEvent(VELD::ImmutableClassObject()).isEmpty());
    const TreeSelectionChangedEvent tree(VELD::ClassObject(), "KITE tree component",
                                         SelectionTrigger::EditorSelection);
    EXPECT_TRUE(tree.selections().empty());
    EXPECT_TRUE(tree.lastSelection().isNull());
    // What an editor sends after deleting its selection.
    const EditorSelectionChangedEvent afterDeletion(DiagramElement(), false);
    EXPECT_TRUE(afterDeletion.selections().empty());
    EXPECT_FALSE(afterDeletion.isSelected());

    VELD::Sequence<VELD::ClassObject> objects = VELD::MakeSequence::create<VELD::ClassObject>();
    objects.append(first);
    objects.append(VELD::ClassObject());
    SelectionChangedEvent event(objects);
    EXPECT_EQ(event.selections(), (Queue{first}));
    // Appending nothing after a real object must not hide that object from lastSelection.
    event.append(VELD::ClassObject());
    EXPECT_EQ(event.selections(), (Queue{first}));
    EXPECT_EQ(event.lastSelection(), first);
    const EditorSelectionChangedEvent editor(elementsOf({sheet.second, DiagramElement()}), true);
    EXPECT_EQ(editor.selections(), (Queue{second}));
}

TEST_F(SelectionEventsTest, SelectionsKeepTheOrderGivenAndTheLastIsTheLastAppended) {
    VELD::Sequence<VELD::ClassObject> objects = VELD::MakeSequence::create<VELD::ClassObject>();
    objects.append(second);
    objects.append(diagram);
    objects.append(first);
    SelectionChangedEvent event(objects);
    EXPECT_EQ(event.selections(), (Queue{second, diagram, first}));
    EXPECT_EQ(event.lastSelection(), first);
    event.append(edge);
    EXPECT_EQ(event.selections(), (Queue{second, diagram, first, edge}));
    EXPECT_EQ(event.lastSelection(), edge);
    // The record is not bound to the sequence it was made from.
    objects.clear();
    EXPECT_EQ(event.selections().size(), 4u);
    objects.append(edge);
    EXPECT_EQ(TreeSelectionChangedEvent(objects, "tree", SelectionTrigger::User).selections(),
              (Queue{edge}));

    // Diagram elements become their class objects, in every kind of record.
    const VELD::Sequence<DiagramElement> elements = elementsOf({sheet.edge, sheet.first});
    EXPECT_EQ(SelectionChangedEvent(elements).selections(), (Queue{edge, first}));
    const TreeSelectionChangedEvent tree(elements, "tree", SelectionTrigger::ActiveEditor);
    EXPECT_EQ(tree.selections(), (Queue{edge, first}));
    EXPECT_EQ(tree.getSource(), "tree");
    EXPECT_EQ(tree.getTrigger(), SelectionTrigger::ActiveEditor);
    const EditorSelectionChangedEvent selected(elements, true);
    EXPECT_EQ(selected.selections(), (Queue{edge, first}));
    EXPECT_TRUE(selected.isSelected());
    const EditorSelectionChangedEvent one(sheet.second, false);
    EXPECT_EQ(one.selections(), (Queue{second}));
    EXPECT_FALSE(one.isSelected());
    const TreeSelectionChangedEvent single(sheet.diagram, "tree", SelectionTrigger::User);
    EXPECT_EQ(single.lastSelection(), diagram);
}

TEST(EditorClosedEventTest, CarriesTheClosedEditorsInOrderAndNoNullOnes) {
    // The record only carries the pointers, so addresses of anything stand in for editors.
    int storage[2] = {};
    auto* one = reinterpret_cast<Editor*>(&storage[0]);
    auto* two = reinterpret_cast<Editor*>(&storage[1]);

    EXPECT_TRUE(EditorClosedEvent().getEditors().isEmpty());
    EXPECT_TRUE(EditorClosedEvent(nullptr).getEditors().isEmpty());

    EditorClosedEvent event(one);
    event.append(nullptr);
    event.append(two);
    EXPECT_EQ(event.getEditors().toStdVector(), (std::vector<Editor*>{one, two}));
    event.clear();
    EXPECT_TRUE(event.getEditors().isEmpty());
}
