#include "examples/blocks/BlocksEditor.hpp"

#include "platform/orbis/StudioComponentFactory.hpp"
#include "platform/orbis/StudioComponentFactoryManager.hpp"
#include "platform/tavi/ErrorHolder.hpp"

namespace Blocks {

BlocksEditor::BlocksEditor(PLATFORM::Studio* studio, const std::string& name)
    : KITE::Editor(studio, name) {}

BlocksEditor* BlocksEditor::create(PLATFORM::Studio* studio, const std::string& name) {
    return new BlocksEditor(studio, name);
}

bool BlocksEditor::registerFactory(TAVI::ErrorHolder& errors) {
    PLATFORM::StudioComponentFactoryManager* factories =
        PLATFORM::StudioComponentFactoryManager::instance();
    if (factories->isRegistered(TAVI::StringID(typeName)))
        return true;
    return factories->registerObject(
        TAVI::Holder<PLATFORM::StudioComponentFactory>(new PLATFORM::StudioComponentFactory(
            TAVI::StringID(typeName),
            [](PLATFORM::Studio* studio, const std::string& name)
                -> PLATFORM::StudioComponentBase* { return create(studio, name); })),
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
