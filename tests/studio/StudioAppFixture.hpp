#pragma once

// A real studio window run by a studio application, on the editor tests' block model, whose
// domain (EditorDomain) makes plain editors; and a log of the studio's events in order.

#include "editor/Editor.hpp"
#include "platform/nimb/Listener.hpp"
#include "platform/nimb/Thread.hpp"
#include "platform/orbis/Studio.hpp"
#include "platform/orbis/StudioFrameworkService.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "studio/StudioApp.hpp"
#include "tests/editor/EditorDomain.hpp"

#include <QCoreApplication>
#include <QEvent>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace KITE::Test {

// A studio application whose open type a test chooses; a window it spawns opens in tabs.
class OpenTypeStudioApp : public StudioApp {
public:
    explicit OpenTypeStudioApp(EditorOpenType type = EditorOpenType::NEW_TAB) : type(type) {}
    StudioApp* spawnApplication() const override { return new OpenTypeStudioApp; }
    EditorOpenType internalGetEditorOpenType() const override { return type; }
    void internalSetEditorOpenType(EditorOpenType openType) override { type = openType; }

private:
    EditorOpenType type;
};

// Every event of one studio application, in order: "ModelAdded", "EditorClosed 1" (with the
// number of editors), ... A hook runs after each entry, as a component's handler would.
class EventLog : public NIMB::Listener {
public:
    void listen(StudioApp& app) {
        NIMB::Thread* here = NIMB::Thread::getCurrentThread();
        app.getTransactionCompletedEventService()->connect(this, &EventLog::transaction, here);
        app.getModelAddedEventService()->connect(this, &EventLog::added, here);
        app.getModelRemovedEventService()->connect(this, &EventLog::removed, here);
        app.getEditorClosedEventService()->connect(this, &EventLog::closed, here);
        app.getActiveEditorChangedEventService()->connect(this, &EventLog::active, here);
        app.getStudioClosedEventService()->connect(this, &EventLog::studioClosed, here);
        app.getTreeSelectionChangedEventService()->connect(this, &EventLog::tree, here);
        NIMB::ConnectionWriteLocker lock;
        new NIMB::ConnectionImpl1<EventLog, boost::shared_ptr<GetIconBase>>(
            this, app.getIconControllerChangedSignal(), here, &EventLog::presentation<GetIconBase>);
        new NIMB::ConnectionImpl1<EventLog, boost::shared_ptr<ElementDescriberBase>>(
            this, app.getElementDescriberChangedSignal(), here,
            &EventLog::presentation<ElementDescriberBase>);
    }
    int count(const std::string& entry) const {
        return int(std::count(entries.begin(), entries.end(), entry));
    }

    std::vector<std::string> entries;
    std::function<void(const std::string&)> hook;
    std::vector<EditorClosedEvent> closedEvents;
    std::vector<TreeSelectionChangedEvent> treeEvents;
    int presentationChanges = 0; // icon controller and element describer signals

private:
    void log(const std::string& entry) {
        entries.push_back(entry);
        if (hook)
            hook(entry);
    }
    void transaction(TransactionCompletedEvent) { log("TransactionCompleted"); }
    void added(ModelAddedEvent) { log("ModelAdded"); }
    void removed(ModelRemovedEvent) { log("ModelRemoved"); }
    void closed(EditorClosedEvent e) {
        closedEvents.push_back(e);
        log("EditorClosed " + std::to_string(e.getEditors().size()));
    }
    void active(ActiveEditorChangedEvent) { log("ActiveEditorChanged"); }
    void studioClosed(StudioClosedEvent) { log("StudioClosed"); }
    template <typename Strategy> void presentation(boost::shared_ptr<Strategy>) {
        ++presentationChanges;
    }
    void tree(TreeSelectionChangedEvent e) {
        treeEvents.push_back(e);
        log("TreeSelectionChanged");
    }
};

class StudioAppTest : public ::testing::Test {
protected:
    void SetUp() override {
        EditorDomain::get()->glyphs = &factory;
        EditorDomain::get()->defaultTools = false;
        TAVI::ErrorHolder errors;
        studio = PLATFORM::Studio::spawnStudio(app.staticCast<PLATFORM::Application>(), errors);
        ASSERT_TRUE(studio) << errors.what();
        log.listen(*app);
    }
    void TearDown() override {
        log.disconnect();
        studio->close();
        studio.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    PLATFORM::StudioFrameworkService& framework() const { return *studio->getFrameworkService(); }
    Editor* open(const Diagram& diagram, StudioApp* in = nullptr) {
        TAVI::ErrorHolder errors;
        Editor* editor = (in ? in : app.get())->openEditor(diagram, errors);
        EXPECT_FALSE(errors.hasError()) << errors.what();
        return editor;
    }
    std::uint32_t tabOf(const Editor* editor) const {
        TAVI::ErrorHolder ignored;
        return framework().getTabIndex(editor, ignored);
    }
    std::uint32_t currentTab() const {
        TAVI::ErrorHolder ignored;
        return framework().getCurrentTabIndex(ignored);
    }
    // Whether the editor's working copy is gone from the model: the editor was destroyed.
    static bool destroyed(const VELD::Model& model, const std::string& workingCopy) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return model.getDeviantWithName(workingCopy).isNull();
    }

    BlockModel blocks;
    BoxGlyphFactory factory;
    TAVI::Holder<OpenTypeStudioApp> app{new OpenTypeStudioApp};
    TAVI::Holder<PLATFORM::Studio> studio;
    EventLog log;
};

} // namespace KITE::Test
