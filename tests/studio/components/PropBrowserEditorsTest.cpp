#include "tests/studio/components/PropBrowserFixture.hpp"

#include "platform/tavi2/GLButton2.hpp"
#include "platform/tavi2/GLCheckBox2.hpp"
#include "platform/tavi2/GLComboBox2.hpp"
#include "platform/tavi2/GLEdit2.hpp"
#include "platform/tavi2/GLEditArea2.hpp"
#include "platform/veld/DomainRegistry.hpp"
#include "platform/veld/Exception.hpp"
#include "platform/veld/MetaModelBuilder.hpp"
#include "platform/veld/Object.hpp"
#include "studio/components/PropBrowserEditor.hpp"
#include "studio/components/propwidgets/CheckBox.hpp"
#include "studio/components/propwidgets/EnumComboBox.hpp"
#include "studio/components/propwidgets/NumericTextBox.hpp"
#include "studio/components/propwidgets/ObjectComboBox.hpp"
#include "studio/components/propwidgets/TextEditor.hpp"
#include "studio/components/propwidgets/TextEditorDialog.hpp"

#include <functional>

namespace KITE::Test {

namespace W = PropertyBrowserWidgetsNS;

namespace {

template <typename E> E* as(PropBrowserEditor* editor) {
    auto* typed = dynamic_cast<E*>(editor);
    EXPECT_NE(typed, nullptr) << "another kind of editor";
    return typed;
}

void typeInto(PropBrowserEditor* editor, const std::string& text) {
    if (auto* numeric = dynamic_cast<W::NumericTextBox*>(editor))
        numeric->getEdit()->setText(text);
    else if (auto* line = dynamic_cast<W::TextEditor*>(editor))
        line->getEdit()->setText(text);
    else
        ADD_FAILURE() << "no text to type into";
}

} // namespace

// Each kind of editor: one edit is one undo step, and undo and redo show in the browser too.
TEST_F(PropBrowserTest, EveryEditorKindEditsUndoesAndRedoes) {
    struct Case {
        const char* name;
        VELD::ImmutableProperty property;
        int index;
        std::function<void(PropBrowserEditor*)> change;
        std::string before, after;
    };
    const Case cases[] = {
        {"text", meta.name, -1, [](PropBrowserEditor* e) { typeInto(e, "crusher"); }, "press",
         "crusher"},
        {"number", meta.count, -1, [](PropBrowserEditor* e) { typeInto(e, " 7 "); }, "3", "7"},
        {"check box", meta.enabled, -1,
         [](PropBrowserEditor* e) { as<W::CheckBox>(e)->getCheckBox()->click(); }, "false", "true"},
        {"enumeration", meta.colour, -1,
         [](PropBrowserEditor* e) { as<W::EnumComboBox>(e)->getComboBox()->setCurrentIndex(2); },
         "Green", "Blue"},
        {"reference", meta.drive, -1,
         [](PropBrowserEditor* e) {
             W::ObjectComboBox* box = as<W::ObjectComboBox>(e);
             box->getComboBox()->setCurrentIndex(box->getComboBox()->getCount() - 1);
         },
         "Motor", ""},
        {"element", meta.tags, 1, [](PropBrowserEditor* e) { typeInto(e, "x"); }, "b", "x"},
    };
    select(plant.press);
    expand(rowOf(meta.tags));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int steps = model.getUndoStackLength();
        PropBrowserEditor* editor = edit(rowOf(c.property, c.index));
        ASSERT_NE(editor, nullptr);
        c.change(editor);
        finish(editor);
        EXPECT_EQ(model.getUndoStackLength(), steps + 1);
        EXPECT_EQ(value(c.property, c.index), c.after);
        EXPECT_EQ(rows().getRefusal(rowOf(c.property, c.index)), "");
        undo();
        EXPECT_EQ(value(c.property, c.index), c.before);
        redo();
        EXPECT_EQ(value(c.property, c.index), c.after);
    }
    EXPECT_EQ(plant.press.getString(meta.name), "crusher");
    EXPECT_EQ(plant.press.getInteger(meta.count), 7);
    EXPECT_TRUE(plant.press.getBoolean(meta.enabled));
    EXPECT_EQ(plant.press.getOne(meta.colour).toString(), "Blue");
    EXPECT_FALSE(plant.press.isSet(meta.drive));
    EXPECT_EQ(plant.press.get(meta.tags).at(1).toString(), "x");
}

TEST_F(PropBrowserTest, ValuesThatDoNotFitAreRefusedBesideTheRowAndChangeNothing) {
    struct Case {
        VELD::ImmutableProperty property;
        std::string text;
    };
    const Case cases[] = {
        {meta.count, "abc"},  {meta.count, "99999999999999999999"},
        {meta.count, "2.5"},  {meta.weight, "NaN"},
        {meta.weight, "inf"}, {meta.weight, "1e999"},
        {meta.limit, "-3"},
    };
    select(plant.press);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.property.getName() + " " + c.text);
        const int level = model.getCurrentChangeLevel();
        const int steps = model.getUndoStackLength();
        const std::string before = PropBrowserProperty(plant.press, c.property).getValueAsString();
        const unsigned row = rowOf(c.property);
        PropBrowserEditor* editor = edit(row);
        typeInto(editor, c.text);
        finish(editor);
        EXPECT_EQ(model.getCurrentChangeLevel(), level);
        EXPECT_EQ(model.getUndoStackLength(), steps);
        const std::string reason = rows().getRefusal(row);
        EXPECT_NE(reason, "");
        const std::string shown = rows().getText(row, rows().getValueColumn());
        EXPECT_EQ(shown.rfind(before, 0), 0u) << shown;
        EXPECT_NE(shown.find(reason), std::string::npos) << shown;
    }
    // A literal that does not exist, and an object of the wrong class, are refused the same.
    std::string error;
    EXPECT_TRUE(PropBrowserProperty::convert(meta.colour, "Purple", error).isNull());
    EXPECT_NE(error, "");
    const int steps = model.getUndoStackLength();
    EXPECT_FALSE(writeRecordValue(PropBrowserProperty(plant.press, meta.drive), plant.pump, error));
    EXPECT_NE(error.find("pbtest.Motor"), std::string::npos) << error;
    EXPECT_EQ(model.getUndoStackLength(), steps);
    EXPECT_EQ(plant.press.getObject(meta.drive), plant.motor);

    // The next refresh of the row takes the reason away.
    PropBrowserEditor* editor = edit(rowOf(meta.count));
    typeInto(editor, "4");
    finish(editor);
    EXPECT_EQ(value(meta.count), "4");
}

TEST_F(PropBrowserTest, ACancelledOrUnchangedEditWritesNothing) {
    select(plant.press);
    const int level = model.getCurrentChangeLevel();
    PropBrowserEditor* editor = edit(rowOf(meta.count));
    typeInto(editor, "99");
    finish(editor, false); // Escape
    EXPECT_EQ(value(meta.count), "3");

    // An object combo box left as it was writes nothing, not even an empty transaction.
    editor = edit(rowOf(meta.main));
    W::ObjectComboBox* box = as<W::ObjectComboBox>(editor);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->getComboBox()->getItemText(box->getInitialIndex()), "Frame (pbtest.Part)");
    finish(editor);
    EXPECT_EQ(model.getCurrentChangeLevel(), level);
}

TEST_F(PropBrowserTest, CheckBoxesAndEnumerationsStartFromTheValue) {
    select(plant.press);
    PropBrowserEditor* editor = edit(rowOf(meta.enabled));
    W::CheckBox* box = as<W::CheckBox>(editor);
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(box->getCheckBox()->isChecked());
    EXPECT_EQ(box->getCheckBox()->getLabel(), "        false");
    box->getCheckBox()->click();
    EXPECT_EQ(box->getCheckBox()->getLabel(), "        true");
    finish(editor);
    EXPECT_TRUE(plant.press.getBoolean(meta.enabled));

    // The mill's colour matches no literal: the first one is offered, and committing stores it.
    select(plant.mill);
    editor = edit(rowOf(meta.colour));
    W::EnumComboBox* literals = as<W::EnumComboBox>(editor);
    ASSERT_NE(literals, nullptr);
    EXPECT_EQ(literals->getComboBox()->getCount(), 3);
    EXPECT_EQ(literals->getComboBox()->getCurrentIndex(), 0);
    finish(editor);
    EXPECT_EQ(plant.mill.getOne(meta.colour).toString(), "Red");
}

TEST_F(PropBrowserTest, ReferencesOfferObjectsOfTheirClassAndRemoveOnlyWhenOptional) {
    select(plant.press);
    struct Case {
        VELD::ImmutableProperty property;
        std::vector<std::string> items;
    };
    const Case cases[] = {
        // The describer names objects by a name of their own class: motors and pumps have none.
        {meta.drive, {"<No Name> (pbtest.Motor)", "<remove>"}},
        {meta.main, {"<No Name> (pbtest.Motor)", "<No Name> (pbtest.Pump)", "Frame (pbtest.Part)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.property.getName());
        PropBrowserEditor* editor = edit(rowOf(c.property));
        W::ObjectComboBox* box = as<W::ObjectComboBox>(editor);
        ASSERT_NE(box, nullptr);
        std::vector<std::string> items;
        for (int i = 0; i < box->getComboBox()->getCount(); ++i)
            items.push_back(box->getComboBox()->getItemText(i));
        EXPECT_EQ(items, c.items);
        finish(editor, false);
    }
    // An unset reference selects nothing, not even "<remove>".
    select(plant.mill);
    PropBrowserEditor* editor = edit(rowOf(meta.drive));
    EXPECT_EQ(as<W::ObjectComboBox>(editor)->getComboBox()->getCurrentIndex(), -1);
    finish(editor, false);
}

namespace {

// Looks for classes from a namespace: through its imports, and its own classes as additional
// candidates.
class NamespaceDelegate : public ShowingDelegate {
public:
    explicit NamespaceDelegate(VELD::ImmutableNamespace scope) : scope(std::move(scope)) {}
    VELD::ClassObject getScopeForObjectComboBox(const PropBrowserProperty&) override {
        return VELD::ClassObject(scope);
    }
    std::vector<VELD::ClassObject>
    getAdditionalCandidatesForObjectComboBox(const VELD::ClassObject& object) override {
        std::vector<VELD::ClassObject> more;
        if (const VELD::ImmutableNamespace space(object); !space.isNull())
            for (const VELD::ImmutableClassObject& member : space.getOwnedMembers())
                more.emplace_back(member);
        return more;
    }
    VELD::ImmutableNamespace scope;
};

} // namespace

TEST_F(PropBrowserTest, TheCandidateWalkEndsOnNamespacesThatImportEachOther) {
    static const std::pair<VELD::ImmutableNamespace, VELD::ImmutableNamespace> spaces = [] {
        VELD::MetaModelBuilder first("pbfirst", "test:pbfirst");
        first.addClass("Alpha");
        first.importPackage("test:pbfirst"); // itself
        VELD::ImmutableNamespace a = first.build();
        VELD::MetaModelBuilder second("pbsecond", "test:pbsecond");
        second.addClass("Beta");
        second.importPackage("test:pbfirst");
        second.importPackage("test:pbsecond");
        return std::pair{a, second.build()};
    }();
    browser->setDelegate(new NamespaceDelegate(spaces.second));
    VELD::ClassObject typed;
    {
        VELD::Transaction t(model);
        typed = plant.make("Typed", "typed");
        t.commit();
    }
    select(typed);
    PropBrowserEditor* editor = edit(rowOf(meta.typedType));
    W::ObjectComboBox* box = as<W::ObjectComboBox>(editor);
    ASSERT_NE(box, nullptr);
    // Depth first: the second package's own class, then through its import of the first.
    const std::vector<VELD::ClassObject> expected{VELD::ClassObject(spaces.second.getClass("Beta")),
                                                  VELD::ClassObject(spaces.first.getClass("Alpha")),
                                                  VELD::ClassObject()};
    EXPECT_EQ(box->getCandidates(), expected);
    finish(editor, false);
}

TEST_F(PropBrowserTest, MultiLineTextOpensTheDialogWhichCancelsOrAccepts) {
    {
        VELD::Transaction t(model);
        plant.press.setString(meta.notes, "one\ntwo");
        t.commit();
    }
    select(plant.press);
    const unsigned notes = rowOf(meta.notes);
    EXPECT_EQ(edit(notes), nullptr); // no editor in the row: the dialog instead
    settle();
    W::TextEditorDialog* dialog = browser->getDelegate()->getTextEditorDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->getTextArea()->getText(), "one\ntwo");
    dialog->getTextArea()->setText("changed");
    dialog->getCancelButton()->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(plant.press.getString(meta.notes), "one\ntwo");

    view().clearSelection();
    view().setCurrentCell(rowOf(meta.name), rows().getNameColumn());
    const int steps = model.getUndoStackLength();
    edit(notes);
    dialog = browser->getDelegate()->getTextEditorDialog();
    ASSERT_NE(dialog, nullptr);
    dialog->getTextArea()->setText("three\nfour");
    dialog->getAcceptButton()->click();
    settle();
    EXPECT_EQ(plant.press.getString(meta.notes), "three\nfour");
    EXPECT_EQ(model.getUndoStackLength(), steps + 1);
    EXPECT_EQ(value(meta.notes), "three\nfour");
}

TEST_F(PropBrowserTest, AfterTheDialogButtonTheLineWritesNothing) {
    select(plant.press);
    PropBrowserEditor* editor = edit(rowOf(meta.notes));
    W::TextEditor* line = as<W::TextEditor>(editor);
    ASSERT_NE(line, nullptr);
    line->getDialogButton()->click();
    ASSERT_NE(line->getDialog(), nullptr);
    EXPECT_TRUE(line->getDialog()->isVisible());
    EXPECT_EQ(line->getDialog()->getTextArea()->getText(), "plain");
    line->getEdit()->setText("from the line");
    finish(editor);
    EXPECT_EQ(plant.press.getString(meta.notes), "plain");

    // Accepting the dialog writes its text, and the browser's refresh takes the editor and its
    // dialog down.
    editor = edit(rowOf(meta.notes));
    line = as<W::TextEditor>(editor);
    line->getDialogButton()->click();
    line->getDialog()->getTextArea()->setText("from the dialog");
    line->getDialog()->getAcceptButton()->click();
    settle();
    EXPECT_EQ(plant.press.getString(meta.notes), "from the dialog");
    EXPECT_EQ(rows().getEditor(rowOf(meta.notes)), nullptr);
}

TEST(MetaModelBuilderImportTest, ImportsAreMembersAndUnknownOnesAreRefused) {
    VELD::MetaModelBuilder lonely("pblonely", "test:pblonely");
    lonely.importPackage("test:nowhere");
    EXPECT_THROW(lonely.build(), VELD::Exception);
    EXPECT_FALSE(VELD::DomainRegistry::instance().isRegistered("test:pblonely"));
}

} // namespace KITE::Test
