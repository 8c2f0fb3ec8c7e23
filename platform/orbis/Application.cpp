#include "platform/orbis/Application.hpp"

namespace PLATFORM {

Application::Application() = default;

Application::~Application() = default;

const char* Application::getFullyQualifiedNoxTypeName() const {
    return noxTypeName;
}

void Application::initialize(TAVI::ErrorHolder&) {}

void Application::terminate(TAVI::ErrorHolder&) {}

AbstractDomainInterface* Application::getDefaultDomain(Studio*) {
    return nullptr;
}

} // namespace PLATFORM
