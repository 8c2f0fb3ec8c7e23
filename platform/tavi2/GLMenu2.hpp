#pragma once

#include "platform/tavi/StringID.hpp"
#include "platform/tavi2/GLWidget2.hpp"
#include "platform/tavi2/tavi2_export.hpp"

#include <string>
#include <vector>

namespace TAVI {

class GLAction2;
class GLMenu2Private;

// A pop-up menu of actions, separators and sub-menus.
class TAVI2_EXPORT GLMenu2 : public GLWidget2 {
public:
    // Throws TypedException when toolkit is not "qt".
    explicit GLMenu2(const StringID& toolkit, GLWidget2* parent = nullptr);
    ~GLMenu2() override;

    void setTitle(const std::string& title);
    std::string getTitle() const;

    // Adds an action at the end; an action that belongs to no widget becomes the menu's.
    // Throws TypedException for null.
    void addMenuItem(GLAction2* action);
    // Makes an action of the menu's with that label and adds it.
    GLAction2* addMenuItem(const std::string& label);
    void addSeparator();
    // Adds a sub-menu, which belongs to this menu from then on; throws TypedException for
    // null, for the menu itself and for a menu this one is inside.
    void addSubMenu(GLMenu2* menu);
    // Removes and, when they are the menu's own, deletes all items.
    void clear();

    // The actions in order: menu items, separators and the entries of sub-menus.
    std::vector<GLAction2*> getActions() const;

    // Shows the menu with its top-left corner at a screen position and returns at once.
    void popup(int x, int y);

    // Sent when any of the menu's actions is triggered, after the action's own signal.
    NIMB::Emitter<GLActionTriggerEvent2>& getTriggerEmitter();

private:
    GLMenu2Private* d; // owned
};

} // namespace TAVI
