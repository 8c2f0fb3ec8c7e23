#include "application/KiteDomainInterface.hpp"
#include "platform/tavi/TypedException.hpp"
#include "tests/editor/EditorToolsFixture.hpp"

#include <vector>

using namespace KITE;
using namespace KITE::Test;

namespace {

// The front's tool hook is for the studio that opens editors; tests reach it through a subclass.
class OpenFront : public KiteDomainInterface {
public:
    using AbstractKiteDomainInterface::installTools;
    using KiteDomainInterface::KiteDomainInterface;
};

using DefaultToolsTest = EditorToolsTest;

} // namespace

TEST_F(DefaultToolsTest, AnEditorGetsThreeToolConstructorsAndTwoToolsSelectionFirst) {
    for (const TAVI::StringID& role : {marqueeRole(), moveRole(), resizeRole()})
        EXPECT_TRUE(scene().hasToolConstructor(role)) << role.getString();

    const std::vector<TAVI::Holder<ZEPH::Tool>> tools = editor->getTools(); // top first
    ASSERT_EQ(tools.size(), 2u);
    EXPECT_NE(dynamic_cast<DelegateToGlyphTool*>(tools[0].get()), nullptr);
    EXPECT_NE(dynamic_cast<SelectionTool*>(tools[1].get()), nullptr);
    EXPECT_EQ(editor->getRoleByTool(tools[0]), TAVI::StringID("DelegateToGlyph"));
    EXPECT_EQ(editor->getRoleByTool(tools[1]), TAVI::StringID("Selection"));
    // The constructors make the library's tools for the editor.
    EXPECT_NE(dynamic_cast<MarqueeSelectionTool*>(scene().createToolByRole(marqueeRole()).get()),
              nullptr);
    EXPECT_NE(dynamic_cast<MoveTool*>(scene().createToolByRole(moveRole()).get()), nullptr);
    EXPECT_NE(dynamic_cast<ResizeBehavior*>(scene().createToolByRole(resizeRole()).get()), nullptr);
}

TEST_F(DefaultToolsTest, ADragOnABlockMovesItInTheModelInOneTransaction) {
    Reports rootTransactions(root());
    press(220, 20);
    move(230, 40);
    move(240, 60);
    release(240, 60);
    EXPECT_EQ(rootTransactions.count(), 1);
    EXPECT_EQ(rootPosition(blocks.b), (TAVI::GLPoint<double>{220, 50}));
}

TEST_F(DefaultToolsTest, TheDomainFrontInstallsTheDomainsToolsAndRefusesANullEditor) {
    TAVI::Holder<Editor> other(Editor::create(studio.get(), "other editor"));
    other->setDiagram(blocks.diagram);
    TAVI::Holder<OpenFront> front(new OpenFront(studio.get()));
    front->installTools(other.get());
    EXPECT_EQ(other->getTools().size(), 2u);
    EXPECT_TRUE(other->getScene()->hasToolConstructor(moveRole()));
    TAVI::ErrorHolder errors;
    other->terminate(errors);
    EXPECT_THROW(KiteDomain::get()->installTools(nullptr), TAVI::TypedException);
}
