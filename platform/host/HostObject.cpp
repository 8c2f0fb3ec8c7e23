#include "platform/host/HostObject.hpp"

#include "platform/host/CosCommonClassInfo.hpp"

namespace NOX {

HostObject::HostObject(CosCommonClassInfo* classInfo) : m_class(classInfo) {}

HostObject::~HostObject() = default;

const std::string& HostObject::className() const {
    return m_class->fullName();
}

bool HostObject::isA(const std::string& className) const {
    return m_class->isSubclassOf(className);
}

void HostObject::release() {
    if (--m_refs > 0)
        return;
    // Counted again while the record lets go of the library object, whose destruction may pass
    // this host object around without ending it twice.
    m_refs = 1;
    m_class->deallocateInstance(this);
    delete this;
}

} // namespace NOX
