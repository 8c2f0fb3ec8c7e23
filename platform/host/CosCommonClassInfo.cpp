#include "platform/host/CosCommonClassInfo.hpp"

#include "platform/host/BindingRegistry.hpp"
#include "platform/host/COSPackage.hpp"
#include "platform/host/HostObject.hpp"
#include "platform/zu/zuAssert.hpp"

namespace NOX {

CosCommonClassInfo::CosCommonClassInfo(std::string name, std::string description)
    : shortName(std::move(name)), qualifiedName(shortName),
      descriptionText(std::move(description)) {}

CosCommonClassInfo::~CosCommonClassInfo() = default;

void CosCommonClassInfo::ensurePopulated() {
    if (populated || populating)
        return;
    populating = true;
    populate();
    populating = false;
    populated = true;
}

CosCommonClassInfo* CosCommonClassInfo::superclass() {
    ensurePopulated();
    if (superclassFullName.empty() || superclassFullName == qualifiedName)
        return nullptr;
    return COSPackage::findClass(superclassFullName);
}

bool CosCommonClassInfo::isSubclassOf(const std::string& fullName) {
    // Bounded, so that a cycle of superclasses cannot hang the host.
    CosCommonClassInfo* record = this;
    for (int depth = 0; record && depth < 64; ++depth) {
        if (record->qualifiedName == fullName)
            return true;
        record = record->superclass();
    }
    return false;
}

std::vector<const MethodEntry*> CosCommonClassInfo::findMethods(const std::string& name) {
    std::vector<const MethodEntry*> found;
    CosCommonClassInfo* record = this;
    for (int depth = 0; record && depth < 64; ++depth) {
        record->ensurePopulated();
        auto own = record->methodsByName.find(name);
        if (own != record->methodsByName.end())
            found.insert(found.end(), own->second.begin(), own->second.end());
        record = record->superclass();
    }
    return found;
}

std::vector<const MethodEntry*> CosCommonClassInfo::methods() {
    ensurePopulated();
    std::vector<const MethodEntry*> result;
    for (const auto& entry : methodEntries)
        result.push_back(entry.get());
    return result;
}

void CosCommonClassInfo::addMethod(const NoxMethod& method, const Signature& signature,
                                   MethodAdapter adapter) {
    zu_assertstr(static_cast<bool>(adapter),
                 "CosCommonClassInfo::addMethod: method without adapter",
                 qualifiedName + "." + method.name());
    if (!adapter)
        return;
    auto entry =
        std::make_unique<MethodEntry>(MethodEntry{method, signature, std::move(adapter), this});
    methodsByName[method.name()].push_back(entry.get());
    methodEntries.push_back(std::move(entry));
}

void CosCommonClassInfo::deallocateInstance(HostObject* object) {
    BindingRegistry::remove(object);
    object->dropInstance();
}

} // namespace NOX
