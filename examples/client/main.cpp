// The smallest studio: a meta-model of boxes on sheets, a domain that draws boxes as
// rectangles, and a studio window whose studio application opens the sheet's diagram in an
// editor tab. It prints what it opened and where its resources come from, then closes (--wait
// keeps the window open).

#include "application/DomainRegistry.hpp"
#include "application/KiteDomain.hpp"
#include "application/KiteDomainInterface.hpp"
#include "editor/Editor.hpp"
#include "editor/Glyph.hpp"
#include "editor/GlyphFactory.hpp"
#include "platform/datamodel/Diagram.hpp"
#include "platform/orbis/Application.hpp"
#include "platform/orbis/Studio.hpp"
#include "platform/tavi/ApplicationContext.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "platform/veld/Veld.hpp"
#include "platform/zeph/RectNode.hpp"
#include "platform/zeph/Scene.hpp"
#include "studio/StudioApp.hpp"

#include <QApplication>
#include <QObject> // Qt's keywords stay on here: kite's headers do not need them off

#include <iostream>
#include <string>

namespace {

// Boxes on diagrams, held by a sheet (the model's root object).
void buildMetaModel() {
    KITE::diagramMetaModel();
    VELD::MetaModelBuilder builder("sheets", "example:sheets");
    builder.addClass("Box", {"KITE.GraphNode"});
    builder.addClass("Sheet").containment("diagrams", "KITE.Diagram");
    builder.setModelClass("Sheet");
    builder.build();
}

// A box is a rectangle at the element's position and size.
class BoxGlyph : public KITE::Glyph {
public:
    explicit BoxGlyph(const KITE::DiagramElement& element) : Glyph(element) {}
    void create() override {
        box = ZEPH::RectNode::create();
        box.setSelectable(true);
        box.setMovable(true);
        getScene()->addNode(box);
    }
    ZEPH::Node getRoot() const override { return box; }
    void update() override {
        const KITE::DiagramElement element = diagramElement();
        box.setRect({0, 0, element.getSize().x, element.getSize().y});
        box.setPosition(element.getPosition());
    }

private:
    ZEPH::RectNode box;
};

class SheetGlyphs : public KITE::GlyphFactory {
public:
    SheetGlyphs() : GlyphFactory(Table::forClass<SheetGlyphs>()) {
        registerCreator(VELD::DomainRegistry::instance().findClass("sheets.Box"),
                        Table::member(&SheetGlyphs::box));
    }
    TAVI::Holder<KITE::Glyph> box(KITE::DiagramElement element) {
        return TAVI::Holder<KITE::Glyph>(new BoxGlyph(element));
    }
};

class SheetDomain;

// The domain's face in one studio: it makes the sheet's editors, plain kite editors with the
// default tools; the studio application places them.
class SheetFront : public KITE::KiteDomainInterface {
public:
    SheetFront(PLATFORM::Studio* studio, const SheetDomain& domain);
    KITE::Editor* createEditor(const KITE::Diagram&, std::string name,
                               TAVI::ErrorHolder&) override {
        KITE::Editor* editor = KITE::Editor::create(getStudio(), name);
        installTools(editor);
        return editor;
    }

protected:
    KITE::AbstractKiteDomain* getKiteDomain() const override;

private:
    const SheetDomain& domain;
};

// The library's default domain, for sheets and drawn by SheetGlyphs.
class SheetDomain : public KITE::KiteDomain {
public:
    TAVI::StringID getName() const override { return TAVI::StringID("SheetDomain"); }
    TAVI::StringID getModelClassFullName() const override { return TAVI::StringID("sheets.Sheet"); }
    KITE::GlyphFactory* getGlyphFactory() const override { return &glyphs; }
    KITE::AbstractKiteDomainInterface*
    createKiteInterface(PLATFORM::Studio* studio) const override {
        return new SheetFront(studio, *this);
    }

private:
    mutable SheetGlyphs glyphs;
};

SheetFront::SheetFront(PLATFORM::Studio* studio, const SheetDomain& domain)
    : KiteDomainInterface(studio), domain(domain) {}

KITE::AbstractKiteDomain* SheetFront::getKiteDomain() const {
    return const_cast<SheetDomain*>(&domain); // the registry holds domains as mutable
}

// A sheet with one diagram of two boxes.
KITE::Diagram newSheet(VELD::Model& model) {
    model = VELD::DomainRegistry::instance().createModel("example:sheets");
    VELD::Transaction transaction(model);
    const VELD::ClassObject sheet = model.getRootObject();
    const KITE::Diagram diagram = KITE::Factory::createNewFactory(model).createDiagram("boxes");
    sheet.add(sheet.getMetaClass().getProperty("diagrams"), diagram);
    for (double x : {20.0, 180.0}) {
        KITE::GraphNode box(model.getFactory().createFromString("Box"));
        diagram.addContained(box);
        box.setPosition({x, 40});
        box.setSize({120, 60});
    }
    transaction.commit();
    return diagram;
}

bool check(const TAVI::ErrorHolder& errors) {
    if (errors.hasError())
        std::cerr << "kite_client: " << errors.what() << "\n";
    return !errors.hasError();
}

} // namespace

int main(int argc, char** argv) {
    QApplication qtApplication(argc, argv);
    const bool wait = argc > 1 && std::string(argv[1]) == "--wait";

    buildMetaModel();
    TAVI::ErrorHolder errors;
    const TAVI::Holder<SheetDomain> domain(new SheetDomain);
    KITE::DomainRegistry::instance()->registerDomain(domain, errors);
    if (!check(errors))
        return 1;
    VELD::Model model;
    const KITE::Diagram diagram = newSheet(model);

    // The studio application runs the window: it adds the model, asks the sheet's domain for
    // an editor and puts it in a tab.
    const TAVI::Holder<KITE::StudioApp> app(new KITE::StudioApp);
    const TAVI::Holder<PLATFORM::Studio> studio =
        PLATFORM::Studio::spawnStudio(app.staticCast<PLATFORM::Application>(), errors);
    if (!studio || !check(errors))
        return 1;
    KITE::Editor* editor = app->openEditor(diagram, errors);
    if (!editor) {
        std::cerr << "kite_client: no editor: " << errors.what() << "\n";
        return 1;
    }

    std::cout << "kite_client: a studio with the diagram \"" << diagram.getName() << "\" of "
              << editor->getGraphics()->getGlyphs().size() << " glyphs and "
              << editor->getTools().size() << " tools\n"
              << "kite_client: resources in "
              << TAVI::ApplicationContext::instance().getRootDirectory() << "\n";
    const int result = wait ? qtApplication.exec() : 0;
    studio->close();
    return result;
}
