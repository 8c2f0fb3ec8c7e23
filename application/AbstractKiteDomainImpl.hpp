#pragma once

#include "application/kite_application_export.hpp"
#include "platform/orbis/AbstractDomainImpl.hpp"

#include <string>

namespace TAVI {
class ErrorHolder;
}

namespace VELD {
class Model;
}

namespace KITE {

class Application;
class Diagram;
class Editor;

// A domain's implementation inside one studio (one per studio and factory key, owned by the
// studio): it makes the studio's applications and editors for the domain and runs its
// context menus.
class KITE_APPLICATION_EXPORT AbstractKiteDomainImpl : public PLATFORM::AbstractDomainImpl {
public:
    explicit AbstractKiteDomainImpl(PLATFORM::Studio* studio)
        : PLATFORM::AbstractDomainImpl(studio) {}
    ~AbstractKiteDomainImpl() override = default;

    void activate() override = 0;
    void deactivate() override = 0;
    bool isSubDomain(PLATFORM::AbstractDomainInterface* domain) const override = 0;
    // A new application for a model of the studio; the caller holds it (TAVI::Holder).
    virtual Application* createApplication(const VELD::Model& model, TAVI::ErrorHolder& errors) = 0;
    // A new editor of the diagram, or null when the domain makes none.
    virtual Editor* createEditor(const Diagram& diagram, std::string name,
                                 TAVI::ErrorHolder& errors) = 0;
};

} // namespace KITE
