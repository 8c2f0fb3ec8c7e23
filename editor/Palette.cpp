#include "editor/Palette.hpp"

#include "editor/Palette_p.hpp"
#include "platform/nimb/ConnectionImpl.hpp"
#include "platform/nimb/ConnectionLock.hpp"
#include "platform/tavi2/GLAction2.hpp"
#include "platform/tavi2/GLMenu2.hpp"
#include "platform/tavi2/GLToolBar2.hpp"
#include "platform/tavi2/GLToolButton2.hpp"

namespace KITE {

namespace {
template <class T> T* owner(const QPointer<QWidget>& widget) {
    return static_cast<T*>(TAVI::GLWidget2::fromQWidget(widget.data()));
}
} // namespace

Palette::Palette() : d(new PalettePrivate(this)) {}

Palette::~Palette() {
    disconnect();
    dropContextMenu();
    // A tool bar that was never placed is still the palette's.
    if (TAVI::GLToolBar2* bar = getWidget(); bar && !bar->getParent())
        delete bar;
    delete d;
}

void Palette::initialize(std::vector<TAVI::GLWidget2*> widgets) {
    TAVI::GLToolBar2* bar = getWidget();
    if (!bar) {
        bar = new TAVI::GLToolBar2("qt");
        bar->setOrientation(TAVI::GLToolBar2::Vertical);
        d->toolBar = bar->getQWidget();
        NIMB::ConnectionWriteLocker locker;
        new NIMB::ConnectionImpl1<Palette, TAVI::GLContextMenuEvent2>(
            this, bar->getContextMenuEmitter(), nullptr, &Palette::doContextMenu);
    }
    const int style = buttonStyle();
    for (TAVI::GLWidget2* widget : widgets) {
        if (!widget)
            continue;
        bar->addWidget(widget);
        d->widgets.emplace_back(widget->getQWidget());
        if (auto* button = dynamic_cast<TAVI::GLToolButton2*>(widget))
            button->setStyle(style);
    }
    bar->adjustSize();
    widgets.clear();
}

TAVI::GLToolBar2* Palette::getWidget() const {
    return owner<TAVI::GLToolBar2>(d->toolBar);
}

std::vector<TAVI::GLWidget2*> Palette::getPaletteWidgets() const {
    std::vector<TAVI::GLWidget2*> result;
    for (const QPointer<QWidget>& widget : d->widgets)
        if (TAVI::GLWidget2* alive = owner<TAVI::GLWidget2>(widget))
            result.push_back(alive);
    return result;
}

bool Palette::isShowingNames() const {
    return d->showNames;
}

TAVI::GLMenu2* Palette::getContextMenu() const {
    return owner<TAVI::GLMenu2>(d->contextMenu);
}

int Palette::buttonStyle() const {
    return d->showNames ? TAVI::GLToolButton2::TextBesideIcon : TAVI::GLToolButton2::IconOnly;
}

void Palette::dropContextMenu() {
    // Deferred: the menu may be the one whose entry is being handled.
    if (TAVI::GLMenu2* menu = getContextMenu())
        menu->destroy();
    d->contextMenu = nullptr;
}

void Palette::doContextMenu(const TAVI::GLContextMenuEvent2& event) {
    dropContextMenu();
    auto* menu = new TAVI::GLMenu2("qt", getWidget());
    d->contextMenu = menu->getQWidget();
    TAVI::GLAction2* toggle = menu->addMenuItem(d->showNames ? "hide names" : "show names");
    {
        NIMB::ConnectionWriteLocker locker;
        new NIMB::ConnectionImpl1<Palette, TAVI::GLActionTriggerEvent2>(
            this, toggle->getTriggerEmitter(), nullptr, &Palette::doToggleNames);
    }
    menu->popup(event.globalX(), event.globalY());
}

void Palette::doToggleNames(const TAVI::GLActionTriggerEvent2&) {
    d->showNames = !d->showNames;
    const int style = buttonStyle();
    for (TAVI::GLWidget2* widget : getPaletteWidgets())
        if (auto* button = dynamic_cast<TAVI::GLToolButton2*>(widget))
            button->setStyle(style);
    dropContextMenu();
}

} // namespace KITE
