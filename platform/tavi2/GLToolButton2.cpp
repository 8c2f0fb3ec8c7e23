#include "platform/tavi2/GLToolButton2.hpp"

#include "platform/tavi/TypedException.hpp"
#include "platform/tavi2/GLAction2.hpp"
#include "platform/tavi2/GLMenu2.hpp"
#include "platform/tavi2/QtConversions_p.hpp"

#include <QMenu>
#include <QToolButton>

#include <string>

namespace TAVI {

namespace {
QToolButton* makeToolButton(const StringID& toolkit) {
    checkToolkit(toolkit, "GLToolButton2");
    return new QToolButton;
}
QToolButton* tool(const GLWidget2* widget) {
    return static_cast<QToolButton*>(widget->getQWidget());
}
} // namespace

GLToolButton2::GLToolButton2(const StringID& toolkit, GLWidget2* parent)
    : GLAbstractButton2(makeToolButton(toolkit), parent) {}

GLToolButton2::~GLToolButton2() = default;

void GLToolButton2::setStyle(int style) {
    // The styles' numbers are those of Qt::ToolButtonStyle.
    if (style < IconOnly || style > TextUnderIcon)
        throw TypedException(TAVI_HERE,
                             "GLToolButton2::setStyle: unknown style " + std::to_string(style));
    tool(this)->setToolButtonStyle(static_cast<Qt::ToolButtonStyle>(style));
}

int GLToolButton2::getStyle() const {
    return tool(this)->toolButtonStyle();
}
void GLToolButton2::setIconSize(int width, int height) {
    tool(this)->setIconSize(QSize(width, height));
}
Size GLToolButton2::getIconSize() const {
    const QSize size = tool(this)->iconSize();
    return Size{size.width(), size.height()};
}
void GLToolButton2::setAutoRaise(bool autoRaise) {
    tool(this)->setAutoRaise(autoRaise);
}

void GLToolButton2::setMenu(GLMenu2* menu) {
    QMenu* old = tool(this)->menu();
    if (menu && static_cast<QWidget*>(old) == menu->getQWidget())
        return;
    tool(this)->setMenu(nullptr);
    if (old && old->parentWidget() == tool(this))
        old->setParent(nullptr, old->windowFlags());
    if (!menu)
        return;
    auto* qtMenu = static_cast<QMenu*>(menu->getQWidget());
    qtMenu->setParent(tool(this), qtMenu->windowFlags());
    tool(this)->setMenu(qtMenu);
}

GLMenu2* GLToolButton2::getMenu() const {
    return static_cast<GLMenu2*>(GLWidget2::fromQWidget(tool(this)->menu()));
}

void GLToolButton2::setPopupMode(int mode) {
    // The modes' numbers are those of QToolButton::ToolButtonPopupMode.
    if (mode < DelayedPopup || mode > InstantPopup)
        throw TypedException(TAVI_HERE,
                             "GLToolButton2::setPopupMode: unknown mode " + std::to_string(mode));
    tool(this)->setPopupMode(static_cast<QToolButton::ToolButtonPopupMode>(mode));
}

int GLToolButton2::getPopupMode() const {
    return tool(this)->popupMode();
}

void GLToolButton2::setDefaultAction(GLAction2* action) {
    tool(this)->setDefaultAction(action ? action->getQAction() : nullptr);
}

GLAction2* GLToolButton2::getDefaultAction() const {
    return GLAction2::fromQAction(tool(this)->defaultAction());
}

} // namespace TAVI
