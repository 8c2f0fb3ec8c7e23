#include "studio/components/DefaultGetIcon.hpp"

#include "platform/tavi/ModuleObjectDeleter.hpp"

namespace KITE {

namespace {
const char* const kResources = "toolbox/shared/orbis/resources/";
} // namespace

DefaultGetIcon::DefaultGetIcon() : GetIconBase(Table::forClass<DefaultGetIcon>()) {}

DefaultGetIcon::DefaultGetIcon(Table* table) : GetIconBase(table) {}

DefaultGetIcon::~DefaultGetIcon() = default;

void DefaultGetIcon::internalRegisterVisitableTypes() {
    Table* table = getDispatchTable();
    const Table::Handler object =
        Table::member<DefaultGetIcon, const VELD::ClassObject&>(&DefaultGetIcon::visit);
    table->registerHandler(VELD::ImmutableClassObject::MetaClass(), object);
    table->registerHandler(
        ImmutableDiagram::MetaClass(),
        Table::member<DefaultGetIcon, const KITE::Diagram&>(&DefaultGetIcon::visit));
    table->setDefaultHandler(object);
}

std::string DefaultGetIcon::visit(const VELD::ClassObject& object) {
    return getNameGivenType(VELD::ImmutableType(object.getMetaClass()));
}

std::string DefaultGetIcon::visit(const KITE::Diagram& diagram) {
    return getNameGivenType(VELD::ImmutableType(diagram.getMetaClass()));
}

const IconNode& DefaultGetIcon::doGetDefaultIcon() {
    static IconNode* node = nullptr;
    if (!node) {
        node = new IconNode{VELD::ImmutableType(),
                            quasarRoot() + "/" + kResources + "BlockIcon.png", "KITE:Unknown"};
        TAVI::ModuleObjectDeleter::instance().addDeleter([] {
            delete node;
            node = nullptr;
        });
    }
    return *node;
}

void DefaultGetIcon::doPopulateIconStorageMap(IconStorageMap& map) {
    const std::string resources = quasarRoot() + "/" + kResources;
    const VELD::ImmutableType diagram(ImmutableDiagram::MetaClass());
    const VELD::ImmutableType root(VELD::ImmutableClassObject::MetaClass());
    map[diagram] = IconNode{diagram, resources + "CorvidModelIcon.png", "KITE:Diagram"};
    map[root] = IconNode{root, resources + "BlockIcon.png", "VELD:ClassObject"};
}

} // namespace KITE
