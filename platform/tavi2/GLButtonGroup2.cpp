#include "platform/tavi2/GLButtonGroup2.hpp"

#include "platform/tavi/TypedException.hpp"
#include "platform/tavi2/GLAbstractButton2.hpp"
#include "platform/tavi2/QtTie_p.hpp"

#include <QAbstractButton>
#include <QButtonGroup>

#include <memory>

namespace TAVI {

class GLButtonGroup2Private {
public:
    QButtonGroup* group = nullptr; // owned through the tie
    std::unique_ptr<QtTie> tie;
};

GLButtonGroup2::GLButtonGroup2(GLWidget2* parent) : d(new GLButtonGroup2Private) {
    d->group = new QButtonGroup(parent ? parent->getQWidget() : nullptr);
    d->tie = std::make_unique<QtTie>(d->group, [this]() {
        d->group = nullptr;
        delete this;
    });
}

GLButtonGroup2::~GLButtonGroup2() {
    d->tie.reset();
    delete d;
}

void GLButtonGroup2::addButton(GLAbstractButton2* button) {
    if (!button)
        throw TypedException(TAVI_HERE, "GLButtonGroup2::addButton: null button");
    button->setCheckable(true);
    d->group->addButton(static_cast<QAbstractButton*>(button->getQWidget()));
}

void GLButtonGroup2::removeButton(GLAbstractButton2* button) {
    if (button)
        d->group->removeButton(static_cast<QAbstractButton*>(button->getQWidget()));
}

std::vector<GLAbstractButton2*> GLButtonGroup2::getButtons() const {
    std::vector<GLAbstractButton2*> result;
    for (QAbstractButton* button : d->group->buttons())
        if (auto* owner = dynamic_cast<GLAbstractButton2*>(GLWidget2::fromQWidget(button)))
            result.push_back(owner);
    return result;
}

GLAbstractButton2* GLButtonGroup2::getCheckedButton() const {
    return dynamic_cast<GLAbstractButton2*>(GLWidget2::fromQWidget(d->group->checkedButton()));
}

void GLButtonGroup2::setExclusive(bool exclusive) {
    d->group->setExclusive(exclusive);
}
bool GLButtonGroup2::isExclusive() const {
    return d->group->exclusive();
}

} // namespace TAVI
