#pragma once

#include "editor/kite_editor_export.hpp"
#include "platform/nimb/Listener.hpp"
#include "platform/tavi/Color.hpp"
#include "platform/tavi2/GLToolButton2.hpp"

#include <string>

namespace KITE {

// A checkable, exclusive palette button: checking it calls toggleOn, unchecking it toggleOff.
// A double click on the checked button asks doubleClick whether to stay checked; when it says
// yes the button turns red (the persistent colour) until it is unchecked. Subclasses decide
// what the button starts.
class KITE_EDITOR_EXPORT BasePaletteButtonToTool : public TAVI::GLToolButton2,
                                                   public NIMB::Listener {
public:
    // An empty label keeps the toolkit's default label; an empty icon file shows no icon.
    BasePaletteButtonToTool(const std::string& iconFile, const std::string& label);
    ~BasePaletteButtonToTool() override;

    // The foreground colour the button had when it was made, shown whenever it is not red.
    const TAVI::Color& defaultForegroundColor() const { return defaultForeground; }
    // Opaque red: the colour of a checked button whose tool stays after one use.
    const TAVI::Color& persistentColor() const { return persistentForeground; }

protected:
    // The button was checked.
    virtual void toggleOn() = 0;
    // The button was unchecked.
    virtual void toggleOff() = 0;
    // The checked button was double-clicked; true keeps it checked and red. False by default.
    virtual bool doubleClick();
    // The pointer left the button while a mouse button was down on it (the user drags out of
    // it); true checks the button. False by default.
    virtual bool dragOut();

    // Unchecks the button even where exclusivity would refuse it (the checked button of an
    // exclusive set cannot be unchecked by a click), and gives it its default colour back.
    void uncheck();

    void doToggle(const TAVI::GLButtonToggleEvent2& event);
    void doDoubleClick(const TAVI::GLMouseEvent2& event);
    void doMousePress(const TAVI::GLMouseEvent2& event);
    void doMouseRelease(const TAVI::GLMouseEvent2& event);
    void doLeave(const TAVI::GLWidgetEvent2& event);

private:
    void doClick(const TAVI::GLButtonClickEvent2& event);

    // Set by a double click; the toggle its second click causes is undone.
    bool doubleClicked = false;
    // While the state a double click changed is put back.
    bool restoring = false;
    bool pressed = false;
    TAVI::Color defaultForeground;
    TAVI::Color persistentForeground{1.0, 0.0, 0.0, 1.0};
};

} // namespace KITE
