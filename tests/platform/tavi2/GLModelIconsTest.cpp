#include "platform/tavi/Holder.hpp"
#include "platform/tavi2/GLAbstractViewModel2.hpp"
#include "tests/platform/tavi2/EventRecorder.hpp"

#include <gtest/gtest.h>

#include <string>

using namespace TAVI;
using KiteTest::EventRecorder;

// Cells that show the same icon share one copy of it: each keeps its own icon all the same,
// however often others change theirs.
TEST(GLModelIconsTest, CellsWithTheSameIconStillChangeAlone) {
    Holder<GLAbstractViewModel2> model(new GLAbstractViewModel2);
    const unsigned column = model->appendColumns(1).front();
    const std::vector<unsigned> rows = model->appendRows(0, 3);
    const Icon block("icons/block.png", 0, 0);
    for (unsigned row : rows)
        model->setIcon(row, column, block);
    EventRecorder<GLDataChangeEvent2> changes(model->getDataChangeEmitter());

    model->setIcon(rows[0], column, Icon("icons/block.png", 0, 0));
    EXPECT_EQ(changes.size(), 0u) << "an equal icon is no change";
    model->setIcon(rows[1], column, Icon());
    // Many icons come and go through one cell while the others keep theirs.
    for (int i = 0; i < 500; ++i)
        model->setIcon(rows[2], column, Icon("icons/" + std::to_string(i) + ".png", 0, 0));
    EXPECT_EQ(changes.size(), 501u);

    EXPECT_EQ(model->getIcon(rows[0], column), block);
    EXPECT_TRUE(model->getIcon(rows[1], column).isNull());
    EXPECT_EQ(model->getIcon(rows[2], column), Icon("icons/499.png", 0, 0));
    model->setIcon(rows[2], column, block);
    EXPECT_EQ(model->getIcon(rows[2], column), block);
    EXPECT_EQ(model->getIcon(rows[0], column), block);
}
