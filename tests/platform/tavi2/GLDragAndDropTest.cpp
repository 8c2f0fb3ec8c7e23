#include "platform/tavi/TypedException.hpp"
#include "platform/tavi2/GLDragManager2.hpp"
#include "platform/tavi2/GLMimeData2.hpp"
#include "platform/tavi2/GLPanel2.hpp"
#include "platform/tavi2/MimeRegistry.hpp"

#include <QMimeData>

#include <gtest/gtest.h>

#include <memory>

using namespace TAVI;

TEST(MimeRegistryTest, RegistersWellFormedTypesOnce)
{
    EXPECT_TRUE(MimeRegistry::registerMimeType("application/x-kite-test-element"));
    EXPECT_TRUE(MimeRegistry::registerMimeType("application/x-kite-test-element"));
    EXPECT_TRUE(MimeRegistry::isRegistered("application/x-kite-test-element"));
    const auto types = MimeRegistry::getRegisteredTypes();
    EXPECT_EQ(std::count(types.begin(), types.end(), "application/x-kite-test-element"), 1);
    for (const char* bad : {"", "element", "/element", "application/", "a/b/c", "application/x kite"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(MimeRegistry::registerMimeType(bad));
        EXPECT_FALSE(MimeRegistry::isRegistered(bad));
    }
}

TEST(GLMimeData2Test, ValuesStayWholeInTheProcessAndTextLeavesIt)
{
    GLMimeData2 data;
    EXPECT_TRUE(data.setData("application/x-kite-ids", std::vector<unsigned>{4, 2}));
    EXPECT_TRUE(data.setData("text/plain", std::string("Block")));
    EXPECT_TRUE(data.setData("application/x-kite-count", 12));
    EXPECT_TRUE(data.setData("application/x-kite-role", StringID("Select")));
    EXPECT_FALSE(data.setData("", 1));
    EXPECT_EQ(data.getFormats(), (std::vector<std::string>{"application/x-kite-count", "application/x-kite-ids",
                                                           "application/x-kite-role", "text/plain"}));

    std::unique_ptr<QMimeData> qt(data.toQMimeData());
    EXPECT_EQ(qt->text(), "Block");
    EXPECT_EQ(qt->data("application/x-kite-count"), "12");
    EXPECT_EQ(qt->data("application/x-kite-role"), "Select");
    EXPECT_TRUE(qt->hasFormat("application/x-kite-ids"));
    EXPECT_TRUE(qt->data("application/x-kite-ids").isEmpty());

    const GLMimeData2 back = GLMimeData2::fromQMimeData(qt.get());
    EXPECT_EQ(any_cast<std::vector<unsigned>>(back.getData("application/x-kite-ids")), (std::vector<unsigned>{4, 2}));

    // Data from elsewhere gives its bytes as text.
    QMimeData foreign;
    foreign.setData("application/x-other", "abc");
    const GLMimeData2 other = GLMimeData2::fromQMimeData(&foreign);
    EXPECT_EQ(any_cast<std::string>(other.getData("application/x-other")), "abc");
    EXPECT_TRUE(other.getData("text/plain").empty());
    EXPECT_TRUE(GLMimeData2::fromQMimeData(nullptr).isEmpty());
}

TEST(GLDragManager2Test, DragWithoutADropSiteIsIgnoredAndLeavesNoState)
{
    GLPanel2 source("qt");
    source.resize(100, 100);
    source.show();
    GLMimeData2 data;
    data.setData("text/plain", std::string("Gain"));

    // Nothing accepts the drop here (headless runs have no pointer to drop with).
    EXPECT_EQ(GLDragManager2::start(&source, data), GLDragManager2::IgnoreAction);
    EXPECT_FALSE(GLDragManager2::isDragging());
    EXPECT_EQ(GLDragManager2::getCurrentData(), nullptr);
    // A finished drag does not block the next one.
    EXPECT_EQ(GLDragManager2::start(&source, data, GLDragManager2::CopyAction), GLDragManager2::IgnoreAction);

    EXPECT_THROW(GLDragManager2::start(nullptr, data), TypedException);
    EXPECT_THROW(GLDragManager2::start(&source, GLMimeData2()), TypedException);
}
