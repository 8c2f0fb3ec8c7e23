#include "platform/tavi2/GLCheckBox2.hpp"

#include "platform/tavi2/QtConversions_p.hpp"

#include <QCheckBox>

namespace TAVI {

namespace {
QCheckBox* makeCheckBox(const StringID& toolkit) {
    checkToolkit(toolkit, "GLCheckBox2");
    return new QCheckBox;
}
} // namespace

GLCheckBox2::GLCheckBox2(const StringID& toolkit, GLWidget2* parent)
    : GLAbstractButton2(makeCheckBox(toolkit), parent) {}

GLCheckBox2::GLCheckBox2(const StringID& toolkit, const std::string& label, GLWidget2* parent)
    : GLCheckBox2(toolkit, parent) {
    setLabel(label);
}

GLCheckBox2::~GLCheckBox2() = default;

} // namespace TAVI
