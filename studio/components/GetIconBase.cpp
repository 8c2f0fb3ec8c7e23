#include "studio/components/GetIconBase.hpp"

#include "platform/orbis/IconManager.hpp"
#include "platform/tavi/ApplicationContext.hpp"
#include "platform/veld/Asserter.hpp"
#include "platform/veld/Sequence.hpp"

namespace KITE {

GetIconBase::GetIconBase(Table* dispatchTable) : table(dispatchTable) {}

GetIconBase::~GetIconBase() = default;

std::string GetIconBase::execute(const VELD::ImmutableClassObject& object) {
    VELD_ASSERT(object.isValid(), "");
    if (!registered)
        registerVisitableTypes();
    return table->dispatch(*this, object);
}

void GetIconBase::registerVisitableTypes() {
    internalRegisterVisitableTypes();
    registered = true;
}

void GetIconBase::populateIconManager() {
    if (iconStorageMap.empty())
        doPopulateIconStorageMap(iconStorageMap);
    PLATFORM::IconManager* manager = PLATFORM::IconManager::getInstance();
    for (const auto& [type, node] : iconStorageMap) {
        // Views key icons by file path; an icon already known under that key is left alone.
        if (!manager->getIcon(node.name).isValid())
            manager->addFileToIcon(node.tag, node.name, 0, 1);
    }
}

const IconNode& GetIconBase::getIconNodeGivenType(const VELD::ImmutableType& type) {
    return doGetIconNodeGivenType(type, nullptr);
}

const std::string& GetIconBase::getNameGivenType(const VELD::ImmutableType& type) {
    return getIconNodeGivenType(type).name;
}

const std::string& GetIconBase::getTagGivenType(const VELD::ImmutableType& type) {
    return getIconNodeGivenType(type).tag;
}

const IconNode& GetIconBase::doGetIconNodeGivenType(const VELD::ImmutableType& type,
                                                    VisitedTypeSet* visited) {
    if (iconStorageMap.empty())
        doPopulateIconStorageMap(iconStorageMap);
    if (const auto hit = iconStorageMap.find(type); hit != iconStorageMap.end())
        return hit->second;
    const IconNode& fallback = doGetDefaultIcon();
    if (!type.isClass())
        return fallback;

    VisitedTypeSet fresh;
    const bool outermost = visited == nullptr;
    VisitedTypeSet& seen = outermost ? fresh : *visited;
    seen.insert(type);
    // Depth first in declaration order: the first superclass's whole chain is searched before
    // the second superclass is looked at.
    for (const VELD::ImmutableClass& super : VELD::ImmutableClass(type).getSuperClasses()) {
        const VELD::ImmutableType superType(super);
        if (seen.count(superType))
            continue;
        const IconNode& found = doGetIconNodeGivenType(superType, &seen);
        if (found == fallback)
            continue;
        if (!outermost)
            return found;
        return iconStorageMap.emplace(type, found).first->second;
    }
    return fallback;
}

const std::string& GetIconBase::quasarRoot() {
    static std::string root;
    if (root.empty())
        root = TAVI::ApplicationContext::instance().getRootDirectory();
    return root;
}

} // namespace KITE
