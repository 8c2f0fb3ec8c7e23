#pragma once

#include "platform/host/host_export.hpp"

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace NOX {

class CosCommonClassInfo;

// A host package: a named set of class records ("KITE" holds "KITE.Editor"). A module adds its
// package with an initialization hook that adds the records; the hook runs the first time the
// package is needed (a class of it is looked up), not when it is added. Packages live until the
// process ends. Host thread only.
class HOST_EXPORT COSPackage {
public:
    using InitializeHook = std::function<void(COSPackage&)>;

    // Adds a package; returns the one already added under that name (keeping its hook) if any.
    static COSPackage* addPackage(const std::string& name, InitializeHook initialize = {});
    // The package, initialized; null when none has that name.
    static COSPackage* findPackage(const std::string& name);
    // The record of a class by full name ("KITE.Editor"), populated; null when unknown.
    static CosCommonClassInfo* findClass(const std::string& fullName);

    const std::string& name() const { return packageName; }
    // Takes ownership of the record. A name already taken is refused with a host assertion
    // (host objects may point at the first record): the new record is dropped and null returned.
    CosCommonClassInfo* addClass(std::unique_ptr<CosCommonClassInfo> record);
    template <class Record, class... Args> Record* addClass(Args&&... args) {
        auto record = std::make_unique<Record>(std::forward<Args>(args)...);
        Record* raw = record.get();
        addClass(std::unique_ptr<CosCommonClassInfo>(std::move(record)));
        return raw;
    }
    // The record of a class of this package by short name, not yet populated; null when none.
    CosCommonClassInfo* classNamed(const std::string& name) const;
    std::vector<CosCommonClassInfo*> classes() const;
    bool isInitialized() const { return initialized; }

    COSPackage(const COSPackage&) = delete;
    COSPackage& operator=(const COSPackage&) = delete;
    ~COSPackage();

private:
    explicit COSPackage(std::string name, InitializeHook initialize);
    void ensureInitialized();

    std::string packageName;
    InitializeHook initializeHook;
    bool initialized = false;
    std::vector<std::unique_ptr<CosCommonClassInfo>> records;
    std::unordered_map<std::string, CosCommonClassInfo*> recordsByName;
};

} // namespace NOX
