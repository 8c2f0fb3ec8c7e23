#include "platform/orbis/IconManager.hpp"

#include <gtest/gtest.h>

#include <algorithm>

using PLATFORM::IconManager;

TEST(IconManagerTest, IconsGrowByFileUnderTheirTagButNotByEmptyNames) {
    IconManager* icons = IconManager::getInstance();
    EXPECT_EQ(icons, IconManager::getInstance());
    EXPECT_TRUE(icons->getIcon("Test:Block").isNull());
    EXPECT_FALSE(icons->hasIcon("Test:Block"));

    icons->addFileToIcon("Test:Block", "/icons/block.png", 0, 1);
    icons->addFileToIcon("Test:Block", "/icons/block-disabled.png", 1, 1);
    icons->addFileToIcon("Test:Block", "/icons/block.png", 0, 1); // again: no duplicate
    const TAVI::Icon icon = icons->getIcon("Test:Block");
    ASSERT_EQ(icon.getEntries().size(), 2u);
    EXPECT_EQ(icon.getFile(0, 1), "/icons/block.png");
    EXPECT_EQ(icon.getFile(1, 1), "/icons/block-disabled.png");
    // Files that cannot be read give an icon that is not valid, as the toolkit's icon says.
    EXPECT_FALSE(icon.isValid());
    EXPECT_TRUE(icons->getIcon("test:block").isNull());

    const auto tags = icons->getTags();
    EXPECT_NE(std::find(tags.begin(), tags.end(), "Test:Block"), tags.end());
    EXPECT_TRUE(icons->removeIcon("Test:Block"));
    EXPECT_FALSE(icons->removeIcon("Test:Block"));
    EXPECT_FALSE(icons->hasIcon("Test:Block"));

    // An empty file name makes no icon, and adds nothing to one that has files.
    icons->addFileToIcon("Test:Empty", "", 0, 0);
    EXPECT_FALSE(icons->hasIcon("Test:Empty"));
    const auto after = icons->getTags();
    EXPECT_EQ(std::find(after.begin(), after.end(), "Test:Empty"), after.end());
    EXPECT_FALSE(icons->removeIcon("Test:Empty"));
    icons->addFileToIcon("Test:Kept", "/icons/kept.png", 0, 0);
    icons->addFileToIcon("Test:Kept", "", 1, 0);
    EXPECT_EQ(icons->getIcon("Test:Kept").getEntries().size(), 1u);
    icons->removeIcon("Test:Kept");
}
