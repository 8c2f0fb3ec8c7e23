#include "platform/tavi2/GLToolBar2.hpp"

#include "platform/tavi/TypedException.hpp"
#include "platform/tavi2/GLAction2.hpp"
#include "platform/tavi2/QtConversions_p.hpp"
#include "platform/tavi2/QtTree_p.hpp"

#include <QAction>
#include <QToolBar>

#include <string>

namespace TAVI {

namespace {
QToolBar* makeToolBar(const StringID& toolkit) {
    checkToolkit(toolkit, "GLToolBar2");
    return new QToolBar;
}
QToolBar* bar(const GLWidget2* widget) {
    return static_cast<QToolBar*>(widget->getQWidget());
}
} // namespace

GLToolBar2::GLToolBar2(const StringID& toolkit, GLWidget2* parent)
    : GLWidget2(makeToolBar(toolkit), parent) {}
GLToolBar2::~GLToolBar2() = default;

void GLToolBar2::setOrientation(int orientation) {
    if (orientation != Horizontal && orientation != Vertical)
        throw TypedException(TAVI_HERE, "GLToolBar2::setOrientation: unknown orientation " +
                                            std::to_string(orientation));
    bar(this)->setOrientation(orientation == Horizontal ? Qt::Horizontal : Qt::Vertical);
}

int GLToolBar2::getOrientation() const {
    return bar(this)->orientation() == Qt::Horizontal ? Horizontal : Vertical;
}

void GLToolBar2::setButtonStyle(int style) {
    if (style < Qt::ToolButtonIconOnly || style > Qt::ToolButtonTextUnderIcon)
        throw TypedException(TAVI_HERE,
                             "GLToolBar2::setButtonStyle: unknown style " + std::to_string(style));
    bar(this)->setToolButtonStyle(static_cast<Qt::ToolButtonStyle>(style));
}

int GLToolBar2::getButtonStyle() const {
    return bar(this)->toolButtonStyle();
}
void GLToolBar2::setIconSize(int width, int height) {
    bar(this)->setIconSize(QSize(width, height));
}

void GLToolBar2::addAction(GLAction2* action) {
    if (!action)
        throw TypedException(TAVI_HERE, "GLToolBar2::addAction: null action");
    if (!action->getQAction()->parent())
        action->getQAction()->setParent(bar(this));
    bar(this)->addAction(action->getQAction());
}

void GLToolBar2::addWidget(GLWidget2* widget) {
    if (!widget)
        throw TypedException(TAVI_HERE, "GLToolBar2::addWidget: null widget");
    if (isWidgetInside(bar(this), widget->getQWidget()))
        throw TypedException(TAVI_HERE, "GLToolBar2::addWidget: the widget is the bar or holds it");
    // The bar makes an action for the widget's place; give it its toolkit object.
    new GLAction2(bar(this)->addWidget(widget->getQWidget()));
}

void GLToolBar2::addSeparator() {
    new GLAction2(bar(this)->addSeparator());
}

std::vector<GLAction2*> GLToolBar2::getActions() const {
    std::vector<GLAction2*> result;
    for (QAction* action : bar(this)->actions())
        if (GLAction2* owner = GLAction2::fromQAction(action))
            result.push_back(owner);
    return result;
}

GLWidget2* GLToolBar2::getButtonFor(GLAction2* action) const {
    QWidget* button = action ? bar(this)->widgetForAction(action->getQAction()) : nullptr;
    return button ? GLWidget2::wrap(button) : nullptr;
}

} // namespace TAVI
