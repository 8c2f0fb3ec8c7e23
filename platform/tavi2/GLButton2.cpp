#include "platform/tavi2/GLButton2.hpp"

#include "platform/tavi2/QtConversions_p.hpp"

#include <QPushButton>

namespace TAVI {

namespace {
QPushButton* makeButton(const StringID& toolkit) {
    checkToolkit(toolkit, "GLButton2");
    return new QPushButton;
}
QPushButton* push(const GLWidget2* widget) {
    return static_cast<QPushButton*>(widget->getQWidget());
}
} // namespace

GLButton2::GLButton2(const StringID& toolkit, GLWidget2* parent)
    : GLAbstractButton2(makeButton(toolkit), parent) {}

GLButton2::GLButton2(const StringID& toolkit, const std::string& label, GLWidget2* parent)
    : GLButton2(toolkit, parent) {
    setLabel(label);
}

GLButton2::~GLButton2() = default;

void GLButton2::setDefault(bool isDefault) {
    push(this)->setDefault(isDefault);
}
bool GLButton2::isDefault() const {
    return push(this)->isDefault();
}

} // namespace TAVI
