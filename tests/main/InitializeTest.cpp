#include "main/initialize.hpp"

#include "application/DomainRegistry.hpp"
#include "platform/host/COSPackage.hpp"
#include "platform/host/CosCommonClassInfo.hpp"
#include "platform/host/HostFunctions.hpp"
#include "platform/host/vxArray.hpp"
#include "platform/host/vxHostError.hpp"
#include "platform/orbis/StudioComponentFactoryManager.hpp"
#include "platform/orbis/StudioWindow.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "platform/zeph/GLCanvas.hpp"
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
                                   received.clear();
                                   for (const vxArray* argument : arguments) {
                                       char* text = vxArray2String(argument);
                                       received.push_back(text ? text : "");
                                       vxFree(text);
                                   }
                                   if (arguments.size() == 3)
                                       at = {arguments[2]->numberAt(0), arguments[2]->numberAt(1)};
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
    std::vector<std::string> received; // the string arguments of the last call
    TAVI::GLPoint<double> at;          // its scene point
};

// Answers for the blocks' model type under the name the block-drop function serves.
class DropTargetDomain : public KiteDomain {
public:
    TAVI::StringID getName() const override { return TAVI::StringID("CVDomain"); }
    TAVI::StringID getModelClassFullName() const override {
        return EditorDomain::get()->getModelClassFullName();
    }
};

TEST_F(DropBlockTest, ABlockDroppedOnTheActiveEditorIsHandedOnWithItsScenePoint) {
    Editor* editor = open(blocks.diagram);
    ASSERT_NE(editor, nullptr);
    studio->getWindow()->resize(800, 600);
    studio->getWindow()->setAttribute(Qt::WA_DontShowOnScreen);
    studio->show();
    QCoreApplication::processEvents();
    ZEPH::GLCanvas* canvas = editor->getCanvas();
    ASSERT_TRUE(canvas && canvas->isVisible());
    const QPoint inside = canvas->mapToGlobal(QPoint(canvas->width() / 2, canvas->height() / 3));
    vxArrayPtr path(vxCreateString("lib/Gain"));
    vxArrayPtr point(vxCreateDoubleMatrix_730(1, 2, vxREAL));
    vxGetPr(point.get())[0] = inside.x();
    vxGetPr(point.get())[1] = inside.y();

    // The drop goes to editors of that domain only.
    drop({path.get(), point.get()});
    EXPECT_EQ(calls, 0);
    TAVI::Holder<AbstractKiteDomain> target(new DropTargetDomain);
    TAVI::Holder<AbstractKiteDomain> usual(EditorDomain::get());
    TAVI::ErrorHolder errors;
    DomainRegistry::instance()->unregisterDomain(usual, errors);
    DomainRegistry::instance()->registerDomain(target, errors);
    ASSERT_FALSE(errors.hasError()) << errors.what();
    drop({path.get(), point.get()});
    DomainRegistry::instance()->unregisterDomain(target, errors);
    DomainRegistry::instance()->registerDomain(usual, errors);
    EXPECT_FALSE(errors.hasError()) << errors.what();

    ASSERT_EQ(calls, 1);
    ASSERT_EQ(received.size(), 3u);
    EXPECT_EQ(received[0], "lib/Gain");
    EXPECT_EQ(received[1], editor->getDiagram().getFullName());
    const TAVI::GLPoint<double> expected =
        editor->globalPt2ScenePt(TAVI::GLPoint<double>(inside.x(), inside.y()));
    EXPECT_DOUBLE_EQ(at.x, expected.x);
    EXPECT_DOUBLE_EQ(at.y, expected.y);
}

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
