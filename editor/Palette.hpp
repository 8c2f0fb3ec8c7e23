#pragma once

#include "editor/kite_editor_export.hpp"
#include "platform/nimb/Listener.hpp"
#include "platform/tavi2/GLEvents2.hpp"

#include <vector>

namespace TAVI {
class GLMenu2;
class GLToolBar2;
class GLWidget2;
} // namespace TAVI

namespace KITE {

class PalettePrivate;

// The tool bar beside a diagram editor's canvas: a vertical column of palette widgets (tool
// buttons, draggable palette objects) in the order the editor gives them. Its context menu
// shows or hides the buttons' labels; names are hidden to begin with.
//
// The tool bar owns the widgets. The palette owns the tool bar until the tool bar is placed in
// another widget (the editor's panel), which owns it from then on.
class KITE_EDITOR_EXPORT Palette : public NIMB::Listener {
public:
    Palette();
    virtual ~Palette();
    Palette(const Palette&) = delete;
    Palette& operator=(const Palette&) = delete;

    // Makes the tool bar and puts the widgets on it, in order; widgets is emptied. Null widgets
    // are skipped. A second call adds the widgets to the same tool bar.
    virtual void initialize(std::vector<TAVI::GLWidget2*> widgets);
    // The tool bar; null before initialize and once the tool bar has been destroyed.
    TAVI::GLToolBar2* getWidget() const;
    // The palette's widgets in order (those still alive).
    std::vector<TAVI::GLWidget2*> getPaletteWidgets() const;
    bool isShowingNames() const;
    // The context menu last popped up; null when none is open.
    TAVI::GLMenu2* getContextMenu() const;

protected:
    void doContextMenu(const TAVI::GLContextMenuEvent2& event);
    void doToggleNames(const TAVI::GLActionTriggerEvent2& event);

private:
    int buttonStyle() const;
    void dropContextMenu();

    PalettePrivate* d_func() { return d; }
    const PalettePrivate* d_func() const { return d; }
    PalettePrivate* d; // owned
};

} // namespace KITE
