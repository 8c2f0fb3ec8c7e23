#include "application/Application.hpp"

#include "platform/orbis/Application.hpp"
#include "platform/orbis/Studio.hpp"
#include "platform/tavi/Holder.hpp"
#include "platform/veld/Exception.hpp"

namespace KITE {

StudioAppLink* StudioAppLink::of(const PLATFORM::Studio* studio) {
    return studio ? dynamic_cast<StudioAppLink*>(studio->getApp()) : nullptr;
}

Application::Application() = default;

Application::Application(const VELD::Model& model, PLATFORM::Studio* studio)
    : model(model), studio(studio), studioApp(StudioAppLink::of(studio)) {
    if (model.isNull() || !model.isValid() || !studio)
        return;
    auto newListener = std::make_unique<Listener>(this);
    try {
        model.registerObservingListener(newListener.get());
    } catch (const VELD::Exception&) {
        // A handle to a model's state before a transaction cannot be listened to.
        return;
    }
    listener = std::move(newListener);
    observing = true;
}

Application::~Application() {
    if (!observing)
        return;
    model.unregisterObservingListener(listener.get());
    observing = false;
}

StudioApp* Application::getStudioApp() const {
    return studioApp ? studioApp->getStudioApp() : nullptr;
}

void Application::observeChanges(const ModelChangeReport& report) {
    if (!studioApp)
        return;
    // The studio's listeners may remove the model, and with it this application: it goes when
    // the handling is over, not under it.
    const TAVI::Holder<Application> keep(getRefCount() != 0 ? this : nullptr);
    studioApp->handleModelChanges(report);
}

} // namespace KITE
