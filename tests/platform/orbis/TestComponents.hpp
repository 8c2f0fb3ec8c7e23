#pragma once

#include "platform/orbis/Application.hpp"
#include "platform/orbis/Studio.hpp"
#include "platform/orbis/StudioComponentBase.hpp"
#include "platform/tavi/Color.hpp"
#include "platform/tavi/Holder.hpp"

#include <memory>
#include <string>
#include <vector>

namespace TAVI {
class GLPanel2;
}

namespace OrbisTest {

// A component showing a panel filled with one colour; counts its lifecycle calls.
class PanelComponent : public PLATFORM::StudioComponentBase {
public:
    PanelComponent(PLATFORM::Studio* studio, const std::string& name,
                   TAVI::Color color = TAVI::Color(0.2, 0.4, 0.8));
    ~PanelComponent() override;

    void initialize(TAVI::ErrorHolder& errors) override;
    void terminate(TAVI::ErrorHolder& errors) override;
    TAVI::GLWidget2* getWidget() override;
    std::string getDisplayTitle() const override { return "Title of " + getName(); }

    // What happened to the component, kept apart so that it can be read after the component is
    // gone.
    struct Lifecycle {
        int initialized = 0;
        int terminated = 0;
        int destroyed = 0;
    };
    std::shared_ptr<Lifecycle> life = std::make_shared<Lifecycle>();
    bool failInitialize = false;

private:
    TAVI::GLPanel2* panel; // owned
};

// An application that records what the framework calls on it.
class RecordingApplication : public PLATFORM::Application {
public:
    void initialize(TAVI::ErrorHolder& errors) override;
    void terminate(TAVI::ErrorHolder& errors) override;

    std::vector<std::string> calls;
    PLATFORM::Studio* studioSeenAtInitialize = nullptr;
    bool hadFrameworkAtInitialize = false;
};

// A studio for one test, closed when the fixture goes.
struct StudioFixture {
    StudioFixture();
    ~StudioFixture();

    TAVI::Holder<RecordingApplication> app;
    TAVI::Holder<PLATFORM::Studio> studio;
    PLATFORM::StudioFrameworkService* framework = nullptr;

    // A new panel component of this studio, added to its framework service.
    PanelComponent* addPanel(const std::string& name,
                             TAVI::Color color = TAVI::Color(0.2, 0.4, 0.8));
};

} // namespace OrbisTest
