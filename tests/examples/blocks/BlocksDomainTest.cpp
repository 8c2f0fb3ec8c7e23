#include "application/DomainRegistry.hpp"
#include "examples/blocks/BlocksDomainInterface.hpp"
#include "examples/blocks/BlocksEditor.hpp"
#include "examples/blocks/BlocksGlyphFactory.hpp"
#include "platform/orbis/StudioFrameworkService.hpp"
#include "tests/examples/blocks/BlocksEditorFixture.hpp"

using namespace BlocksTest;
using Blocks::BlocksDomain;

namespace {

VELD::ImmutableClass metaClass(const char* name) {
    return VELD::DomainRegistry::instance().findClass(name);
}

} // namespace

TEST(BlocksDomainTest, IsFoundForAModelByTypeAndByNameAndItsFrontAnswersForIt) {
    loadBlocks();
    const VELD::Model model = VELD::DomainRegistry::instance().createModel("example:blocks");
    KITE::DomainRegistry* registry = KITE::DomainRegistry::instance();
    TAVI::ErrorHolder errors;
    EXPECT_EQ(registry->getStaticDomainForModel(model, errors), BlocksDomain::get());
    EXPECT_EQ(registry->getStaticDomainForModelType(TAVI::StringID("blocks.Project"), errors),
              BlocksDomain::get());
    EXPECT_EQ(registry->getStaticDomain(TAVI::StringID("BlocksDomain"), errors),
              BlocksDomain::get());
    EXPECT_FALSE(errors.hasError()) << errors.what();

    // Registering again finds it there and changes nothing.
    EXPECT_TRUE(BlocksDomain::registerDomain(errors));
    EXPECT_FALSE(errors.hasError()) << errors.what();
    EXPECT_EQ(registry->getStaticDomainForModel(model, errors), BlocksDomain::get());

    // Its front in a studio answers for the domain.
    TAVI::Holder<PLATFORM::Studio> studio = PLATFORM::Studio::spawnStudio(
        TAVI::Holder<PLATFORM::Application>(new PLATFORM::Application), errors);
    ASSERT_TRUE(studio) << errors.what();
    const TAVI::Holder<KITE::AbstractKiteDomainInterface> front =
        KITE::DomainRegistry::instance()->getDomainForModel(studio.get(), model, errors);
    ASSERT_TRUE(front) << errors.what();
    EXPECT_NE(dynamic_cast<Blocks::BlocksDomainInterface*>(front.get()), nullptr);
    EXPECT_EQ(front->getDomain(), BlocksDomain::get());
    EXPECT_EQ(front->getName(), TAVI::StringID("BlocksDomain"));
    EXPECT_EQ(front->getGlyphFactory(), BlocksDomain::get()->getGlyphFactory());
    EXPECT_NE(dynamic_cast<Blocks::BlocksGlyphFactory*>(front->getGlyphFactory()), nullptr);
    EXPECT_STREQ(front->getFullyQualifiedNoxTypeName(), "Blocks.Domain");
    studio->close();
}

TEST(BlocksDomainTest, AConnectionMayJoinTwoBlocksAndNothingElse) {
    loadBlocks();
    const KITE::EdgeCreationRuleSet& rules = BlocksDomain::get()->getEdgeCreationRuleSet();
    const VELD::ImmutableClass block = metaClass("blocks.Block");
    const VELD::ImmutableClass connection = metaClass("blocks.Connection");
    ASSERT_TRUE(block.isValid());
    ASSERT_TRUE(connection.isValid());
    EXPECT_TRUE(rules.isValidSrcNodeToEdge(block, connection));
    EXPECT_TRUE(rules.isValidDstNodeToEdge(block, connection));
    // Rules match exactly: a plain graph node is no block, a plain graph edge no connection.
    EXPECT_FALSE(rules.isValidSrcNodeToEdge(KITE::GraphNode::MetaClass(), connection));
    EXPECT_FALSE(rules.isValidDstNodeToEdge(KITE::GraphNode::MetaClass(), connection));
    EXPECT_FALSE(rules.isValidSrcNodeToEdge(block, KITE::GraphEdge::MetaClass()));
    // A sink takes connections in and starts none.
    const VELD::ImmutableClass sink = metaClass("blocks.Sink");
    EXPECT_TRUE(rules.isValidDstNodeToEdge(sink, connection));
    EXPECT_FALSE(rules.isValidSrcNodeToEdge(sink, connection));
}

TEST_F(BlocksEditorTest, TheStudioOpensABlocksEditorWithTheDomainsToolsInATabOfTheDiagramsName) {
    EXPECT_NE(dynamic_cast<Blocks::BlocksEditor*>(editor), nullptr);
    EXPECT_EQ(editor->getName(), "main");
    PLATFORM::StudioFrameworkService* framework = studio->getFrameworkService();
    TAVI::ErrorHolder errors;
    EXPECT_EQ(framework->getTabTitle(framework->getTabIndex(editor, errors), errors), "main");
    EXPECT_EQ(editor->getTools().size(), 3u); // selection, delegate-to-glyph and delete
    EXPECT_EQ(app->getActiveEditor(), editor);
}
