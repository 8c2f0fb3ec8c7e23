#include "tests/studio/components/PresentationTestModel.hpp"

#include "platform/datamodel/Diagram.hpp"

using namespace VELD;

const PresentationModel& PresentationModel::get() {
    static const PresentationModel m = [] {
        KITE::diagramMetaModel();
        MetaModelBuilder b("pres", uri);
        b.addClass("Block").attribute("name", "String");
        b.addClass("Nameless").attribute("size", "Integer");
        b.addClass("DerivedNamed", {"Block"}).attribute("size", "Integer");
        PropertySpec brokenName{"name", "String"};
        brokenName.derived = true;
        brokenName.deriver = [](const ImmutableClassObject&) -> std::vector<ImmutableObject> {
            throw Exception("Broken::name: cannot be computed");
        };
        b.addClass("Broken").property(brokenName);
        b.addClass("Numbered").attribute("name", "Integer");
        b.addClass("Box")
            .attribute("name", "String")
            .containment("parts", "Box")
            .reference("favourites", "Box", true)
            .attribute("tags", "String", true)
            .containment("owned", "Box");
        b.addClass("System")
            .containment("blocks", "Block")
            .containment("others", "Nameless")
            .containment("broken", "Broken")
            .containment("numbered", "Numbered")
            .containment("boxes", "Box")
            .containment("diagrams", "KITE.Diagram");
        b.setModelClass("System");
        PresentationModel r;
        r.package = b.build();
        r.system = r.package.getClass("System");
        r.block = r.package.getClass("Block");
        r.nameless = r.package.getClass("Nameless");
        r.derivedNamed = r.package.getClass("DerivedNamed");
        r.broken = r.package.getClass("Broken");
        r.numbered = r.package.getClass("Numbered");
        r.box = r.package.getClass("Box");
        r.blockName = r.block.getProperty("name");
        r.boxParts = r.box.getProperty("parts");
        r.boxFavourites = r.box.getProperty("favourites");
        r.boxTags = r.box.getProperty("tags");
        r.boxOwned = r.box.getProperty("owned");
        return r;
    }();
    return m;
}

Model PresentationModel::newModel() const {
    return DomainRegistry::instance().createModel(uri);
}

ClassObject PresentationModel::make(const Model& model, const char* className) const {
    ClassObject o = model.getFactory().createFromString(className);
    const ClassObject root = model.getRootObject();
    const ImmutableClass cls = o.getMetaClass();
    for (const char* slot : {"blocks", "others", "broken", "numbered", "boxes", "diagrams"}) {
        const ImmutableProperty p = system.getProperty(slot);
        if (isa(cls, ImmutableClass(p.getType()))) {
            root.add(p, o);
            break;
        }
    }
    return o;
}
