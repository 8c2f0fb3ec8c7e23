#pragma once

#include "platform/orbis/StudioComponentBase.hpp"
#include "platform/tavi2/GLEvents2.hpp"
#include "studio/events/StudioEvents.hpp"
#include "studio/kite_studio_export.hpp"

#include <string>

namespace TAVI {
class ErrorHolder;
}

namespace KITE {

class KITEExplorerBar2;
class StudioApp;
class TreeComponent;
class TreeViewModel;

// The explorer bar of an editor: the path to the model tree's selection, on the tree's own
// rows. What the user picks goes out as a tree selection under the tree's name, so the tree,
// the property browser and every other listener follow. An editor that wants one makes it
// through StudioApp::getOrCreateComponent and hands it out from Editor::getExplorerBar; only
// the bar of the active editor follows the tree.
class KITE_STUDIO_EXPORT ExplorerBarComponent : public PLATFORM::StudioComponentBase {
public:
    static constexpr const char* typeName = "KITE ExplorerBar component";

    static ExplorerBarComponent* create(PLATFORM::Studio* studio, const std::string& name);
    static bool registerFactory(TAVI::ErrorHolder& errors);
    static std::string staticGetTypeName() { return typeName; }

    ~ExplorerBarComponent() override;
    void initialize(TAVI::ErrorHolder& errors) override;
    void terminate(TAVI::ErrorHolder& errors) override;
    TAVI::GLWidget2* getWidget() override;
    std::string getDisplayTitle() const override; // "Explorer Bar"
    std::string getTypeName() const override;

    KITEExplorerBar2* getBar() const { return bar; }
    TreeComponent* getTree() const { return tree; }

    void handleTreeExpand(TAVI::GLTreeExpandEvent2 event);
    void handleTreeSelectionChanged(TAVI::GLViewSelectionChangeEvent2 event);
    void handleActiveEditorChanged(ActiveEditorChangedEvent event); // nothing
    void handleTreeSelectionChangeEvent(TreeSelectionChangedEvent event);

protected:
    ExplorerBarComponent(PLATFORM::Studio* studio, const std::string& name);

private:
    TreeViewModel* getTreeViewModel() const;
    void setTreeViewModel(TreeViewModel* model);

    KITEExplorerBar2* bar = nullptr; // owned
    TreeComponent* tree = nullptr;   // not owned: the studio's
    StudioApp* studioApp;            // not owned
};

} // namespace KITE
