#include "platform/veld/DomainRegistry.hpp"

#include "platform/veld/Exception.hpp"
#include "platform/veld/detail/Meta.hpp"

namespace VELD {

using namespace detail;

namespace {
PackageInfo* packageOrThrow(std::string_view metaUri, const char* operation) {
    MetaRegistry& reg = meta();
    auto it = reg.byUri.find(metaUri);
    if (it == reg.byUri.end())
        throw Exception(std::string(operation) + ": no meta-model is registered under '" +
                        std::string(metaUri) + "'");
    return it->second;
}
} // namespace

DomainRegistry& DomainRegistry::instance() {
    static DomainRegistry registry;
    meta(); // the kernel's own package is registered before anyone asks
    return registry;
}

bool DomainRegistry::isRegistered(std::string_view metaUri) const {
    return meta().byUri.count(metaUri) > 0;
}

ImmutableNamespace DomainRegistry::getMetaModel(std::string_view metaUri) const {
    auto it = meta().byUri.find(metaUri);
    return it == meta().byUri.end() ? ImmutableNamespace()
                                    : ImmutableNamespace(metaHandle(it->second));
}

ImmutableType DomainRegistry::findType(std::string_view qualifiedName) const {
    return ImmutableType(metaHandle(meta().findQualified(qualifiedName)));
}

ImmutableClass DomainRegistry::findClass(std::string_view qualifiedName) const {
    return ImmutableClass(metaHandle(meta().findQualified(qualifiedName)));
}

Model DomainRegistry::createModel(std::string_view metaUri) const {
    PackageInfo* pkg = packageOrThrow(metaUri, "DomainRegistry::createModel");
    auto* m = new ModelCore();
    m->uri = std::string(metaUri);
    m->package = pkg;
    m->modelClass = pkg->modelClass ? pkg->modelClass : meta().modelClass;
    m->root = new DeviantCore(ViewKind::Root, m, "");
    retainView(m->root);
    Model model{ViewRef(m->root)};
    // The root object exists from the start: it is no change to undo.
    m->root->txn.depth = 1;
    m->rootObject = createObject(*m->root, *m->modelClass);
    m->rootObject->flags &= ~TouchedInRootTransaction;
    m->root->txn = TransactionState{};
    return model;
}

FactoryObject DomainRegistry::createFactory(std::string_view metaUri, const Model& model) const {
    PackageInfo* pkg = packageOrThrow(metaUri, "DomainRegistry::createFactory");
    if (!model.isValid())
        throw Exception("DomainRegistry::createFactory: invalid model");
    return FactoryObject(model, pkg);
}

} // namespace VELD
