#include "tests/studio/components/PropBrowserFixture.hpp"

#include "platform/orbis/StudioFrameworkService.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "platform/veld/DomainRegistry.hpp"
#include "platform/veld/Object.hpp"
#include "studio/components/propwidgets/TextEditor.hpp"

#include <QAbstractScrollArea>
#include <QDockWidget>
#include <QScrollBar>
#include <QWidget>

namespace KITE::Test {

namespace {

using Labels = std::vector<std::string>;

const Labels kMachineRows{"name",   "enabled", "count", "weight", "limit",      "colour", "tags",
                          "serial", "drive",   "main",  "helper", "favourites", "notes"};

// Counts how often it lists properties, that is how often a row set is built or brought in line;
// shows only the name in its narrow mode.
class CountingDelegate : public ShowingDelegate {
public:
    std::vector<VELD::ImmutableProperty>
    getProperties(const VELD::ImmutableClassObject& object) override {
        ++listed;
        std::vector<VELD::ImmutableProperty> all = ShowingDelegate::getProperties(object);
        if (inherited && object.isValid()) {
            all.clear();
            for (const VELD::ImmutableProperty& p : object.getMetaClass().getAllAttributes())
                if (!p.isDerived() && !p.isComposite())
                    all.push_back(p);
        }
        if (narrow && all.size() > 1)
            all.resize(1);
        return all;
    }
    int listed = 0;
    bool narrow = false;
    bool inherited = false; // also what the class inherits
};

std::string dockTitle(PropBrowserComponent* browser) {
    for (QWidget* up = browser->getWidget()->getQWidget(); up; up = up->parentWidget())
        if (auto* dock = qobject_cast<QDockWidget*>(up))
            return dock->windowTitle().toStdString();
    return "(not docked)";
}

} // namespace

TEST_F(PropBrowserTest, TheStudioDocksABrowserThatShowsOneRowPerPlainProperty) {
    EXPECT_EQ(browser->getTypeName(), "KITE PropBrowser component");
    EXPECT_EQ(rows().getColumnCount(), 2u);
    EXPECT_EQ(rows().getColumnLabel(rows().getNameColumn()), "Property");
    EXPECT_EQ(rows().getColumnLabel(rows().getValueColumn()), "Value");
    EXPECT_EQ(dockTitle(browser), "Properties");

    select(plant.press);
    EXPECT_EQ(labels(), kMachineRows); // no containment of parts, no derived area
    EXPECT_EQ(browser->getDisplayTitle(), "Properties - pbtest.Machine");
    EXPECT_EQ(dockTitle(browser), "Properties - pbtest.Machine");

    VELD::ClassObject simple;
    {
        VELD::Transaction t(model);
        simple = plant.make("Simple", "simples");
        t.commit();
    }
    select(simple);
    EXPECT_EQ(labels(), Labels{"name"});
}

TEST_F(PropBrowserTest, ValuesAndExpandersFollowTheValueKinds) {
    {
        VELD::Transaction t(model);
        plant.mill.setObject(meta.helper, plant.anonymous);
        t.commit();
    }
    struct Case {
        VELD::ClassObject object;
        VELD::ImmutableProperty property;
        std::string value;
        bool expandable;
    };
    const Case cases[] = {
        {plant.press, meta.name, "press", false},
        {plant.press, meta.enabled, "false", false},
        {plant.press, meta.count, "3", false},
        {plant.press, meta.weight, "2.5", false},
        {plant.press, meta.colour, "Green", false},
        {plant.press, meta.tags, "", true},                    // three strings
        {plant.press, meta.favourites, "", false},             // empty
        {plant.press, meta.drive, "Motor", true},              // a named object
        {plant.press, meta.helper, "", false},                 // unset
        {plant.mill, meta.helper, ": pbtest.Anonymous", true}, // an unnamed object
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.object.toString() + " " + c.property.getName());
        select(c.object);
        const unsigned row = rowOf(c.property);
        ASSERT_NE(row, 0u);
        EXPECT_EQ(rows().getText(row, rows().getValueColumn()), c.value);
        EXPECT_EQ(rows().isRowExpandable(row), c.expandable);
    }
}

TEST_F(PropBrowserTest, ExpandingShowsElementsAndReferencedObjects) {
    select(plant.press);
    const unsigned tags = rowOf(meta.tags);
    expand(tags);
    EXPECT_EQ(labels(tags), (Labels{"tags[0] ", "tags[1] ", "tags[2] "}));
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(value(meta.tags, i), std::string(1, char('a' + i)));
        PropBrowserEditor* editor = edit(rowOf(meta.tags, i));
        EXPECT_NE(dynamic_cast<PropertyBrowserWidgetsNS::TextEditor*>(editor), nullptr);
        finish(editor, false);
    }
    // The multi-valued row itself has no editor.
    EXPECT_EQ(edit(tags), nullptr);

    // The library's delegate lists a class's own properties: the motor has none of its own.
    const unsigned drive = rowOf(meta.drive);
    expand(drive);
    EXPECT_EQ(labels(drive), Labels{});
    const unsigned main = rowOf(meta.main);
    expand(main);
    EXPECT_EQ(labels(main), Labels{"name"});
    EXPECT_EQ(rows().getText(rowOf(meta.partName, -1, plant.part), rows().getValueColumn()),
              "Frame");
}

TEST_F(PropBrowserTest, ARefreshUpdatesRowsInPlaceKeepingExpansionAndScrolling) {
    select(plant.press);
    const unsigned tags = rowOf(meta.tags);
    const unsigned main = rowOf(meta.main);
    expand(tags);
    expand(main);
    const std::vector<unsigned> before = rows().getChildRows(0);
    const std::vector<unsigned> elements = rows().getChildRows(tags);

    // A window so small that the rows scroll, scrolled to the end.
    browser->getWidget()->getQWidget()->window()->resize(300, 160);
    settle();
    auto* area = qobject_cast<QAbstractScrollArea*>(browser->getWidget()->getQWidget());
    ASSERT_NE(area, nullptr);
    area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
    const int scrolled = area->verticalScrollBar()->value();
    ASSERT_GT(scrolled, 0);

    {
        VELD::Transaction t(model);
        plant.press.setString(meta.name, "crusher");
        plant.part.setString(meta.partName, "Big frame");
        plant.press.get(meta.tags).erase(0);                                // "a" goes
        plant.press.add(meta.tags, VELD::ImmutableObject::fromString("d")); // "d" comes
        t.commit();
    }
    settle();
    EXPECT_EQ(rows().getChildRows(0), before);
    EXPECT_EQ(value(meta.name), "crusher");
    EXPECT_EQ(rows().getText(rowOf(meta.partName, -1, plant.part), rows().getValueColumn()),
              "Big frame");
    EXPECT_TRUE(view().isExpanded(tags));
    EXPECT_TRUE(view().isExpanded(main));
    // b and c keep their rows, renumbered; d gets a new one.
    const std::vector<unsigned> now = rows().getChildRows(tags);
    ASSERT_EQ(now.size(), 3u);
    EXPECT_EQ(now[0], elements[1]);
    EXPECT_EQ(now[1], elements[2]);
    EXPECT_EQ(labels(tags), (Labels{"tags[0] ", "tags[1] ", "tags[2] "}));
    EXPECT_EQ(value(meta.tags, 0), "b");
    EXPECT_EQ(value(meta.tags, 2), "d");
    EXPECT_EQ(area->verticalScrollBar()->value(), scrolled);
}

TEST_F(PropBrowserTest, OnlyTransactionsThatTouchWhatIsShownAndModeChangesRefreshIt) {
    auto* counting = new CountingDelegate;
    counting->inherited = true;
    browser->setDelegate(counting);
    select(plant.press);
    const int shown = counting->listed;
    const auto moveNode = [&] {
        VELD::Transaction t(model);
        plant.node.setPosition({30, 40});
        t.commit();
    };
    moveNode();
    EXPECT_EQ(counting->listed, shown) << "moving a node that is not shown";
    {
        VELD::Transaction t(model);
        plant.mill.setString(meta.name, "grinder");
        t.commit();
    }
    EXPECT_EQ(counting->listed, shown + 1) << "renaming any object";

    // Showing the node itself, its position follows the move.
    select(plant.node);
    ASSERT_NE(rowOf(plant.node.getMetaClass().getProperty("x")), 0u);
    {
        VELD::Transaction t(model);
        plant.node.setPosition({70, 80});
        t.commit();
    }
    EXPECT_EQ(value(plant.node.getMetaClass().getProperty("x")), "70");

    // A filter mode change updates the rows in place.
    counting->inherited = false;
    select(plant.press);
    const unsigned name = rowOf(meta.name);
    counting->narrow = true;
    app->getFilterModeChangedEventService()->raise(FilterModeChangedEvent("studio", "narrow"));
    EXPECT_EQ(labels(), Labels{"name"});
    EXPECT_EQ(rowOf(meta.name), name);
    counting->narrow = false;
    app->getFilterModeChangedEventService()->raise(FilterModeChangedEvent("studio", ""));
    EXPECT_EQ(labels(), kMachineRows);
    EXPECT_EQ(rowOf(meta.name), name);
}

TEST_F(PropBrowserTest, SelectionsShowTheirObjectAndAnEmptyEditorSelectionChangesNothing) {
    select(plant.press);
    EXPECT_EQ(browser->getObject(), plant.press);
    // The editor's working copy names the same object: the browser shows the model's.
    const VELD::Model copy = model.createDeviantWithName("copy");
    app->getEditorSelectionChangedEventService()->raise(
        EditorSelectionChangedEvent(DiagramElement(plant.node.asDeviant(copy)), true));
    EXPECT_EQ(browser->getObject(), plant.node);
    EXPECT_TRUE(browser->getObject().getModelVELD().isRootDeviant());
    app->getEditorSelectionChangedEventService()->raise(EditorSelectionChangedEvent());
    EXPECT_EQ(browser->getObject(), plant.node);
    model.removeDeviantWithName("copy");

    select(VELD::ClassObject()); // an empty tree selection empties the browser
    EXPECT_TRUE(browser->getObject().isNull());
    EXPECT_EQ(rows().getTotalRowCount(), 0u);
    EXPECT_EQ(rows().getColumnCount(), 2u);

    // The library's own delegate shows nothing for a selection.
    browser->setDelegate(new PropBrowserDelegate);
    select(plant.press);
    EXPECT_TRUE(browser->getObject().isNull());
}

TEST_F(PropBrowserTest, ObjectsOfAnotherModelAreShownButNotEditable) {
    PlantModel other;
    app->addModel(other.model);
    ASSERT_EQ(app->getActiveModel(), model);
    select(other.press);
    EXPECT_EQ(value(meta.name), "press");
    EXPECT_TRUE(browser->testAPI_IsPropertyReadonly(meta.name));
    EXPECT_EQ(edit(rowOf(meta.name)), nullptr);
    EXPECT_FALSE(view().isEditing());

    select(plant.press);
    EXPECT_FALSE(browser->testAPI_IsPropertyReadonly(meta.name));
    EXPECT_TRUE(browser->testAPI_IsPropertyReadonly(meta.serial)); // read only: no editor
    EXPECT_EQ(edit(rowOf(meta.serial)), nullptr);
}

TEST_F(PropBrowserTest, TestOperationsAnswerForRowsAndForPropertiesWithoutOne) {
    select(plant.press);
    EXPECT_EQ(browser->testAPI_GetLabelOfProperty(meta.count), "count");
    EXPECT_EQ(browser->testAPI_GetValueOfProperty(meta.count), "3");
    for (const VELD::ImmutableProperty& hidden : {meta.parts, meta.area}) {
        SCOPED_TRACE(hidden.getName());
        EXPECT_EQ(browser->testAPI_GetLabelOfProperty(hidden), "NOTFOUND");
        EXPECT_EQ(browser->testAPI_GetValueOfProperty(hidden), "NOTFOUND");
        EXPECT_TRUE(browser->testAPI_IsPropertyReadonly(hidden));
    }
    EXPECT_EQ(browser->testAPI_GetLabelOfProperty(meta.tags, plant.press, 1), "NOTFOUND");
    expand(rowOf(meta.tags));
    EXPECT_EQ(browser->testAPI_GetLabelOfProperty(meta.tags, VELD::ClassObject(), 1), "tags[1] ");
    EXPECT_EQ(browser->testAPI_GetValueOfProperty(meta.tags, plant.press, 1), "b");
    EXPECT_FALSE(browser->testAPI_IsPropertyReadonly(meta.tags, plant.press, 1));
    EXPECT_EQ(browser->testAPI_GetValueOfProperty(meta.name, plant.mill, -1), "NOTFOUND");
}

TEST_F(PropBrowserTest, AnObjectDeletedWhileShownEmptiesTheBrowserAndUndoBringsItBack) {
    select(plant.press);
    const unsigned main = rowOf(meta.main);
    expand(main);
    ASSERT_FALSE(rows().getChildRows(main).empty());
    // The referenced part goes: its rows go with it.
    {
        VELD::Transaction t(model);
        plant.part.destroy();
        t.commit();
    }
    EXPECT_EQ(value(meta.main), "");
    EXPECT_TRUE(rows().getChildRows(main).empty());
    EXPECT_FALSE(rows().isRowExpandable(main));

    PropBrowserEditor* editor = edit(rowOf(meta.name));
    ASSERT_NE(editor, nullptr);
    {
        VELD::Transaction t(model);
        plant.press.destroy();
        t.commit();
    }
    settle();
    EXPECT_EQ(rows().getTotalRowCount(), 0u);
    EXPECT_EQ(rows().getColumnCount(), 2u);
    EXPECT_EQ(browser->getDisplayTitle(), "Properties");
    EXPECT_EQ(rows().getEditor(rowOf(meta.name)), nullptr);

    undo();
    select(plant.press);
    EXPECT_EQ(value(meta.name), "press");
}

TEST_F(PropBrowserTest, TerminateEmptiesTheBrowserAndTheStudioTakesItAway) {
    select(plant.press);
    ASSERT_NE(rows().getTotalRowCount(), 0u);
    const TAVI::Holder<PropBrowserComponent> kept(browser);
    TAVI::ErrorHolder errors;
    app->terminate(errors);
    EXPECT_EQ(kept->getViewModel(), nullptr);
    EXPECT_TRUE(kept->getObject().isNull());
    TAVI::ErrorHolder lookup;
    EXPECT_EQ(studio->getFrameworkService()->getComponent(PropBrowserComponent::typeName, lookup),
              nullptr);
    kept->refresh(plant.press); // nothing left to show it in
    EXPECT_TRUE(kept->getObject().isNull());
}

} // namespace KITE::Test
