#include "platform/tavi/TypedException.hpp"
#include "platform/tavi2/GLAbstractViewModel2.hpp"
#include "platform/tavi2/GLBoxLayout2.hpp"
#include "platform/tavi2/GLGridLayout2.hpp"
#include "platform/tavi2/GLMenu2.hpp"
#include "platform/tavi2/GLPanel2.hpp"
#include "platform/tavi2/GLToolBar2.hpp"
#include "platform/tavi2/GLTreeView2.hpp"

#include <QCoreApplication>
#include <QEvent>
#include <QLayout>
#include <QWidget>

#include <climits>
#include <string>

#include <gtest/gtest.h>

using namespace TAVI;

namespace {

class ViewModel : public GLAbstractViewModel2 {};

// The message of the TypedException that call throws; empty when it throws none.
template <typename Call>
std::string thrownMessage(Call call)
{
    try {
        call();
    } catch (const TypedException& error) {
        return error.what();
    }
    return {};
}

} // namespace

TEST(WidgetRobustnessTest, RowAndColumnCountsTheViewsCannotShowAreRefused)
{
    auto model = Holder<ViewModel>(new ViewModel);
    model->appendColumns(1);
    const unsigned row = model->appendRow(0);
    // A negative count that went through an unsigned parameter.
    const unsigned negative = static_cast<unsigned>(-2);
    EXPECT_NE(thrownMessage([&] { model->appendRows(0, negative); }).find("GLAbstractModel2::appendRows"),
              std::string::npos);
    EXPECT_THROW(model->appendRows(row, negative), TypedException);
    EXPECT_NE(thrownMessage([&] { model->appendColumns(negative); }).find("GLAbstractModel2::appendColumns"),
              std::string::npos);
    EXPECT_THROW(model->appendRows(0, unsigned(INT_MAX)), TypedException);
    EXPECT_EQ(model->getTotalRowCount(), 1u);
    EXPECT_EQ(model->getColumnCount(), 1u);
    // Ids keep counting from where they were.
    EXPECT_EQ(model->appendRow(0), row + 1);
}
