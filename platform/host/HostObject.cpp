#include "platform/host/HostObject.hpp"

#include "platform/host/CosCommonClassInfo.hpp"

namespace NOX {

HostObject::HostObject(CosCommonClassInfo* classInfo) : classRecord(classInfo) {}

HostObject::~HostObject() = default;

const std::string& HostObject::className() const {
    return classRecord->fullName();
}

bool HostObject::isA(const std::string& className) const {
    return classRecord->isSubclassOf(className);
}

void HostObject::release() {
    if (--refs > 0)
        return;
    // Counted again while the record lets go of the library object, whose destruction may pass
    // this host object around without ending it twice.
    refs = 1;
    classRecord->deallocateInstance(this);
    delete this;
}

} // namespace NOX
