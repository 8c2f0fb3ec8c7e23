// The property browser on an object of 200 properties (strings, integers, doubles, truth values
// and enumeration literals, all set): showing it in place of another such object, and showing it
// again after a transaction that changes one of its properties (the commit, the studio's event
// and the browser's in-place update). Both include the view catching up with the rows.
#include "application/DomainRegistry.hpp"
#include "application/KiteDomain.hpp"
#include "application/KiteDomainInterface.hpp"
#include "bench/BenchApplication.hpp"
#include "platform/orbis/Studio.hpp"
#include "platform/orbis/StudioFrameworkService.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "platform/veld/DomainRegistry.hpp"
#include "platform/veld/MetaModelBuilder.hpp"
#include "platform/veld/Object.hpp"
#include "studio/StudioApp.hpp"
#include "studio/components/PropBrowserComponent.hpp"
#include "studio/components/PropBrowserDelegate.hpp"
#include "studio/components/PropBrowserViewModel.hpp"

#include <QCoreApplication>
#include <QEvent>

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace KITE;

constexpr int kProperties = 200;
constexpr const char* kUri = "bench:propbrowser";

class WideDomain : public KiteDomain {
public:
    static WideDomain* get() {
        static WideDomain* domain = [] {
            auto* made = new WideDomain;
            TAVI::ErrorHolder errors;
            DomainRegistry::instance()->registerDomain(TAVI::Holder<AbstractKiteDomain>(made),
                                                       errors);
            errors.clear();
            PropBrowserComponent::registerFactory(errors);
            return made;
        }();
        return domain;
    }
    TAVI::StringID getName() const override { return TAVI::StringID("WideBenchDomain"); }
    TAVI::StringID getModelClassFullName() const override {
        return TAVI::StringID("pbbench.Holder");
    }
    PLATFORM::AbstractDomainInterface* createInterface(PLATFORM::Studio* studio) const override {
        return new Front(studio);
    }
    AbstractKiteDomainInterface* createKiteInterface(PLATFORM::Studio* studio) const override {
        return new Front(studio);
    }

private:
    class Front : public KiteDomainInterface {
    public:
        explicit Front(PLATFORM::Studio* studio) : KiteDomainInterface(studio) {}
        PLATFORM::AbstractDomain* getDomain() const override { return get(); }

    protected:
        AbstractKiteDomain* getKiteDomain() const override { return get(); }
    };
};

class ShowingDelegate : public PropBrowserDelegate {
public:
    VELD::ClassObject getItemToSelect(const VELD::ClassObject& selected) override {
        return selected;
    }
};

const char* typeOf(int i) {
    static const char* types[] = {"String", "Integer", "Double", "Boolean", "Mode"};
    return types[i % 5];
}

// A studio with its browser, and a model with two objects of the wide class.
struct Setup {
    VELD::ImmutableClass wide;
    VELD::Model model;
    VELD::ClassObject first, second;
    TAVI::Holder<StudioApp> app{new StudioApp};
    TAVI::Holder<PLATFORM::Studio> studio;
    PropBrowserComponent* browser = nullptr;

    Setup() {
        ensureBenchApplication("propbrowser_bench", true);
        VELD::MetaModelBuilder b("pbbench", kUri);
        b.addEnumeration("Mode", {"Off", "Slow", "Fast"});
        VELD::ClassSpec& wideSpec = b.addClass("Wide");
        for (int i = 0; i < kProperties; ++i)
            wideSpec.attribute("p" + std::to_string(i), typeOf(i));
        b.addClass("Holder").containment("items", "Wide");
        b.setModelClass("Holder");
        wide = b.build().getClass("Wide");
        WideDomain::get();
        model = VELD::DomainRegistry::instance().createModel(kUri);
        VELD::Transaction t(model);
        const VELD::ClassObject root = model.getRootObject();
        for (VELD::ClassObject* object : {&first, &second}) {
            *object = model.getFactory().createFromString("Wide");
            root.add(root.getMetaClass().getProperty("items"), *object);
            for (int i = 0; i < kProperties; ++i) {
                const VELD::ImmutableProperty p = wide.getProperty("p" + std::to_string(i));
                const std::string type = typeOf(i);
                const std::string text = type == "String"    ? "text " + std::to_string(i)
                                         : type == "Boolean" ? "true"
                                         : type == "Mode"    ? "Slow"
                                                             : std::to_string(i);
                object->setOrAdd(p, VELD::ValueObjectFactory::createFromString(
                                        type == "Mode" ? "pbbench.Mode" : type, text));
            }
        }
        t.commit();

        TAVI::ErrorHolder errors;
        studio = PLATFORM::Studio::spawnStudio(app.staticCast<PLATFORM::Application>(), errors);
        browser = dynamic_cast<PropBrowserComponent*>(
            studio->getFrameworkService()->getComponent(PropBrowserComponent::typeName, errors));
        browser->setDelegate(new ShowingDelegate);
        app->addModel(model);
        studio->show();
        settle();
    }
    static void settle() {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

Setup& setup() {
    static Setup* made = new Setup; // lives with the process, as the studio's framework does
    return *made;
}

void BM_ShowObjectWith200Properties(benchmark::State& state) {
    Setup& s = setup();
    bool second = false;
    for (auto _ : state) {
        s.browser->refresh(second ? s.second : s.first);
        Setup::settle();
        second = !second;
    }
    state.counters["rows"] = double(s.browser->getViewModel()->getTotalRowCount());
}
BENCHMARK(BM_ShowObjectWith200Properties)->Unit(benchmark::kMillisecond);

void BM_RefreshAfterOneEdit(benchmark::State& state) {
    Setup& s = setup();
    s.browser->refresh(s.first);
    Setup::settle();
    const VELD::ImmutableProperty edited = s.wide.getProperty("p101"); // an Integer
    std::int64_t n = 0;
    for (auto _ : state) {
        VELD::Transaction t(s.model);
        s.first.setInteger(edited, ++n);
        t.commit(); // the studio's event refreshes the browser before commit returns
        Setup::settle();
    }
    if (s.browser->testAPI_GetValueOfProperty(edited) != std::to_string(n))
        state.SkipWithError("the browser did not follow the edit");
    state.counters["rows"] = double(s.browser->getViewModel()->getTotalRowCount());
}
BENCHMARK(BM_RefreshAfterOneEdit)->Unit(benchmark::kMillisecond);

} // namespace
