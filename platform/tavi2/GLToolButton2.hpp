#pragma once

#include "platform/tavi/StringID.hpp"
#include "platform/tavi2/GLAbstractButton2.hpp"
#include "platform/tavi2/tavi2_export.hpp"

namespace TAVI {

class GLAction2;
class GLMenu2;

// A small button for tool bars and palettes: an icon, a label or both, optionally checkable,
// optionally opening a menu. Exclusive groups of tool buttons are made with GLButtonGroup2.
class TAVI2_EXPORT GLToolButton2 : public GLAbstractButton2 {
public:
    // How icon and label are shown; the numbers are those setStyle takes.
    enum Style { IconOnly = 0, TextOnly = 1, TextBesideIcon = 2, TextUnderIcon = 3 };
    // When the menu opens: after holding the button down, from an arrow beside it, or at once.
    enum PopupMode { DelayedPopup = 0, MenuButtonPopup = 1, InstantPopup = 2 };

    // Throws TypedException when toolkit is not "qt".
    explicit GLToolButton2(const StringID& toolkit, GLWidget2* parent = nullptr);
    ~GLToolButton2() override;

    // Throws TypedException for a style outside 0..3.
    void setStyle(int style);
    int getStyle() const;
    void setIconSize(int width, int height);
    Size getIconSize() const;
    void setAutoRaise(bool autoRaise);

    // The menu the button opens; the button owns it from then on. Null removes the menu (the
    // caller gets it back, as a top-level widget).
    void setMenu(GLMenu2* menu);
    GLMenu2* getMenu() const;
    // Throws TypedException for a mode outside 0..2.
    void setPopupMode(int mode);
    int getPopupMode() const;

    // Shows the action's label, icon, tool tip and state and triggers it when clicked.
    void setDefaultAction(GLAction2* action);
    GLAction2* getDefaultAction() const;
};

} // namespace TAVI
