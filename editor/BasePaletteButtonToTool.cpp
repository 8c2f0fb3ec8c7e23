#include "editor/BasePaletteButtonToTool.hpp"

#include "platform/nimb/ConnectionImpl.hpp"
#include "platform/nimb/ConnectionLock.hpp"
#include "platform/tavi/Icon.hpp"

namespace KITE {

BasePaletteButtonToTool::BasePaletteButtonToTool(const std::string& iconFile,
                                                 const std::string& label)
    : TAVI::GLToolButton2("qt") {
    if (!iconFile.empty())
        setIcon(TAVI::Icon(iconFile, 0, 0));
    setCheckable(true);
    setStyle(TextBesideIcon);
    setExclusive(true);
    if (!label.empty())
        setLabel(label);
    defaultForeground = getColor(ForegroundColor);

    using Self = BasePaletteButtonToTool;
    NIMB::ConnectionWriteLocker locker;
    new NIMB::ConnectionImpl1<Self, TAVI::GLButtonToggleEvent2>(this, getToggleEmitter(), nullptr,
                                                                &Self::doToggle);
    new NIMB::ConnectionImpl1<Self, TAVI::GLButtonClickEvent2>(this, getClickEmitter(), nullptr,
                                                               &Self::doClick);
    new NIMB::ConnectionImpl1<Self, TAVI::GLMouseEvent2>(this, getMouseDoubleClickEmitter(),
                                                         nullptr, &Self::doDoubleClick);
    new NIMB::ConnectionImpl1<Self, TAVI::GLMouseEvent2>(this, getMousePressEmitter(), nullptr,
                                                         &Self::doMousePress);
    new NIMB::ConnectionImpl1<Self, TAVI::GLMouseEvent2>(this, getMouseReleaseEmitter(), nullptr,
                                                         &Self::doMouseRelease);
    new NIMB::ConnectionImpl1<Self, TAVI::GLWidgetEvent2>(this, getWidgetEventEmitter(), nullptr,
                                                          &Self::doLeave);
}

BasePaletteButtonToTool::~BasePaletteButtonToTool() {
    // No handler may run on a button half taken apart.
    disconnect();
}

bool BasePaletteButtonToTool::doubleClick() {
    return false;
}

bool BasePaletteButtonToTool::dragOut() {
    return false;
}

void BasePaletteButtonToTool::uncheck() {
    const bool exclusive = isExclusive();
    setExclusive(false);
    setChecked(false);
    setExclusive(exclusive);
    setColor(ForegroundColor, defaultForeground);
}

void BasePaletteButtonToTool::doToggle(const TAVI::GLButtonToggleEvent2& event) {
    if (restoring)
        return;
    if (doubleClicked) {
        // The second click of a double click toggled the button; put the state back without
        // starting or ending anything, since the first click did that already.
        doubleClicked = false;
        restoring = true;
        setChecked(!event.isChecked());
        restoring = false;
        return;
    }
    if (!event.isChecked()) {
        toggleOff();
        setColor(ForegroundColor, defaultForeground);
    } else {
        toggleOn();
    }
}

void BasePaletteButtonToTool::doDoubleClick(const TAVI::GLMouseEvent2&) {
    doubleClicked = true;
    if (isChecked() && doubleClick())
        setColor(ForegroundColor, persistentForeground);
}

void BasePaletteButtonToTool::doClick(const TAVI::GLButtonClickEvent2&) {
    // The click that ends a double click comes after the toggle it caused, if it caused one:
    // the checked button of an exclusive set does not toggle, and the flag must not outlive
    // the double click to undo some later toggle (one made by checking a sibling, say).
    doubleClicked = false;
}

void BasePaletteButtonToTool::doMousePress(const TAVI::GLMouseEvent2&) {
    // A new click; a double click released off the button left its flag behind.
    doubleClicked = false;
    pressed = true;
}

void BasePaletteButtonToTool::doMouseRelease(const TAVI::GLMouseEvent2&) {
    pressed = false;
}

void BasePaletteButtonToTool::doLeave(const TAVI::GLWidgetEvent2& event) {
    if (event.type() != TAVI::GLWidgetEvent2::Left)
        return;
    // The pointer goes elsewhere: any toggle from now on is not this double click's.
    doubleClicked = false;
    if (pressed && dragOut())
        setChecked(true);
    pressed = false;
}

} // namespace KITE
