#pragma once

#include "platform/veld/Meta.hpp"
#include "platform/veld/Model.hpp"
#include "platform/veld/veld_export.hpp"

#include <string>
#include <string_view>

namespace VELD {

// The kernel's registry of meta-models, by URI; it makes models and factories of them.
class VELD_EXPORT DomainRegistry {
public:
    static DomainRegistry& instance();

    bool isRegistered(std::string_view metaUri) const;
    ImmutableNamespace getMetaModel(std::string_view metaUri) const; // invalid when none
    // A class or other type by qualified name with "." ("lib.Block"), or by the URI of its
    // meta-model and its simple name ("{urn:lib}Block"). Invalid when none, and when meta-models
    // of different URIs share the package name: then only the URI form says which is meant.
    ImmutableType findType(std::string_view qualifiedName) const;
    ImmutableClass findClass(std::string_view qualifiedName) const;

    // An empty model of the meta-model with that URI: a root object of the meta-model's model
    // class, change level 0, no working copies. VELD::Exception when the URI is unknown.
    Model createModel(std::string_view metaUri) const;
    FactoryObject createFactory(std::string_view metaUri, const Model& model) const;

private:
    DomainRegistry() = default;
};

} // namespace VELD
