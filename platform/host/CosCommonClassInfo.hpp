#pragma once

#include "platform/host/NoxMethod.hpp"
#include "platform/host/Signature.hpp"
#include "platform/host/host_export.hpp"

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace NOX {

class CallContext;
class COSPackage;
class HostObject;

using MethodAdapter = std::function<void(CallContext&)>;

// One registered method: its record, signature and adapter.
struct HOST_EXPORT MethodEntry {
    NoxMethod method;
    Signature signature;
    MethodAdapter adapter;
    const class CosCommonClassInfo* owner;
};

// The record of one host class: its name, description, superclass and methods. A package owns
// its records. Subclasses register the superclass and methods in populate(), which runs once,
// when the host first needs the class.
class HOST_EXPORT CosCommonClassInfo {
public:
    CosCommonClassInfo(std::string name, std::string description);
    virtual ~CosCommonClassInfo();
    CosCommonClassInfo(const CosCommonClassInfo&) = delete;
    CosCommonClassInfo& operator=(const CosCommonClassInfo&) = delete;

    const std::string& name() const { return shortName; }         // "Editor"
    const std::string& fullName() const { return qualifiedName; } // "KITE.Editor"
    const std::string& description() const { return descriptionText; }
    COSPackage* package() const { return owningPackage; }

    // The superclass's record (made ready); null when none or when it is not registered.
    CosCommonClassInfo* superclass();
    const std::string& superclassName() const { return superclassFullName; }
    bool isSubclassOf(const std::string& fullName);

    // Methods of that name, own ones first then the superclasses', in registration order.
    std::vector<const MethodEntry*> findMethods(const std::string& name);
    std::vector<const MethodEntry*> methods(); // own methods, in registration order

    // Runs populate() the first time.
    void ensurePopulated();

    // Destroys a host object's tie to its library object: the binding goes first, then the
    // host object's hold on the library object.
    virtual void deallocateInstance(HostObject* object);

protected:
    virtual void populate() {}

    void setSuperclass(std::string fullName) { superclassFullName = std::move(fullName); }
    void addMethod(const NoxMethod& method, const Signature& signature, MethodAdapter adapter);

private:
    friend class COSPackage;
    std::string shortName;
    std::string qualifiedName;
    std::string descriptionText;
    std::string superclassFullName;
    COSPackage* owningPackage = nullptr;
    bool populated = false;
    bool populating = false;
    std::vector<std::unique_ptr<MethodEntry>> methodEntries;
    std::unordered_map<std::string, std::vector<const MethodEntry*>> methodsByName;
};

} // namespace NOX
