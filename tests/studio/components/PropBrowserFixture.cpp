#include "tests/studio/components/PropBrowserFixture.hpp"

#include "application/DomainRegistry.hpp"
#include "application/KiteDomain.hpp"
#include "application/KiteDomainInterface.hpp"
#include "platform/orbis/StudioFrameworkService.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "platform/veld/DomainRegistry.hpp"
#include "platform/veld/MetaModelBuilder.hpp"
#include "platform/veld/Object.hpp"
#include "studio/components/PropBrowserEditor.hpp"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

namespace KITE::Test {

namespace {

constexpr const char* kUri = "test:propbrowser";

// The domain of plant models: no diagrams, so no editors.
class PlantDomain : public KiteDomain {
public:
    static PlantDomain* get() {
        static PlantDomain* domain = [] {
            PlantMeta::get();
            auto* made = new PlantDomain;
            TAVI::ErrorHolder errors;
            DomainRegistry::instance()->registerDomain(TAVI::Holder<AbstractKiteDomain>(made),
                                                       errors);
            errors.clear();
            PropBrowserComponent::registerFactory(errors);
            return made;
        }();
        return domain;
    }
    TAVI::StringID getName() const override { return TAVI::StringID("PlantTestDomain"); }
    TAVI::StringID getModelClassFullName() const override { return TAVI::StringID("pbtest.Plant"); }
    PLATFORM::AbstractDomainInterface* createInterface(PLATFORM::Studio* studio) const override {
        return new Front(studio);
    }
    AbstractKiteDomainInterface* createKiteInterface(PLATFORM::Studio* studio) const override {
        return new Front(studio);
    }

private:
    PlantDomain() = default;
    class Front : public KiteDomainInterface {
    public:
        explicit Front(PLATFORM::Studio* studio) : KiteDomainInterface(studio) {}
        PLATFORM::AbstractDomain* getDomain() const override { return get(); }

    protected:
        AbstractKiteDomain* getKiteDomain() const override { return get(); }
    };
};

} // namespace

const PlantMeta& PlantMeta::get() {
    static const PlantMeta m = [] {
        KITE::diagramMetaModel();
        VELD::MetaModelBuilder b("pbtest", kUri);
        b.addEnumeration("Colour", {"Red", "Green", "Blue"});
        b.addClass("Part").attribute("name", "String");
        b.addClass("Motor", {"Part"});
        b.addClass("Pump", {"Part"});
        b.addClass("Anonymous").attribute("size", "Integer");
        VELD::PropertySpec area{"area", "Double"};
        area.derived = true;
        area.deriver = [](const VELD::ImmutableClassObject&) {
            return std::vector<VELD::ImmutableObject>{VELD::ImmutableObject::fromDouble(1.0)};
        };
        VELD::PropertySpec serial{"serial", "String"};
        serial.readOnly = true;
        VELD::PropertySpec main{"main", "Part"};
        main.lowerBound = 1;
        b.addClass("Machine")
            .attribute("name", "String")
            .containment("parts", "Part")
            .property(area)
            .attribute("enabled", "Boolean")
            .attribute("count", "Integer")
            .attribute("weight", "Double")
            .attribute("limit", "UnlimitedNatural")
            .attribute("colour", "Colour")
            .attribute("tags", "String", true)
            .property(serial)
            .reference("drive", "Motor")
            .property(main)
            .reference("helper", "Anonymous")
            .reference("favourites", "Part", true)
            .attribute("notes", "String");
        b.addClass("Simple")
            .attribute("name", "String")
            .containment("parts", "Part")
            .property(area);
        b.addClass("Typed").reference("type", "VELD.Class");
        b.addClass("Plant")
            .containment("machines", "Machine")
            .containment("parts", "Part")
            .containment("others", "Anonymous")
            .containment("simples", "Simple")
            .containment("typed", "Typed")
            .containment("diagrams", "KITE.Diagram");
        b.setModelClass("Plant");
        PlantMeta r;
        r.package = b.build();
        r.plant = r.package.getClass("Plant");
        r.machine = r.package.getClass("Machine");
        r.part = r.package.getClass("Part");
        r.motor = r.package.getClass("Motor");
        r.pump = r.package.getClass("Pump");
        r.anonymous = r.package.getClass("Anonymous");
        r.simple = r.package.getClass("Simple");
        r.typed = r.package.getClass("Typed");
        for (auto [slot, name] : {std::pair{&r.name, "name"},
                                  {&r.parts, "parts"},
                                  {&r.area, "area"},
                                  {&r.enabled, "enabled"},
                                  {&r.count, "count"},
                                  {&r.weight, "weight"},
                                  {&r.limit, "limit"},
                                  {&r.colour, "colour"},
                                  {&r.tags, "tags"},
                                  {&r.serial, "serial"},
                                  {&r.drive, "drive"},
                                  {&r.main, "main"},
                                  {&r.helper, "helper"},
                                  {&r.favourites, "favourites"},
                                  {&r.notes, "notes"}})
            *slot = r.machine.getProperty(name);
        r.partName = r.part.getProperty("name");
        r.simpleName = r.simple.getProperty("name");
        r.typedType = r.typed.getProperty("type");
        return r;
    }();
    return m;
}

PlantModel::PlantModel() : model(VELD::DomainRegistry::instance().createModel(kUri)) {
    const PlantMeta& m = PlantMeta::get();
    VELD::Transaction t(model);
    press = make("Machine", "machines");
    mill = make("Machine", "machines");
    motor = make("Motor", "parts");
    pump = make("Pump", "parts");
    part = make("Part", "parts");
    anonymous = make("Anonymous", "others");
    press.setString(m.name, "press");
    mill.setString(m.name, "mill");
    motor.setString(m.partName, "Motor");
    pump.setString(m.partName, "Pump");
    part.setString(m.partName, "Frame");
    press.setBoolean(m.enabled, false);
    press.setInteger(m.count, 3);
    press.setDouble(m.weight, 2.5);
    press.set(m.colour, VELD::ValueObjectFactory::createFromString("pbtest.Colour", "Green"));
    for (const char* tag : {"a", "b", "c"})
        press.add(m.tags, VELD::ImmutableObject::fromString(tag));
    press.setObject(m.drive, motor);
    press.setObject(m.main, part);
    press.setString(m.notes, "plain");
    const KITE::Factory diagrams = KITE::Factory::createNewFactory(model);
    diagram = diagrams.createDiagram("loop");
    model.getRootObject().add(m.plant.getProperty("diagrams"), diagram);
    node = diagrams.createGraphNode();
    diagram.addContained(node);
    node.setPosition({10, 20});
    t.commit();
}

VELD::ClassObject PlantModel::make(const char* className, const char* slot) const {
    VELD::ClassObject made = model.getFactory().createFromString(className);
    const VELD::ClassObject root = model.getRootObject();
    root.add(root.getMetaClass().getProperty(slot), made);
    return made;
}

void PropBrowserTest::SetUp() {
    PlantDomain::get();
    TAVI::ErrorHolder errors;
    studio = PLATFORM::Studio::spawnStudio(app.staticCast<PLATFORM::Application>(), errors);
    ASSERT_TRUE(studio) << errors.what();
    browser = dynamic_cast<PropBrowserComponent*>(
        studio->getFrameworkService()->getComponent(PropBrowserComponent::typeName, errors));
    ASSERT_NE(browser, nullptr) << errors.what();
    // The browser on its own: the studio's model tree follows the editor with tree selections
    // of its own, which the browser would hear as well.
    if (PLATFORM::StudioComponentBase* tree =
            studio->getFrameworkService()->getComponent(StudioApp::treeComponentName, errors))
        studio->getFrameworkService()->removeComponent(tree, errors);
    errors.clear();
    browser->setDelegate(new ShowingDelegate);
    app->addModel(model);
    studio->show();
    settle();
}

void PropBrowserTest::TearDown() {
    if (studio)
        studio->close();
    studio.reset();
    settle();
}

void PropBrowserTest::settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

unsigned PropBrowserTest::rowOf(const VELD::ImmutableProperty& property, int index,
                                const VELD::ImmutableClassObject& object) const {
    return rows().findRow(object.isNull() ? VELD::ImmutableClassObject(rows().getObject()) : object,
                          property, index);
}

std::vector<std::string> PropBrowserTest::labels(unsigned parent) const {
    std::vector<std::string> texts;
    for (unsigned row : rows().getChildRows(parent))
        texts.push_back(rows().getText(row, rows().getNameColumn()));
    return texts;
}

void PropBrowserTest::expand(unsigned row) const {
    view().expand(row);
    settle();
}

PropBrowserEditor* PropBrowserTest::edit(unsigned row) const {
    view().scrollTo(row);
    if (!view().editCell(row, rows().getValueColumn()))
        return nullptr;
    return rows().getEditor(row);
}

void PropBrowserTest::finish(PropBrowserEditor* editor, bool commit) const {
    ASSERT_NE(editor, nullptr);
    QKeyEvent key(QEvent::KeyPress, commit ? Qt::Key_Return : Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(editor->getWidget()->getQWidget(), &key);
    settle();
}

void PropBrowserTest::select(const VELD::ImmutableClassObject& object) const {
    app->getTreeSelectionChangedEventService()->raise(
        TreeSelectionChangedEvent(object, "KITE tree component", SelectionTrigger::User));
}

} // namespace KITE::Test
