#include "platform/tavi2/GLAbstractViewModel2.hpp"
#include "platform/tavi/Holder.hpp"
#include "platform/tavi/TypedException.hpp"
#include "tests/platform/tavi2/EventRecorder.hpp"
#include "tests/support/AssertionRecorder.hpp"

#include <gtest/gtest.h>

using namespace TAVI;
using KiteTest::EventRecorder;

namespace {

using Rows = std::vector<unsigned>;

Holder<GLAbstractViewModel2> makeModel() {
    return Holder<GLAbstractViewModel2>(new GLAbstractViewModel2);
}

} // namespace

TEST(GLAbstractModel2Test, RowsAndColumnsGetIdsFromOneUnderTheRoot) {
    auto model = makeModel();
    EXPECT_EQ(model->appendColumns(2), (Rows{1, 2}));
    EXPECT_EQ(model->appendRows(GLAbstractModel2::rootRow, 3), (Rows{1, 2, 3}));
    EXPECT_EQ(model->appendRows(2, 2), (Rows{4, 5}));
    EXPECT_EQ(model->appendRow(5), 6u);

    EXPECT_EQ(model->getChildRows(0), (Rows{1, 2, 3}));
    EXPECT_EQ(model->getChildRows(2), (Rows{4, 5}));
    EXPECT_EQ(model->getParentRow(6), 5u);
    EXPECT_EQ(model->getParentRow(1), 0u);
    EXPECT_EQ(model->getRowIndex(5), 1);
    EXPECT_EQ(model->getRowIndex(0), -1);
    EXPECT_EQ(model->getRowUID(2, 1), 5u);
    EXPECT_EQ(model->getTotalRowCount(), 6u);
    EXPECT_EQ(model->getColumnUID(1), 2u);
    EXPECT_EQ(model->getColumnIndex(2), 1);
    EXPECT_EQ(model->getColumnIndex(9), -1);

    EXPECT_THROW(model->appendRows(42, 1), TypedException);
    EXPECT_THROW(model->getRowUID(2, 2), TypedException);
    EXPECT_THROW(model->getParentRow(0), TypedException);
    EXPECT_THROW(model->getColumnUID(2), TypedException);
}

TEST(GLAbstractModel2Test, RemovingRowsTakesDescendantsAndRenumbersSiblings) {
    auto model = makeModel();
    model->appendColumns(1);
    const Rows top = model->appendRows(0, 4);           // 1 2 3 4
    const Rows children = model->appendRows(top[1], 2); // 5 6 under 2
    model->appendRows(children[0], 1);                  // 7 under 5

    // A row listed twice, and a row under another listed row, go once.
    model->removeRows({top[1], children[0], top[1]});
    EXPECT_EQ(model->getChildRows(0), (Rows{1, 3, 4}));
    EXPECT_FALSE(model->hasRow(5));
    EXPECT_FALSE(model->hasRow(7));
    EXPECT_EQ(model->getTotalRowCount(), 3u);
    EXPECT_EQ(model->getRowIndex(4), 2);
    EXPECT_EQ(model->getRowIndex(3), 1);

    // Ids are never reused.
    EXPECT_EQ(model->appendRow(0), 8u);

    // A bad id anywhere in the list changes nothing.
    EXPECT_THROW(model->removeRows({1, 99}), TypedException);
    EXPECT_THROW(model->removeRows({0}), TypedException);
    EXPECT_EQ(model->getChildRows(0), (Rows{1, 3, 4, 8}));

    model->removeAllRows();
    EXPECT_EQ(model->getTotalRowCount(), 0u);
    EXPECT_TRUE(model->getChildRows(0).empty());
}

TEST(GLAbstractModel2Test, CellsKeepValuesIconsColoursAndReadOnlyFlags) {
    auto model = makeModel();
    const Rows columns = model->appendColumns({"Name", "Value"});
    const unsigned row = model->appendRow(0);
    EXPECT_EQ(model->getColumnLabel(columns[1]), "Value");

    model->setValue(row, columns[0], std::string("Gain"));
    model->setValue(row, columns[1], 2.5);
    EXPECT_EQ(model->getText(row, columns[0]), "Gain");
    EXPECT_EQ(model->getText(row, columns[1]), "2.5");
    EXPECT_EQ(any_cast<double>(model->getValue(row, columns[1])), 2.5);

    model->setIcon(row, columns[0], Icon("block.png", 0, 0));
    model->setColor(row, columns[0], GLAbstractViewModel2::ForegroundColor, Color(0.0, 0.0, 1.0));
    EXPECT_EQ(model->getIcon(row, columns[0]), Icon("block.png", 0, 0));
    EXPECT_EQ(model->getColor(row, columns[0], GLAbstractViewModel2::ForegroundColor),
              Color(0.0, 0.0, 1.0));
    EXPECT_FALSE(model->getColor(row, columns[0], GLAbstractViewModel2::BackgroundColor).isValid());

    // The editor's text is taken unless the cell is read only.
    EXPECT_TRUE(model->setValueFromEditor(row, columns[1], "3"));
    EXPECT_EQ(model->getText(row, columns[1]), "3");
    model->setReadOnly(row, columns[1], true);
    EXPECT_FALSE(model->setValueFromEditor(row, columns[1], "4"));
    EXPECT_EQ(model->getText(row, columns[1]), "3");

    // Unknown cells: setters refuse, getters give an empty cell.
    EXPECT_THROW(model->setValue(77, columns[0], 1), TypedException);
    EXPECT_THROW(model->setValue(row, 77, 1), TypedException);
    EXPECT_THROW(model->setValue(0, columns[0], 1), TypedException);
    EXPECT_THROW(model->setColor(row, columns[0], 5, Color()), TypedException);
    EXPECT_TRUE(model->getValue(77, columns[0]).empty());
    EXPECT_EQ(model->getText(row, 77), "");
}

TEST(GLAbstractModel2Test, EditedTextKeepsTheKindOfValue) {
    struct Case {
        const char* name;
        any before;
        std::string typed;
        bool taken;
        std::string after; // the cell's text afterwards
    };
    const std::vector<Case> cases = {
        {"double", 2.5, "1e3", true, "1000"},
        {"double refuses words", 2.5, "ten", false, "2.5"},
        {"double refuses trailing text", 2.5, "3kg", false, "2.5"},
        {"double refuses infinity", 2.5, "1e999", false, "2.5"},
        {"double refuses inf", 2.5, "inf", false, "2.5"},
        {"double refuses nan", 2.5, "nan", false, "2.5"},
        {"int with spaces", 4, " 12 ", true, "12"},
        {"int refuses fractions", 4, "1.5", false, "4"},
        {"unsigned refuses negatives", 7u, "-1", false, "7"},
        {"bool", true, "false", true, "false"},
        {"bool refuses other words", true, "yes", false, "true"},
        {"name", StringID("Gain"), "Offset", true, "Offset"},
        {"string", std::string("a"), "anything", true, "anything"},
        {"empty cell takes text", any(), "first", true, "first"},
    };
    auto model = makeModel();
    const unsigned column = model->appendColumns(1).front();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const unsigned row = model->appendRow(0);
        if (!c.before.empty())
            model->setValue(row, column, c.before);
        EXPECT_EQ(model->setValueFromEditor(row, column, c.typed), c.taken);
        EXPECT_EQ(model->getText(row, column), c.after);
        EXPECT_EQ(model->getValue(row, column).type(),
                  c.before.empty() ? TypeInfo::get<std::string>() : c.before.type());
    }
}

TEST(GLAbstractModel2Test, EachCellChangeSendsOneEventEvenInATransaction) {
    auto model = makeModel();
    const Rows columns = model->appendColumns(2);
    const Rows rows = model->appendRows(0, 2);
    EventRecorder<GLDataChangeEvent2> changes(model->getDataChangeEmitter());

    model->beginTransaction();
    model->setValue(rows[1], columns[0], 1);
    model->setReadOnly(rows[0], columns[1], true);
    model->setReadOnly(rows[0], columns[1], true); // unchanged: no event
    model->endTransaction();
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes.events[0].rowUID(), rows[1]);
    EXPECT_EQ(changes.events[0].columnUID(), columns[0]);
    EXPECT_EQ(changes.events[1].rowUID(), rows[0]);
    EXPECT_EQ(changes.events[1].columnUID(), columns[1]);
}

TEST(GLAbstractModel2Test, UnbalancedEndTransactionIsReportedAndIgnored) {
    KiteTest::AssertionRecorder assertions;
    auto model = makeModel();
    model->beginTransaction();
    model->beginTransaction();
    model->endTransaction();
    EXPECT_TRUE(model->isInTransaction());
    model->endTransaction();
    EXPECT_FALSE(model->isInTransaction());
    EXPECT_EQ(assertions.count(), 0u);
    model->endTransaction();
    ASSERT_EQ(assertions.count(), 1u);
    EXPECT_EQ(assertions.reports()[0].expression, "d->transactionDepth > 0");
    EXPECT_FALSE(model->isInTransaction());
}
