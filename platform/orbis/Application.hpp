#pragma once

#include "platform/host/Wrappable.hpp"
#include "platform/orbis/orbis_export.hpp"
#include "platform/tavi/ReferencedTemplate.hpp"

namespace TAVI {
class ErrorHolder;
}

namespace PLATFORM {

class AbstractDomainInterface;
class Studio;

// The application object of one studio window. The framework makes the window
// for it (Studio::spawnStudio), calls initialize once the window and its own
// services exist, and terminate when the window closes. Counted: the studio
// holds one count for as long as it lives.
class ORBIS_EXPORT Application : public TAVI::ReferencedTemplate<unsigned int>,
                                 public NOX::Wrappable {
public:
    Application();
    ~Application() override;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The host class of its objects.
    static constexpr const char* noxTypeName = "ORB.Application";

    const char* getFullyQualifiedNoxTypeName() const override;
    // The base versions do nothing; subclasses run theirs first or last as they need.
    virtual void initialize(TAVI::ErrorHolder& errors);
    virtual void terminate(TAVI::ErrorHolder& errors);
    // The per-studio domain front the studio starts with; null in the base.
    // The caller owns the new object (hold it in a TAVI::Holder).
    virtual AbstractDomainInterface* getDefaultDomain(Studio* studio);

    // The window this application belongs to; null before spawnStudio and after the window is gone.
    Studio* getStudio() const { return studio; }

private:
    friend class Studio;
    Studio* studio = nullptr; // not owned: the studio owns this application
};

} // namespace PLATFORM
