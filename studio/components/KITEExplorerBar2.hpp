#pragma once

#include "platform/nimb/Emitter.hpp"
#include "platform/nimb/Listener.hpp"
#include "platform/tavi/StringID.hpp"
#include "platform/tavi2/GLEvents2.hpp"
#include "platform/tavi2/GLPanel2.hpp"
#include "studio/kite_studio_export.hpp"

#include <memory>
#include <string>
#include <vector>

namespace TAVI {
class GLBoxLayout2;
class GLEdit2;
class GLMenu2;
} // namespace TAVI

namespace KITE {

class ExplorerBarAction;
class ExplorerBarItem;
class TreeViewModel;

// The one-line path of the explorer bar: items for the rows from the top level down to the
// current row, each followed by an arrow that drops down its children, a filler that turns
// the bar into a field for typing a path, and a button with the visited paths. It shows the
// model tree's rows and changes nothing in them but loading children (expandRequested); what
// the user picks goes out as selectionChanged, and getCurrent tells which row.
class KITE_STUDIO_EXPORT KITEExplorerBar2 : public TAVI::GLPanel2, public NIMB::Listener {
public:
    explicit KITEExplorerBar2(const TAVI::StringID& toolkit, TAVI::GLWidget2* parent = nullptr);
    ~KITEExplorerBar2() override;

    // The rows whose children are needed, and the row the user went to.
    NIMB::Emitter<TAVI::GLTreeExpandEvent2> expandRequested;
    NIMB::Emitter<TAVI::GLViewSelectionChangeEvent2> selectionChanged;

    // Not owned; null shows nothing. Clears the history and starts at the root.
    void setViewModel(TreeViewModel* model);
    TreeViewModel* getViewModel() const { return model; }
    unsigned getCurrent() const { return current; }
    // Makes the row current (nothing for an unknown row or the current one), records its path
    // in the history and rebuilds.
    void setCurrent(unsigned rowUID);
    // setCurrent, then selectionChanged when the row changed.
    void navigateTo(unsigned rowUID);
    void rebuild();
    // Forgets the current row without a rebuild or a history entry.
    void resetCurrent() { current = 0; }

    // The labels of the rows from the top level down to the row, joined with "/".
    std::string getPath(unsigned rowUID) const;
    // The row a path names, going down from the root by exact labels, first match only; 0 when
    // it names none.
    unsigned resolvePath(const std::string& path);
    const std::vector<std::string>& getHistory() const { return history; }

    // What the user sees and clicks, for tests and hosts.
    const std::vector<ExplorerBarItem*>& getItems() const { return items; }
    bool isEditing() const { return editing; }
    TAVI::GLEdit2* getPathField() const { return field.get(); }
    // The last menu opened (children or history) and its entries; null before any.
    TAVI::GLMenu2* getMenu() const { return menu.get(); }
    std::vector<ExplorerBarAction*> getMenuActions() const;
    // Why the last typed path led nowhere; "" after any other rebuild.
    const std::string& getError() const { return error; }
    // Opens the field with the current path, as a click on the filler does.
    void startEditing();
    // Takes a typed path, as the field's edit does: goes there or shows the error.
    void takePath(const std::string& path);

private:
    enum class Role { Row, Arrow, Filler, History };
    ExplorerBarItem* addItem(unsigned rowUID, Role role);
    void itemClicked(TAVI::GLButtonClickEvent2 event);
    void actionTriggered(TAVI::GLActionTriggerEvent2 event);
    void fieldEdited(TAVI::GLEditEvent2 event);
    void fieldKey(TAVI::GLKeyEvent2 event);
    void dataChanged(TAVI::GLDataChangeEvent2 event);
    void showChildren(ExplorerBarItem* arrow);
    void showHistory();
    void openMenu();
    void popUp(int x, int y);
    void clearItems();
    std::string label(unsigned rowUID) const;

    TreeViewModel* model = nullptr; // not owned
    unsigned current = 0;
    std::vector<std::string> history;    // oldest first, each once
    std::vector<ExplorerBarItem*> items; // owned (through the panel)
    std::vector<Role> roles;             // of items
    bool editing = false;
    TAVI::GLBoxLayout2* layout; // owned by the panel
    std::unique_ptr<TAVI::GLEdit2> field;
    std::unique_ptr<TAVI::GLMenu2> menu;
    std::vector<std::unique_ptr<ExplorerBarAction>> actions; // of menu
    std::string error;
};

} // namespace KITE
