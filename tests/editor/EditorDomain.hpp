#pragma once

// The domain of the editor tests' block diagrams: editors opened by a studio application on
// a BlockModel's diagrams are plain kite editors, made through the studio application and
// drawn by the glyph factory a test hands the domain.

#include "application/DomainRegistry.hpp"
#include "application/KiteDomain.hpp"
#include "application/KiteDomainInterface.hpp"
#include "editor/Editor.hpp"
#include "platform/orbis/StudioComponentFactory.hpp"
#include "platform/orbis/StudioComponentFactoryManager.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "studio/StudioApp.hpp"
#include "tests/editor/EditorTestSupport.hpp"

namespace KITE::Test {

class EditorDomain : public KiteDomain {
public:
    static constexpr const char* editorType = "KITE:Editor";

    // Registered with the domain registry, and the factory of its editors with the framework,
    // on first use.
    static EditorDomain* get() {
        static EditorDomain* domain = [] {
            BlockDiagrams::get();
            auto* made = new EditorDomain;
            TAVI::ErrorHolder errors;
            DomainRegistry::instance()->registerDomain(TAVI::Holder<AbstractKiteDomain>(made),
                                                       errors);
            PLATFORM::StudioComponentFactoryManager::instance()->registerObject(
                TAVI::Holder<PLATFORM::StudioComponentFactory>(new PLATFORM::StudioComponentFactory(
                    TAVI::StringID(editorType),
                    [](PLATFORM::Studio* studio,
                       const std::string& name) -> PLATFORM::StudioComponentBase* {
                        return Editor::create(studio, name);
                    })),
                errors);
            return made;
        }();
        return domain;
    }

    TAVI::StringID getName() const override { return TAVI::StringID("EditorTestDomain"); }
    TAVI::StringID getModelClassFullName() const override {
        return TAVI::StringID("editorblocks.Sheet");
    }
    GlyphFactory* getGlyphFactory() const override { return glyphs; }
    void installTools(Editor* editor) const override {
        if (defaultTools)
            KiteDomain::installTools(editor);
    }
    PLATFORM::AbstractDomainInterface* createInterface(PLATFORM::Studio* studio) const override {
        return new Front(studio);
    }
    AbstractKiteDomainInterface* createKiteInterface(PLATFORM::Studio* studio) const override {
        return new Front(studio);
    }

    // What the next editors get; a test sets them before it opens one.
    GlyphFactory* glyphs = nullptr;
    bool defaultTools = false;

private:
    EditorDomain() = default;

    class Front : public KiteDomainInterface {
    public:
        explicit Front(PLATFORM::Studio* studio) : KiteDomainInterface(studio) {}
        PLATFORM::AbstractDomain* getDomain() const override { return get(); }
        Editor* createEditor(const Diagram& diagram, std::string name,
                             TAVI::ErrorHolder& errors) override {
            StudioAppLink* link = StudioAppLink::of(getStudio());
            StudioApp* app = link ? link->getStudioApp() : nullptr;
            Editor* editor =
                app ? app->createEditorOfType(getStudio(), diagram, editorType, name, errors)
                    : nullptr;
            if (editor)
                installTools(editor);
            return editor;
        }

    protected:
        AbstractKiteDomain* getKiteDomain() const override { return get(); }
    };
};

} // namespace KITE::Test
