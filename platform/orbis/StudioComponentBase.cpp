#include "platform/orbis/StudioComponentBase.hpp"

#include "platform/orbis/AbstractDomainInterface.hpp"
#include "platform/orbis/StudioFrameworkService_p.hpp"
#include "platform/orbis/Studio_p.hpp"

#include <mutex>
#include <unordered_set>

namespace PLATFORM {

namespace {

// Every component that exists, so that a pointer a caller kept after the component went can
// be told from a live one without reading it.
struct LiveComponents {
    std::mutex mutex;
    std::unordered_set<const StudioComponentBase*> components;
};

LiveComponents& liveComponents() {
    static auto* live = new LiveComponents; // components may go while the process ends
    return *live;
}

} // namespace

bool isLiveComponent(const StudioComponentBase* component) {
    LiveComponents& live = liveComponents();
    const std::lock_guard lock(live.mutex);
    return live.components.count(component) != 0;
}

StudioComponentBase::StudioComponentBase(Studio* studio, const std::string& name)
    : studio(studio), name(name) {
    if (studio)
        studio->d_func()->componentsPointingHere.insert(this);
    LiveComponents& live = liveComponents();
    const std::lock_guard lock(live.mutex);
    live.components.insert(this);
}

StudioComponentBase::~StudioComponentBase() {
    if (studio)
        studio->d_func()->componentsPointingHere.erase(this);
    LiveComponents& live = liveComponents();
    const std::lock_guard lock(live.mutex);
    live.components.erase(this);
}

void StudioComponentBase::initialize(TAVI::ErrorHolder&) {}

void StudioComponentBase::terminate(TAVI::ErrorHolder&) {}

std::string StudioComponentBase::getDisplayTitle() const {
    return name;
}

TAVI::GLWidget2* StudioComponentBase::getDefaultFocusWidget() {
    return getWidget();
}

const char* StudioComponentBase::getFullyQualifiedNoxTypeName() const {
    return noxTypeName;
}

std::string StudioComponentBase::getTypeName() const {
    return name;
}

bool StudioComponentBase::canAccept(const TAVI::GLMimeData2*) const {
    return false;
}

TAVI::AbstractUndoRedoCommandTarget* StudioComponentBase::getUndoRedoTarget() {
    return nullptr;
}

void StudioComponentBase::setDomain(const TAVI::Holder<AbstractDomainInterface>& newDomain) {
    domain = newDomain;
}

AbstractDomainInterface* StudioComponentBase::getDomain() const {
    return domain.get();
}

bool StudioComponentBase::isVisible() const {
    return shown;
}

} // namespace PLATFORM
