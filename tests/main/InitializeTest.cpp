#include "main/initialize.hpp"

#include "application/DomainRegistry.hpp"
#include "platform/host/COSPackage.hpp"
#include "platform/host/CosCommonClassInfo.hpp"
#include "platform/host/HostFunctions.hpp"
#include "platform/host/vxArray.hpp"
#include "platform/host/vxHostError.hpp"
#include "platform/orbis/StudioComponentFactoryManager.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "studio/components/GenericVELDDomain.hpp"
#include "tests/studio/StudioAppFixture.hpp"

#include <gtest/gtest.h>

namespace KITE::Test {
namespace {

TEST(InitializeTest, TheFirstCallRegistersEverythingOnceAndLaterCallsNothing) {
    QSInitialize_kite();
    DomainRegistry* registry = DomainRegistry::instance();
    EXPECT_TRUE(registry->isRegistered(TAVI::StringID("GenericVELDDomain")));
    TAVI::ErrorHolder errors;
    EXPECT_EQ(registry->getStaticDomainForModelType(TAVI::StringID("VELD.Model"), errors),
              GenericVELDDomain::get());
    EXPECT_FALSE(errors.hasError()) << errors.what();

    NOX::COSPackage* package = NOX::COSPackage::findPackage("KITE");
    ASSERT_NE(package, nullptr);
    std::vector<std::string> names;
    for (NOX::CosCommonClassInfo* record : package->classes())
        names.push_back(record->name());
    const std::vector<std::string> records = {"Editor",           "GenericVELDStudioApp", "Util",
                                              "StudioApp",        "AbstractDomain",       "Domain",
                                              "GenericVELDDomain"};
    ASSERT_GE(names.size(), records.size());
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + records.size()), records);
    EXPECT_NE(NOX::COSPackage::findClass("KITE.Diagram"), nullptr);
    EXPECT_NE(NOX::COSPackage::findClass("VELD.Model"), nullptr);
    EXPECT_TRUE(
        NOX::COSPackage::findClass("KITE.GenericVELDStudioApp")->isSubclassOf("ORB.Application"));

    // Again: nothing is registered twice, and the generic domain keeps its place.
    initialize_kite();
    QSInitialize_kite();
    EXPECT_EQ(package->classes().size(), names.size());
    EXPECT_EQ(registry->getStaticDomainForModelType(TAVI::StringID("VELD.Model"), errors),
              GenericVELDDomain::get());
}

TEST(InitializeTest, TerminateOnlySetsItsFlagAndTheTableHoldsTheDropFunction) {
    initialize_kite();
    EXPECT_EQ(QSTerminate_kite(), 0);
    EXPECT_EQ(QSTerminate_kite(), 1);
    EXPECT_EQ(QSTerminate_kite(), 1);
    EXPECT_TRUE(DomainRegistry::instance()->isRegistered(TAVI::StringID("GenericVELDDomain")));
    // The function table holds the block drop function.
    const KiteHostFunction* functions = QueryQSFcns_kite();
    EXPECT_EQ(functions[0], &dropBlock);
    EXPECT_EQ(functions[1], nullptr);
    const KiteHostFunctionTable* table = QueryQSFcnTable_kite();
    EXPECT_EQ(table->functions, reinterpret_cast<std::uint64_t>(functions));
    EXPECT_EQ(table->stamp1, 1235678267u);
    EXPECT_EQ(table->stamp2, 1263849796u);
    EXPECT_EQ(table->count, 1u);
}

class DropBlockTest : public StudioAppTest {
protected:
    void SetUp() override {
        initialize_kite();
        StudioAppTest::SetUp();
        inRegisterHostFunction("private_cv_drop_block_on_invisible_sys",
                               [this](const std::vector<const vxArray*>& arguments) {
                                   ++calls;
                                   (void)arguments;
                                   return std::vector<vxArrayPtr>{};
                               });
    }
    void TearDown() override {
        inRegisterHostFunction("private_cv_drop_block_on_invisible_sys", {});
        StudioAppTest::TearDown();
    }
    void drop(std::vector<const vxArray*> arguments) {
        dropBlock(0, nullptr, static_cast<int>(arguments.size()), arguments.data());
    }
    int calls = 0;
};

TEST_F(DropBlockTest, BadArgumentsAreAHostErrorAndAPointOutsideEveryEditorCallsNothing) {
    ASSERT_NE(open(blocks.diagram), nullptr);
    vxArrayPtr path(vxCreateString("lib/Gain"));
    vxArrayPtr point(vxCreateDoubleMatrix_730(1, 2, vxREAL));
    vxGetPr(point.get())[0] = -100000;
    vxGetPr(point.get())[1] = -100000;
    drop({path.get(), point.get()});
    vxArrayPtr one(vxCreateDoubleScalar(3));
    vxArrayPtr text(vxCreateString("12"));
    const std::vector<std::vector<const vxArray*>> cases = {{},
                                                            {path.get()},
                                                            {path.get(), one.get()},
                                                            {path.get(), text.get()},
                                                            {one.get(), one.get()}};
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        try {
            drop(cases[i]);
            ADD_FAILURE() << "accepted";
        } catch (const vxHostError& error) {
            EXPECT_EQ(error.id(), "KITE:dropBlock:badArguments");
        }
    }
    EXPECT_EQ(calls, 0);
}

} // namespace
} // namespace KITE::Test
