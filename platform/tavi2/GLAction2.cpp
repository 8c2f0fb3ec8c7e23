#include "platform/tavi2/GLAction2.hpp"

#include "platform/tavi2/GLWidget2.hpp"
#include "platform/tavi2/QtConversions_p.hpp"
#include "platform/tavi2/QtTie_p.hpp"

#include <QAction>
#include <QVariant>
#include <QWidget>

#include <memory>

namespace TAVI {

namespace {
constexpr char ownerProperty[] = "tavi2_owner";

QAction* makeAction(const StringID& toolkit) {
    checkToolkit(toolkit, "GLAction2");
    return new QAction;
}
} // namespace

class GLAction2Private {
public:
    QAction* action = nullptr; // owned through the tie
    std::unique_ptr<QtTie> tie;
    Icon icon;
    std::unique_ptr<NIMB::Emitter<GLActionTriggerEvent2>> triggered;
    QObject context; // ends the Qt connections with the private object
};

GLAction2::GLAction2(QAction* action) : d(new GLAction2Private) {
    d->action = action;
    action->setProperty(ownerProperty, QVariant::fromValue(reinterpret_cast<quintptr>(this)));
    d->tie = std::make_unique<QtTie>(action, [this]() {
        d->action = nullptr;
        delete this;
    });
    QObject::connect(action, &QAction::triggered, &d->context, [this](bool checked) {
        if (d->triggered)
            d->triggered->send(GLActionTriggerEvent2(this, checked));
    });
}

GLAction2::GLAction2(const StringID& toolkit, GLWidget2* parent) : GLAction2(makeAction(toolkit)) {
    setParent(parent);
}

GLAction2::GLAction2(const StringID& toolkit, const std::string& label, GLWidget2* parent)
    : GLAction2(toolkit, parent) {
    setLabel(label);
}

GLAction2::~GLAction2() {
    if (d->action)
        d->action->setProperty(ownerProperty, QVariant());
    d->tie.reset();
    delete d;
}

QAction* GLAction2::getQAction() const {
    return d->action;
}

GLAction2* GLAction2::fromQAction(const QAction* action) {
    if (!action)
        return nullptr;
    const QVariant owner = action->property(ownerProperty);
    return owner.isValid() ? reinterpret_cast<GLAction2*>(owner.value<quintptr>()) : nullptr;
}

void GLAction2::setParent(GLWidget2* parent) {
    d->action->setParent(parent ? parent->getQWidget() : nullptr);
}

void GLAction2::setLabel(const std::string& label) {
    d->action->setText(toQString(label));
}
std::string GLAction2::getLabel() const {
    return fromQString(d->action->text());
}

void GLAction2::setIcon(const Icon& icon) {
    d->icon = icon;
    d->action->setIcon(toQIcon(icon));
}

Icon GLAction2::getIcon() const {
    return d->icon;
}
void GLAction2::setToolTip(const std::string& text) {
    d->action->setToolTip(toQString(text));
}
std::string GLAction2::getToolTip() const {
    return fromQString(d->action->toolTip());
}
void GLAction2::setCheckable(bool checkable) {
    d->action->setCheckable(checkable);
}
bool GLAction2::isCheckable() const {
    return d->action->isCheckable();
}
void GLAction2::setChecked(bool checked) {
    d->action->setChecked(checked);
}
bool GLAction2::isChecked() const {
    return d->action->isChecked();
}
void GLAction2::setEnabled(bool enabled) {
    d->action->setEnabled(enabled);
}
bool GLAction2::isEnabled() const {
    return d->action->isEnabled();
}
void GLAction2::setVisible(bool visible) {
    d->action->setVisible(visible);
}
bool GLAction2::isVisible() const {
    return d->action->isVisible();
}
bool GLAction2::isSeparator() const {
    return d->action->isSeparator();
}
void GLAction2::trigger() {
    d->action->trigger();
}

NIMB::Emitter<GLActionTriggerEvent2>& GLAction2::getTriggerEmitter() {
    if (!d->triggered)
        d->triggered = std::make_unique<NIMB::Emitter<GLActionTriggerEvent2>>();
    return *d->triggered;
}

} // namespace TAVI
