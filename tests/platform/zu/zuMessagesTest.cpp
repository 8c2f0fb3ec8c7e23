#include "platform/zu/zuMessages.hpp"

#include <gtest/gtest.h>

namespace {

const ZuMessageEntry catalog[] = {
    {0x6e0001, "KITE_CannotFindTabForEditor", "Cannot find tab associated with this editor."},
    {0x6e0003, "KITE_DomainNotFound", "Domain '%s' is not registered."},
    {0x6e0009, "KITE_TwoArguments", "Moved '%s' to '%s' (100%%)."},
};

const ZuTranslationEntry japanese[] = {
    {0x6e0003, "領域 '%1' は登録されていません。"},
    {0x6e0009, "'%2' へ '%1' を移動しました (100%%)。"},
    {0x6e7777, "not in the primary table"},
};

class zuMessagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(zu_mem_add_primary_message_table(zuGetMemoryContext(), catalog));
        ASSERT_TRUE(zu_mem_add_language(zuGetMemoryContext(), catalog, "ja", japanese));
    }
    void TearDown() override {
        zu_mem_remove_primary_message_table(zuGetMemoryContext(), catalog);
        zuSetLanguage("en");
    }
};

} // namespace

TEST_F(zuMessagesTest, EnglishIsTheDefaultAndFillsPlaceholdersInOrder) {
    EXPECT_EQ(zuGetLanguage(), "en");
    EXPECT_EQ(zuFormatMessage(0x6e0003, "KITE_DomainNotFound", {"lib.Domain"}),
              "Domain 'lib.Domain' is not registered.");
    EXPECT_EQ(zuFormatMessage(0x6e0009, "", {"a", "b"}), "Moved 'a' to 'b' (100%).");
    EXPECT_EQ(zuFormatMessage(0x6e0001, "", {}), "Cannot find tab associated with this editor.");
    EXPECT_EQ(zuGetMessageId(0x6e0003), "KITE_DomainNotFound");
}

TEST_F(zuMessagesTest, SwitchedLanguageUsesPositionalTranslationsAndFallsBackToEnglish) {
    zuSetLanguage("ja");
    EXPECT_EQ(zuFormatMessage(0x6e0003, "KITE_DomainNotFound", {"X"}),
              "領域 'X' は登録されていません。");
    EXPECT_EQ(zuFormatMessage(0x6e0009, "", {"a", "b"}), "'b' へ 'a' を移動しました (100%)。");
    // No Japanese text for this code: English rather than nothing.
    EXPECT_EQ(zuFormatMessage(0x6e0001, "", {}), "Cannot find tab associated with this editor.");
    zuSetLanguage("fr");
    EXPECT_EQ(zuFormatMessage(0x6e0003, "", {"X"}), "Domain 'X' is not registered.");
}

TEST_F(zuMessagesTest, MissingArgumentsLeaveThePlaceholderVisible) {
    EXPECT_EQ(zuFormatMessage(0x6e0009, "", {"a"}), "Moved 'a' to '%s' (100%).");
    zuSetLanguage("ja");
    EXPECT_EQ(zuFormatMessage(0x6e0009, "", {"a"}), "'%2' へ 'a' を移動しました (100%)。");
}

TEST_F(zuMessagesTest, UnknownCodeStillNamesItsIdAndArguments) {
    EXPECT_FALSE(zuHasMessage(0x6e7777));
    const std::string text = zuFormatMessage(0x6e7777, "KITE_Unknown", {"arg"});
    EXPECT_NE(text.find("KITE_Unknown"), std::string::npos) << text;
    EXPECT_NE(text.find("0x6e7777"), std::string::npos) << text;
    EXPECT_NE(text.find("'arg'"), std::string::npos) << text;
    EXPECT_NE(zuFormatMessage(0x6e7777, "", {}).find("0x6e7777"), std::string::npos);
}

TEST_F(zuMessagesTest, RemovedTableTakesItsTranslationsAlong) {
    ASSERT_TRUE(zu_mem_remove_primary_message_table(zuGetMemoryContext(), catalog));
    EXPECT_FALSE(zuHasMessage(0x6e0003));
    EXPECT_FALSE(zu_mem_remove_primary_message_table(zuGetMemoryContext(), catalog));
    EXPECT_FALSE(zu_mem_add_language(zuGetMemoryContext(), catalog, "ja", japanese));
    zuSetLanguage("ja");
    EXPECT_NE(zuFormatMessage(0x6e0003, "KITE_DomainNotFound", {"X"}).find("KITE_DomainNotFound"),
              std::string::npos);
}

TEST_F(zuMessagesTest, SameTableTwiceIsRefusedAndLaterTablesOverrideCodes) {
    EXPECT_FALSE(zu_mem_add_primary_message_table(zuGetMemoryContext(), catalog));
    EXPECT_FALSE(zu_mem_add_primary_message_table(nullptr, catalog));

    const ZuMessageEntry newer[] = {{0x6e0003, "KITE_DomainMissing", "No domain '%s'."}};
    ASSERT_TRUE(zu_mem_add_primary_message_table(zuGetMemoryContext(), newer));
    EXPECT_EQ(zuFormatMessage(0x6e0003, "", {"D"}), "No domain 'D'.");
    EXPECT_EQ(zuGetMessageId(0x6e0003), "KITE_DomainMissing");
    ASSERT_TRUE(zu_mem_remove_primary_message_table(zuGetMemoryContext(), newer));
    EXPECT_EQ(zuFormatMessage(0x6e0003, "", {"D"}), "Domain 'D' is not registered.");
}
