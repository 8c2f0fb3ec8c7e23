#include "platform/tavi/Pixmap.hpp"

#include <QImageReader>

namespace TAVI {

Pixmap::Pixmap(const std::string& path) {
    load(path);
}

bool Pixmap::load(const std::string& path) {
    file = path;
    imageSize = Size{};
    readable = false;
    if (path.empty())
        return false;
    QImageReader reader(QString::fromStdString(path));
    const QSize size = reader.size();
    if (!reader.canRead() || !size.isValid())
        return false;
    imageSize = Size{size.width(), size.height()};
    readable = true;
    return true;
}

} // namespace TAVI
