#pragma once

#include "platform/nimb/Emitter.hpp"
#include "platform/tavi/Icon.hpp"
#include "platform/tavi/StringID.hpp"
#include "platform/tavi2/GLEvents2.hpp"
#include "platform/tavi2/tavi2_export.hpp"

#include <string>

class QAction;

namespace TAVI {

class GLAction2Private;
class GLWidget2;

// A command the user can trigger from menus, tool bars and tool buttons, each showing its
// label, icon and tool tip. An action owns its Qt action and lives as long as it does: an
// action made with a parent widget (or added to a menu without one) goes with that widget.
class TAVI2_EXPORT GLAction2 {
public:
    // Throws TypedException when toolkit is not "qt".
    explicit GLAction2(const StringID& toolkit, GLWidget2* parent = nullptr);
    GLAction2(const StringID& toolkit, const std::string& label, GLWidget2* parent = nullptr);
    virtual ~GLAction2();
    GLAction2(const GLAction2&) = delete;
    GLAction2& operator=(const GLAction2&) = delete;

    QAction* getQAction() const;
    // The toolkit action that owns a Qt action; null when none does.
    static GLAction2* fromQAction(const QAction* action);
    // Gives the action to a widget (null: to nobody, the caller deletes it).
    void setParent(GLWidget2* parent);

    void setLabel(const std::string& label);
    std::string getLabel() const;
    void setIcon(const Icon& icon);
    Icon getIcon() const;
    void setToolTip(const std::string& text);
    std::string getToolTip() const;
    void setCheckable(bool checkable);
    bool isCheckable() const;
    // Changes the state without triggering the action.
    void setChecked(bool checked);
    bool isChecked() const;
    void setEnabled(bool enabled);
    bool isEnabled() const;
    void setVisible(bool visible);
    bool isVisible() const;
    bool isSeparator() const;

    // Acts as if the user chose the action (a disabled action does nothing).
    void trigger();

    // Sent each time the action is triggered, with its state afterwards.
    NIMB::Emitter<GLActionTriggerEvent2>& getTriggerEmitter();

private:
    friend class GLMenu2;
    friend class GLToolBar2;
    explicit GLAction2(QAction* adopted); // a separator or other action Qt made
    GLAction2Private* d;                  // owned
};

} // namespace TAVI
