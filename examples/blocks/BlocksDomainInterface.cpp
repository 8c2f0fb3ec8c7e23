#include "examples/blocks/BlocksDomainInterface.hpp"

#include "examples/blocks/BlocksDomain.hpp"
#include "examples/blocks/BlocksEditor.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "platform/tavi/SimpleErrorDescription.hpp"
#include "studio/StudioApp.hpp"

namespace Blocks {

const char* const BlocksDomainInterface::noxTypeName = "Blocks.Domain";

BlocksDomainInterface::BlocksDomainInterface(PLATFORM::Studio* studio)
    : KiteDomainInterface(studio) {}

const char* BlocksDomainInterface::getFullyQualifiedNoxTypeName() const {
    return noxTypeName;
}

PLATFORM::AbstractDomain* BlocksDomainInterface::getDomain() const {
    return BlocksDomain::get();
}

KITE::Editor* BlocksDomainInterface::createEditor(const KITE::Diagram& diagram, std::string name,
                                                  TAVI::ErrorHolder& errors) {
    KITE::StudioAppLink* link = KITE::StudioAppLink::of(getStudio());
    KITE::StudioApp* app = link ? link->getStudioApp() : nullptr;
    if (!app) {
        errors.setError(TAVI::SimpleErrorDescription(
            TAVI_HERE, "BlocksDomainInterface::createEditor: the studio has no studio application",
            "Blocks_NoStudioApp"));
        return nullptr;
    }
    KITE::Editor* editor =
        app->createEditorOfType(getStudio(), diagram, BlocksEditor::typeName, name, errors);
    if (editor) {
        installTools(editor);
        BlocksEditor::addContextMenuEntries(getStudio());
    }
    return editor;
}

KITE::AbstractKiteDomain* BlocksDomainInterface::getKiteDomain() const {
    return BlocksDomain::get();
}

} // namespace Blocks
