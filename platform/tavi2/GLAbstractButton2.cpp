#include "platform/tavi2/GLAbstractButton2.hpp"

#include "platform/tavi2/QtConversions_p.hpp"

#include <QAbstractButton>

#include <memory>

namespace TAVI {

namespace {
QAbstractButton* button(const GLWidget2* widget) {
    return static_cast<QAbstractButton*>(widget->getQWidget());
}
} // namespace

class GLAbstractButton2Private {
public:
    Icon icon;
    std::unique_ptr<NIMB::Emitter<GLButtonClickEvent2>> clicked;
    std::unique_ptr<NIMB::Emitter<GLButtonToggleEvent2>> toggled;
    QObject context; // ends the Qt connections with the private object
};

GLAbstractButton2::GLAbstractButton2(QAbstractButton* qtButton, GLWidget2* parent)
    : GLWidget2(qtButton, parent), d(new GLAbstractButton2Private) {
    QObject::connect(qtButton, &QAbstractButton::clicked, &d->context, [this]() {
        if (d->clicked)
            d->clicked->send(GLButtonClickEvent2(this));
    });
    QObject::connect(qtButton, &QAbstractButton::toggled, &d->context, [this](bool checked) {
        if (d->toggled)
            d->toggled->send(GLButtonToggleEvent2(this, checked));
    });
}

GLAbstractButton2::~GLAbstractButton2() {
    delete d;
}

void GLAbstractButton2::setLabel(const std::string& label) {
    button(this)->setText(toQString(label));
}
std::string GLAbstractButton2::getLabel() const {
    return fromQString(button(this)->text());
}

void GLAbstractButton2::setIcon(const Icon& icon) {
    d->icon = icon;
    button(this)->setIcon(toQIcon(icon));
}

Icon GLAbstractButton2::getIcon() const {
    return d->icon;
}
void GLAbstractButton2::setCheckable(bool checkable) {
    button(this)->setCheckable(checkable);
}
bool GLAbstractButton2::isCheckable() const {
    return button(this)->isCheckable();
}
void GLAbstractButton2::setChecked(bool checked) {
    button(this)->setChecked(checked);
}
bool GLAbstractButton2::isChecked() const {
    return button(this)->isChecked();
}
void GLAbstractButton2::setExclusive(bool exclusive) {
    button(this)->setAutoExclusive(exclusive);
}
bool GLAbstractButton2::isExclusive() const {
    return button(this)->autoExclusive();
}
void GLAbstractButton2::click() {
    button(this)->click();
}

NIMB::Emitter<GLButtonClickEvent2>& GLAbstractButton2::getClickEmitter() {
    if (!d->clicked)
        d->clicked = std::make_unique<NIMB::Emitter<GLButtonClickEvent2>>();
    return *d->clicked;
}

NIMB::Emitter<GLButtonToggleEvent2>& GLAbstractButton2::getToggleEmitter() {
    if (!d->toggled)
        d->toggled = std::make_unique<NIMB::Emitter<GLButtonToggleEvent2>>();
    return *d->toggled;
}

} // namespace TAVI
