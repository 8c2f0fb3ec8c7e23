#include "platform/host/BindingRegistry.hpp"

#include "platform/host/COSPackage.hpp"
#include "platform/host/CosCommonClassInfo.hpp"
#include "platform/host/vxArray.hpp"
#include "platform/zu/zuAssert.hpp"

#include <unordered_map>

namespace NOX {

namespace {

std::unordered_map<const void*, HostObject*>& bindings() {
    static auto* map = new std::unordered_map<const void*, HostObject*>;
    return *map;
}

} // namespace

HostObjectRef BindingRegistry::bind(std::unique_ptr<Instance> instance,
                                    const std::string& className) {
    CosCommonClassInfo* record = COSPackage::findClass(className);
    if (!record)
        vxErrMsgIdAndTxt("QUASAR:nox:undefinedClass",
                         ("Undefined host class '" + className + "'").c_str());
    const void* identity = instance->identity();
    HostObjectRef host(new HostObject(record));
    host->setInstance(std::move(instance));
    if (identity)
        bindings()[identity] = host.get();
    return host;
}

bool BindingRegistry::bindConstructed(HostObject* host, std::unique_ptr<Instance> instance) {
    if (!host || !instance)
        return false;
    const void* identity = instance->identity();
    const bool free = !host->isBound() && (!identity || !find(identity));
    zu_assert(
        free,
        "BindingRegistry::announceForConstructor: host object or library object already bound");
    if (!free)
        return false;
    host->setInstance(std::move(instance));
    if (identity)
        bindings()[identity] = host;
    return true;
}

void BindingRegistry::remove(HostObject* host) {
    if (!host || !host->instance())
        return;
    const void* identity = host->instance()->identity();
    auto found = bindings().find(identity);
    if (found != bindings().end() && found->second == host)
        bindings().erase(found);
}

HostObject* BindingRegistry::find(const void* identity) {
    if (!identity)
        return nullptr;
    auto found = bindings().find(identity);
    return found == bindings().end() ? nullptr : found->second;
}

std::size_t BindingRegistry::size() {
    return bindings().size();
}

} // namespace NOX
