#include "tests/platform/orbis/TestComponents.hpp"

#include "platform/orbis/StudioFrameworkService.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "platform/tavi/SimpleErrorDescription.hpp"
#include "platform/tavi2/GLPanel2.hpp"

#include <QCoreApplication>
#include <QEvent>

#include <gtest/gtest.h>

namespace OrbisTest {

PanelComponent::PanelComponent(PLATFORM::Studio* studio, const std::string& name, TAVI::Color color)
    : StudioComponentBase(studio, name), panel(new TAVI::GLPanel2("qt")) {
    panel->setColor(TAVI::GLWidget2::BackgroundColor, color);
    panel->setMinimumSize(120, 90);
}

PanelComponent::~PanelComponent() {
    delete panel;
    ++life->destroyed;
}

void PanelComponent::initialize(TAVI::ErrorHolder& errors) {
    ++life->initialized;
    if (failInitialize)
        errors.setError(
            TAVI::SimpleErrorDescription(TAVI_HERE, "cannot start", "Test_CannotStart"));
}

void PanelComponent::terminate(TAVI::ErrorHolder&) {
    ++life->terminated;
}

TAVI::GLWidget2* PanelComponent::getWidget() {
    return panel;
}

void RecordingApplication::initialize(TAVI::ErrorHolder&) {
    calls.push_back("initialize");
    studioSeenAtInitialize = getStudio();
    hadFrameworkAtInitialize = getStudio() && getStudio()->getFrameworkService();
}

void RecordingApplication::terminate(TAVI::ErrorHolder&) {
    calls.push_back("terminate");
}

StudioFixture::StudioFixture() : app(new RecordingApplication) {
    TAVI::ErrorHolder errors;
    studio = PLATFORM::Studio::spawnStudio(app, errors);
    EXPECT_FALSE(errors.hasError()) << errors.what();
    if (studio)
        framework = studio->getFrameworkService();
}

StudioFixture::~StudioFixture() {
    if (studio)
        studio->close();
    studio.reset();
    // Windows go through deleteLater.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

PanelComponent* StudioFixture::addPanel(const std::string& name, TAVI::Color color) {
    auto* panel = new PanelComponent(studio.get(), name, color);
    TAVI::ErrorHolder errors;
    EXPECT_TRUE(framework->addComponent(TAVI::Holder<PLATFORM::StudioComponentBase>(panel), errors))
        << errors.what();
    return panel;
}

} // namespace OrbisTest
