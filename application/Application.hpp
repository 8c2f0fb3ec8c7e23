#pragma once

#include "application/StudioAppLink.hpp"
#include "application/kite_application_export.hpp"
#include "platform/tavi/ReferencedTemplate.hpp"
#include "platform/veld/Model.hpp"
#include "platform/veld/Report.hpp"

#include <memory>

namespace PLATFORM {
class Studio;
}

namespace KITE {

// What a studio holds for each of its models: a kernel listener on the model that hands every
// change report to the studio application. Counted (TAVI::Holder). Made without a live model
// or without a studio it listens to nothing.
class KITE_APPLICATION_EXPORT Application : public TAVI::ReferencedTemplate<unsigned int>,
                                            public VELD::ListenerBase {
public:
    Application();
    Application(const VELD::Model& model, PLATFORM::Studio* studio);
    ~Application() override;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    VELD::Model getModel() const { return model; }
    PLATFORM::Studio* getStudio() const { return studio; }
    // The studio's application when it is a studio application; null otherwise.
    StudioApp* getStudioApp() const;
    // Whether the model's changes reach this application.
    bool isObserving() const { return observing; }

    // Hands a report of the model's changes to the studio application, if there is one.
    void observeChanges(const ModelChangeReport& report);

private:
    using Listener = VELD::internal::ListenerHolder<VELD::ImmutableModel, Application,
                                                    VELD::ImmutableClassObject, true>;
    friend Listener;
    void transactionCompleted(const ModelChangeReport& report) { observeChanges(report); }

    VELD::Model model;
    PLATFORM::Studio* studio = nullptr; // not owned
    StudioAppLink* studioApp = nullptr; // not owned: the studio's application object
    bool observing = false;
    std::unique_ptr<Listener> listener;
};

} // namespace KITE
