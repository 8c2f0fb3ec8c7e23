#include "platform/tavi2/GLPanel2.hpp"

#include "platform/tavi2/QtConversions_p.hpp"

#include <QWidget>

namespace TAVI {

namespace {
QWidget* makePanel(const StringID& toolkit) {
    checkToolkit(toolkit, "GLPanel2");
    return new QWidget;
}
} // namespace

GLPanel2::GLPanel2(const StringID& toolkit, GLWidget2* parent)
    : GLWidget2(makePanel(toolkit), parent) {}
GLPanel2::~GLPanel2() = default;

} // namespace TAVI
