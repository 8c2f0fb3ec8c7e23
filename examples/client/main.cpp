// The smallest studio: a meta-model of boxes on sheets, a domain that draws boxes as
// rectangles, and a studio window with the sheet's diagram in an editor. It prints what it
// opened and where its resources come from, then closes (--wait keeps the window open).

#include "application/Application.hpp"
#include "application/DomainRegistry.hpp"
#include "application/KiteDomain.hpp"
#include "editor/Editor.hpp"
#include "editor/Glyph.hpp"
#include "editor/GlyphFactory.hpp"
#include "platform/datamodel/Diagram.hpp"
#include "platform/orbis/Application.hpp"
#include "platform/orbis/Studio.hpp"
#include "platform/orbis/StudioFrameworkService.hpp"
#include "platform/tavi/ApplicationContext.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "platform/veld/Veld.hpp"
#include "platform/zeph/RectNode.hpp"
#include "platform/zeph/Scene.hpp"

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

// The library's default domain, for sheets and drawn by SheetGlyphs.
class SheetDomain : public KITE::KiteDomain {
public:
    TAVI::StringID getName() const override { return TAVI::StringID("SheetDomain"); }
    TAVI::StringID getModelClassFullName() const override { return TAVI::StringID("sheets.Sheet"); }
    KITE::GlyphFactory* getGlyphFactory() const override { return &glyphs; }

private:
    mutable SheetGlyphs glyphs;
};

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

    const TAVI::Holder<PLATFORM::Studio> studio = PLATFORM::Studio::spawnStudio(
        TAVI::Holder<PLATFORM::Application>(new PLATFORM::Application), errors);
    if (!studio || !check(errors))
        return 1;
    const TAVI::Holder<KITE::Application> application(new KITE::Application(model, studio.get()));
    const TAVI::Holder<KITE::Editor> editor(
        KITE::Editor::create(studio.get(), KITE::Editor::staticGetTypeName()));
    editor->setDiagram(diagram);
    editor->setApplication(application.get());
    editor->setGlyphFactory(domain->getGlyphFactory());
    editor->getDiagramSetSignal().send(editor->getDiagram(), NIMB::SendAutoAndWait);
    editor->observeModel(VELD::Model(editor->getDiagram().getModelVELD()));
    editor->populate();
    domain->installTools(editor.get());
    PLATFORM::StudioFrameworkService* framework = studio->getFrameworkService();
    framework->addComponent(TAVI::Holder<PLATFORM::StudioComponentBase>(editor.get()), errors);
    framework->addTab(editor.get(), diagram.getName(), true, errors);
    if (!check(errors))
        return 1;
    editor->postCreate();

    std::cout << "kite_client: a studio with the diagram \"" << diagram.getName() << "\" of "
              << editor->getGraphics()->getGlyphs().size() << " glyphs and "
              << editor->getTools().size() << " tools\n"
              << "kite_client: resources in "
              << TAVI::ApplicationContext::instance().getRootDirectory() << "\n";
    const int result = wait ? qtApplication.exec() : 0;
    studio->close();
    return result;
}
