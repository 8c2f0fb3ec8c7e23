#include "examples/blocks/BlocksEditor.hpp"

#include "application/StudioAppLink.hpp"
#include "editor/DeleteTool.hpp"
#include "editor/PaletteButtonToTool.hpp"
#include "editor/PaletteButtonToolFactory.hpp"
#include "examples/blocks/BlockCreationTool.hpp"
#include "examples/blocks/BlockGlyph.hpp"
#include "examples/blocks/BlocksDomain.hpp"
#include "examples/blocks/ConnectionTool.hpp"
#include "platform/orbis/ContextMenuSchema.hpp"
#include "platform/orbis/Studio.hpp"
#include "platform/orbis/StudioFrameworkService.hpp"
#include "studio/StudioApp.hpp"
#include "studio/components/ExplorerBarComponent.hpp"

#include "platform/orbis/StudioComponentFactoryManager.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include <functional>

namespace Blocks {

// Makes the tools of one palette button for this editor.
class BlocksEditor::ToolFactory : public KITE::PaletteButtonToolFactory {
public:
    explicit ToolFactory(std::function<KITE::PaletteTool*()> make) : make(std::move(make)) {}
    TAVI::Holder<KITE::PaletteTool> createTool() const override {
        return TAVI::Holder<KITE::PaletteTool>(make());
    }

private:
    std::function<KITE::PaletteTool*()> make;
};

BlocksEditor::BlocksEditor(PLATFORM::Studio* studio, const std::string& name)
    : KITE::Editor(studio, name), blockFactory(std::make_unique<ToolFactory>([this] {
          return new BlockCreationTool(*this, BlocksDomain::blockClassName);
      })),
      sinkFactory(std::make_unique<ToolFactory>(
          [this] { return new BlockCreationTool(*this, BlocksDomain::sinkClassName); })),
      connectionFactory(
          std::make_unique<ToolFactory>([this] { return new ConnectionTool(*this); })) {}

BlocksEditor::~BlocksEditor() = default;

std::vector<TAVI::GLWidget2*> BlocksEditor::getPaletteObjects() const {
    std::vector<TAVI::GLWidget2*> widgets = KITE::Editor::getPaletteObjects();
    // The buttons change this editor's tool stack, so they need the editor itself.
    auto* self = const_cast<BlocksEditor*>(this);
    widgets.push_back(new KITE::PaletteButtonToTool(blockFactory.get(), self,
                                                    BlockGlyph::iconPath("block.png"), "block"));
    widgets.push_back(new KITE::PaletteButtonToTool(sinkFactory.get(), self,
                                                    BlockGlyph::iconPath("sink.png"), "sink"));
    widgets.push_back(new KITE::PaletteButtonToTool(
        connectionFactory.get(), self, BlockGlyph::iconPath("connection.png"), "connection"));
    return widgets;
}

bool BlocksEditor::deleteFromContextMenu() {
    auto* tool = dynamic_cast<KITE::DeleteTool*>(
        getToolByRole(KITE::DeleteTool::staticGetDefaultRole()).get());
    if (!tool)
        return false;
    const KITE::DiagramElement target = getContextMenuTarget();
    if (target.isValid() && !isSelected(target)) {
        // One selection event for the new selection, as a click would send.
        disableSelectionNotification();
        clearSelection();
        select(target);
        enableSelectionNotification();
    }
    tool->deleteSelection();
    return true;
}

void BlocksEditor::addContextMenuEntries(PLATFORM::Studio* studio) {
    PLATFORM::StudioFrameworkService* framework = studio ? studio->getFrameworkService() : nullptr;
    if (!framework)
        return;
    const PLATFORM::ContextMenuSchema* existing = framework->getContextMenu(contextMenuName);
    if (existing && existing->findItem(deleteEntry))
        return;
    PLATFORM::ContextMenuSchema menu =
        existing ? *existing : PLATFORM::ContextMenuSchema(contextMenuName);
    // The menu belongs to the studio: it is used only while the studio lives.
    menu.addItem(deleteEntry, [studio] {
        KITE::StudioAppLink* link = KITE::StudioAppLink::of(studio);
        KITE::StudioApp* app = link ? link->getStudioApp() : nullptr;
        if (auto* editor = dynamic_cast<BlocksEditor*>(app ? app->getActiveEditor() : nullptr))
            editor->deleteFromContextMenu();
    });
    framework->addContextMenu(menu);
}

PLATFORM::StudioComponentBase* BlocksEditor::getExplorerBar(TAVI::ErrorHolder&) {
    KITE::StudioAppLink* link = KITE::StudioAppLink::of(getStudio());
    KITE::StudioApp* app = link ? link->getStudioApp() : nullptr;
    if (!app)
        return nullptr;
    // The editor's own: its name follows the editor's, which is unique in the studio.
    const std::string name = getName() + " explorer bar";
    if (explorerBarMade)
        return app->getComponent(name); // null once the closing editor removed it
    explorerBarMade = true;
    // Not placed by the framework: the editor shows it above its canvas.
    return app->getOrCreateComponent(KITE::ExplorerBarComponent::typeName, name, "Invisible", "");
}

BlocksEditor* BlocksEditor::create(PLATFORM::Studio* studio, const std::string& name) {
    return new BlocksEditor(studio, name);
}

bool BlocksEditor::registerFactory(TAVI::ErrorHolder& errors) {
    return PLATFORM::StudioComponentFactoryManager::instance()->registerOnce(
        TAVI::StringID(typeName),
        [](PLATFORM::Studio* studio, const std::string& name) -> PLATFORM::StudioComponentBase* {
            return create(studio, name);
        },
        errors);
}

std::string BlocksEditor::getTypeName() const {
    return typeName;
}

std::string BlocksEditor::getTabTitle() {
    const KITE::Diagram diagram = getDiagram();
    const std::string name = diagram.isValid() ? diagram.getName() : std::string();
    return name.empty() ? KITE::Editor::getTabTitle() : name;
}

} // namespace Blocks
