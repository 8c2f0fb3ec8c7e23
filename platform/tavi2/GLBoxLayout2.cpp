#include "platform/tavi2/GLBoxLayout2.hpp"

#include "platform/tavi/TypedException.hpp"
#include "platform/tavi2/GLWidget2.hpp"

#include <QBoxLayout>
#include <QWidget>

#include <string>

namespace TAVI {

namespace {

QBoxLayout::Direction checkedDirection(int direction, const char* operation) {
    // The directions' numbers are those of QBoxLayout::Direction.
    if (direction < GLBoxLayout2::LeftToRight || direction > GLBoxLayout2::BottomToTop)
        throw TypedException(TAVI_HERE, std::string(operation) + ": unknown direction " +
                                            std::to_string(direction) + " (0 to 3)");
    return static_cast<QBoxLayout::Direction>(direction);
}

} // namespace

GLBoxLayout2::GLBoxLayout2(int direction)
    : GLLayout2(new QBoxLayout(checkedDirection(direction, "GLBoxLayout2"))) {}

GLBoxLayout2::~GLBoxLayout2() = default;

int GLBoxLayout2::getDirection() const {
    return static_cast<QBoxLayout*>(getQLayout())->direction();
}

void GLBoxLayout2::setDirection(int direction) {
    static_cast<QBoxLayout*>(getQLayout())
        ->setDirection(checkedDirection(direction, "GLBoxLayout2::setDirection"));
}

void GLBoxLayout2::addWidget(GLWidget2* widget, int stretch, int alignment) {
    QWidget* qtWidget = adopt(widget, "GLBoxLayout2::addWidget");
    static_cast<QBoxLayout*>(getQLayout())
        ->addWidget(qtWidget, stretch, Qt::Alignment::fromInt(alignment));
}

void GLBoxLayout2::addLayout(GLLayout2* layout, int stretch) {
    checkNestable(layout, "GLBoxLayout2::addLayout");
    static_cast<QBoxLayout*>(getQLayout())->addLayout(layout->getQLayout(), stretch);
}

void GLBoxLayout2::addStretch(int stretch) {
    static_cast<QBoxLayout*>(getQLayout())->addStretch(stretch);
}
void GLBoxLayout2::addSpacing(int size) {
    static_cast<QBoxLayout*>(getQLayout())->addSpacing(size);
}

} // namespace TAVI
