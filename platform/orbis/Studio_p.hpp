// Private to platform/orbis/: included only by its own sources and tests; not installed.
#pragma once

#include "platform/orbis/Studio.hpp"

#include <map>
#include <memory>
#include <set>
#include <unordered_set>

namespace PLATFORM {

class DomainInterface;
class StudioEventServiceBase;

class StudioPrivate {
public:
    explicit StudioPrivate(Studio* q);

    // Terminates the application and the components and hides the window;
    // run once, by close() or by the destructor.
    void shutDown();
    // Lets go of the services and domain implementations (the destructor).
    void release();

    Studio* q;
    StudioWindow* window = nullptr; // owned; deleteLater'd by ~Studio
    TAVI::Holder<Application> application;
    StudioServiceRegistry services;
    TAVI::Holder<StudioFrameworkService> framework;
    std::map<TAVI::StringID, std::unique_ptr<AbstractDomainImpl>> domainImpls;
    // Keys whose implementation is being made: one that asks for itself meanwhile gets none.
    std::set<TAVI::StringID> domainImplsInMaking;
    TAVI::Holder<AbstractDomainInterface> activeDomain;
    // Objects that point back at this studio and may outlive it (scripts hold
    // them): they forget the studio when it goes.
    std::unordered_set<StudioComponentBase*> componentsPointingHere;
    std::unordered_set<DomainInterface*> frontsPointingHere;
    bool defaultDomainAsked = false;
    bool open = true;
    bool shuttingDown = false;
};

} // namespace PLATFORM
