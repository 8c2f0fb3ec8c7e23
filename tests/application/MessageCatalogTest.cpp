#include "application/MessageCatalog.hpp"

#include "platform/tavi/ErrorHolder.hpp"
#include "platform/zu/zuMessages.hpp"

#include <gtest/gtest.h>

using namespace KITE;

namespace {
struct MessageCatalogTest : ::testing::Test {
    void SetUp() override { ASSERT_TRUE(registerMessageCatalog()); }
    void TearDown() override { zuSetLanguage("en"); }
};
} // namespace

TEST_F(MessageCatalogTest, ErrorsCarryIdCodeLocationAndText) {
    TAVI::ErrorHolder errors;
    reportError(errors, TAVI::CodeLocation("application/DomainRegistry", 42),
                Message::DomainNotFound, "Blocks");
    EXPECT_EQ(errors.id(), "KITE_DomainNotFound");
    EXPECT_EQ(errors.code(), 0x6e0003u);
    EXPECT_EQ(errors.what(), "Domain 'Blocks' is not registered.");
    EXPECT_EQ(errors.location().getLine(), 42);

    reportError(errors, TAVI_HERE, Message::ErrorExecutingCommand, "move");
    EXPECT_EQ(errors.id(), "KITE_Error_Executing_Command"); // the new error replaces the old
    EXPECT_EQ(errors.what(), "Error executing command 'move'.");
}

TEST_F(MessageCatalogTest, EveryMessageHasAJapaneseText) {
    const Message all[] = {Message::CannotFindTabForEditor, Message::DomainAlreadyRegistered,
                           Message::DomainNotFound,         Message::DomainNotFoundForModelType,
                           Message::IncompatibleDomain,     Message::ErrorExecutingCommand,
                           Message::GlyphAlreadyExists};
    for (Message m : all) {
        TAVI::ErrorHolder errors;
        reportError(errors, TAVI_HERE, m, "X");
        zuSetLanguage("en");
        const std::string english = errors.what();
        zuSetLanguage("ja");
        const std::string japanese = errors.what();
        EXPECT_NE(english, japanese) << messageId(m);
        EXPECT_EQ(japanese.find("%"), std::string::npos) << japanese;
        EXPECT_FALSE(japanese.empty());
    }
    TAVI::ErrorHolder errors;
    reportError(errors, TAVI_HERE, Message::DomainAlreadyRegistered, "Blocks");
    zuSetLanguage("ja");
    EXPECT_EQ(errors.what(), "領域 'Blocks' は既に登録されています。");
}

TEST_F(MessageCatalogTest, RegisteringTwiceChangesNothing) {
    EXPECT_TRUE(registerMessageCatalog());
    EXPECT_EQ(zuGetMessageId(0x6e0007), "KITE_GlyphAlreadyExists");
}
