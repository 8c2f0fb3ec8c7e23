#pragma once

// An editor on the block model of EditorTestSupport.hpp with the default tools, opened by a
// studio application in its window, and helpers that drive the tools by injecting canvas
// events at scene points.

#include "application/KiteDomain.hpp"
#include "application/StudioAppLink.hpp"
#include "editor/DelegateToGlyphTool.hpp"
#include "editor/Editor.hpp"
#include "editor/MarqueeSelectionTool.hpp"
#include "editor/MoveTool.hpp"
#include "editor/ResizeBehavior.hpp"
#include "editor/SelectionTool.hpp"
#include "platform/nimb/Listener.hpp"
#include "platform/orbis/Application.hpp"
#include "platform/orbis/Studio.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "platform/veld/Report.hpp"
#include "platform/zeph/KeyEvent.hpp"
#include "platform/zeph/MouseEvent.hpp"
#include "studio/StudioApp.hpp"
#include "studio/events/StudioEvents.hpp"
#include "tests/editor/EditorDomain.hpp"
#include "tests/editor/EditorTestSupport.hpp"
#include "tests/support/EventRecorder.hpp"
#include "tests/support/Gestures.hpp"

#include <QCoreApplication>
#include <QEvent>

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <vector>

namespace TAVI {
// Readable points in failure messages.
inline void PrintTo(const GLPoint<double>& point, std::ostream* out) {
    *out << "(" << point.x << ", " << point.y << ")";
}
inline void PrintTo(const GLRect<double>& rect, std::ostream* out) {
    *out << "(" << rect.x << ", " << rect.y << " " << rect.width << "x" << rect.height << ")";
}
} // namespace TAVI

namespace KITE::Test {

using KiteTest::EventRecorder;

// The block model (a at (10, 10) 40x30 holding inner at (5, 5) 10x10, b at (200, 10) 40x30,
// the connection ab between them) in an editor with the default domain's default tools.
// On the scene: a covers (10, 10)-(50, 40), inner (15, 15)-(25, 25), b (200, 10)-(240, 40), and
// the connection runs along y = 25 from (30, 25) to (220, 25).
class EditorToolsTest : public ::testing::Test {
protected:
    void SetUp() override {
        EditorDomain::get()->glyphs = glyphFactory();
        EditorDomain::get()->defaultTools = true;
        TAVI::ErrorHolder errors;
        studio = PLATFORM::Studio::spawnStudio(app.staticCast<PLATFORM::Application>(), errors);
        ASSERT_TRUE(studio) << errors.what();
        editor = app->openEditor(blocks.diagram, errors);
        ASSERT_TRUE(editor) << errors.what();
        app->getEditorSelectionChangedEventService()->connect(
            &selectionEvents, &EventRecorder<EditorSelectionChangedEvent>::heard);
        app->getNavigateUpRequestService()->connect(&navigateUpRequests,
                                                    &EventRecorder<NavigateUpRequest>::heard);
    }

    void TearDown() override {
        editor.reset();
        studio->close();
        studio.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // Closes the editor as its studio does, and lets it go.
    void closeEditor() {
        TAVI::ErrorHolder errors;
        app->closeEditor(blocks.diagram, errors);
        editor.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // The factory the editor's glyphs come from; the block factory unless a test needs its own.
    virtual GlyphFactory* glyphFactory() { return &factory; }

    // The canvas bases' own roles, which their selection tool asks for.
    static TAVI::StringID marqueeRole() {
        return ZEPH::MarqueeSelectionTool::staticGetDefaultRole();
    }
    static TAVI::StringID moveRole() { return ZEPH::MoveTool::staticGetDefaultRole(); }
    static TAVI::StringID resizeRole() { return ZEPH::ResizeBehavior::staticGetDefaultRole(); }

    VELD::Model workingCopy() const { return VELD::Model(editor->getDiagram().getModelVELD()); }
    VELD::Model root() const { return blocks.model; }
    // The element as the working copy, or the model's root, shows it.
    DiagramElement inCopy(const DiagramElement& element) const {
        return element.asDeviant(workingCopy());
    }
    DiagramElement inRoot(const DiagramElement& element) const { return element.asDeviant(root()); }
    TAVI::GLPoint<double> copyPosition(const DiagramElement& element) const {
        return inCopy(element).getPosition();
    }
    TAVI::GLPoint<double> rootPosition(const DiagramElement& element) const {
        return inRoot(element).getPosition();
    }
    std::vector<DiagramElement> selection() const {
        std::vector<DiagramElement> elements;
        for (const DiagramElement& element : editor->getSelection())
            elements.push_back(element);
        return elements;
    }

    ZEPH::Scene& scene() const { return *editor->getScene(); }
    // Gestures at scene points on the editor's scene.
    KiteTest::SceneGestures& gestures() {
        if (!sceneGestures)
            sceneGestures.emplace(scene());
        return *sceneGestures;
    }
    void press(double x, double y, int modifiers = ZEPH::NoModifier) {
        gestures().press(x, y, modifiers);
    }
    void move(double x, double y, int modifiers = ZEPH::NoModifier) {
        gestures().move(x, y, modifiers);
    }
    void release(double x, double y, int modifiers = ZEPH::NoModifier) {
        gestures().release(x, y, modifiers);
    }
    void click(double x, double y, int modifiers = ZEPH::NoModifier) {
        gestures().click(x, y, modifiers);
    }
    void key(int code) { gestures().key(code); }
    // The tool on the stack under role, as its class; null when none.
    template <typename T> T* toolOfRole(const TAVI::StringID& role) const {
        return dynamic_cast<T*>(editor->getToolByRole(role).get());
    }

    BlockModel blocks;
    BoxGlyphFactory factory;
    TAVI::Holder<StudioApp> app{new StudioApp};
    TAVI::Holder<PLATFORM::Studio> studio;
    TAVI::Holder<Editor> editor;
    EventRecorder<EditorSelectionChangedEvent> selectionEvents;
    EventRecorder<NavigateUpRequest> navigateUpRequests;
    std::optional<KiteTest::SceneGestures> sceneGestures;
};

} // namespace KITE::Test
