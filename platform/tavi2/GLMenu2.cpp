#include "platform/tavi2/GLMenu2.hpp"

#include "platform/tavi/TypedException.hpp"
#include "platform/tavi2/GLAction2.hpp"
#include "platform/tavi2/QtConversions_p.hpp"
#include "platform/tavi2/QtTree_p.hpp"

#include <QAction>
#include <QMenu>

#include <memory>

namespace TAVI {

namespace {
QMenu* makeMenu(const StringID& toolkit) {
    checkToolkit(toolkit, "GLMenu2");
    return new QMenu;
}
QMenu* menu(const GLWidget2* widget) {
    return static_cast<QMenu*>(widget->getQWidget());
}
} // namespace

class GLMenu2Private {
public:
    std::unique_ptr<NIMB::Emitter<GLActionTriggerEvent2>> triggered;
    QObject context; // ends the Qt connections with the private object
};

GLMenu2::GLMenu2(const StringID& toolkit, GLWidget2* parent)
    : GLWidget2(makeMenu(toolkit), nullptr), d(new GLMenu2Private) {
    // A menu is a window of its own: keep its pop-up flags when it gets a parent.
    if (parent)
        menu(this)->setParent(parent->getQWidget(), menu(this)->windowFlags());
    QObject::connect(menu(this), &QMenu::triggered, &d->context, [this](QAction* action) {
        if (d->triggered)
            d->triggered->send(
                GLActionTriggerEvent2(GLAction2::fromQAction(action), action->isChecked()));
    });
}

GLMenu2::~GLMenu2() {
    delete d;
}

void GLMenu2::setTitle(const std::string& title) {
    menu(this)->setTitle(toQString(title));
}
std::string GLMenu2::getTitle() const {
    return fromQString(menu(this)->title());
}

void GLMenu2::addMenuItem(GLAction2* action) {
    if (!action)
        throw TypedException(TAVI_HERE, "GLMenu2::addMenuItem: null action");
    if (!action->getQAction()->parent())
        action->getQAction()->setParent(menu(this));
    menu(this)->addAction(action->getQAction());
}

GLAction2* GLMenu2::addMenuItem(const std::string& label) {
    auto* action = new GLAction2("qt", label, this);
    menu(this)->addAction(action->getQAction());
    return action;
}

void GLMenu2::addSeparator() {
    // Give the separator its toolkit object, so that getActions lists only toolkit actions.
    new GLAction2(menu(this)->addSeparator());
}

void GLMenu2::addSubMenu(GLMenu2* subMenu) {
    if (!subMenu || subMenu == this)
        throw TypedException(TAVI_HERE, "GLMenu2::addSubMenu: null menu or the menu itself");
    QMenu* qtSubMenu = menu(subMenu);
    // A menu that holds this one already would become its own ancestor: a loop of parents.
    if (isWidgetInside(menu(this), qtSubMenu))
        throw TypedException(TAVI_HERE, "GLMenu2::addSubMenu: the menu holds this one already");
    qtSubMenu->setParent(menu(this), qtSubMenu->windowFlags());
    new GLAction2(menu(this)->addMenu(qtSubMenu));
}

void GLMenu2::clear() {
    // QMenu::clear deletes only actions it owns; ours are its children too.
    menu(this)->clear();
}

std::vector<GLAction2*> GLMenu2::getActions() const {
    std::vector<GLAction2*> result;
    for (QAction* action : menu(this)->actions())
        if (GLAction2* owner = GLAction2::fromQAction(action))
            result.push_back(owner);
    return result;
}

void GLMenu2::popup(int x, int y) {
    menu(this)->popup(QPoint(x, y));
}

NIMB::Emitter<GLActionTriggerEvent2>& GLMenu2::getTriggerEmitter() {
    if (!d->triggered)
        d->triggered = std::make_unique<NIMB::Emitter<GLActionTriggerEvent2>>();
    return *d->triggered;
}

} // namespace TAVI
