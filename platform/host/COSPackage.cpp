#include "platform/host/COSPackage.hpp"

#include "platform/host/CosCommonClassInfo.hpp"
#include "platform/zu/zuAssert.hpp"

namespace NOX {

namespace {

std::unordered_map<std::string, std::unique_ptr<COSPackage>>& packages() {
    // Never destroyed: host objects released at exit still reach their records.
    static auto* all = new std::unordered_map<std::string, std::unique_ptr<COSPackage>>;
    return *all;
}

} // namespace

COSPackage::COSPackage(std::string name, InitializeHook initialize)
    : m_name(std::move(name)), m_initialize(std::move(initialize)) {}

COSPackage::~COSPackage() = default;

COSPackage* COSPackage::addPackage(const std::string& name, InitializeHook initialize) {
    auto& all = packages();
    auto found = all.find(name);
    if (found != all.end())
        return found->second.get();
    auto* package = new COSPackage(name, std::move(initialize));
    all.emplace(name, std::unique_ptr<COSPackage>(package));
    return package;
}

COSPackage* COSPackage::findPackage(const std::string& name) {
    auto& all = packages();
    auto found = all.find(name);
    if (found == all.end())
        return nullptr;
    found->second->ensureInitialized();
    return found->second.get();
}

CosCommonClassInfo* COSPackage::findClass(const std::string& fullName) {
    // Packages may be dotted themselves ("ORB.mi"): the class name follows the last dot.
    const auto dot = fullName.rfind('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == fullName.size())
        return nullptr;
    COSPackage* package = findPackage(fullName.substr(0, dot));
    if (!package)
        return nullptr;
    CosCommonClassInfo* record = package->classNamed(fullName.substr(dot + 1));
    if (record)
        record->ensurePopulated();
    return record;
}

void COSPackage::ensureInitialized() {
    if (m_initialized)
        return;
    // Set first: the hook looks up classes of its own package while it adds them.
    m_initialized = true;
    if (m_initialize)
        m_initialize(*this);
}

CosCommonClassInfo* COSPackage::addClass(std::unique_ptr<CosCommonClassInfo> record) {
    if (!record)
        return nullptr;
    const bool taken = m_byName.count(record->name()) != 0;
    zu_assertstr(!taken, "COSPackage::addClass: class already registered",
                 m_name + "." + record->name());
    if (taken)
        return nullptr;
    record->m_package = this;
    record->m_fullName = m_name + "." + record->name();
    CosCommonClassInfo* raw = record.get();
    m_classes.push_back(std::move(record));
    m_byName[raw->name()] = raw;
    return raw;
}

CosCommonClassInfo* COSPackage::classNamed(const std::string& name) const {
    auto found = m_byName.find(name);
    return found == m_byName.end() ? nullptr : found->second;
}

std::vector<CosCommonClassInfo*> COSPackage::classes() const {
    std::vector<CosCommonClassInfo*> result;
    for (const auto& record : m_classes)
        result.push_back(record.get());
    return result;
}

} // namespace NOX
