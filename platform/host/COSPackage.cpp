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
    : packageName(std::move(name)), initializeHook(std::move(initialize)) {}

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
    if (initialized)
        return;
    // Set first: the hook looks up classes of its own package while it adds them.
    initialized = true;
    if (initializeHook)
        initializeHook(*this);
}

CosCommonClassInfo* COSPackage::addClass(std::unique_ptr<CosCommonClassInfo> record) {
    if (!record)
        return nullptr;
    const bool taken = recordsByName.count(record->name()) != 0;
    zu_assertstr(!taken, "COSPackage::addClass: class already registered",
                 packageName + "." + record->name());
    if (taken)
        return nullptr;
    record->owningPackage = this;
    record->qualifiedName = packageName + "." + record->name();
    CosCommonClassInfo* raw = record.get();
    records.push_back(std::move(record));
    recordsByName[raw->name()] = raw;
    return raw;
}

CosCommonClassInfo* COSPackage::classNamed(const std::string& name) const {
    auto found = recordsByName.find(name);
    return found == recordsByName.end() ? nullptr : found->second;
}

std::vector<CosCommonClassInfo*> COSPackage::classes() const {
    std::vector<CosCommonClassInfo*> result;
    for (const auto& record : records)
        result.push_back(record.get());
    return result;
}

} // namespace NOX
