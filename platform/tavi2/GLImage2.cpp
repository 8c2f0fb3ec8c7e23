#include "platform/tavi2/GLImage2.hpp"

#include "platform/tavi2/QtConversions_p.hpp"

#include <QLabel>
#include <QPixmap>

namespace TAVI {

namespace {
QLabel* makeImage(const StringID& toolkit) {
    checkToolkit(toolkit, "GLImage2");
    auto* label = new QLabel;
    label->setAlignment(Qt::AlignCenter);
    return label;
}
QLabel* label(const GLWidget2* widget) {
    return static_cast<QLabel*>(widget->getQWidget());
}
} // namespace

GLImage2::GLImage2(const StringID& toolkit, GLWidget2* parent)
    : GLWidget2(makeImage(toolkit), parent) {}
GLImage2::~GLImage2() = default;

bool GLImage2::setFile(const std::string& path) {
    QPixmap pixmap;
    if (path.empty() || !pixmap.load(toQString(path))) {
        file.clear();
        label(this)->clear();
        return false;
    }
    file = path;
    label(this)->setPixmap(pixmap);
    return true;
}

std::string GLImage2::getFile() const {
    return file;
}

Size GLImage2::getImageSize() const {
    const QPixmap pixmap = label(this)->pixmap();
    return pixmap.isNull() ? Size{} : Size{pixmap.width(), pixmap.height()};
}

void GLImage2::setScaledContents(bool scaled) {
    label(this)->setScaledContents(scaled);
}

} // namespace TAVI
