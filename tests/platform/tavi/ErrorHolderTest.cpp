#include "platform/tavi/ErrorHolder.hpp"
#include "platform/tavi/SimpleErrorDescription.hpp"
#include "platform/tavi/TypedException.hpp"
#include "platform/tavi/XCFErrorDescription.hpp"
#include "platform/zu/zuMessages.hpp"

#include <gtest/gtest.h>

using namespace TAVI;

namespace {

const ZuMessageEntry messages[] = {
    {0x6e0003, "KITE_DomainNotFound", "Domain '%s' is not registered."},
};
const ZuTranslationEntry japanese[] = {
    {0x6e0003, "領域 '%1' は登録されていません。"},
};

class ErrorHolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        zu_mem_add_primary_message_table(zuGetMemoryContext(), messages);
        zu_mem_add_language(zuGetMemoryContext(), messages, "ja", japanese);
    }
    void TearDown() override {
        zu_mem_remove_primary_message_table(zuGetMemoryContext(), messages);
        zuSetLanguage("en");
    }
};

} // namespace

TEST_F(ErrorHolderTest, CatalogErrorTextFollowsTheCurrentLanguage) {
    ErrorHolder errors;
    errors.setError(XCFErrorDescription(CodeLocation("application/DomainRegistry.cpp", 42),
                                        "KITE_DomainNotFound", 0x6e0003, "lib.Domain"));
    ASSERT_TRUE(errors.hasError());
    EXPECT_EQ(errors.id(), "KITE_DomainNotFound");
    EXPECT_EQ(errors.code(), 0x6e0003u);
    EXPECT_EQ(errors.what(), "Domain 'lib.Domain' is not registered.");
    EXPECT_EQ(errors.description(), "KITE_DomainNotFound: Domain 'lib.Domain' is not registered. "
                                    "(application/DomainRegistry.cpp:42)");
    zuSetLanguage("ja");
    EXPECT_EQ(errors.what(), "領域 'lib.Domain' は登録されていません。");
}

TEST_F(ErrorHolderTest, NewErrorReplacesTheHeldOneAndClearEmpties) {
    ErrorHolder errors;
    errors.setError(XCFErrorDescription(TAVI_HERE, "KITE_DomainNotFound", 0x6e0003, "a"));
    const int line = __LINE__ + 1;
    errors.setError(SimpleErrorDescription(TAVI_HERE, "disk full", "KITE_Disk"));
    EXPECT_EQ(errors.id(), "KITE_Disk");
    EXPECT_EQ(errors.what(), "disk full");
    EXPECT_EQ(errors.code(), 0u);
    EXPECT_EQ(errors.location().getSourcePath(), "tests/platform/tavi/ErrorHolderTest.cpp");
    EXPECT_EQ(errors.location().getLine(), line);

    const ErrorHolder copy = errors;
    errors.clear();
    EXPECT_TRUE(copy.hasError()); // copies keep their own error
    // Empty, a holder reports nothing.
    EXPECT_FALSE(errors.hasError());
    EXPECT_EQ(errors.id(), "");
    EXPECT_EQ(errors.what(), "");
    EXPECT_EQ(errors.description(), "");
    EXPECT_EQ(errors.code(), 0u);
    EXPECT_EQ(errors.getError(), nullptr);
}

TEST_F(ErrorHolderTest, UnregisteredCodeStillNamesTheId) {
    ErrorHolder errors;
    errors.setError(XCFErrorDescription(CodeLocation(), "KITE_NoSuchMessage", 0x6e00ff, "x"));
    EXPECT_NE(errors.what().find("KITE_NoSuchMessage"), std::string::npos) << errors.what();
    EXPECT_EQ(errors.description().find("("), errors.description().find("(no message"));
}

TEST(TypedExceptionTest, CarriesItsDescriptionAndIsAToolkitException) {
    try {
        throw TypedException(CodeLocation("application/EdgeCreationRuleSet.cpp", 7),
                             "Passed invalid VELD::ImmutableClass to EdgeCreationRuleSet");
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Passed invalid VELD::ImmutableClass to EdgeCreationRuleSet");
        const auto* typed = dynamic_cast<const TypedException*>(&e);
        ASSERT_NE(typed, nullptr);
        EXPECT_EQ(typed->getDescription().location().getLine(), 7);
        EXPECT_EQ(typed->getDescription().what(), e.getMessage());
    }
}
